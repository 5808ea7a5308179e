// The settling rule for weights, the zero band, and the one-save-per-placing rule.
#include "devices/WeightSettling.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"
#include "text/Vb.h"

#include <QElapsedTimer>

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace devices {

namespace {

constexpr qsizetype kKeptReadings = 64;
// Readings are decimal texts: 12.52 - 12.50 must count as 0.02, not a hair above it.
constexpr double kEpsilon = 1e-9;

double number(const IniFile& ini, const QString& section, const QString& key, double def)
{
    const QString text = ini.read(section, key, QString()).trimmed();
    return vb::IsNumeric(text) ? vb::Val(text) : def;
}

} // namespace

SettlingSettings SettlingSettings::read(const QString& section)
{
    const IniFile ini(ProgramFolder::file(u"/mirel.ini"_s));
    SettlingSettings s;
    s.readings = int(qMax(0.0, number(ini, section, u"StableReadings"_s, s.readings)));
    s.tolerance = qMax(0.0, number(ini, section, u"StableTolerance"_s, s.tolerance));
    s.timeMs = int(qMax(0.0, number(ini, section, u"StableTime"_s, s.timeMs)));
    s.zeroBand = qMax(0.0, number(ini, section, u"ZeroBand"_s, s.zeroBand));
    return s;
}

WeightSettling::Clock WeightSettling::steadyClock()
{
    QElapsedTimer started;
    started.start();
    return [started] { return started.elapsed(); };
}

WeightSettling::WeightSettling(SettlingSettings settings, Clock clock)
    : m_settings(settings), m_clock(std::move(clock))
{
}

std::optional<double> WeightSettling::latest() const
{
    return m_look == WeightLook::None ? std::nullopt : m_latest;
}

void WeightSettling::reset()
{
    m_recent.clear();
    m_latest.reset();
    m_settled.reset();
    m_look = WeightLook::None;
}

void WeightSettling::add(const ScaleReading& reading)
{
    if (reading.weight) {
        m_latest = reading.weight;
        // Nothing on the platform, even for a moment: whatever comes next is a new placing.
        if (*reading.weight <= m_settings.zeroBand)
            m_armed = true;
    }
    judge(reading);
}

void WeightSettling::judge(const ScaleReading& reading)
{
    const bool hasWeight = reading.weight.has_value();
    switch (reading.state) {
    case ScaleState::OverRange:
        m_recent.clear();
        m_look = WeightLook::OverRange;
        return;
    case ScaleState::UnderRange:
        m_recent.clear();
        m_look = WeightLook::UnderRange;
        return;
    case ScaleState::Busy:
    case ScaleState::Moving:
        m_recent.clear();
        m_look = WeightLook::Moving;
        return;
    case ScaleState::Stable:
        m_recent.clear();
        if (hasWeight)
            settle(*reading.weight);
        return;
    case ScaleState::Unflagged:
        break;
    }
    if (!hasWeight)
        return;
    if (m_settings.readings <= 0) {
        settle(*reading.weight);
        return;
    }
    m_recent.append(Timed{*reading.weight, m_clock()});
    if (m_recent.size() > kKeptReadings)
        m_recent.removeFirst();
    if (runHolds())
        settle(*reading.weight);
    else
        m_look = WeightLook::Moving;
}

bool WeightSettling::runHolds() const
{
    const Timed newest = m_recent.last();
    qsizetype count = 0;
    qint64 since = newest.at;
    for (auto r = m_recent.crbegin(); r != m_recent.crend(); ++r) {
        if (std::abs(r->weight - newest.weight) > m_settings.tolerance + kEpsilon)
            break;
        ++count;
        since = r->at;
    }
    return count >= m_settings.readings && newest.at - since >= m_settings.timeMs;
}

void WeightSettling::settle(double weight)
{
    m_settled = weight;
    if (!m_armed && m_savedWeight &&
        std::abs(weight - *m_savedWeight) > 10 * m_settings.tolerance + kEpsilon)
        m_armed = true;
    const bool rules = m_settings.readings > 0;
    m_look = !rules                                     ? WeightLook::Settled
             : weight < 0                               ? WeightLook::Negative
             : weight <= m_settings.zeroBand + kEpsilon ? WeightLook::Empty
                                                        : WeightLook::Settled;
}

QString WeightSettling::message(WeightLook look)
{
    switch (look) {
    case WeightLook::None:
        return u"台称无读数"_s;
    case WeightLook::Moving:
        return u"重量不稳定，请稍候再保存"_s;
    case WeightLook::Settled:
        return QString();
    case WeightLook::Empty:
        return u"空秤"_s;
    case WeightLook::Negative:
        return u"皮重错误，请去皮或归零"_s;
    case WeightLook::OverRange:
        return u"台称超载"_s;
    case WeightLook::UnderRange:
        return u"台称欠载"_s;
    }
    return QString();
}

SaveDecision WeightSettling::decideSave(qint64 pressedAt, std::optional<double> typed) const
{
    if (typed)
        return {SaveDecision::Take, *typed, QString()};
    switch (m_look) {
    case WeightLook::Settled:
        if (m_armed || m_settings.readings <= 0)
            return {SaveDecision::Take, *m_settled, QString()};
        return {SaveDecision::Refuse, 0, u"这一箱已保存，请取下后再称下一箱"_s};
    case WeightLook::Moving:
    case WeightLook::None:
        if (m_clock() - pressedAt < kSaveWaitMs)
            return {SaveDecision::Wait, 0, u"称重中…"_s};
        break;
    default:
        break;
    }
    return {SaveDecision::Refuse, 0, message(m_look)};
}

void WeightSettling::saved(double weight)
{
    m_savedWeight = weight;
    m_armed = false;
}

} // namespace devices
