// Scanner port set-up, and the receive event that gathers a scan's bytes until the scan is whole.
#include "devices/BarcodeScanner.h"

#include "config/LegacyEncoding.h"
#include "devices/DeviceSettings.h"
#include "screen/QuestionGate.h"
#include "serial/SerialPort.h"
#include "serial/SerialSettings.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace devices {

QString scannerToolTip() { return u" 串口扫描枪启动"_s; }

BarcodeScanner::BarcodeScanner(QObject* parent) : QObject(parent), m_port(new SerialPort(this))
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(kQuietMs);
    connect(&m_idle, &QTimer::timeout, this, &BarcodeScanner::onIdle);
    connect(m_port, &SerialPort::received, this, &BarcodeScanner::onReceived);
    connect(m_port, &SerialPort::portLost, this, &BarcodeScanner::lost);
    connect(m_port, &SerialPort::portBack, this, &BarcodeScanner::onBack);
}

void BarcodeScanner::onBack()
{
    // Bytes of a scan cut off by the unplugging are not half of the next one.
    m_codes.clear();
    m_idle.stop();
    emit reopened();
}

void BarcodeScanner::onReceived()
{
    // An RS-232 scanner's bytes arrive in pieces of any size; a code is whole at its ending, or,
    // from a scanner that sends none, once the line has been quiet for a tick.
    for (const QByteArray& code : m_codes.feed(m_port->inputBytes()))
        deliver(code);
    if (m_codes.waiting())
        m_idle.start();
    else
        m_idle.stop();
}

void BarcodeScanner::onIdle()
{
    const QByteArray code = m_codes.quiet();
    if (!code.isEmpty())
        deliver(code);
}

void BarcodeScanner::deliver(const QByteArray& code)
{
    QuestionGate::noteScan();
    // A question on screen is answered by the operator; the code is looked up after it.
    QuestionGate::whenAnswered(this, [this, text = LegacyEncoding::fromGb18030(code)] {
        emit scanned(text);
    });
}

BarcodeScanner::OpenResult BarcodeScanner::open(PortRule rule)
{
    const ScannerSetting setting = scannerSetting();
    if (setting.port.isEmpty())
        return OpenResult::NotConfigured;
    m_port->clearInBuffer();
    m_codes.clear();
    m_idle.stop();
    if (m_port->portOpen())
        m_port->setPortOpen(false);
    m_port->setSettings(u"9600,n,8,1"_s);
    m_port->setInputLen(0);
    m_port->setRThreshold(1);
    m_port->setInputMode(int(vb::Val(setting.inputMode)));
    m_port->setCommPort(rule == PortRule::AfterCom
                            ? SerialPortNames::numberAfterCom(setting.port)
                            : SerialPortNames::numberFromLastCharacter(setting.port));
    if (m_port->portOpen()) {
        m_port->setPortOpen(false);
        return OpenResult::ClosedAgain;
    }
    return m_port->setPortOpen(true) ? OpenResult::Opened : OpenResult::Failed;
}

void BarcodeScanner::close()
{
    m_port->setPortOpen(false);
    m_codes.clear();
    m_idle.stop();
}

bool BarcodeScanner::isOpen() const { return m_port->portOpen(); }

QString BarcodeScanner::lastError() const { return m_port->lastError(); }

} // namespace devices
