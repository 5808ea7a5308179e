// The 400 ms tick of the inspection frame: scale, counter, length, RFID, in that order. A tick
// never throws and never waits; anything unexpected leaves the fields as they were.
#include "devices/InspectionDevices.h"

#include "devices/DeviceSettings.h"
#include "devices/LengthDisplay.h"
#include "devices/MeterFrames.h"
#include "devices/Rfid.h"
#include "devices/ScaleReadings.h"
#include "readers/RfidReaderLibrary.h"
#include "readers/UsbCounterLibrary.h"
#include "serial/SerialPort.h"
#include "text/Vb.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace devices {

void InspectionDevices::safeTick()
{
    try {
        pollDevices();
    } catch (const std::exception& e) {
        emit deviceFault(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        emit deviceFault(u"定时器异常"_s);
    }
}

void InspectionDevices::pollDevices()
{
    if (!pollScale())
        return;
    if (!pollCounter())
        return;
    if (m_rules.rfid)
        pollRfid();
}

bool InspectionDevices::pollScale()
{
    if (!m_scaleOn || !m_scale->portOpen()) {
        setScaleStatus(u"台称暂停中"_s);
        return true;
    }
    const QByteArray received = m_scale->inputBytes();
    m_scaleReadings.setPacked(m_rules.packedScale &&
                              readMirel(u"chenInputMode"_s, u"1"_s) != u"0"_s);
    const QList<ScaleReading> readings = m_scaleReadings.takeReadings(received, m_rules.scaleText);
    judgeWeights(readings);
    std::optional<double> weight;
    for (const ScaleReading& r : readings)
        if (r.weight)
            weight = r.weight;
    if (!weight) {
        // A silent scale (switched off, between weighings) or half a reading: the field keeps
        // what the operator typed. A bad packed scale must not stop the counter either.
        if (m_scaleReadings.packed() && received.size() >= 2 * kPackedFrameSize)
            emit deviceFault(
                u"台称数据无效: %1"_s.arg(QString::fromLatin1(received.left(32).toHex(' '))));
        return true;
    }
    const double w = *weight;
    setScaleStatus(m_scaleReadings.packed() ? u"台称2通讯中..."_s : u"台称通讯中..."_s);
    const QString raw = vb::Str(w);
    // An unchanged weight is not rewritten, so the operator can overwrite it until it changes.
    if (raw != m_lastWeight || m_rules.weightEveryTick) {
        m_lastWeight = raw;
        emit weightText(formatWeight(w, readMirel(u"dispFormat"_s, u"0.00"_s)), raw);
    }
    return true;
}

void InspectionDevices::judgeWeights(const QList<ScaleReading>& readings)
{
    for (const ScaleReading& r : readings) {
        m_settling.add(r);
        m_scaleZeroTare = m_scaleZeroTare || r.sics;
    }
    const WeightLook look = m_settling.look();
    if (look == WeightLook::OverRange || look == WeightLook::UnderRange)
        setScaleStatus(WeightSettling::message(look));
    if (look != m_shownLook) {
        m_shownLook = look;
        emit weightLook(look);
    }
}

bool InspectionDevices::pollCounter()
{
    if (!m_counterOn) {
        setCounterStatus(u"码表暂停中"_s);
        return true;
    }
    if (m_rules.checkedCounter)
        return pollCheckedCounter();
    double v = 0;
    const CounterModel model = currentModel();
    switch (model) {
    case CounterModel::Text:
        if (!pollTextCounter(&v))
            return false;
        break;
    case CounterModel::Usb:
        if (!m_usbOpen)
            return false;
        v = m_usb->count();
        setCounterStatus(counterBusyCaption(model));
        emit counterToolTip(vb::Str(v));
        break;
    default: {
        if (!m_counter->portOpen())
            return false;
        const auto reading = pollBinaryCounter(model);
        if (!reading)
            return true; // no length this tick: the field keeps the last one
        v = *reading;
        break;
    }
    }
    showLength(v);
    return true;
}

bool InspectionDevices::pollTextCounter(double* v)
{
    if (!m_counter->portOpen())
        return false;
    const QString text = textCounterInput();
    const CounterText reading = m_rules.counterText(text);
    if (reading.blank)
        return false;
    emit unitCaption(reading.metres ? u"米"_s : u"码"_s);
    *v = reading.value;
    setCounterStatus(counterBusyCaption(CounterModel::Text));
    return true;
}

QString InspectionDevices::textCounterInput()
{
    // A tick that reads in the middle of a line would leave the line's rest ("0M") at the start
    // of the next read, where it would pass for a whole reading.
    QByteArray complete = completeLines(m_counterCarry + m_counter->inputBytes(), &m_counterCarry);
    if (m_counterCarry.size() > 256)
        m_counterCarry.clear();
    // The first read after opening may start in the middle of a line: up to the first line end
    // it is not a reading.
    const qsizetype lineEnd = complete.indexOf('\n') >= 0 ? complete.indexOf('\n') : complete.indexOf('\r');
    if (!m_counterSynced && lineEnd >= 0) {
        m_counterSynced = true;
        complete.remove(0, lineEnd + 1);
    }
    return QString::fromLatin1(complete);
}

void InspectionDevices::sendRequest(CounterModel model)
{
    // Whatever is still waiting belongs to an older request; the next reply starts clean.
    m_counter->clearInBuffer();
    switch (model) {
    case CounterModel::Modbus: m_counter->output(requestModbusLength(m_address)); break;
    case CounterModel::SumFrame: m_counter->output(requestSumFrame()); break;
    case CounterModel::FiveRegisters: m_counter->output(requestFiveRegisters()); break;
    default: break;
    }
}

std::optional<double> InspectionDevices::pollBinaryCounter(CounterModel model)
{
    if (m_zeroStep > 0)
        return std::nullopt; // the zero's limit writes are on their way: no request in between
    if (m_discardReply) {
        // What waits is the echo of a zero or unit command, not a length: ask again and leave
        // the field as it is for this tick.
        m_discardReply = false;
        sendRequest(model);
        return std::nullopt;
    }
    if (m_counter->inBufferCount() < replyLength(model)) {
        // No whole reply (late, cut short, counter off): ask again; the length on screen stays
        // the last one the counter sent, a save must not take 0 for it.
        sendRequest(model);
        missedReply();
        return std::nullopt;
    }
    const QByteArray reply = m_counter->inputBytes();
    const auto reading = latestReading(model, reply, m_address);
    sendRequest(model);
    if (!reading) {
        emit deviceFault(u"码表数据无效: %1"_s.arg(QString::fromLatin1(reply.left(32).toHex(' '))));
        missedReply();
        return std::nullopt;
    }
    m_missedTicks = 0;
    if (model == CounterModel::FiveRegisters && *reading == 0)
        logZeroReading();
    setCounterStatus(counterBusyCaption(model));
    return reading;
}

void InspectionDevices::missedReply()
{
    if (++m_missedTicks >= kSilentTicks)
        setCounterStatus(counterSilentCaption());
}

bool InspectionDevices::pollCheckedCounter()
{
    if (!m_counter->portOpen()) {
        setCounterStatus(u"码表暂停中"_s);
        return false;
    }
    const QString format = readMirel(u"dispFormat"_s, u"0.00"_s);
    if (currentModel() == CounterModel::Text) {
        const QString text = textCounterInput().trimmed();
        if (text.isEmpty())
            return true;
        emit unitCaption(text.endsWith(u'M') ? u"米"_s : u"码"_s);
        emit quantityText(fields::kQuantity, formatWeight(vb::Val(text), format));
        setCounterStatus(u"码表2通讯中..."_s);
        return true;
    }
    if (m_discardReply || m_counter->inBufferCount() < replyLength(CounterModel::Modbus)) {
        m_counter->inputBytes();
        if (!m_discardReply)
            setCounterStatus(u"通讯错误-2."_s);
        m_discardReply = false;
        sendRequest(CounterModel::Modbus);
        return true;
    }
    double value = 0;
    const ModbusCheck check = checkModbusReply(m_counter->inputBytes(), m_address, &value);
    sendRequest(CounterModel::Modbus);
    if (check != ModbusCheck::Ok) {
        setCounterStatus(u"通讯错误-3."_s);
        return true;
    }
    m_lastRaw = vb::Str(value);
    emit rawReading(m_lastRaw);
    const double length = correctedLength(value, m_ratioA, m_ratioB, m_yards);
    emit quantityText(fields::kQuantity, formatLength(length, format, m_rules.lengthFormat));
    setCounterStatus(u"码表通讯中..."_s);
    return true;
}

void InspectionDevices::showLength(double v)
{
    m_lastRaw = vb::Str(v);
    emit rawReading(m_lastRaw);
    const double length = correctedLength(v, m_ratioA, m_ratioB, m_yards);
    const int target =
        settingFlag(readMirel(u"isguama"_s, u"0"_s)) ? fields::kWeight : fields::kQuantity;
    emit quantityText(
        target, formatLength(length, readMirel(u"dispFormat"_s, u"0.00"_s), m_rules.lengthFormat));
}

void InspectionDevices::pollRfid()
{
    if (readMes(u"RFID"_s, u"1"_s) != u"0"_s) {
        setColour(fields::kCardCaption, colours::kButtonText);
        return;
    }
    setColour(fields::kCardCaption, colours::kRfidOn);
    // A station without the reader library tries once per set-up, not on every tick.
    if (!m_rfid->isLoaded()) {
        if (m_rfidTried)
            return;
        m_rfidTried = true;
        if (!m_rfid->load()) {
            emit deviceFault(m_rfid->errorString());
            return;
        }
    }
    QByteArray block;
    if (readCardBlock(*m_rfid, &block))
        emit workerCard(bytesToHexText(block, 16));
}

} // namespace devices
