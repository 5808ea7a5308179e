// Scanner port set-up, and the receive event that gathers a scan's bytes until the scan is whole.
#include "devices/BarcodeScanner.h"

#include "config/LegacyEncoding.h"
#include "devices/DeviceSettings.h"
#include "serial/SerialPort.h"
#include "serial/SerialSettings.h"
#include "text/Vb.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace devices {

QString scannerToolTip() { return u" 串口扫描枪启动"_s; }

BarcodeScanner::BarcodeScanner(QObject* parent) : QObject(parent), m_port(new SerialPort(this))
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMs);
    connect(&m_idle, &QTimer::timeout, this, &BarcodeScanner::onIdle);
    connect(m_port, &SerialPort::received, this, &BarcodeScanner::onReceived);
    connect(m_port, &SerialPort::portLost, this, &BarcodeScanner::lost);
    connect(m_port, &SerialPort::portBack, this, &BarcodeScanner::onBack);
}

void BarcodeScanner::onBack()
{
    // Bytes of a scan cut off by the unplugging are not half of the next one.
    m_pending.clear();
    m_endsLines = false;
    m_idle.stop();
    emit reopened();
}

void BarcodeScanner::onReceived()
{
    // An RS-232 scanner's bytes arrive in chunks of any size; a scan is whole at its line end.
    m_pending += m_port->inputBytes();
    for (;;) {
        const qsizetype cr = m_pending.indexOf('\r'), lf = m_pending.indexOf('\n');
        if (cr < 0 && lf < 0)
            break;
        m_endsLines = true;
        qsizetype end = cr < 0 ? lf : lf < 0 ? cr : qMin(cr, lf);
        if (end == cr && end + 1 < m_pending.size() && m_pending.at(end + 1) == '\n')
            ++end; // CR LF ends one scan
        // The scan goes on with its line end, as the scanner sent it; the lookup trims it.
        const QByteArray scan = m_pending.left(end + 1);
        m_pending.remove(0, end + 1);
        // A line end alone (the LF of a CR LF that came in two pieces) is no scan.
        if (scan.size() > (scan.endsWith("\r\n") ? 2 : 1))
            emit scanned(LegacyEncoding::fromGb18030(scan));
    }
    // A scanner known to end its scans is waited for however slowly its bytes come.
    if (m_pending.isEmpty() || m_endsLines)
        m_idle.stop();
    else
        m_idle.start();
}

void BarcodeScanner::onIdle()
{
    if (m_pending.isEmpty())
        return;
    const QByteArray scan = std::exchange(m_pending, QByteArray());
    emit scanned(LegacyEncoding::fromGb18030(scan));
}

BarcodeScanner::OpenResult BarcodeScanner::open(PortRule rule)
{
    const ScannerSetting setting = scannerSetting();
    if (setting.port.isEmpty())
        return OpenResult::NotConfigured;
    m_port->clearInBuffer();
    m_pending.clear();
    m_endsLines = false;
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
    m_pending.clear();
    m_idle.stop();
}

bool BarcodeScanner::isOpen() const { return m_port->portOpen(); }

QString BarcodeScanner::lastError() const { return m_port->lastError(); }

} // namespace devices
