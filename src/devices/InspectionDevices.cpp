// Set-up, zeroing and unit commands of the inspection frame's devices.
#include "devices/InspectionDevices.h"

#include "devices/BarcodeScanner.h"
#include "devices/DeviceSettings.h"
#include "devices/MeterFrames.h"
#include "readers/RfidReaderLibrary.h"
#include "readers/UsbCounterLibrary.h"
#include "serial/SerialPort.h"
#include "serial/SerialSettings.h"


using namespace Qt::StringLiterals;

namespace devices {

InspectionDevices::InspectionDevices(DeviceRules rules, QObject* parent)
    : QObject(parent), m_rules(std::move(rules)), m_counter(new SerialPort(this)),
      m_scale(new SerialPort(this)), m_scanner(new BarcodeScanner(this)),
      m_usb(std::make_unique<UsbCounterLibrary>()), m_rfid(std::make_unique<RfidReaderLibrary>())
{
    m_timer.setInterval(400);
    // The counter wants 500 ms between the zero and each limit write, not less.
    m_zeroTimer.setSingleShot(true);
    m_zeroTimer.setTimerType(Qt::PreciseTimer);
    m_zeroTimer.setInterval(500);
    connect(&m_zeroTimer, &QTimer::timeout, this, &InspectionDevices::zeroStep);
    connect(&m_timer, &QTimer::timeout, this, &InspectionDevices::safeTick);
    connect(m_scanner, &BarcodeScanner::scanned, this, &InspectionDevices::cardScanned);
    connect(m_scanner, &BarcodeScanner::lost, this, [this](const QString& error) {
        setColour(fields::kCardCaption, colours::kScannerClosed);
        emit deviceFault(error);
    });
    connect(m_scanner, &BarcodeScanner::reopened, this,
            [this] { setColour(fields::kCardCaption, colours::kScannerOpen); });
    connect(m_counter, &SerialPort::portLost, this, &InspectionDevices::onCounterLost);
    connect(m_scale, &SerialPort::portLost, this, &InspectionDevices::onScaleLost);
    connect(m_counter, &SerialPort::portBack, this, &InspectionDevices::onCounterBack);
    connect(m_scale, &SerialPort::portBack, this, &InspectionDevices::onScaleBack);
}

InspectionDevices::~InspectionDevices() = default;

void InspectionDevices::setLengthRatio(double a, double b)
{
    m_ratioA = a;
    m_ratioB = b;
}

void InspectionDevices::setupDevices()
{
    m_timer.setInterval(400);
    m_timer.start();
    m_address = 1;
    m_shownCounter.reset();
    m_shownScale.reset();
    m_shownColour.clear();
    m_rfidTried = false;
    setColour(fields::kQuantityCaption, colours::kButtonText);
    setColour(fields::kWeightCaption, colours::kButtonText);
    openScalePort();
    openMeterPort();
    openScannerPort();
}

void InspectionDevices::openScalePort()
{
    if (!m_scaleOn) {
        setScaleStatus(QString());
        return;
    }
    const QString name = readMirel(u"CHENCOM"_s, u"COM3"_s);
    setColour(fields::kWeightCaption, colours::kRed);
    m_scale->clearInBuffer();
    m_scale->setPortOpen(false);
    m_scale->setSettings(u"9600,n,8,1"_s);
    m_scale->setInputLen(0);
    m_scale->setInputMode(SerialPort::Text);
    m_scale->setCommPort(SerialPortNames::numberFromLastCharacter(name));
    if (!m_scale->setPortOpen(true)) {
        setScaleStatus(u"台称没找到"_s);
        emit deviceFault(m_scale->lastError());
        return;
    }
    m_lastWeight.clear();
    m_scaleReadings.reset();
    m_settling.setSettings(SettlingSettings::read(u"MIREL"_s));
    m_settling.reset();
    setScaleStatus(u"台称准备好"_s);
}

QString InspectionDevices::counterSettings() const
{
    return m_rules.counterSettings.isEmpty() ? readMirel(u"InputSet"_s, u"9600,n,8,1"_s)
                                             : m_rules.counterSettings;
}

CounterModel InspectionDevices::currentModel() const
{
    return m_rules.knownModel(counterModel(readMirel(u"InputMode"_s, u"1"_s), counterSettings()));
}

void InspectionDevices::openMeterPort()
{
    if (!m_counterOn)
        return;
    const CounterModel model = currentModel();
    m_discardReply = false;
    m_missedTicks = 0;
    m_zeroStep = 0;
    m_zeroTimer.stop();
    m_counterCarry.clear();
    m_counterSynced = false;
    if (model == CounterModel::Usb) {
        m_usbOpen = m_usb->open();
        if (!m_usbOpen) {
            setCounterStatus(u"没有找到码表驱动"_s);
            emit counterToolTip(m_usb->errorString());
            emit deviceFault(m_usb->errorString());
            return;
        }
        setCounterStatus(u"电表准备好"_s);
        return;
    }
    m_counter->clearInBuffer();
    m_counter->setPortOpen(false);
    m_counter->setSettings(counterSettings());
    m_counter->setInputLen(0);
    const QString name = readMirel(u"COM"_s, u"COM1"_s);
    setColour(fields::kQuantityCaption, colours::kRed);
    m_counter->setInputMode(model == CounterModel::Text ? SerialPort::Text : SerialPort::Binary);
    m_counter->setCommPort(SerialPortNames::numberFromLastCharacter(name));
    if (!m_counter->setPortOpen(true)) {
        setCounterStatus(u"没有找到串口"_s);
        emit counterToolTip(m_counter->lastError());
        emit deviceFault(m_counter->lastError());
        return;
    }
    setCounterStatus(u"码表准备好"_s);
}

void InspectionDevices::openScannerPort()
{
    switch (m_scanner->open(BarcodeScanner::PortRule::LastCharacter)) {
    case BarcodeScanner::OpenResult::NotConfigured:
        setColour(fields::kCardCaption, colours::kButtonText);
        break;
    case BarcodeScanner::OpenResult::Opened:
        setColour(fields::kCardCaption, colours::kScannerOpen);
        break;
    case BarcodeScanner::OpenResult::ClosedAgain:
        setColour(fields::kCardCaption, colours::kScannerClosed);
        break;
    case BarcodeScanner::OpenResult::Failed:
        emit deviceFault(m_scanner->lastError());
        break;
    }
}

void InspectionDevices::zeroCounter()
{
    const bool open = m_counter->portOpen();
    if (m_rules.checkedCounter) {
        if (open && m_counter->output(zeroMeterCoil(m_address)))
            m_discardReply = true;
        return;
    }
    switch (currentModel()) {
    case CounterModel::Text:
        if (open)
            m_counter->output(zeroMeterText());
        break;
    case CounterModel::Usb:
        m_usb->zero();
        break;
    case CounterModel::SumFrame:
        break;
    case CounterModel::FiveRegisters:
        if (open)
            m_counter->output(zeroMeterRegister());
        m_discardReply = open;
        break;
    case CounterModel::Modbus:
        // The counter needs its time between the zero and the two limit writes; the ticks leave
        // it alone until the last one is out.
        if (open)
            m_counter->output(zeroMeterCoil(m_address));
        m_zeroStep = 1;
        m_zeroTimer.start();
        break;
    }
}

void InspectionDevices::zeroStep()
{
    const bool open = m_counter->portOpen();
    if (m_zeroStep == 1) {
        if (open)
            m_counter->output(alterResetFirst(m_address));
        m_zeroStep = 2;
        m_zeroTimer.start();
        return;
    }
    if (open)
        m_counter->output(alterResetSecond(m_address));
    m_zeroStep = 0;
    m_discardReply = open;
}

bool InspectionDevices::toggleUnit(const QString& unitCaption)
{
    m_yards = unitCaption != u"码"_s;
    if (m_counter->portOpen() && m_counter->output(setMeterUnit(m_yards)))
        m_discardReply = true;
    return m_yards;
}

void InspectionDevices::setPolling(bool on)
{
    if (on) {
        m_timer.start();
        return;
    }
    m_timer.stop();
    // Nothing is read until polling starts again: the captions must not say the devices talk.
    setCounterStatus(u"码表暂停中"_s);
    setScaleStatus(u"台称暂停中"_s);
}

void InspectionDevices::forgetWeight()
{
    m_lastWeight.clear();
}

void InspectionDevices::releaseDevices()
{
    m_timer.stop();
    m_zeroTimer.stop();
    m_zeroStep = 0;
    m_usb->close();
    m_usbOpen = false;
    m_counter->setPortOpen(false);
    m_scale->setPortOpen(false);
    m_scanner->close();
}

void InspectionDevices::onCounterLost(const QString& error)
{
    setCounterStatus(u"码表暂停中"_s);
    emit counterToolTip(error);
    emit deviceFault(error);
}

void InspectionDevices::onScaleLost(const QString& error)
{
    m_scaleReadings.reset();
    m_settling.reset();
    setScaleStatus(u"台称暂停中"_s);
    emit deviceFault(error);
}

void InspectionDevices::onCounterBack()
{
    // The cable plugged in again (a loose plug at the frame): the station reads on without the
    // inspector ticking its box again; the counter kept its own count meanwhile.
    if (!m_counterOn) {
        m_counter->setPortOpen(false); // switched off while it was out
        return;
    }
    m_missedTicks = 0;
    m_discardReply = false;
    m_counterCarry.clear();
    m_counterSynced = false;
    setCounterStatus(u"码表准备好"_s);
    emit counterToolTip(QString());
}

void InspectionDevices::onScaleBack()
{
    if (!m_scaleOn) {
        m_scale->setPortOpen(false);
        return;
    }
    m_scaleReadings.reset();
    m_lastWeight.clear();
    setScaleStatus(u"台称准备好"_s);
}

bool InspectionDevices::zeroScale()
{
    if (!m_scaleZeroTare || !m_scale->portOpen())
        return false;
    m_scale->output(sicsZeroCommand());
    return true;
}

bool InspectionDevices::tareScale()
{
    if (!m_scaleZeroTare || !m_scale->portOpen())
        return false;
    m_scale->output(sicsTareCommand());
    return true;
}

void InspectionDevices::setCounterStatus(const QString& caption)
{
    if (caption == m_shownCounter)
        return;
    m_shownCounter = caption;
    emit counterStatus(caption);
}

void InspectionDevices::setScaleStatus(const QString& caption)
{
    if (caption == m_shownScale)
        return;
    m_shownScale = caption;
    emit scaleStatus(caption);
}

void InspectionDevices::setColour(int labBox, quint32 colour)
{
    const auto it = m_shownColour.constFind(labBox);
    if (it != m_shownColour.cend() && *it == colour)
        return;
    m_shownColour.insert(labBox, colour);
    emit labelColour(labBox, colour);
}

} // namespace devices
