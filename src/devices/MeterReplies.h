// Reading the length counters: which model is configured, and what each reply says.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace devices {

/// The counter models of the frames, numbered as in the "InputMode" setting.
enum class CounterModel {
    Text = 0,          ///< streams text such as "123.45M"; no request
    Modbus = 1,        ///< Modbus RTU, two holding registers, 9-byte reply
    Usb = 2,           ///< USB counter library, no serial port
    SumFrame = 3,      ///< fixed request 55 AA..., 8-byte reply with an additive check sum
    FiveRegisters = 4, ///< Modbus, five registers of slave 1, 13-byte reply
};

/// The model of "InputMode" with "InputSet": "0" text, "2" USB, "3" or the settings
/// "19200,n,8,1" the sum-checked counter, "4" five registers, anything else Modbus.
CounterModel counterModel(const QString& inputMode, const QString& inputSet);

/// Bytes that must be waiting before a binary model's reply is read (0 for text and USB).
int replyLength(CounterModel model);

/// The status caption while a model is being read ("码表1通讯中..." ...).
QString counterBusyCaption(CounterModel model);

/// The status caption once a counter has not answered for several ticks in a row.
QString counterSilentCaption();

/// Length in metres of a counter reply. A reply from the given Modbus address gives the 24-bit
/// signed count of bytes 6, 3, 4 (sign in byte 5) — first of all when its CRC holds; else a
/// sum-checked frame gives byte 6 * 256 + byte 7; anything else 0. The counters count centimetres. nullopt when the reply is too short for the
/// bytes the rule reads (the tick then leaves the fields alone).
std::optional<double> parseMeterReply(const QByteArray& reply, quint8 address);

/// (high * 256 + low) / 100: the five-register counter's length.
double readRegisterPair(quint8 high, quint8 low);

/// Appends today's date as one line to the counter diagnostic file "c:\DispPV4.log" (in the
/// program folder on this platform). False when the file cannot be written.
bool logZeroReading(const QString& path = QString());

/// Outcome of the strict Modbus check (each reply checked whole).
enum class ModbusCheck { Ok, Short, Invalid };

/// Checks the first 9 bytes of reply as a read-registers answer of address (03, 4 bytes, CRC) and
/// returns the count in metres through value.
ModbusCheck checkModbusReply(const QByteArray& reply, quint8 address, double* value);

/// A reading of a text counter.
struct CounterText {
    bool blank = true;   ///< nothing but blanks arrived: the tick ends
    double value = 0;    ///< raw counter value
    bool metres = false; ///< the reading ends in "M" (else the counter shows yards)
};

/// Cut after the first "M", then after the first "Y"; the unit from the last
/// character; the value of the first "/" field.
CounterText parseCounterText(const QString& received);

/// Unit from the last character, value of the whole text.
CounterText parseCounterTextPlain(const QString& received);

} // namespace devices

namespace devices {

/// The newest complete, valid reply of a binary model in what the port collected (stray bytes
/// before it, echoes of commands, a half reply after it are skipped), as the length in metres:
/// Modbus: address, 03, 04, 4 data bytes, CRC; five registers: 01 03 0A, 10 data bytes, CRC (15 bytes),
/// length from registers 0 (bytes 3-4); sum frame: 8 bytes whose check sum holds. nullopt when
/// there is none.
std::optional<double> latestReading(CounterModel model, const QByteArray& received, quint8 address);

} // namespace devices
