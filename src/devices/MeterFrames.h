// Every command frame the station sends to a length counter.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace devices {

/// Modbus read of holding registers 0-1 (the 24-bit count): addr 03 00 00 00 02 CRC.
QByteArray requestModbusLength(quint8 address);

/// Fixed read command of the sum-checked counter: 55 AA 02 00 00 01.
QByteArray requestSumFrame();

/// Read of five holding registers of slave 1: 01 03 00 00 00 05 85 C9.
QByteArray requestFiveRegisters();

/// Register 1 = 1 (yards) or 2 (metres) on slave 1.
QByteArray setMeterUnit(bool yards);

/// Register 2 = 1 on slave 1: the five-register counter's zero.
QByteArray zeroMeterRegister();

/// Write single coil 0 = ON: the Modbus counter's zero.
QByteArray zeroMeterCoil(quint8 address);

/// The two writes of the limit registers 0x500E-0x500F that follow a Modbus zero. Their CRCs are
/// the fixed ones of address 1, the only address the counters are set to.
QByteArray alterResetFirst(quint8 address);
QByteArray alterResetSecond(quint8 address);

/// The text counter's zero command "SET-C".
QByteArray zeroMeterText();

} // namespace devices
