// The serial barcode scanner of the card field: opens its port and reports every reception.
#pragma once

#include <QObject>
#include <QString>

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

    explicit BarcodeScanner(QObject* parent = nullptr);

    /// Reads the scanner keys (with their fall-backs) and (re)opens the port: "9600,n,8,1",
    /// everything waiting per read, an event per received byte.
    OpenResult open(PortRule rule = PortRule::LastCharacter);
    void close();
    bool isOpen() const;

    SerialPort* port() const { return m_port; }
    QString lastError() const;

signals:
    /// The whole text received so far (a scanner that sends in two bursts gives two scans; an
    /// event without data gives an empty text).
    void scanned(const QString& text);
    /// The port disappeared while open (scanner unplugged).
    void lost(const QString& error);

private:
    SerialPort* m_port;
};

} // namespace devices
