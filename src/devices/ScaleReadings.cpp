// Scale weights from the streams of the different scale heads in the mill.
#include "devices/ScaleReadings.h"

#include "text/Vb.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace devices {

QString textBetween(const QString& s, const QString& a, const QString& b)
{
    const qsizetype p = vb::InStr(1, s, a) + a.size();
    const qsizetype q = vb::InStr(p + 1, s, b);
    // A missing end token gives a negative length, which the old text function refused.
    if (q - p < 0)
        return QString();
    return vb::Mid(s, p, q - p);
}

namespace {

double reversedStream(const QString& s) { return vb::Val(vb::StrReverse(s)); }
double reversedBetweenEquals(const QString& s)
{
    return vb::Val(vb::StrReverse(textBetween(s, u"="_s, u"="_s)));
}
double betweenWnKg(const QString& s) { return vb::Val(textBetween(s, u"wn"_s, u"kg"_s)); }
double fromPosition8(const QString& s) { return vb::Val(vb::Mid(s, 8, 7)); }

} // namespace

double scaleWeightFromText(const QString& s, ScaleTextRules rules)
{
    double w = 0;
    switch (rules) {
    case ScaleTextRules::ReversedFirst:
        w = reversedStream(s);
        break;
    case ScaleTextRules::LeadingNumberFirst:
        w = vb::Val(s);
        break;
    case ScaleTextRules::KgToWn:
        w = vb::Val(textBetween(s, u"kg"_s, u"wn"_s));
        return w != 0 ? w : fromPosition8(s);
    }
    if (w == 0)
        w = reversedBetweenEquals(s);
    if (w == 0)
        w = betweenWnKg(s);
    if (w == 0)
        w = fromPosition8(s);
    return w;
}

QByteArray completeLines(const QByteArray& received, QByteArray* carry)
{
    carry->clear();
    const qsizetype lineEnd = qMax(received.lastIndexOf('\n'), received.lastIndexOf('\r'));
    if (lineEnd >= 0 && lineEnd + 1 < received.size()) {
        *carry = received.mid(lineEnd + 1);
        return received.left(lineEnd + 1);
    }
    return received;
}

std::optional<int> bcdValue(quint8 b)
{
    const int hi = b >> 4, lo = b & 0x0F;
    if (hi > 9 || lo > 9)
        return std::nullopt;
    return hi * 10 + lo;
}

std::optional<double> packedScaleWeight(const QByteArray& received)
{
    if (received.size() < 4)
        return std::nullopt;
    const auto whole = bcdValue(static_cast<quint8>(received.at(3)));
    const auto hundredths = bcdValue(static_cast<quint8>(received.at(2)));
    if (!whole || !hundredths)
        return std::nullopt;
    return (*whole * 100 + *hundredths) / 100.0;
}

std::optional<double> latestPackedWeight(const QByteArray& received, QByteArray* carry,
                                         QList<double>* all)
{
    const QByteArray data = *carry + received;
    const auto at = [&](qsizetype i) { return static_cast<quint8>(data.at(i)); };
    std::optional<double> weight;
    qsizetype i = 0;
    // With 00 after the start byte and 03 at the end, no window shifted into a stream of frames
    // looks like a frame, whatever the digits are.
    while (i + kPackedFrameSize <= data.size()) {
        if (at(i) == 0x02 && at(i + 1) == 0x00 && at(i + 4) == 0x03) {
            if (const auto w = packedScaleWeight(data.mid(i, kPackedFrameSize))) {
                weight = w;
                if (all)
                    all->append(*w);
                i += kPackedFrameSize;
                continue;
            }
        }
        ++i;
    }
    *carry = data.mid(i);
    return weight;
}

namespace {

constexpr qsizetype kLongestReading = 256; // a "reading" that never ends is not collected

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
qsizetype lastLineEnd(const QByteArray& s)
{
    return qMax(s.lastIndexOf('\n'), s.lastIndexOf('\r'));
}

} // namespace

void ScaleReadingAssembler::setPacked(bool packed)
{
    if (packed != m_packed)
        reset();
    m_packed = packed;
}

void ScaleReadingAssembler::reset()
{
    m_pending.clear();
    m_lines = false;
    m_synced = false;
}

std::optional<double> ScaleReadingAssembler::take(const QByteArray& received, ScaleTextRules rules)
{
    const QList<ScaleReading> readings = takeReadings(received, rules);
    for (auto r = readings.rbegin(); r != readings.rend(); ++r)
        if (r->weight)
            return r->weight;
    return std::nullopt;
}

QList<ScaleReading> ScaleReadingAssembler::takeReadings(const QByteArray& received,
                                                        ScaleTextRules rules)
{
    QList<ScaleReading> out;
    if (m_packed) {
        QList<double> weights;
        if (!received.isEmpty())
            latestPackedWeight(received, &m_pending, &weights);
        for (double w : weights)
            out.append(ScaleReading{w});
        return out;
    }
    for (const QByteArray& text : takeTexts(received))
        if (const auto r = readScaleReading(text, rules))
            out.append(*r);
    return out;
}

std::optional<QByteArray> ScaleReadingAssembler::takeText(const QByteArray& received)
{
    const QByteArrayList texts = takeTexts(received);
    if (texts.isEmpty())
        return std::nullopt;
    return texts.last();
}

QByteArrayList ScaleReadingAssembler::takeTexts(const QByteArray& received)
{
    if (received.isEmpty()) {
        const auto rest = quietTick();
        return rest ? QByteArrayList{*rest} : QByteArrayList{};
    }
    const QByteArray data = std::exchange(m_pending, {}) + received;
    QByteArrayList readings;
    if (m_lines || lastLineEnd(data) >= 0)
        readings = takeLines(data);
    else if (data.contains('='))
        readings = takeEquals(data);
    else
        m_pending = data; // no mark yet: the reading ends when the scale pauses
    if (m_pending.size() > kLongestReading) {
        m_pending.clear();
        m_synced = false;
    }
    return readings;
}

std::optional<QByteArray> ScaleReadingAssembler::quietTick()
{
    const QByteArray rest = std::exchange(m_pending, {});
    // A scale that ends its readings with line ends never leaves a whole one without it: the rest
    // is what was left of a reading cut off (a cable pulled).
    const bool whole =
        !m_lines && !rest.isEmpty() && rest != "=" && (rest.startsWith('=') || m_synced);
    m_synced = true; // after a pause the next byte starts a reading
    if (!whole)
        return std::nullopt;
    return rest.startsWith('=') ? rest + '=' : rest;
}

QByteArrayList ScaleReadingAssembler::takeLines(QByteArray data)
{
    m_lines = true;
    if (!m_synced) {
        // Opened (or switched from the "=" reading) in the middle of a line: its rest is dropped.
        qsizetype first = 0;
        while (first < data.size() && !isLineEnd(data.at(first)))
            ++first;
        if (first == data.size())
            return {};
        data.remove(0, first + 1);
        m_synced = true;
    }
    const qsizetype end = lastLineEnd(data);
    m_pending = data.mid(end + 1);
    // Every line with something on it, oldest first; empty lines come between "\r" and "\n".
    QByteArrayList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= end; ++i) {
        if (!isLineEnd(data.at(i)))
            continue;
        const QByteArray line = data.mid(start, i - start);
        if (!line.trimmed().isEmpty())
            lines.append(line);
        start = i + 1;
    }
    return lines;
}

QByteArrayList ScaleReadingAssembler::takeEquals(const QByteArray& data)
{
    // "=05.0100=05.0100=05.01": every reading starts with "=", the next "=" ends it. What comes
    // before the first "=" is the rest of a reading the line was opened in, unless the scale
    // started after a pause (an answer such as "ST,GS,=012.75kg", ended by the next pause).
    const qsizetype start = m_synced ? 0 : data.indexOf('=');
    const qsizetype last = data.lastIndexOf('=');
    const qsizetype before = last > start ? data.lastIndexOf('=', last - 1) : -1;
    if (before < start) {
        m_pending = data.mid(start);
        return {};
    }
    m_pending = data.mid(last);
    // "=" may also stand inside the lines of another scale head: should line ends come, the
    // line in which this "=" stood is not whole.
    m_synced = false;
    QByteArrayList readings;
    for (qsizetype from = data.indexOf('=', start), to; from < last; from = to) {
        to = data.indexOf('=', from + 1);
        readings.append(data.mid(from, to - from + 1));
    }
    return readings;
}

} // namespace devices
