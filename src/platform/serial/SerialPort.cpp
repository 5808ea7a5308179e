// SerialPort over QSerialPort or any QIODevice. Everything runs on the UI thread: bytes are
// collected on readyRead and handed out when a station polls or handles the receive event.
#include "serial/SerialPort.h"

#include "config/LegacyEncoding.h"
#include "serial/SerialSettings.h"

#include <QSerialPort>

using namespace Qt::StringLiterals;

SerialPort::SerialPort(QObject* parent) : QObject(parent)
{
    m_reopen.setInterval(kReopenMs);
    connect(&m_reopen, &QTimer::timeout, this, &SerialPort::reopen);
}

SerialPort::~SerialPort() { setPortOpen(false); }

bool SerialPort::setSettings(const QString& text)
{
    m_settings = text;
    SerialSettings s;
    if (!parseSerialSettings(text, &s, &m_error))
        return false;
    if (m_serial && m_serial->isOpen()) {
        m_serial->setBaudRate(s.baud);
        m_serial->setParity(s.parity);
        m_serial->setDataBits(s.dataBits);
        m_serial->setStopBits(s.stopBits);
    }
    return true;
}

void SerialPort::setDevice(QIODevice* dev)
{
    setPortOpen(false);
    m_external = dev;
}

QString SerialPort::deviceName() const
{
    return m_external ? QString() : SerialPortNames::deviceName(m_commPort);
}

QIODevice* SerialPort::io() const
{
    if (m_external)
        return m_externalOpen ? m_external.data() : nullptr;
    return m_serial;
}

bool SerialPort::portOpen() const { return io() != nullptr && io()->isOpen(); }

bool SerialPort::setPortOpen(bool open)
{
    m_reopen.stop();
    if (!open) {
        if (m_serial) {
            m_serial->disconnect(this);
            m_serial->close();
            m_serial->deleteLater();
            m_serial = nullptr;
        }
        if (m_external && m_externalOpen)
            m_external->disconnect(this);
        m_externalOpen = false;
        return true;
    }
    if (portOpen())
        return true;
    SerialSettings s;
    if (!parseSerialSettings(m_settings, &s, &m_error))
        return false;
    m_buffer.clear();
    if (m_external) {
        if (!m_external->isOpen() && !m_external->open(QIODevice::ReadWrite)) {
            m_error = m_external->errorString();
            return false;
        }
        m_externalOpen = true;
        connect(m_external, &QIODevice::readyRead, this, &SerialPort::onReadyRead);
        connect(m_external, &QIODevice::readChannelFinished, this,
                [this] { lose(u"设备已关闭"_s); });
        return true;
    }
    auto* port = new QSerialPort(this);
    port->setPortName(SerialPortNames::deviceName(m_commPort));
    port->setBaudRate(s.baud);
    port->setParity(s.parity);
    port->setDataBits(s.dataBits);
    port->setStopBits(s.stopBits);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        m_error = u"COM%1 (%2): %3"_s.arg(m_commPort).arg(port->portName(), port->errorString());
        delete port;
        return false;
    }
    m_serial = port;
    connect(port, &QSerialPort::readyRead, this, &SerialPort::onReadyRead);
    connect(port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { onSerialError(int(e)); });
    return true;
}

void SerialPort::onSerialError(int error)
{
    // Timeouts and write hiccups leave the port usable; a lost device closes it. A tty whose
    // other side went away reads end-of-file, which the serial layer reports as a read error
    // (and would report again on every event-loop turn).
    if (error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError
        || error == QSerialPort::PermissionError || error == QSerialPort::ReadError)
        lose(m_serial ? m_serial->errorString() : QString());
}

void SerialPort::lose(const QString& why)
{
    if (!portOpen())
        return;
    m_error = u"COM%1: %2"_s.arg(m_commPort).arg(why);
    // Closing from inside the device's own signal: the QSerialPort is deleted later.
    setPortOpen(false);
    emit portLost(m_error);
    // A device pulled out and plugged in again comes back under the same name (or the same udev
    // link): the station reads on without the operator's tick or a restart. A device of a test
    // or socket (setDevice) is not tried again.
    if (!m_external && !portOpen())
        m_reopen.start();
}

void SerialPort::reopen()
{
    if (setPortOpen(true))
        emit portBack();
    else
        m_reopen.start(); // not back yet
}

void SerialPort::pull()
{
    QIODevice* dev = io();
    if (!dev || !dev->isOpen() || dev->bytesAvailable() <= 0)
        return;
    m_buffer.append(dev->readAll());
    if (m_buffer.size() > kMaxBuffer)
        m_buffer.remove(0, m_buffer.size() - kMaxBuffer);
}

void SerialPort::onReadyRead()
{
    const qsizetype before = m_buffer.size();
    pull();
    if (m_rThreshold > 0 && m_buffer.size() > before && m_buffer.size() >= m_rThreshold)
        emit received();
}

int SerialPort::inBufferCount()
{
    pull();
    return int(m_buffer.size());
}

void SerialPort::clearInBuffer()
{
    pull();
    m_buffer.clear();
}

QByteArray SerialPort::inputBytes()
{
    pull();
    const qsizetype n = m_inputLen > 0 ? qMin<qsizetype>(m_inputLen, m_buffer.size()) : m_buffer.size();
    const QByteArray out = m_buffer.left(n);
    m_buffer.remove(0, n);
    return out;
}

QString SerialPort::inputText() { return LegacyEncoding::fromGb18030(inputBytes()); }

bool SerialPort::output(const QByteArray& bytes)
{
    QIODevice* dev = io();
    if (!dev || !dev->isOpen()) {
        m_error = u"COM%1: 串口没有打开"_s.arg(m_commPort);
        return false;
    }
    if (dev->write(bytes) != bytes.size()) {
        m_error = u"COM%1: %2"_s.arg(m_commPort).arg(dev->errorString());
        return false;
    }
    // The serial layer writes from the event loop; a command followed by one of the counter's
    // blocking pauses must be on the line before the pause starts.
    if (m_serial)
        m_serial->flush();
    return true;
}

bool SerialPort::output(const QString& text) { return output(LegacyEncoding::toGb18030(text)); }
