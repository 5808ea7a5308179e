// Packing-station scale: unlike the inspection frame it asks for the weight and reads the plain
// number first; whole readings come from the assembler the inspection frame uses too.
#include "devices/PackingScale.h"

#include "devices/DeviceSettings.h"
#include "devices/LengthDisplay.h"
#include "devices/ScaleReadings.h"
#include "serial/SerialPort.h"
#include "serial/SerialSettings.h"
#include "text/Vb.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace devices {

PackingScale::PackingScale(QObject* parent, WeightSettling::Clock clock)
    : QObject(parent), m_port(new SerialPort(this)),
      m_settling(SettlingSettings{}, clock ? std::move(clock) : WeightSettling::steadyClock())
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &PackingScale::poll);
    connect(m_port, &SerialPort::portLost, this, [this](const QString& error) {
        m_readings.reset();
        m_settling.reset();
        showLook();
        emit status(u"台称暂停中"_s);
        emit deviceFault(error);
    });
    // Its cable plugged in again: weighing goes on without the packer switching the scale off
    // and on.
    connect(m_port, &SerialPort::portBack, this, [this] {
        m_readings.reset();
        m_lastWeight.clear();
        emit status(u"台称准备好"_s);
    });
}

bool PackingScale::openScalePort()
{
    const QString mode = readMirel(u"CHENInputMode"_s, u"0"_s);
    const QString name = readMirel(u"CHENCOM"_s, u"COM3"_s);
    const QString settings = readMirel(u"CHENInputSet"_s, u"9600,n,8,1"_s);
    m_port->clearInBuffer();
    m_port->setPortOpen(false);
    m_port->setSettings(settings);
    m_port->setInputLen(0);
    m_port->setInputMode(int(vb::Val(mode)));
    m_port->setCommPort(SerialPortNames::numberFromLastCharacter(name));
    m_port->setRThreshold(8);
    m_readings.reset();
    m_settling.setSettings(SettlingSettings::read(u"打包"_s));
    m_settling.reset();
    if (std::exchange(m_zeroTare, false)) // another scale may be on the port now
        emit zeroTareAvailable(false);
    if (!m_port->setPortOpen(true)) {
        emit status(u"台称没找到"_s);
        emit deviceFault(m_port->lastError());
        return false;
    }
    emit status(u"台称准备好"_s);
    return true;
}

void PackingScale::setEnabled(bool on)
{
    m_on = on;
    m_missedTicks = 0;
    m_lastWeight.clear(); // the first reading after switching on is shown whatever it is
    m_settling.reset();
    showLook();
    setSilent(false);
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void PackingScale::setSilent(bool silent)
{
    if (silent == m_silent)
        return;
    m_silent = silent;
    // After a silence the scale's next reading is shown even when it is the old weight.
    if (silent) {
        m_lastWeight.clear();
        m_settling.reset();
        showLook();
    }
    emit silenceChanged(silent);
}

void PackingScale::requestWeight()
{
    m_port->clearInBuffer();
    // A scale that speaks SICS is asked in its own words.
    m_port->output(m_zeroTare ? sicsWeightRequest() : QByteArray("\x1bp", 2));
}

void PackingScale::poll()
{
    if (!m_on) {
        emit status(u"台称暂停中"_s);
        return;
    }
    QList<ScaleReading> readings;
    const bool open = m_port->portOpen();
    if (open) {
        // "CHENInputMode" 1 reads the port as bytes: the scale sends packed frames.
        m_readings.setPacked(readMirel(u"CHENInputMode"_s, u"0"_s) != u"0"_s);
        const QByteArray received = m_port->inputBytes();
        readings = m_readings.takeReadings(received, ScaleTextRules::LeadingNumberFirst);
        // A quiet scale is asked; the answer starts on a cleared line.
        if (received.isEmpty())
            requestWeight();
    }
    if (readings.isEmpty()) {
        if (++m_missedTicks >= kSilentTicks)
            setSilent(true);
        emit status(m_silent ? u"台称无读数"_s : open ? u"台称通讯中..."_s : u"台称暂停中"_s);
        return;
    }
    m_missedTicks = 0;
    setSilent(false);
    judge(readings);
    std::optional<double> weight;
    for (const ScaleReading& r : readings)
        if (r.weight)
            weight = r.weight;
    if (weight) {
        const QString raw = vb::Str(*weight);
        if (raw != m_lastWeight) {
            m_lastWeight = raw;
            emit weightText(formatWeight(*weight, readMirel(u"dispFormat"_s, u"0.00"_s)));
        }
    }
    const WeightLook look = m_settling.look();
    emit status(look == WeightLook::OverRange || look == WeightLook::UnderRange
                    ? WeightSettling::message(look)
                    : u"台称通讯中..."_s);
}

void PackingScale::judge(const QList<ScaleReading>& readings)
{
    for (const ScaleReading& r : readings) {
        m_settling.add(r);
        if (r.sics && !m_zeroTare) {
            m_zeroTare = true;
            emit zeroTareAvailable(true);
        }
    }
    showLook();
}

void PackingScale::showLook()
{
    if (m_settling.look() == m_shownLook)
        return;
    m_shownLook = m_settling.look();
    emit weightLook(m_shownLook);
}

bool PackingScale::zeroScale()
{
    if (!m_zeroTare || !m_port->portOpen())
        return false;
    m_port->output(sicsZeroCommand());
    return true;
}

bool PackingScale::tareScale()
{
    if (!m_zeroTare || !m_port->portOpen())
        return false;
    m_port->output(sicsTareCommand());
    return true;
}

void PackingScale::close()
{
    m_port->setPortOpen(false);
    m_readings.reset();
}

} // namespace devices
