// The "9600,n,8,1" settings text of the stations' serial ports, and port names.
#pragma once

#include <QSerialPort>
#include <QString>

struct SerialSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

/// Parses "baud,parity,data bits,stop bits": parity n/e/o/m/s in either case, data bits 5-8,
/// stop bits 1, 1.5 or 2; blanks around the fields are allowed. False with a message in error
/// (Chinese, for the station's status caption) for anything else.
bool parseSerialSettings(const QString& text, SerialSettings* out, QString* error = nullptr);

namespace SerialPortNames {

/// The device of port number n: mirel.ini section "SerialPorts" key "COMn" of the program folder,
/// else "COMn" on Windows and "/dev/ttyS<n-1>" elsewhere.
QString deviceName(int n);

/// The stations' old rule: the integer of the rightmost character ("COM3" gives 3, "COM12" 2,
/// "COMX" 0).
int numberFromLastCharacter(const QString& portName);

/// The progress station's rule: the number left after removing "COM" from the upper-cased name
/// ("com12" gives 12).
int numberAfterCom(const QString& portName);

} // namespace SerialPortNames
