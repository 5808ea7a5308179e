// The packing window's controls: the status line, the mark area with its options, the box area
// with its list and commands, the keypads, and the fonts they are designed with.
#include "stations/packing/frmBag.h"

#include "stations/packing/BagScalePanel.h"
#include "widgets/DesignType.h"
#include "widgets/EditGrid.h"
#include "widgets/StatusLine.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

struct MarkField {
    BagField::Index index;
    const char16_t* caption;
    int row, col, span;
};
// The mark fields as they stand on the table's screen: label and field pairs in three columns;
// the quantity has its addend beside it.
const MarkField markFields[] = {
    {BagField::ItemName, u"商品名称", 1, 0, 1},  {BagField::ItemCode, u"商品编码", 1, 2, 1},
    {BagField::Spec, u"规格", 1, 4, 1},          {BagField::Composition, u"成分", 2, 0, 1},
    {BagField::GramWeight, u"克重", 2, 2, 1},    {BagField::Width, u"门幅", 2, 4, 1},
    {BagField::Lot, u"批号", 3, 0, 1},           {BagField::Machine, u"机台", 3, 2, 1},
    {BagField::Inspector, u"检验", 3, 4, 1},     {BagField::ItemBarcode, u"条形码", 4, 0, 1},
    {BagField::Remark, u"备注", 4, 2, 3},        {BagField::Quantity, u"数量", 5, 0, 1},
    {BagField::Addend, u"+", 5, 2, 1},
};

QLabel* captionFor(QWidget* parent, const QString& caption, QWidget* buddy, const QString& name)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return label;
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

void frmBag::buildControls()
{
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
    butFlow.resize(BagCmd::Count);
    txtUser.resize(BagField::Count);
    buildMarkArea();
    buildBoxArea();
    top->addWidget(Frame4);
    top->addWidget(ximadan, 1);
    DesignType::mark(LabMsg, 16, true);
    DesignType::mark(barcode, 18, true);
    DesignType::mark(txtUser[BagField::Quantity], 18, true);
    DesignType::mark(bagNumber[BagBoxField::Number], 16, true);
    DesignType::mark(bagNumber[BagBoxField::Weight], 16, true);
    DesignType::mark(Label4, 14, true);
    for (QPushButton* b : butFlow + QList<QPushButton*>{cmdZero, cmdTare})
        DesignType::mark(b, 13, true);
    DesignType::mark(Command1, 13, true);
    buildPads();
    connect(UserControl41, &UserControl4::Confirm, UserControl41, &QWidget::hide);
}

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
        BagCmd::Index index;
        const char16_t* caption;
        const char16_t* accessible;
    } markButtons[] = {{BagCmd::SaveMark, u"保存F3", nullptr},
                       {BagCmd::PrintMark, u"打印F4", nullptr},
                       {BagCmd::MarkTemplates, u"↓", u"唛头模版"}};
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
    QLineEdit*& pinyin = txtUser[BagField::Pinyin];
    pinyin = new QLineEdit(Frame4);
    pinyin->setObjectName(u"txtUser_"_s + QString::number(BagField::Pinyin));
    pinyin->setAccessibleName(u"拼音"_s);
    pinyin->hide();
    txtUser[BagField::Inspector]->setProperty("Tag", u"工号"_s);
    txtUser[BagField::Machine]->setProperty("Tag", u"备3"_s);
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
        DesignType::mark(*b.box, 15);
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
    const char16_t* boxCaptions[BagBoxField::Count] = {u"箱号", u"箱重", u"箱备注"};
    for (int i = 0; i < BagBoxField::Count; ++i) {
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
    ximaGrid->setColEditable(BagColumn::Remark, true);
    ximaGrid->setFontSize(12);
    ximaGrid->setRows(2);
    grid->addWidget(ximaGrid, 1, 0, 1, 9);
    // The box commands in one row under the list: the list keeps the window's width and height.
    auto* commands = new QHBoxLayout;
    const struct {
        BagCmd::Index index;
        const char16_t* caption;
        const char16_t* accessible;
    } boxButtons[] = {{BagCmd::NewBox, u"取", u"取箱号"},  {BagCmd::ListBox, u"查", u"查箱"},
                      {BagCmd::AddRoll, u"加入", nullptr}, {BagCmd::RemoveRoll, u"删除", nullptr},
                      {BagCmd::SaveBox, u"保存F8", nullptr}, {BagCmd::PrintBox, u"打印F9", nullptr},
                      {BagCmd::BoxTemplates, u"↓", u"箱唛模版"}};
    for (const auto& b : boxButtons) {
        auto* button = new QPushButton(QString::fromUtf16(b.caption), ximadan);
        button->setObjectName(u"butFlow_"_s + QString::number(b.index));
        button->setAccessibleName(QString::fromUtf16(b.accessible ? b.accessible : b.caption));
        butFlow[b.index] = button;
        commands->addWidget(button);
    }
    m_scalePanel->addScaleButtons(commands);
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

