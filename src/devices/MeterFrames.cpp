// Counter command frames; fixed frames are spelled out byte by byte as the counters expect them.
#include "devices/MeterFrames.h"

#include "devices/FrameMath.h"

namespace devices {

namespace {

QByteArray bytes(std::initializer_list<quint8> list)
{
    QByteArray out;
    out.reserve(qsizetype(list.size()));
    for (const quint8 b : list)
        out.append(static_cast<char>(b));
    return out;
}

} // namespace

QByteArray requestModbusLength(quint8 address)
{
    return withCrc(bytes({address, 0x03, 0x00, 0x00, 0x00, 0x02}));
}

QByteArray requestSumFrame() { return bytes({0x55, 0xAA, 0x02, 0x00, 0x00, 0x01}); }

QByteArray requestFiveRegisters() { return bytes({0x01, 0x03, 0x00, 0x00, 0x00, 0x05, 0x85, 0xC9}); }

QByteArray setMeterUnit(bool yards)
{
    return yards ? bytes({0x01, 0x06, 0x00, 0x01, 0x00, 0x01, 0x19, 0xCA})
                 : bytes({0x01, 0x06, 0x00, 0x01, 0x00, 0x02, 0x59, 0xCB});
}

QByteArray zeroMeterRegister() { return bytes({0x01, 0x06, 0x00, 0x02, 0x00, 0x01, 0xE9, 0xCA}); }

QByteArray zeroMeterCoil(quint8 address)
{
    return withCrc(bytes({address, 0x05, 0x00, 0x00, 0xFF, 0x00}));
}

// The limit registers are written with CRCs computed once for address 1; a counter set to another
// address would refuse them, which is how the counters were always commissioned.
QByteArray alterResetFirst(quint8 address)
{
    return bytes({address, 0x10, 0x50, 0x0E, 0x00, 0x02, 0x04, 0xF2, 0xC1, 0xFF, 0xFC, 0xAC, 0xD5});
}

QByteArray alterResetSecond(quint8 address)
{
    return bytes({address, 0x10, 0x50, 0x0E, 0x00, 0x02, 0x04, 0x42, 0x3F, 0x00, 0x0F, 0xEA, 0x50});
}

QByteArray zeroMeterText() { return QByteArrayLiteral("SET-C"); }

} // namespace devices
