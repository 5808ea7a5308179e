// Counter model selection and reply parsing, tolerant of short and stray bytes.
#include "devices/MeterReplies.h"

#include "config/ProgramFolder.h"
#include "devices/FrameMath.h"
#include "text/Vb.h"
#include "time/Clock.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace devices {

namespace {

int byteAt(const QByteArray& a, qsizetype i) { return static_cast<quint8>(a.at(i)); }

} // namespace

CounterModel counterModel(const QString& inputMode, const QString& inputSet)
{
    if (inputMode == u"0"_s)
        return CounterModel::Text;
    if (inputMode == u"2"_s)
        return CounterModel::Usb;
    if (inputMode == u"3"_s || inputSet == u"19200,n,8,1"_s)
        return CounterModel::SumFrame;
    if (inputMode == u"4"_s)
        return CounterModel::FiveRegisters;
    return CounterModel::Modbus;
}

int replyLength(CounterModel model)
{
    switch (model) {
    case CounterModel::Modbus: return 9;
    case CounterModel::SumFrame: return 8;
    case CounterModel::FiveRegisters: return 13;
    default: return 0;
    }
}

QString counterBusyCaption(CounterModel model)
{
    switch (model) {
    case CounterModel::Text: return u"码表0通讯中..."_s;
    case CounterModel::Modbus: return u"码表1通讯中..."_s;
    case CounterModel::Usb: return u"码表2通讯中..."_s;
    case CounterModel::SumFrame: return u"码表3通讯中..."_s;
    case CounterModel::FiveRegisters: return u"码表4通讯中..."_s;
    }
    return QString();
}

namespace {

// The count of a Modbus reply (address, 03, 04, R0hi, R0lo, R1hi, R1lo, CRC): a signed number sent
// low register first, of which the counter uses 24 bits.
double modbusCount(QByteArrayView reply)
{
    const auto at = [&](qsizetype i) { return static_cast<quint8>(reply[i]); };
    qint64 value = qint64(at(6)) * 65536 + at(3) * 256 + at(4);
    if (at(5) >= 128)
        value = -((value ^ 0xFFFFFF) + 1);
    return value / 100.0;
}

bool isModbusReply(QByteArrayView reply, quint8 address)
{
    return reply.size() >= 9 && static_cast<quint8>(reply[0]) == address
        && crcHolds(reply.first(9));
}

} // namespace

std::optional<double> parseMeterReply(const QByteArray& reply, quint8 address)
{
    // A Modbus reply whose CRC holds is the Modbus counter's, even when its bytes happen to add
    // up like a sum-checked frame (one stop position in a few hundred does).
    if (isModbusReply(reply, address))
        return modbusCount(reply);
    if (checkSum(reply)) {
        if (reply.size() < 8)
            return std::nullopt;
        return (byteAt(reply, 6) * 256 + byteAt(reply, 7)) / 100.0;
    }
    if (reply.isEmpty() || byteAt(reply, 0) != address)
        return 0.0;
    if (reply.size() < 7)
        return std::nullopt;
    return modbusCount(reply);
}

QString counterSilentCaption() { return u"码表没有回应"_s; }

double readRegisterPair(quint8 high, quint8 low) { return (high * 256 + low) / 100.0; }

bool logZeroReading(const QString& path)
{
    QFile log(path.isEmpty() ? ProgramFolder::systemPath(u"c:\\DispPV4.log"_s) : path);
    // Off Windows the drive becomes a folder of the program folder, made on first use.
    QDir().mkpath(QFileInfo(log.fileName()).absolutePath());
    if (!log.open(QIODevice::Append | QIODevice::Text))
        return false;
    log.write(Clock::today().toString(Qt::ISODate).toLatin1() + '\n');
    return true;
}

ModbusCheck checkModbusReply(const QByteArray& reply, quint8 address, double* value)
{
    if (reply.size() < 9)
        return ModbusCheck::Short;
    const QByteArray frame = reply.left(9);
    if (byteAt(frame, 0) != address || byteAt(frame, 1) != 3 || byteAt(frame, 2) != 4
        || !crcHolds(frame))
        return ModbusCheck::Invalid;
    *value = parseMeterReply(frame, address).value_or(0);
    return ModbusCheck::Ok;
}

CounterText parseCounterText(const QString& received)
{
    CounterText r;
    QString text = received.trimmed();
    if (text.isEmpty())
        return r;
    r.blank = false;
    const qsizetype m = text.indexOf(u'M');
    if (m >= 0)
        text.truncate(m + 1);
    const qsizetype y = text.indexOf(u'Y');
    if (y >= 0)
        text.truncate(y + 1);
    r.metres = text.endsWith(u'M');
    const qsizetype slash = text.indexOf(u'/');
    r.value = vb::Val(slash >= 0 ? QStringView(text).left(slash) : QStringView(text));
    return r;
}

CounterText parseCounterTextPlain(const QString& received)
{
    CounterText r;
    const QString text = received.trimmed();
    if (text.isEmpty())
        return r;
    r.blank = false;
    r.metres = text.endsWith(u'M');
    r.value = vb::Val(text);
    return r;
}

} // namespace devices

namespace devices {

namespace {

bool validReadReply(QByteArrayView w, quint8 address, quint8 dataBytes)
{
    return static_cast<quint8>(w[0]) == address && w[1] == 0x03
        && static_cast<quint8>(w[2]) == dataBytes && crcHolds(w);
}

} // namespace

std::optional<double> latestReading(CounterModel model, const QByteArray& received, quint8 address)
{
    // The five-register answer is 15 bytes (10 data bytes); the tick reads once 13 have come.
    const int size = model == CounterModel::FiveRegisters ? 15 : replyLength(model);
    if (size == 0)
        return std::nullopt;
    // Newest first: the frame that ends last is the counter's latest answer.
    for (qsizetype i = received.size() - size; i >= 0; --i) {
        const QByteArrayView w = QByteArrayView(received).sliced(i, size);
        switch (model) {
        case CounterModel::Modbus:
            if (validReadReply(w, address, 4))
                return modbusCount(w);
            break;
        case CounterModel::FiveRegisters:
            if (validReadReply(w, 1, 10))
                return readRegisterPair(static_cast<quint8>(w[3]), static_cast<quint8>(w[4]));
            break;
        case CounterModel::SumFrame:
            if (checkSum(w))
                return parseMeterReply(w.toByteArray(), address);
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

} // namespace devices
