// The serial barcode scanner of the card field: opens its port and reports each whole scan.
#pragma once

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

    /// A scanner that ends its scans with no CR or LF has finished after this long without a byte.
    static constexpr int kIdleMs = 80;

    explicit BarcodeScanner(QObject* parent = nullptr);

    /// Reads the scanner keys (with their fall-backs) and (re)opens the port: "9600,n,8,1",
    /// everything waiting per read, an event per received byte.
    OpenResult open(PortRule rule = PortRule::LastCharacter);
    void close();
    bool isOpen() const;

    SerialPort* port() const { return m_port; }
    QString lastError() const;

signals:
    /// One whole scan with its line end as sent: the bytes up to a CR, LF or CR LF, or, from a
    /// scanner that has sent no line end since the port opened, up to kIdleMs without a byte. A scan that comes in several chunks is
    /// one scan; empty lines (the LF of a CR LF) are none.
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
    QTimer m_idle;
    QByteArray m_pending; ///< bytes of a scan whose end has not come yet
    bool m_endsLines = false; ///< this scanner has sent a CR or LF since the port was opened
};

} // namespace devices
