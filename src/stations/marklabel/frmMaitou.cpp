// The mark-label window: its own controls (article choice, pallet number, pallet list) and the
// hooks through which it changes the inspection window's validation, numbering and commands.
#include "stations/marklabel/frmMaitou.h"

#include "config/MirelIni.h"
#include "db/DbError.h"
#include "dialogs/frmSelectItem.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/SqlText.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/marklabel/MaitouSql.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckRollPanel.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

frmMaitou::frmMaitou(QWidget* parent) : frmCheck(parent)
{
    setObjectName(u"frmMaitou"_s);
    setWindowTitle(u"唛头"_s);
    connect(this, &frmCheck::rollSaved, this, &frmMaitou::rememberAutoItem);
    connect(this, &frmCheck::formLoaded, this, &frmMaitou::afterLoad);
    connect(this, &frmCheck::commandDone, this, &frmMaitou::afterCommand);
    // The packages saved offline are on the database now: the pallet's list shows them again,
    // with the full-pallet question when the uploaded packages filled the pallet.
    connect(Journal::status(), &Journal::Status::replayed, this, [this] { loadPalletList(); });
    buildControls();
    connect(m_selectItem, &QPushButton::clicked, this, &frmMaitou::cmdSelectItem_Click);
    connect(m_bangbtn, &QPushButton::clicked, this, &frmMaitou::cmdBangbtn_Click);
    for (QLineEdit* box : std::as_const(c.TxtBox))
        if (box)
            connect(box, &QLineEdit::textEdited, this, [this] { m_lastTyped.start(); });
    // Two stations often pack onto one pallet: the list follows what the other one adds.
    m_followTimer = new QTimer(this);
    m_followTimer->setInterval(5000);
    connect(m_followTimer, &QTimer::timeout, this, &frmMaitou::followPallet);
}

bool frmMaitou::event(QEvent* event)
{
    // Back in front, after another window or a dialog: the pallet may have filled meanwhile.
    if (event->type() == QEvent::WindowActivate)
        followPallet();
    return frmCheck::event(event);
}

void frmMaitou::buildControls()
{
    // The article button sits where the item name's keypad button would be.
    const QRect name = designRect(c.TxtBox[CheckField::ItemName]);
    placeTwips(c.TxtBox[CheckField::ItemName], QRect(name.x(), name.y(), name.width() - 460, name.height()));
    m_selectItem = new QPushButton(u"…"_s, c.Frame6);
    m_selectItem->setObjectName(u"cmdSelectItem"_s);
    m_selectItem->setAccessibleName(u"选择商品"_s);
    m_selectItem->setToolTip(u"选择商品 (F3)"_s);
    m_selectItem->setShortcut(QKeySequence(Qt::Key_F3));
    m_selectItem->setFocusPolicy(Qt::NoFocus);
    placeTwips(m_selectItem, QRect(name.right() + 1 - 420, name.y(), 420, name.height()));
    setTag(c.LabBox[CheckLabel::ItemName], tagOf(c.LabBox[CheckLabel::ItemName]) + u"|cmdSelectItem"_s);

    // The pallet number is this station's field: nine digits, so the box takes the row, its
    // keypad button and the new-pallet button go under it; all of them are its field group.
    layoutPanel().wireFieldGroup(addFieldGroup(c, CheckLabel::Pallet, u"板号"_s, CheckField::Pallet, CheckKey::Pallet, 2, 4));
    const QRect pallet = designRect(c.TxtBox[CheckField::Pallet]);
    placeTwips(c.TxtBox[CheckField::Pallet], QRect(pallet.x(), pallet.y(), 1480, pallet.height()));
    placeTwips(c.numKeybtn[CheckKey::Pallet], QRect(pallet.x(), pallet.y() + 570, 420, pallet.height()));
    m_bangbtn = new QPushButton(u"新板号"_s, c.Frame6);
    m_bangbtn->setObjectName(u"cmdBangbtn"_s);
    m_bangbtn->setAccessibleName(m_bangbtn->text());
    m_bangbtn->setFocusPolicy(Qt::NoFocus);
    m_bangbtn->setToolTip(u"新板号 (F4)"_s);
    m_bangbtn->setShortcut(QKeySequence(Qt::Key_F4));
    // The style field of the inspection form counts the packages of a pallet here.
    setFieldCaption(CheckField::Style, u"箱数"_s, u"每版的箱数"_s);
    placeTwips(m_bangbtn, QRect(pallet.x() + 460, pallet.y() + 570, 1020, pallet.height()));
    setTag(c.LabBox[CheckLabel::Pallet], tagOf(c.LabBox[CheckLabel::Pallet]) + u"|cmdBangbtn"_s);

    auto* page = new QWidget;
    page->setObjectName(u"tabPallet"_s);
    c.SSTab1->addTab(page, u"板清单"_s);
    m_palletSum = new QLabel(page);
    m_palletSum->setObjectName(u"labPalletSum"_s);
    m_palletSum->setAccessibleName(u"板清单合计"_s);
    placeTwips(m_palletSum, QRect(60, 20, 14900, 360));
    m_palletGrid = new EditGrid(page);
    m_palletGrid->setObjectName(u"ppgCheckGrid2"_s);
    m_palletGrid->setAccessibleName(u"板清单"_s);
    m_palletGrid->setWheelStepsOneRow(true);
    m_palletGrid->setCompactRows(true);
    m_palletGrid->setWholeRows(true); // a row cut at the bottom reads as a box that is not there
    m_palletGrid->setTwips(Twips::of(this));
    m_palletGrid->setFontSize(12);
    // The list fills its page below the summary, whatever room the tabs get (see eventFilter).
    page->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(m_selectItem), static_cast<QWidget*>(m_bangbtn),
                       static_cast<QWidget*>(m_palletSum)})
        w->setProperty("designPt", 12.0);
}

bool frmMaitou::eventFilter(QObject* watched, QEvent* event)
{
    if (m_palletGrid && watched == m_palletGrid->parentWidget() && event->type() == QEvent::Resize) {
        const Twips tw = Twips::of(this);
        const QWidget* page = m_palletGrid->parentWidget();
        const int x = tw.x(60);
        const int top = tw.y(400);
        m_palletGrid->setGeometry(x, top, std::max(0, page->width() - 2 * x),
                                  std::max(0, page->height() - top - tw.y(60)));
    }
    return frmCheck::eventFilter(watched, event);
}

frmCheck::Variant frmMaitou::variant() const
{
    Variant v;
    v.layoutKey = u"InputPosition-maitou"_s;
    // The station's own layout also keeps the article, colour and pallet groups.
    v.layoutControls = layoutControlList()
                       + u",LabBox^27,TxtBox^22,cmdSelectItem,LabBox^28,TxtBox^23,LabBox^33,TxtBox^28,numKeybtn^27,cmdBangbtn"_s;
    v.numberScopes = {u"检验单缸号"_s, u"面料编码"_s};
    v.wideDefectFrame = {4080, 5310};
    return v;
}

void frmMaitou::afterLoad()
{
    c.SSTab1->setCurrentWidget(m_palletGrid->parentWidget());
    // After a restart the station goes on with the pallet it was filling, so many packages a
    // pallet as before; while the database is away, with the pallet of its last save here.
    try {
        const auto start = MaitouPallet::startFrom(Journal::cachedRead(
            keptPalletKind(), m_cfg.machineId, pallet().lastPalletStatement()));
        if (start) {
            c.TxtBox[CheckField::Pallet]->setText(start->pallet);
            if (!start->perPallet.isEmpty())
                c.TxtBox[CheckField::Style]->setText(start->perPallet);
        }
    } catch (const DbError&) {
        // An empty pallet field: the operator takes a pallet number as on a new pallet.
    }
    loadPalletList();
    for (const PadKey* key : layoutPanel().keypad()->findChildren<PadKey*>())
        connect(key, &QAbstractButton::pressed, this, [this] { m_lastTyped.start(); });
    m_followTimer->start();
}

devices::DeviceRules frmMaitou::deviceRules() const
{
    // The mark-label frames run the Modbus counter in place of the five-register one, read a
    // text counter's whole line and the scale's text from "kg" to "wn", and have no RFID reader.
    devices::DeviceRules rules;
    rules.knownModel = [](devices::CounterModel m) {
        return m == devices::CounterModel::FiveRegisters ? devices::CounterModel::Modbus : m;
    };
    rules.counterText = devices::parseCounterTextPlain;
    rules.scaleText = devices::ScaleTextRules::KgToWn;
    rules.lengthFormat = devices::LengthFormatRules::PlainPictures;
    rules.rfid = false;
    return rules;
}

void frmMaitou::cmdSelectItem_Click()
{
    const QString result = frmSelectItem::showMe(this, QString(), 0, 0, this);
    if (vb::Val(result) > 0)
        loadItem(vb::CStr(vb::Fix(vb::Val(result))));
}

void frmMaitou::loadItem(const QString& itemId)
{
    try {
        Connection& conn = Database::conn();
        // Kept for its labels printed offline, and for choosing it again while offline.
        Recordset rs = Journal::cachedRead(JournalLabelRows::articleKind(), itemId,
                                           MaitouSql::loadItem(itemId));
        if (!SysUtil::recordsetHasRows(rs))
            return;
        m_autoItemId = 0; // the chosen article numbers the next package
        c.TxtBox[CheckField::ItemName]->setText(rs.text(u"itemName"_s));
        c.TxtBox[CheckField::ItemName]->setCursorPosition(0); // a long name is read from its start
        setTag(c.TxtBox[CheckField::ItemName], rs.text(u"itemId"_s));
        c.TxtBox[CheckField::Card]->setText(u"简单检验"_s);
        setTag(c.BillDetailId, rs.text(u"itemId"_s));
        cardPanel().applyPresets(Journal::cachedText(u"CheckFill"_s, u"简单检验"_s, [&] {
                         return SysUtil::getDictionaryValue(conn, u"CheckFill"_s, u"简单检验"_s);
                     }),
                     rs);
        for (const auto& [field, text] : package().fromArticle(rs))
            c.TxtBox[field]->setText(text);
        rollPanel().numberScopeChanged();
    } catch (const DbError& e) {
        MessageBox::critical(u"loadItem发生错误"_s + e.message(), this);
    }
}

bool frmMaitou::commandAllowed(int index)
{
    // Only what the packer pressed: a delete runs its own step.
    const bool pressed = sender() && sender() == c.checkCommand.value(index);
    const auto refused =
        pallet().commandRefused(index, pressed, c.TxtBox[CheckField::Style]->text());
    if (!refused)
        return true;
    MessageBox::show(refused->message, MessageBox::Information, MessageBox::Ok, QString(), this);
    c.TxtBox[refused->field]->setFocus();
    return false;
}

void frmMaitou::afterCommand(int index)
{
    // After a save, a print and a delete (a deleted package must leave the list on screen).
    if (index == CheckCmd::Save || index == CheckCmd::PrintLabel || index == CheckCmd::DeleteRoll
        || index == CheckCmd::PrintMark || index == CheckCmd::DeleteListed)
        loadPalletList();
}

bool frmMaitou::fieldLabelDoubleClicked(QLabel* label)
{
    LabBox_DblClick(label);
    return true;
}
