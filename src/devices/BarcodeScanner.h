// The serial barcode scanner of the card field: opens its port and reports each whole scan. The
// one scan reader of every station with a serial scanner.
#pragma once

#include "devices/ScanAssembler.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class SerialPort;

namespace devices {

/// Tooltip the card field gets when a scan filled it (with its leading blank).
QString scannerToolTip();

class BarcodeScanner : public QObject {
    Q_OBJECT
public:
    /// How a port name becomes a port number.
    enum class PortRule {
        LastCharacter, ///< inspection-type stations: "COM3" -> 3, only ports 1-9
        AfterCom,      ///< progress station: "com12" -> 12
    };
    enum class OpenResult {
        NotConfigured, ///< the port setting is empty: no scanner
        Opened,
        ClosedAgain,   ///< the port was still open and got closed
        Failed,        ///< no such port, port in use, bad settings: see lastError()
    };

    /// A code without an ending is whole once the line has been quiet this long (a device
    /// tick): pieces of one scan come closer together, two scans by hand never do.
    static constexpr int kQuietMs = 400;

    explicit BarcodeScanner(QObject* parent = nullptr);

    /// Reads the scanner keys (with their fall-backs) and (re)opens the port: "9600,n,8,1",
    /// everything waiting per read, an event per received byte.
    OpenResult open(PortRule rule = PortRule::LastCharacter);
    void close();
    bool isOpen() const;

    SerialPort* port() const { return m_port; }
    QString lastError() const;

signals:
    /// One whole code, without its ending: the bytes up to a CR, LF, CR LF or Tab, or up to
    /// kQuietMs without a byte. A scan that comes in several pieces is one code. A code read
    /// while a question stands open comes once it is answered.
    void scanned(const QString& text);
    /// The port disappeared while open (scanner unplugged); the port tries it again.
    void lost(const QString& error);
    /// The port opened again after lost() (scanner plugged in again).
    void reopened();

private:
    void onReceived();
    void onIdle();
    void onBack();

    SerialPort* m_port;
    void deliver(const QByteArray& code);

    QTimer m_idle;
    ScanAssembler m_codes;
};

} // namespace devices
