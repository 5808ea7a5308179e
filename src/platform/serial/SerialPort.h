// A serial port with the surface the stations were written against: port number, settings text,
// open flag, text or binary input, receive threshold, bytes waiting, input and output.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

using namespace Qt::StringLiterals;

class QIODevice;
class QSerialPort;

class SerialPort : public QObject {
    Q_OBJECT
public:
    enum InputMode { Text = 0, Binary = 1 };

    /// Bytes kept waiting at most; older bytes are dropped first, so a scale that streams while
    /// nobody reads never grows the station's memory and the newest reading survives.
    static constexpr qsizetype kMaxBuffer = 4096;
    /// How often a port that went away is tried again.
    static constexpr int kReopenMs = 2000;

    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    /// Port number; mapped to a device through mirel.ini [SerialPorts] when the port opens.
    void setCommPort(int n) { m_commPort = n; }
    int commPort() const { return m_commPort; }

    /// "9600,n,8,1". Returns false (and keeps the text, which refuses to open) when it is bad.
    bool setSettings(const QString& text);
    QString settings() const { return m_settings; }

    /// Opens or closes the port. Opening checks the settings and the device; false with
    /// lastError() when it fails, and the port stays closed. Either ends the tries of a port
    /// that went away.
    bool setPortOpen(bool open);
    bool portOpen() const;

    void setInputMode(int mode) { m_inputMode = mode == Binary ? Binary : Text; }
    InputMode inputMode() const { return m_inputMode; }

    /// Bytes one input() takes at most; 0 takes everything waiting.
    void setInputLen(int n) { m_inputLen = qMax(0, n); }
    int inputLen() const { return m_inputLen; }

    /// received() is emitted when at least this many bytes wait after new data; 0 turns it off.
    void setRThreshold(int n) { m_rThreshold = qMax(0, n); }
    int rThreshold() const { return m_rThreshold; }

    /// Bytes received and not yet read.
    int inBufferCount();
    /// Drops everything waiting (the old "InBufferCount = 0").
    void clearInBuffer();

    /// Takes the waiting bytes (at most inputLen()).
    QByteArray inputBytes();
    /// Takes the waiting bytes as text: ASCII, and GB18030 for anything above it.
    QString inputText();

    /// Writes the bytes; false with lastError() when the port is closed or the write fails.
    bool output(const QByteArray& bytes);
    bool output(const QString& text);

    /// Uses dev instead of a serial device (tests, sockets). The port does not own it. Opening
    /// opens dev read-write when it is not open yet; settings are checked but not applied.
    void setDevice(QIODevice* dev);

    /// The device the port number maps to (empty with setDevice()).
    QString deviceName() const;
    QString lastError() const { return m_error; }

signals:
    /// New bytes arrived and at least rThreshold() are waiting (the old receive event).
    void received();
    /// The open port failed (unplugged, removed, I/O error); it is closed now and tried again
    /// every kReopenMs, under the same name, until it opens or is opened or closed on purpose.
    void portLost(const QString& error);
    /// A lost port opened again (the device plugged in again).
    void portBack();

private:
    void onReadyRead();
    void onSerialError(int error);
    void lose(const QString& why);
    void reopen();
    void pull();
    QIODevice* io() const;

    int m_commPort = 1;
    QString m_settings = u"9600,n,8,1"_s;
    InputMode m_inputMode = Text;
    int m_inputLen = 0;
    int m_rThreshold = 0;
    QByteArray m_buffer;
    QString m_error;
    QSerialPort* m_serial = nullptr;
    QPointer<QIODevice> m_external;
    bool m_externalOpen = false;
    QTimer m_reopen;
};
