// The progress window's inputs besides the buttons: the scanner, the RFID worker card, the
// keypads beside the fields, the screen toggles and the enlarged step frame.
#include "stations/progress/frmWorkload.h"

#include "devices/BarcodeScanner.h"
#include "devices/Rfid.h"
#include "readers/RfidReaderLibrary.h"
#include "screen/Twips.h"
#include "shell/Database.h"
#include "shell/SysUtil.h"
#include "stations/progress/WorkloadListPart.h"
#include "stations/progress/WorkloadSql.h"
#include "stations/rfid/RfidSql.h"
#include "widgets/ScanField.h"
#include "widgets/ScreenMode.h"
#include "widgets/TwipLayout.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QDateTimeEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// numKeybtn k: the field it works on and the preset list it offers.
struct KeyButton {
    int field;
    const char16_t* presetKey;
};
constexpr KeyButton KeyButtons[4] = {{0, u""}, {1, u"工号"}, {2, u"长度"}, {6, u"长度"}};

} // namespace

void frmWorkload::wireEvents()
{
    connect(SearchBtn, &QPushButton::clicked, this, [this] { SearchBtn_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(rfidBtn, &QPushButton::clicked, this, [this] { readWorkerCard(); });
    ScanField::install(TxtBox[0]);
    connect(TxtBox[0], &QLineEdit::returnPressed, this, [this] {
        Label1->clear();
        SearchBtn_Click();
    });
    // The step's rules were checked for the card it was chosen on: another card (or a card typed
    // after a step pressed on an empty field) starts with no step and the frame's own caption.
    connect(TxtBox[0], &QLineEdit::textChanged, this, [this] { clearStepChoice(); });
    connect(TxtBox[1], &QLineEdit::textChanged, this, [this] { onWorkerChanged(); });
    for (int k = 0; k < 4; ++k)
        connect(numKeybtn[k], &QPushButton::clicked, this, [this, k] {
            const KeyButton& kb = KeyButtons[k];
            const QString key = QString::fromUtf16(kb.presetKey);
            if (!key.isEmpty() && loadPresetKeypad(key))
                showPresetKeypad(kb.field);
            else
                showNumberKeypad(kb.field, false);
        });
    connect(NumberKeybord1, &UserControl1::Confirm, this, [this](QLineEdit* box) {
        NumberKeybord1->hide();
        if (box == TxtBox[0])
            SearchBtn_Click();
    });
    connect(NumberKeybord1, &UserControl1::closed, UserControl41, &QWidget::hide);
    connect(UserControl41, &UserControl4::Confirm, UserControl41, &QWidget::hide);
    connect(MSCommBarcode, &devices::BarcodeScanner::scanned, this, &frmWorkload::onScanned);
    // Unplugged, the scanner's caption says so (the reason in its tooltip) until it is back.
    connect(MSCommBarcode, &devices::BarcodeScanner::lost, this, [this](const QString& error) {
        setForeColor(LabBox[0], DeviceFailed);
        LabBox[0]->setToolTip(error);
    });
    connect(MSCommBarcode, &devices::BarcodeScanner::reopened, this, [this] {
        setForeColor(LabBox[0], DeviceOn);
        LabBox[0]->setToolTip(QString());
    });
    connect(Timer1, &QTimer::timeout, this, &frmWorkload::pollReader);
    connect(Timer1, &QTimer::timeout, this, &frmWorkload::followClock);
    connect(DTPicker1, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!m_clockSet)
            m_dateTouched = true;
    });
    for (QLineEdit* box : TxtBox)
        box->installEventFilter(this);
    Frame1->installEventFilter(this);
    Frame3->installEventFilter(this);
    Label2->installEventFilter(this);
}

bool frmWorkload::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type t = event->type();
    if (watched == Frame1 && t == QEvent::MouseButtonDblClick) {
        ScreenMode::toggle(this);
        return true;
    }
    if (watched == Label2 && t == QEvent::MouseButtonRelease) {
        ScreenMode::toggle(this);
        return true;
    }
    if (watched == Frame3 && t == QEvent::MouseButtonRelease) {
        Frame3_Click();
        return true;
    }
    if (t == QEvent::FocusIn) {
        const int field = int(TxtBox.indexOf(qobject_cast<QLineEdit*>(watched)));
        if (field >= 0) {
            QLineEdit* box = TxtBox[field];
            // After the click has placed its caret: the whole text is selected for the next entry.
            QTimer::singleShot(0, box, [box] {
                box->setCursorPosition(0);
                box->selectAll();
            });
            if (field == 3)
                NumberKeybord1->hide();
            else if (readMirel(u"KeyBoardValidate"_s, u"false"_s) != u"false")
                showNumberKeypad(field, true);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmWorkload::Frame3_Click()
{
    const QRect r = designRect(Frame3);
    if (r.top() != 0)
        placeTwips(Frame3, QRect(r.left(), 0, r.width(), 4600));
    else
        placeTwips(Frame3, QRect(r.left(), 3120, r.width(), 2535));
    Frame3->raise();
}

void frmWorkload::openScannerPort()
{
    try {
        const auto result = MSCommBarcode->open(devices::BarcodeScanner::PortRule::AfterCom);
        if (result == devices::BarcodeScanner::OpenResult::Failed) {
            setForeColor(LabBox[0], DeviceFailed);
            LabBox[0]->setToolTip(MSCommBarcode->lastError());
            return;
        }
        setForeColor(LabBox[0], DeviceOn);
    } catch (const std::exception& e) {
        setForeColor(LabBox[0], DeviceFailed);
        LabBox[0]->setToolTip(QString::fromUtf8(e.what()));
    }
}

void frmWorkload::onScanned(const QString& text)
{
    TxtBox[0]->setText(text);
    TxtBox[0]->setToolTip(devices::scannerToolTip());
    SearchBtn_Click();
}

bool frmWorkload::readCardOnReader(QByteArray* block)
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

void frmWorkload::readWorkerCard()
{
    QByteArray block;
    if (readCardOnReader(&block))
        takeWorkerCard(block);
}

void frmWorkload::takeWorkerCard(const QByteArray& block)
{
    // The worker text written on the card, without the zero bytes that fill up its block.
    const QString w = RfidSql::cardFieldText(devices::bytesToCardText(block, 16), block).trimmed();
    if (w.isEmpty())
        return; // a blank card
    // A card registered to a worker stands for his code, whatever its text ends in.
    QString code;
    try {
        Recordset rs = Database::conn().execute(WorkloadSql::registeredWorker(w));
        code = Database::hasRecords(rs) ? rs.text(0) : QString();
    } catch (const std::exception&) {
        // Without the database the card is read by its text alone.
    }
    if (!code.isEmpty()) {
        addWorkerCode(code);
        return;
    }
    // A card that ends in a step number reports that step at once.
    const int d = !w.back().isDigit() ? 0 : w.back().digitValue();
    if (d >= 1 && d <= stepCount()) {
        TxtBox[1]->setText(w.chopped(1));
        ProcessBtn_Click(d - 1);
        return;
    }
    addWorkerCode(w);
}

void frmWorkload::addWorkerCode(const QString& code)
{
    // Several cards make a team: each worker once, without an empty code after the last.
    QStringList codes = TxtBox[1]->text().split(u',', Qt::SkipEmptyParts);
    if (!codes.contains(code))
        codes << code;
    TxtBox[1]->setText(codes.join(u','));
}

void frmWorkload::pollReader()
{
    if (rfidBtn->isHidden()) {
        setForeColor(LabBox[2], DeviceIdle);
        return;
    }
    setForeColor(LabBox[2], DeviceOn);
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

bool frmWorkload::loadPresetKeypad(const QString& key)
{
    if (key.isEmpty())
        return false;
    const QString list = readMirel(key, QString());
    if (list.isEmpty())
        return false;
    UserControl41->clearBtn();
    const QStringList values = list.split(u',');
    for (qsizetype i = 0; i + 1 < values.size(); ++i)
        UserControl41->setNumber(values[i]);
    return true;
}

void frmWorkload::showPresetKeypad(int field)
{
    QLineEdit* box = TxtBox[field];
    UserControl41->setTextBox(box);
    QPoint at = box->mapTo(this, QPoint(0, Twips::of(this).y(700)));
    at.setX(qMin(at.x(), qMax(0, width() - UserControl41->width())));
    at.setY(qMin(at.y(), qMax(0, height() - UserControl41->height())));
    UserControl41->move(at);
    UserControl41->show();
    UserControl41->raise();
}

void frmWorkload::showNumberKeypad(int field, bool selectAll)
{
    QLineEdit* box = TxtBox[field];
    box->setCursorPosition(0);
    if (selectAll)
        box->selectAll();
    NumberKeybord1->setTextBox(box);
    // Beside the field, inside the window.
    QPoint at = box->mapTo(this, QPoint(box->width() + 8, 0));
    if (at.x() + NumberKeybord1->width() > width())
        at.setX(qMax(0, box->mapTo(this, QPoint(0, 0)).x() - NumberKeybord1->width() - 8));
    if (at.y() + NumberKeybord1->height() > height())
        at.setY(qMax(0, height() - NumberKeybord1->height()));
    NumberKeybord1->move(at);
    NumberKeybord1->show();
    NumberKeybord1->raise();
}
