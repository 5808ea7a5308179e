#include "stations/progress/WorkloadDevicePanel.h"

#include "devices/BarcodeScanner.h"
#include "devices/Rfid.h"
#include "readers/RfidReaderLibrary.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "stations/progress/frmWorkload.h"
#include "stations/rfid/RfidSql.h"
#include "widgets/ScanField.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;
namespace F = WorkloadField;

namespace {

// numKeybtn k: the field it works on and the preset list it offers.
struct KeyButton {
    int field;
    const char16_t* presetKey;
};
constexpr KeyButton KeyButtons[WorkloadKey::Count] = {
    {F::Card, u""}, {F::Worker, u"工号"}, {F::Metres, u"长度"}, {F::Pieces, u"长度"}};

} // namespace

WorkloadDevicePanel::WorkloadDevicePanel(frmWorkload* form)
    : QObject(form), m_form(form), m_reader(std::make_unique<RfidReaderLibrary>())
{
    wire();
}

WorkloadDevicePanel::~WorkloadDevicePanel() = default;

void WorkloadDevicePanel::wire()
{
    frmWorkload* f = m_form;
    connect(f->rfidBtn, &QPushButton::clicked, this, &WorkloadDevicePanel::readWorkerCard);
    for (int k = 0; k < WorkloadKey::Count; ++k)
        connect(f->numKeybtn[k], &QPushButton::clicked, this, [this, k] {
            const KeyButton& kb = KeyButtons[k];
            const QString key = QString::fromUtf16(kb.presetKey);
            if (!key.isEmpty() && loadPresetKeypad(key))
                showPresetKeypad(kb.field);
            else
                showNumberKeypad(kb.field, false);
        });
    connect(f->MSCommBarcode, &devices::BarcodeScanner::scanned, this, &WorkloadDevicePanel::onScanned);
    // Unplugged, the scanner's caption says so (the reason in its tooltip) until it is back.
    QLabel* scanner = f->LabBox[WorkloadLabel::Scanner];
    connect(f->MSCommBarcode, &devices::BarcodeScanner::lost, this, [f, scanner](const QString& error) {
        f->setForeColor(scanner, frmWorkload::DeviceFailed);
        scanner->setToolTip(error);
    });
    connect(f->MSCommBarcode, &devices::BarcodeScanner::reopened, this, [f, scanner] {
        f->setForeColor(scanner, frmWorkload::DeviceOn);
        scanner->setToolTip(QString());
    });
    connect(f->Timer1, &QTimer::timeout, this, &WorkloadDevicePanel::pollReader);
}

void WorkloadDevicePanel::openScannerPort()
{
    QLabel* scanner = m_form->LabBox[WorkloadLabel::Scanner];
    try {
        const auto result = m_form->MSCommBarcode->open(devices::BarcodeScanner::PortRule::AfterCom);
        if (result == devices::BarcodeScanner::OpenResult::Failed) {
            m_form->setForeColor(scanner, frmWorkload::DeviceFailed);
            scanner->setToolTip(m_form->MSCommBarcode->lastError());
            return;
        }
        m_form->setForeColor(scanner, frmWorkload::DeviceOn);
    } catch (const std::exception& e) {
        m_form->setForeColor(scanner, frmWorkload::DeviceFailed);
        scanner->setToolTip(QString::fromUtf8(e.what()));
    }
}

void WorkloadDevicePanel::onScanned(const QString& text)
{
    QLineEdit* card = m_form->TxtBox[F::Card];
    card->setText(text);
    card->setToolTip(devices::scannerToolTip());
    m_form->SearchBtn_Click();
}

bool WorkloadDevicePanel::readCardOnReader(QByteArray* block)
{
    if (!m_reader->isLoaded()) {
        if (m_readerTried)
            return false; // no reader library in the program folder: the station works without it
        m_readerTried = true;
        if (!m_reader->load())
            return false;
    }
    return devices::readCardBlock(*m_reader, block);
}

void WorkloadDevicePanel::readWorkerCard()
{
    QByteArray block;
    if (readCardOnReader(&block))
        takeWorkerCard(block);
}

void WorkloadDevicePanel::takeWorkerCard(const QByteArray& block)
{
    // The worker text written on the card, without the zero bytes that fill up its block.
    const QString text = RfidSql::cardFieldText(devices::bytesToCardText(block, 16), block).trimmed();
    if (text.isEmpty())
        return; // a blank card
    QString code;
    try {
        Recordset rs = Database::conn().execute(RfidSql::registeredWorker(text));
        code = Database::hasRecords(rs) ? rs.text(0) : QString();
    } catch (const std::exception&) {
        // Without the database the card is read by its text alone.
    }
    QLineEdit* worker = m_form->TxtBox[F::Worker];
    const WorkerCardEntry entry = WorkloadReport::workerCard(worker->text(), text, code, m_form->stepCount());
    worker->setText(entry.worker);
    if (entry.step >= 0)
        m_form->ProcessBtn_Click(entry.step);
}

void WorkloadDevicePanel::pollReader()
{
    QLabel* reader = m_form->LabBox[WorkloadLabel::Reader];
    if (m_form->rfidBtn->isHidden()) {
        m_form->setForeColor(reader, frmWorkload::DeviceIdle);
        return;
    }
    m_form->setForeColor(reader, frmWorkload::DeviceOn);
    QByteArray block;
    if (!readCardOnReader(&block)) {
        m_cardOnReader.clear(); // taken away: the next card is read, even the same one
        return;
    }
    // A card left on the reader is read once, not every second.
    if (block == m_cardOnReader)
        return;
    m_cardOnReader = block;
    takeWorkerCard(block);
}

bool WorkloadDevicePanel::loadPresetKeypad(const QString& key)
{
    const QString list = m_form->settings().presets(key);
    if (key.isEmpty() || list.isEmpty())
        return false;
    UserControl4* pad = m_form->UserControl41;
    pad->clearBtn();
    const QStringList values = list.split(u',');
    for (qsizetype i = 0; i + 1 < values.size(); ++i)
        pad->setNumber(values[i]);
    return true;
}

void WorkloadDevicePanel::showPresetKeypad(int field)
{
    QLineEdit* box = m_form->TxtBox[field];
    UserControl4* pad = m_form->UserControl41;
    pad->setTextBox(box);
    pad->placeBelow(box);
    pad->show();
    pad->raise();
}

void WorkloadDevicePanel::showNumberKeypad(int field, bool selectAll)
{
    QLineEdit* box = m_form->TxtBox[field];
    UserControl1* pad = m_form->NumberKeybord1;
    box->setCursorPosition(0);
    if (selectAll)
        box->selectAll();
    pad->setTextBox(box);
    pad->placeBeside(box);
    pad->show();
    pad->raise();
}
