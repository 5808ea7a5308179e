// Modbus CRC-16 and the additive check sum, bit for bit as the counters compute them.
#include "devices/FrameMath.h"

namespace devices {

quint16 crc16(QByteArrayView bytes)
{
    quint16 reg = 0xFFFF;
    for (const char c : bytes) {
        reg ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit) {
            const bool out = reg & 1u;
            reg >>= 1;
            if (out)
                reg ^= 0xA001;
        }
    }
    return reg;
}

int CRC16(QByteArrayView bytes, int selector)
{
    const quint16 crc = crc16(bytes);
    return selector == 0 ? (crc & 0xFF) : (crc >> 8);
}

QByteArray withCrc(QByteArray frame)
{
    const quint16 crc = crc16(frame);
    frame.append(static_cast<char>(crc & 0xFF));
    frame.append(static_cast<char>(crc >> 8));
    return frame;
}

bool checkSum(QByteArrayView frame)
{
    if (frame.size() < 2)
        return false;
    unsigned sum = 0;
    for (qsizetype i = 0; i + 1 < frame.size(); ++i)
        sum += static_cast<quint8>(frame[i]);
    return (sum & 0xFF) == static_cast<quint8>(frame.back());
}

bool crcHolds(QByteArrayView frame)
{
    if (frame.size() < 3)
        return false;
    const quint16 crc = crc16(frame.first(frame.size() - 2));
    return static_cast<quint8>(frame[frame.size() - 2]) == (crc & 0xFF)
        && static_cast<quint8>(frame[frame.size() - 1]) == (crc >> 8);
}

} // namespace devices
