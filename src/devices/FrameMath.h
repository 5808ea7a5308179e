// Check sums of the counter frames: the Modbus CRC-16 and the additive sum of the model 3 counter.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace devices {

/// Modbus CRC-16 (polynomial 0xA001 reflected, start 0xFFFF) of all bytes. The low byte goes
/// first on the wire.
quint16 crc16(QByteArrayView bytes);

/// The counter program's form of the CRC: the low byte for selector 0, the high byte for
/// selector 1 (any other selector gives the high byte too), as an int.
int CRC16(QByteArrayView bytes, int selector);

/// Appends the CRC-16 of frame to it, low byte first.
QByteArray withCrc(QByteArray frame);

/// True when the frame's last byte equals the sum of all the others modulo 256. A frame shorter
/// than two bytes never holds.
bool checkSum(QByteArrayView frame);

/// True when the frame ends in the CRC-16 of the bytes before it (low byte first).
bool crcHolds(QByteArrayView frame);

} // namespace devices
