// Scanner port set-up and the receive event that hands each burst to the card field.
#include "devices/BarcodeScanner.h"

#include "devices/DeviceSettings.h"
#include "serial/SerialPort.h"
#include "serial/SerialSettings.h"
#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace devices {

QString scannerToolTip() { return u" 串口扫描枪启动"_s; }

BarcodeScanner::BarcodeScanner(QObject* parent) : QObject(parent), m_port(new SerialPort(this))
{
    connect(m_port, &SerialPort::received, this, [this] { emit scanned(m_port->inputText()); });
    connect(m_port, &SerialPort::portLost, this, &BarcodeScanner::lost);
}

BarcodeScanner::OpenResult BarcodeScanner::open(PortRule rule)
{
    const ScannerSetting setting = scannerSetting();
    if (setting.port.isEmpty())
        return OpenResult::NotConfigured;
    m_port->clearInBuffer();
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

void BarcodeScanner::close() { m_port->setPortOpen(false); }

bool BarcodeScanner::isOpen() const { return m_port->portOpen(); }

QString BarcodeScanner::lastError() const { return m_port->lastError(); }

} // namespace devices
