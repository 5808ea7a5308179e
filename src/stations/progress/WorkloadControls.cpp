// The controls of the progress window at their design places (twips of a 1024 x 768 panel), and
// what the operator's touches on them do.
#include "stations/progress/WorkloadDevicePanel.h"
#include "stations/progress/WorkloadListPart.h"
#include "stations/progress/frmWorkload.h"
#include "widgets/DesignType.h"
#include "widgets/ScanField.h"
#include "widgets/ScreenMode.h"
#include "widgets/StatusLine.h"
#include "widgets/TwipLayout.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <type_traits>

using namespace Qt::StringLiterals;
namespace F = WorkloadField;
namespace L = WorkloadLabel;

namespace {

constexpr int FieldHeight = 620;
constexpr int KeyWidth = 620;

template <typename W>
W* make(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* w = new W(parent);
    w->setObjectName(name);
    if constexpr (std::is_base_of_v<QAbstractButton, W> || std::is_same_v<W, QLabel>)
        w->setText(text);
    if constexpr (std::is_base_of_v<QAbstractButton, W>)
        w->setAccessibleName(text);
    return w;
}

QString indexed(const QString& name, int i) { return name + u'_' + QString::number(i); }

} // namespace

// One field: caption label (its buddy), text box and, when key >= 0, its keypad button.
static QLineEdit* field(frmWorkload* f, QWidget* parent, int labBox, const QString& caption,
                        int txt, const QRect& box, int key, int labelWidth = 1400)
{
    auto* lab = make<QLabel>(parent, indexed(u"LabBox"_s, labBox), caption);
    lab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(lab, QRect(box.x() - labelWidth - 60, box.y(), labelWidth, box.height()));
    f->LabBox[labBox] = lab;
    auto* edit = make<QLineEdit>(parent, indexed(u"TxtBox"_s, txt));
    edit->setAccessibleName(caption);
    lab->setBuddy(edit);
    placeTwips(edit, box);
    f->TxtBox[txt] = edit;
    if (key >= 0) {
        auto* b = make<QPushButton>(parent, indexed(u"numKeybtn"_s, key), u"⌨"_s);
        b->setAccessibleName(caption + u"键盘"_s);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(QString::number(txt)); // the field the keypad works on
        placeTwips(b, QRect(box.right() + 60, box.y(), KeyWidth, box.height()));
        f->numKeybtn[key] = b;
    }
    return edit;
}

void frmWorkload::buildControls()
{
    TxtBox.resize(F::Count);
    LabBox.resize(L::Count);
    labInfo.resize(WorkloadInfo::Count);
    numKeybtn.resize(WorkloadKey::Count);
    SSTab1 = make<QTabWidget>(this, u"SSTab1"_s);
    placeTwips(SSTab1, QRect(0, 0, 15360, 11520));
    Frame2 = make<QWidget>(nullptr, u"Frame2"_s);
    SSTab1->addTab(Frame2, u"工艺进度"_s);

    // Header: device captions, the result of the last submit and the screen toggle.
    Frame1 = make<QGroupBox>(Frame2, u"Frame1"_s);
    placeTwips(Frame1, QRect(60, 40, 15120, 560));
    LabBox[L::Scanner] = make<QLabel>(Frame1, u"LabBox_0"_s, u"扫描枪"_s);
    placeTwips(LabBox[L::Scanner], QRect(120, 40, 1300, 480));
    LabBox[L::Reader] = make<QLabel>(Frame1, u"LabBox_2"_s, u"RFID"_s);
    placeTwips(LabBox[L::Reader], QRect(1500, 40, 1000, 480));
    Label1 = make<QLabel>(Frame1, u"Label1"_s);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(u"color:#008000"_s);
    placeTwips(Label1, QRect(2600, 40, 9800, 480));
    DesignType::mark(Label1, 14, true);
    Label2 = make<QLabel>(Frame1, u"Label2"_s, u"退出全屏"_s);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setAccessibleName(Label2->text());
    Label2->setCursor(Qt::PointingHandCursor);
    placeTwips(Label2, QRect(12600, 40, 2400, 480));

    // Card row, card information and the message line.
    QLineEdit* card = field(this, Frame2, L::Card, u"卡号"_s, F::Card, QRect(1580, 680, 5000, FieldHeight), WorkloadKey::Card);
    DesignType::mark(card, 20, true);
    SearchBtn = make<QPushButton>(Frame2, u"SearchBtn"_s, u"查"_s);
    SearchBtn->setFocusPolicy(Qt::NoFocus);
    placeTwips(SearchBtn, QRect(7320, 680, 1100, FieldHeight));
    DesignType::mark(SearchBtn, 16, true);
    for (int i = 0; i < 2; ++i) {
        labInfo[i] = make<QLabel>(Frame2, indexed(u"labInfo"_s, i));
        placeTwips(labInfo[i], QRect(180, 1380 + i * 520, 15000, 480));
        DesignType::mark(labInfo[i], 14, true);
    }
    LabBox[L::Message] = make<StatusLine>(Frame2, u"LabBox_1"_s);
    placeTwips(LabBox[L::Message], QRect(180, 2440, 15000, 560));
    DesignType::mark(LabBox[L::Message], 16, true);

    // The steps; buttons are built from the settings by buildStepButtons.
    Frame3 = make<QGroupBox>(Frame2, u"Frame3"_s);
    clearStepChoice(); // the frame's own caption
    placeTwips(Frame3, QRect(60, 3120, 15120, 2535));
    DesignType::mark(Frame3, 12, true);

    // Worker, quantities, remark, date and the two commands.
    constexpr int Col1 = 1580, Col2 = 9400, Row = 5760, Step = 760;
    field(this, Frame2, L::Worker, u"工号/班组"_s, F::Worker, QRect(Col1, Row, 3000, FieldHeight), WorkloadKey::Worker);
    rfidBtn = make<QPushButton>(Frame2, u"rfidBtn"_s, u"RFID"_s);
    rfidBtn->setFocusPolicy(Qt::NoFocus);
    placeTwips(rfidBtn, QRect(Col1 + 3720, Row, 1000, FieldHeight));
    LabBox[L::WorkerName] = make<QLabel>(Frame2, u"LabBox_14"_s);
    placeTwips(LabBox[L::WorkerName], QRect(Col1 + 4800, Row, 2600, FieldHeight));
    DesignType::mark(LabBox[L::WorkerName], 16, true);
    field(this, Frame2, L::Metres, u"米数"_s, F::Metres, QRect(Col1, Row + Step, 3000, FieldHeight), WorkloadKey::Metres);
    field(this, Frame2, L::Pieces, u"匹数"_s, F::Pieces, QRect(Col2, Row + Step, 3000, FieldHeight), WorkloadKey::Pieces);
    field(this, Frame2, L::Remark, u"备注"_s, F::Remark, QRect(Col1, Row + 2 * Step, 10820, FieldHeight), -1);
    for (int i : {F::Card, F::Worker, F::Metres, F::Pieces})
        DesignType::mark(TxtBox[i], 18, true);
    auto* dateLabel = make<QLabel>(Frame2, u"LabBox_8"_s, u"操作 时间"_s);
    dateLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(dateLabel, QRect(120, Row + 3 * Step, 1400, FieldHeight));
    LabBox[L::Date] = dateLabel;
    DTPicker1 = make<QDateTimeEdit>(Frame2, u"DTPicker1"_s);
    DTPicker1->setDisplayFormat(u"yyyy-MM-dd HH:mm:ss"_s);
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setAccessibleName(dateLabel->text());
    dateLabel->setBuddy(DTPicker1);
    placeTwips(DTPicker1, QRect(Col1, Row + 3 * Step, 4200, FieldHeight));
    Command1 = make<QPushButton>(Frame2, u"Command1"_s, u"提交"_s);
    placeTwips(Command1, QRect(9400, Row + 4 * Step, 2600, 1000));
    Command2 = make<QPushButton>(Frame2, u"Command2"_s, u"清除"_s);
    placeTwips(Command2, QRect(12300, Row + 4 * Step, 2600, 1000));
    for (QPushButton* b : {Command1, Command2}) {
        b->setFocusPolicy(Qt::NoFocus);
        DesignType::mark(b, 20, true);
    }

    m_list = new WorkloadListPart(this);
    buildPads();
}

void frmWorkload::wireEvents()
{
    connect(SearchBtn, &QPushButton::clicked, this, [this] { SearchBtn_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    QLineEdit* card = TxtBox[F::Card];
    ScanField::install(card);
    connect(card, &QLineEdit::returnPressed, this, [this] {
        Label1->clear();
        SearchBtn_Click();
    });
    // The step's rules were checked for the card it was chosen on: another card (or a card typed
    // after a step pressed on an empty field) starts with no step and the frame's own caption.
    connect(card, &QLineEdit::textChanged, this, [this] { clearStepChoice(); });
    connect(TxtBox[F::Worker], &QLineEdit::textChanged, this, [this] { onWorkerChanged(); });
    connect(NumberKeybord1, &UserControl1::Confirm, this, [this, card](QLineEdit* box) {
        NumberKeybord1->hide();
        if (box == card)
            SearchBtn_Click();
    });
    connect(NumberKeybord1, &UserControl1::closed, UserControl41, &QWidget::hide);
    connect(UserControl41, &UserControl4::Confirm, UserControl41, &QWidget::hide);
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
    if ((watched == Frame1 && t == QEvent::MouseButtonDblClick)
        || (watched == Label2 && t == QEvent::MouseButtonRelease)) {
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
            if (field == F::Remark)
                NumberKeybord1->hide();
            else if (m_cfg.keypadOnFocus)
                m_devices->showNumberKeypad(field, true);
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
