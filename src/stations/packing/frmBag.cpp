// The packing window: its controls, load and unload, function keys, keypads and the scale.
#include "stations/packing/frmBag.h"

#include "db/DbError.h"
#include "devices/PackingScale.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "screen/Twips.h"
#include "stations/packing/BagPrintPool.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/KeypadFrame.h"
#include "widgets/ScanField.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"
#include "widgets/StatusLine.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString Pack = u"打包"_s;
const QString Mirel = u"MIREL"_s;
const QString MirelIni = u"/mirel.ini"_s;

struct MarkField {
    int index;
    const char16_t* caption;
    int row, col, span;
};
// The mark fields as they stand on the table's screen: label and field pairs in three columns;
// the quantity has its addend beside it.
const MarkField markFields[] = {
    {0, u"商品名称", 1, 0, 1}, {1, u"商品编码", 1, 2, 1}, {3, u"规格", 1, 4, 1},
    {20, u"成分", 2, 0, 1},    {21, u"克重", 2, 2, 1},    {41, u"门幅", 2, 4, 1},
    {42, u"批号", 3, 0, 1},    {43, u"机台", 3, 2, 1},    {44, u"检验", 3, 4, 1},
    {17, u"条形码", 4, 0, 1},  {9, u"备注", 4, 2, 3},     {11, u"数量", 5, 0, 1},
    {2, u"+", 5, 2, 1},
};

QLabel* captionFor(QWidget* parent, const QString& caption, QWidget* buddy, const QString& name)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return label;
}

void designFont(QWidget* w, double points, bool bold = false)
{
    w->setProperty("designPt", points);
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

const QList<int>& frmBag::markFieldIndexes()
{
    static const QList<int> indexes = [] {
        QList<int> l;
        for (const MarkField& f : markFields)
            l << f.index;
        return l;
    }();
    return indexes;
}

frmBag::frmBag(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"frmBag"_s);
    setWindowTitle(u"打包"_s);
    resize(1024, 768);
    auto* top = new QVBoxLayout(this);
    auto* status = new QHBoxLayout;
    LabMsg = new StatusLine(this);
    LabMsg->setObjectName(u"LabMsg"_s);
    LabMsg->setStyleSheet(u"color:#0033aa;background:#eef3ff;padding-left:6px"_s);
    LabMsg3 = new QLabel(this);
    LabMsg3->setObjectName(u"LabMsg3"_s);
    LabMsg3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status->addWidget(LabMsg, 1);
    status->addWidget(LabMsg3);
    top->addLayout(status);
    butFlow.resize(10);
    txtUser.resize(45);
    buildMarkArea();
    buildBoxArea();
    top->addWidget(Frame4);
    top->addWidget(ximadan, 1);
    designFont(LabMsg, 16, true);
    designFont(barcode, 18, true);
    designFont(txtUser[11], 18, true);
    designFont(bagNumber[0], 16, true);
    designFont(bagNumber[1], 16, true);
    designFont(Label4, 14, true);
    for (QPushButton* b : butFlow + QList<QPushButton*>{cmdZero, cmdTare})
        designFont(b, 13, true);
    designFont(Command1, 13, true);
    NumberKeybord1 = new UserControl1(this);
    NumberKeybord1->setObjectName(u"NumberKeybord1"_s);
    NumberKeybord1->hide();
    UserControl41 = new UserControl4(this);
    UserControl41->setObjectName(u"UserControl41"_s);
    UserControl41->hide();
    connect(UserControl41, &UserControl4::Confirm, UserControl41, &QWidget::hide);
    m_scale = new devices::PackingScale(this);
    connect(m_scale, &devices::PackingScale::status, LabMsg3, &QLabel::setText);
    connect(m_scale, &devices::PackingScale::weightLook, this, &frmBag::onWeightLook);
    connect(m_scale, &devices::PackingScale::zeroTareAvailable, this, [this](bool on) {
        cmdZero->setVisible(on);
        cmdTare->setVisible(on);
    });
    connect(m_scale, &devices::PackingScale::weightText, this, &frmBag::onWeight);
    connect(m_scale, &devices::PackingScale::silenceChanged, this, &frmBag::onScaleSilence);
    m_pool = new BagPrintPool(
        [this](const QString& kind, const QString& pid) { printPoolJob(kind, pid); }, this);
    connect(m_pool, &BagPrintPool::claimFailed, LabMsg, &QLabel::setText);
    // "离线保存：箱 B1，数据库连上后上传" stops promising once the journal has sent it.
    connect(Journal::status(), &Journal::Status::replayed, this,
            [this](const JournalReplayResult& pass) {
                LabMsg->setText(Journal::statusAfterReplay(LabMsg->text(), u"离线保存："_s, pass));
            });
    wireKeys();
    applyFonts();
}

frmBag::~frmBag() = default;

void frmBag::buildMarkArea()
{
    Frame4 = new QGroupBox(u"唛头操作"_s, this);
    Frame4->setObjectName(u"Frame4"_s);
    auto* grid = new QGridLayout(Frame4);
    barcode = new QLineEdit(Frame4);
    barcode->setObjectName(u"barcode"_s);
    barcode->setProperty("Tag", u"0"_s);
    grid->addWidget(captionFor(Frame4, u"唛头条码"_s, barcode, u"labBarcode"_s), 0, 0);
    grid->addWidget(barcode, 0, 1, 1, 3);
    Command1 = new QPushButton(u"查询F2"_s, Frame4);
    Command1->setObjectName(u"Command1"_s);
    Command1->setAccessibleName(Command1->text());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    const struct {
        int index;
        const char16_t* caption;
        const char16_t* accessible;
    } markButtons[] = {{1, u"保存F3", nullptr}, {2, u"打印F4", nullptr}, {3, u"↓", u"唛头模版"}};
    for (const auto& b : markButtons) {
        auto* button = new QPushButton(QString::fromUtf16(b.caption), Frame4);
        button->setObjectName(u"butFlow_"_s + QString::number(b.index));
        button->setAccessibleName(QString::fromUtf16(b.accessible ? b.accessible : b.caption));
        butFlow[b.index] = button;
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 0, 4, 1, 2);
    int lastRow = 0;
    for (const MarkField& f : markFields) {
        auto* box = new QLineEdit(Frame4);
        box->setObjectName(u"txtUser_"_s + QString::number(f.index));
        txtUser[f.index] = box;
        grid->addWidget(captionFor(Frame4, QString::fromUtf16(f.caption), box,
                                   u"labUser_"_s + QString::number(f.index)),
                        f.row, f.col, Qt::AlignRight);
        grid->addWidget(box, f.row, f.col + 1, 1, f.span);
        lastRow = qMax(lastRow, f.row);
    }
    // The pinyin of the item: kept with the mark but not shown.
    txtUser[18] = new QLineEdit(Frame4);
    txtUser[18]->setObjectName(u"txtUser_18"_s);
    txtUser[18]->setAccessibleName(u"拼音"_s);
    txtUser[18]->hide();
    txtUser[44]->setProperty("Tag", u"工号"_s);
    txtUser[43]->setProperty("Tag", u"备3"_s);
    for (int c = 1; c < 6; c += 2)
        grid->setColumnStretch(c, 1);
    buildOptions(Frame4);
    const int optionsRow = lastRow + 1;
    grid->addWidget(Frame4->findChild<QWidget*>(u"options"_s), optionsRow, 0, 1, 6);
    // Without the box area the mark area takes the window; its fields stay at the top.
    grid->setRowStretch(optionsRow + 1, 1);
}

void frmBag::buildOptions(QWidget* parent)
{
    auto* options = new QWidget(parent);
    options->setObjectName(u"options"_s);
    auto* row = new QGridLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    const struct {
        QCheckBox** box;
        const char16_t* name;
        const char16_t* caption;
    } boxes[] = {
        {&isChen, u"isChen", u"接入台秤"},
        {&autoAdd, u"autoAdd", u"自动加入细码"},
        {&MaitouAutoPrint, u"MaitouAutoPrint", u"唛头自动打印"},
        {&PDAautoPrint, u"PDAautoPrint", u"箱唛自动打印"},
        {&autoClear, u"autoClear", u"唛头保存清空"},
        {&autoSave, u"autoSave", u"打印自动保存"},
        {&isPrintreview, u"isPrintreview", u"打印预览"},
        {&billCodeValid, u"billCodeValid", u"单号细码校验"},
    };
    int i = 0;
    for (const auto& b : boxes) {
        *b.box = new QCheckBox(QString::fromUtf16(b.caption), options);
        (*b.box)->setObjectName(QString::fromUtf16(b.name));
        (*b.box)->setAccessibleName(QString::fromUtf16(b.caption));
        designFont(*b.box, 15);
        row->addWidget(*b.box, i / 4, i % 4);
        ++i;
    }
}

void frmBag::buildBoxArea()
{
    ximadan = new QGroupBox(u"箱唛操作-箱唛细码"_s, this);
    ximadan->setObjectName(u"ximadan"_s);
    auto* grid = new QGridLayout(ximadan);
    txtBillCode = new QLineEdit(ximadan);
    txtBillCode->setObjectName(u"txtBillCode"_s);
    LabMsg2 = new QLabel(ximadan);
    LabMsg2->setObjectName(u"LabMsg2"_s);
    LabMsg2->setAccessibleName(u"细码匹数"_s);
    grid->addWidget(captionFor(ximadan, u"单号"_s, txtBillCode, u"labBillCode"_s), 0, 0);
    grid->addWidget(txtBillCode, 0, 1);
    grid->addWidget(LabMsg2, 0, 2);
    // Bill and box fields share one row, so that the list shows more rolls.
    const char16_t* boxCaptions[] = {u"箱号", u"箱重", u"箱备注"};
    for (int i = 0; i < 3; ++i) {
        auto* box = new QLineEdit(ximadan);
        box->setObjectName(u"bagNumber_"_s + QString::number(i));
        bagNumber << box;
        grid->addWidget(captionFor(ximadan, QString::fromUtf16(boxCaptions[i]), box,
                                   u"labBag_"_s + QString::number(i)),
                        0, 3 + i * 2);
        grid->addWidget(box, 0, 4 + i * 2);
    }
    ximaGrid = new EditGrid(ximadan);
    ximaGrid->setObjectName(u"ximaGrid"_s);
    ximaGrid->setAccessibleName(u"箱唛细码"_s);
    // The last column shows the box a roll comes from, when it was packed before.
    ximaGrid->setFormatString(u"^序号|^唛头|^品名|^规格|^箱号|^数量|^备注|^原箱号"_s);
    // Together as wide as the list at every panel size, with room for a whole 规格
    // ("45x45 133x72") and a vertical scroll bar.
    const int widths[] = {700, 1100, 2600, 2600, 1800, 1100, 2200, 1800};
    for (int i = 0; i < 8; ++i)
        ximaGrid->setColWidth(i, widths[i]);
    ximaGrid->setColEditable(6, true);
    ximaGrid->setFontSize(12);
    ximaGrid->setRows(2);
    grid->addWidget(ximaGrid, 1, 0, 1, 9);
    // The box commands in one row under the list: the list keeps the window's width and height.
    auto* commands = new QHBoxLayout;
    const struct {
        int index;
        const char16_t* caption;
        const char16_t* accessible;
    } boxButtons[] = {{0, u"取", u"取箱号"}, {9, u"查", u"查箱"},     {4, u"加入", nullptr},
                      {8, u"删除", nullptr}, {5, u"保存F8", nullptr}, {7, u"打印F9", nullptr},
                      {6, u"↓", u"箱唛模版"}};
    for (const auto& b : boxButtons) {
        auto* button = new QPushButton(QString::fromUtf16(b.caption), ximadan);
        button->setObjectName(u"butFlow_"_s + QString::number(b.index));
        button->setAccessibleName(QString::fromUtf16(b.accessible ? b.accessible : b.caption));
        butFlow[b.index] = button;
        commands->addWidget(button);
    }
    addScaleButtons(commands);
    commands->addStretch(1);
    Label4 = new QLabel(u"0/0"_s, ximadan);
    Label4->setObjectName(u"Label4"_s);
    Label4->setAccessibleName(u"合计"_s);
    auto* total = new QLabel(u"合计"_s, ximadan);
    total->setObjectName(u"labTotal"_s);
    total->setBuddy(Label4);
    commands->addWidget(total);
    commands->addWidget(Label4);
    grid->addLayout(commands, 2, 0, 1, 9);
    grid->setRowStretch(1, 1);
    for (int c : {1, 4, 6, 8})
        grid->setColumnStretch(c, 1);
}

void frmBag::wireKeys()
{
    for (int i = 0; i < butFlow.size(); ++i)
        connect(butFlow[i], &QPushButton::clicked, this, [this, i] { runCommand(i); });
    connect(Command1, &QPushButton::clicked, this, &frmBag::lookupMark);
    for (QLineEdit* scanned : {barcode, txtBillCode})
        ScanField::install(scanned);
    connect(barcode, &QLineEdit::returnPressed, this, &frmBag::lookupMark);
    connect(txtBillCode, &QLineEdit::returnPressed, this, [this] {
        if (!txtBillCode->text().isEmpty())
            loadPackingList(txtBillCode->text());
    });
    for (int index : markFieldIndexes())
        connect(txtUser[index], &QLineEdit::returnPressed, butFlow[1], &QPushButton::click);
    // The function keys press the buttons, so a disabled button stays disabled from the keyboard.
    const struct {
        Qt::Key key;
        int button;
    } keys[] = {{Qt::Key_F3, 1}, {Qt::Key_F4, 2}, {Qt::Key_F5, 0}, {Qt::Key_F6, 9},
                {Qt::Key_F7, 4}, {Qt::Key_F8, 5}, {Qt::Key_F9, 7}};
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(QKeySequence(k.key), this);
        connect(shortcut, &QShortcut::activated, butFlow[k.button], &QPushButton::click);
    }
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] {
        barcode->setFocus();
        barcode->selectAll();
    });
    connect(isChen, &QCheckBox::toggled, this, [this](bool on) {
        m_scale->setEnabled(on);
        if (!on)
            LabMsg3->setText(u"台称暂停中"_s);
    });
    connect(PDAautoPrint, &QCheckBox::toggled, m_pool, &BagPrintPool::setEnabled);
    for (int index : {11, 43, 44})
        txtUser[index]->installEventFilter(this);
    // The box remark is written, not counted: the panel's own keyboard, and no number pad over
    // the box weight and the print key.
    for (QLineEdit* box : {bagNumber[0], bagNumber[1]})
        box->installEventFilter(this);
    // A weight or remark typed after the last roll goes with the kept box as well.
    for (QLineEdit* box : {bagNumber[1], bagNumber[2]})
        connect(box, &QLineEdit::editingFinished, this, [this] {
            if (!m_addedRolls.isEmpty())
                keepBoxDraft();
        });
    barcode->installEventFilter(this);
}

void frmBag::runCommand(int index)
{
    switch (index) {
    case 0: {
        // A new box is weighed and remarked on its own, with or without a number from the
        // database: the last box's weight and remark would otherwise be saved onto it unnoticed.
        bagNumber[1]->clear();
        bagNumber[2]->clear();
        m_scaleText.clear();
        try {
            bagNumber[0]->setText(SysUtil::nextDailyNumber(Database::conn(), u"箱号"_s,
                                                           QDate::currentDate()));
            forgetBoxDraft();
        } catch (const DbError& e) {
            if (!Journal::isOffline(e)) {
                LabMsg->setText(e.message());
                break;
            }
            LabMsg->setText(Journal::offlineDailyNumberMessage(u"箱号"_s, u"取"_s));
            Journal::whenDatabaseBack(this, [this, shown = LabMsg->text()] {
                if (LabMsg->text() == shown)
                    LabMsg->setText(Journal::dailyNumberBackMessage(u"箱号"_s, u"取"_s));
            });
        }
        break;
    }
    case 1:
        // A roll weighed into its quantity is saved with the weight the scale settled on.
        saveWhenSettled(txtUser[11], false, [this] {
            const bool saved = saveMark();
            if (saved && autoClear->isChecked())
                clearMark();
            return saved;
        });
        break;
    case 2: printMark(); break;
    case 3: getPrintTemplate(u"唛头"_s); break;
    case 4: addRollToBox(); break;
    case 5: saveWhenSettled(bagNumber[1], true, [this] { return finishBoxSave(); }); break;
    case 6: getPrintTemplate(u"箱唛"_s); break;
    case 7: printBox(); break;
    case 8: removeRollFromBox(); break;
    case 9:
        if (!bagNumber[0]->text().isEmpty())
            loadBox(bagNumber[0]->text());
        break;
    default: break;
    }
}

void frmBag::Form_Load()
{
    Database::openConnection();
    ximaGrid->applyColWidthList(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"frmBagXimaGrid"_s));
    m_scale->openScalePort();
    readOptions();
    // The scale is read whatever the box says; the ticks do their work only while it is ticked.
    m_scale->setEnabled(isChen->isChecked());
    if (!isChen->isChecked())
        LabMsg3->setText(u"台称暂停中"_s);
    m_pool->setEnabled(PDAautoPrint->isChecked());
}

void frmBag::readOptions()
{
    const auto option = [](const QString& key) {
        return SysUtil::readIni(Pack, key, u"0"_s, MirelIni);
    };
    // Buttons and the box area follow the text as a flag ("1", "true"); the check boxes its number.
    const auto flag = [](const QString& text) {
        return text.trimmed().compare(u"true"_s, Qt::CaseInsensitive) == 0 || vb::Val(text) != 0;
    };
    m_saveCheck = flag(option(u"isSaveCheck"_s));
    butFlow[1]->setEnabled(m_saveCheck);
    butFlow[2]->setEnabled(flag(option(u"唛头打印"_s)));
    m_packing = option(u"是否要打包"_s);
    ximadan->setVisible(flag(m_packing));
    static_cast<QBoxLayout*>(layout())->setStretchFactor(Frame4, ximadan->isVisible() ? 0 : 1);
    const struct {
        QCheckBox* box;
        const char16_t* key;
    } boxes[] = {{isChen, u"isChen"},
                 {autoAdd, u"autoAdd"},
                 {MaitouAutoPrint, u"MaitouAutoPrint"},
                 {PDAautoPrint, u"PDAautoPrint"},
                 {autoClear, u"autoClear"},
                 {autoSave, u"autoSave"},
                 {isPrintreview, u"isPrintreview"},
                 {billCodeValid, u"billCodeValid"}};
    for (const auto& b : boxes)
        b.box->setChecked(vb::Val(option(QString::fromUtf16(b.key))) != 0);
    m_machine = SysUtil::readIni(Mirel, u"menchineId"_s, u"打包机1号"_s, MirelIni);
}

void frmBag::applyFonts()
{
    const Twips tw = Twips::of(this);
    QFont own = font();
    own.setPointSizeF(tw.font(12));
    setFont(own);
    for (QWidget* w : findChildren<QWidget*>()) {
        const QVariant design = w->property("designPt");
        if (!design.isValid())
            continue;
        QFont f = w->font();
        f.setPointSizeF(tw.font(design.toDouble()));
        w->setFont(f);
    }
    ximaGrid->setTwips(tw);
    // Worked with gloves: every button and check box a finger high, as at the other stations.
    const int finger = tw.y(720);
    const QString indicator = u"QCheckBox::indicator{width:%1px;height:%1px}"_s.arg(tw.y(420));
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
        if (qobject_cast<KeypadFrame*>(b->parentWidget()))
            continue;
        b->setMinimumHeight(finger);
        if (qobject_cast<QCheckBox*>(b))
            b->setStyleSheet(indicator);
    }
}

void frmBag::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyFonts();
}

void frmBag::closeEvent(QCloseEvent* event)
{
    SysUtil::saveSetting(u"mirel"_s, u"mirel"_s, u"frmBagXimaGrid"_s, ximaGrid->colWidthList());
    m_pool->setEnabled(false);
    m_scale->setEnabled(false);
    m_scale->close();
    QWidget::closeEvent(event);
}
