// The design-time layout of the inspection window, in twips of a 1024 x 768 panel: card and
// status on top, the roll form on the left, defects on the right, commands and tabs below.
#include "stations/inspection/CheckControls.h"

#include "widgets/CaptionFrame.h"
#include "widgets/fProcessBar.h"
#include "widgets/StatusLine.h"
#include "widgets/TwipLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

// One field of the roll form: its label, text box and keypad button, in a column and row.
struct FieldGroup {
    int lab;
    const char16_t* caption;
    int txt;
    int key; // -1: none
    int col;
    int row;
    bool big;
};

// Column x, label width, text width of the three columns of the roll form.
constexpr int ColX[3] = {120, 4130, 6530};
constexpr int ColLabel[3] = {1000, 760, 640};
constexpr int ColText[3] = {1850, 1100, 1000};
constexpr int RowTop = 300;
constexpr int RowHeight = 570;
constexpr int FieldHeight = 500;
constexpr int KeyWidth = 420;

const FieldGroup Fields[] = {
    {CheckLabel::RollNumber, u"卷号", CheckField::RollNumber, CheckKey::RollNumber, 0, 0, true},
    {CheckLabel::Quantity, u"数量", CheckField::Quantity, CheckKey::Quantity, 0, 1, true},
    {CheckLabel::Weight, u"重量", CheckField::Weight, CheckKey::Weight, 0, 2, false},
    {CheckLabel::PlusMinus, u"加减", CheckField::PlusMinus, CheckKey::PlusMinus, 0, 3, false},
    {CheckLabel::Factor, u"系数", CheckField::Factor, CheckKey::Factor, 0, 4, false},
    {CheckLabel::Worker, u"工号", CheckField::Worker, CheckKey::Worker, 0, 5, false},
    {CheckLabel::DyeLot, u"缸号", CheckField::DyeLot, CheckKey::DyeLot, 0, 6, false},
    {CheckLabel::GramWeight, u"克重", CheckField::GramWeight, CheckKey::GramWeight, 1, 0, false},
    {CheckLabel::Style, u"款号", CheckField::Style, CheckKey::Style, 1, 1, false},
    {CheckLabel::Spare3, u"备3", CheckField::Spare3, CheckKey::Spare3, 1, 2, false},
    {CheckLabel::Spare4, u"备4", CheckField::Spare4, CheckKey::Spare4, 1, 3, false},
    {CheckLabel::Spare5, u"备5", CheckField::Spare5, CheckKey::Spare5, 1, 4, false},
    {CheckLabel::Spare6, u"备6", CheckField::Spare6, CheckKey::Spare6, 1, 5, false},
    {CheckLabel::ItemName, u"品名", CheckField::ItemName, -1, 1, 6, false},
    {CheckLabel::Color, u"颜色", CheckField::Color, -1, 1, 7, false},
    {CheckLabel::SpareA, u"备A", CheckField::SpareA, CheckKey::SpareA, 2, 0, false},
    {CheckLabel::SpareB, u"备B", CheckField::SpareB, CheckKey::SpareB, 2, 1, false},
    {CheckLabel::SpareC, u"备C", CheckField::SpareC, CheckKey::SpareC, 2, 2, false},
    {CheckLabel::SpareD, u"备D", CheckField::SpareD, CheckKey::SpareD, 2, 3, false},
};

QString indexed(const char* name, int i)
{
    return QString::fromLatin1(name) + u'_' + QString::number(i);
}

template <class W>
W* make(QWidget* parent, const QString& objectName, const QString& text = QString())
{
    auto* w = new W(parent);
    w->setObjectName(objectName);
    if constexpr (std::is_same_v<W, QLabel> || std::is_same_v<W, QPushButton>
                  || std::is_same_v<W, QCheckBox> || std::is_same_v<W, QRadioButton>)
        w->setText(text);
    if (!text.isEmpty())
        w->setAccessibleName(text);
    return w;
}

QPushButton* command(CheckControls& c, QWidget* parent, int index, const QString& caption,
                     const QRect& twips, const QString& accessible = QString())
{
    auto* b = make<QPushButton>(parent, indexed("checkCommand", index), caption);
    if (!accessible.isEmpty())
        b->setAccessibleName(accessible);
    b->setFocusPolicy(Qt::NoFocus); // the caret stays in the field being typed
    placeTwips(b, twips);
    c.checkCommand[index] = b;
    return b;
}

void buildFieldGroup(CheckControls& c, const FieldGroup& g, const QString& caption)
{
    const int x = ColX[g.col];
    const int y = RowTop + g.row * RowHeight;
    auto* lab = make<QLabel>(c.Frame6, indexed("LabBox", g.lab), caption);
    placeTwips(lab, QRect(x, y, ColLabel[g.col], FieldHeight));
    lab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.LabBox[g.lab] = lab;
    auto* box = make<QLineEdit>(c.Frame6, indexed("TxtBox", g.txt));
    box->setAccessibleName(lab->text());
    lab->setBuddy(box);
    int textWidth = ColText[g.col] - (g.key < 0 ? -KeyWidth : 0);
    if (g.txt == CheckField::Quantity)
        textWidth -= 380; // room for the unit label
    placeTwips(box, QRect(x + ColLabel[g.col] + 40, y, textWidth, FieldHeight));
    if (g.big)
        box->setProperty("bigField", true);
    c.TxtBox[g.txt] = box;
    QStringList group{box->objectName()};
    if (g.key >= 0) {
        auto* key = make<QPushButton>(c.Frame6, indexed("numKeybtn", g.key), u"⌨"_s);
        key->setAccessibleName(lab->text() + u"键盘"_s);
        key->setFocusPolicy(Qt::NoFocus);
        const QRect r = designRect(box);
        placeTwips(key, QRect(r.right() + 40 + (g.txt == CheckField::Quantity ? 380 : 0), y, KeyWidth, FieldHeight));
        c.numKeybtn[g.key] = key;
        group << key->objectName();
    }
    setTag(lab, group.join(u'|'));
}

void buildRollForm(CheckControls& c, QWidget* form)
{
    c.Frame6 = make<QGroupBox>(form, u"Frame6"_s);
    c.Frame6->setTitle(u"检验信息"_s);
    placeTwips(c.Frame6, QRect(120, 2380, 8760, 5380));
    for (const FieldGroup& g : Fields)
        buildFieldGroup(c, g, QString::fromUtf16(g.caption));
    // Extras of single fields.
    c.LabUnit = make<QLabel>(c.Frame6, u"LabUnit"_s, u"米"_s);
    placeTwips(c.LabUnit, QRect(designRect(c.TxtBox[CheckField::Quantity]).right() + 20, RowTop + RowHeight, 360, FieldHeight));
    c.Command1 = make<QPushButton>(c.Frame6, u"Command1"_s, u"归零"_s);
    c.Command1->setFocusPolicy(Qt::NoFocus);
    placeTwips(c.Command1, QRect(designRect(c.numKeybtn[CheckKey::Quantity]).right() + 40, RowTop + RowHeight, 560, FieldHeight));
    setTag(c.LabBox[CheckLabel::Quantity],
           tagOf(c.LabBox[CheckLabel::Quantity]) + u"|LabUnit|Command1"_s);

    c.cmdCanliang = make<QPushButton>(c.Frame6, u"cmdCanliang"_s, u"产量"_s);
    c.cmdCanliang->setFocusPolicy(Qt::NoFocus);
    const int workerRow = RowTop + 5 * RowHeight;
    placeTwips(c.TxtBox[CheckField::Worker], QRect(ColX[0] + 1040, workerRow, 1000, FieldHeight));
    placeTwips(c.numKeybtn[CheckKey::Worker], QRect(ColX[0] + 2080, workerRow, KeyWidth, FieldHeight));
    placeTwips(c.cmdCanliang, QRect(ColX[0] + 2540, workerRow, 560, FieldHeight));
    c.LabBox[CheckLabel::WorkerName] = make<QLabel>(c.Frame6, u"LabBox_2"_s);
    placeTwips(c.LabBox[CheckLabel::WorkerName], QRect(ColX[0] + 3120, workerRow, 700, FieldHeight));
    setTag(c.LabBox[CheckLabel::Worker],
           tagOf(c.LabBox[CheckLabel::Worker]) + u"|cmdCanliang|LabBox_2"_s);

    c.cmdHuangang = make<QPushButton>(c.Frame6, u"cmdHuangang"_s, u"换缸"_s);
    c.cmdHuangang->setFocusPolicy(Qt::NoFocus);
    const QRect lot = designRect(c.numKeybtn[CheckKey::DyeLot]);
    placeTwips(c.cmdHuangang, QRect(lot.right() + 40, lot.y(), 560, FieldHeight));
    setTag(c.LabBox[CheckLabel::DyeLot], tagOf(c.LabBox[CheckLabel::DyeLot]) + u"|cmdHuangang"_s);

    c.LabBox[CheckLabel::Grade] = make<QLabel>(c.Frame6, u"LabBox_11"_s, u"等级"_s);
    c.LabBox[CheckLabel::Grade]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(c.LabBox[CheckLabel::Grade], QRect(ColX[0], RowTop + 7 * RowHeight, 1000, FieldHeight));
    setTag(c.LabBox[CheckLabel::Grade], QString()); // the grade buttons are laid out when they are built

    c.LabBox[CheckLabel::Remark] = make<QLabel>(c.Frame6, u"LabBox_13"_s, u"备注"_s);
    c.LabBox[CheckLabel::Remark]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(c.LabBox[CheckLabel::Remark], QRect(ColX[0], RowTop + 8 * RowHeight, 1000, FieldHeight));
    c.Text1 = make<QLineEdit>(c.Frame6, u"Text1"_s);
    c.Text1->setAccessibleName(u"备注"_s);
    c.LabBox[CheckLabel::Remark]->setBuddy(c.Text1);
    placeTwips(c.Text1, QRect(ColX[0] + 1040, RowTop + 8 * RowHeight, 7400, FieldHeight));
    setTag(c.LabBox[CheckLabel::Remark], u"Text1"_s);
}

void buildCardArea(CheckControls& c, QWidget* form)
{
    c.LabBox[CheckLabel::Status] = make<StatusLine>(form, u"LabBox_0"_s);
    c.LabBox[CheckLabel::Status]->setText(u"新"_s);
    c.LabBox[CheckLabel::Status]->setAccessibleName(u"状态"_s);
    placeTwips(c.LabBox[CheckLabel::Status], QRect(120, 60, 8760, 580));
    c.LabBox[CheckLabel::Card] = make<QLabel>(form, u"LabBox_9"_s, u"卡号"_s);
    c.LabBox[CheckLabel::Card]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeTwips(c.LabBox[CheckLabel::Card], QRect(120, 700, 900, 680));
    c.TxtBox[CheckField::Card] = make<QLineEdit>(form, u"TxtBox_6"_s);
    c.TxtBox[CheckField::Card]->setAccessibleName(u"卡号"_s);
    c.TxtBox[CheckField::Card]->setProperty("bigField", true);
    c.LabBox[CheckLabel::Card]->setBuddy(c.TxtBox[CheckField::Card]);
    placeTwips(c.TxtBox[CheckField::Card], QRect(1060, 700, 2700, 680));
    command(c, form, CheckCmd::FindCard, u"查"_s, QRect(3800, 700, 700, 680));
    command(c, form, 8, u"取"_s, QRect(4540, 700, 700, 680));
    command(c, form, 12, u"◀"_s, QRect(5280, 700, 680, 680), u"上一张卡"_s);
    command(c, form, 13, u"▶"_s, QRect(6000, 700, 680, 680), u"下一张卡"_s);
    c.reviewCheckCode = make<QCheckBox>(form, u"reviewCheckCode"_s, u"查看卷号"_s);
    c.reviewCheckCode->setToolTip(u"输入卡号+3位数的卷号"_s);
    placeTwips(c.reviewCheckCode, QRect(6760, 700, 1500, 680));

    c.ComboColor = make<QComboBox>(form, u"ComboColor"_s);
    c.ComboColor->setAccessibleName(u"颜色"_s);
    placeTwips(c.ComboColor, QRect(120, 1420, 3000, 520));
    for (int i = 0; i < 4; ++i)
        c.labInfo[i] = make<QLabel>(form, indexed("labInfo", i));
    placeTwips(c.labInfo[CheckInfo::Totals], QRect(9000, 1900, 6240, 460));
    placeTwips(c.labInfo[CheckInfo::Customer], QRect(3200, 1420, 5680, 520));
    placeTwips(c.labInfo[CheckInfo::Article], QRect(120, 1980, 8760, 380));
    placeTwips(c.labInfo[CheckInfo::Unused], QRect(0, 0, 0, 0));
    c.labInfo[CheckInfo::Unused]->hide();
    for (QLabel* l : {c.labInfo[CheckInfo::Article], c.labInfo[CheckInfo::Customer], c.labInfo[CheckInfo::Totals]})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    c.frameMishu = make<CaptionFrame>(form, u"米数"_s);
    placeTwips(c.frameMishu, QRect(9000, 480, 6240, 1000));
    c.checkSpec = make<QLineEdit>(c.frameMishu, u"checkSpec"_s);
    c.checkSpec->setAccessibleName(u"单据备注"_s);
    c.checkSpec->setReadOnly(true);
    placeTwips(c.checkSpec, QRect(120, 400, 6000, 520));

    // Hidden state of the card and the roll on screen.
    c.BillDetailId = make<QLineEdit>(form, u"BillDetailId"_s);
    c.machineCount = make<QLineEdit>(form, u"machineCount"_s);
    c.checkId = make<QLineEdit>(form, u"checkId"_s);
    for (QLineEdit* hidden : {c.BillDetailId, c.machineCount, c.checkId})
        hidden->hide();
    c.checkId->setText(u"0"_s);
    c.machineCount->setText(u"0"_s);
}

void buildDeviceRow(CheckControls& c, QWidget* form)
{
    c.Check2 = make<QCheckBox>(form, u"Check2"_s, u"接入码表"_s);
    placeTwips(c.Check2, QRect(9000, 60, 1500, 420));
    c.isChen = make<QCheckBox>(form, u"isChen"_s, u"接入台称"_s);
    placeTwips(c.isChen, QRect(10560, 60, 1500, 420));
    c.isMashu = make<QCheckBox>(form, u"isMashu"_s, u"显示码数"_s);
    placeTwips(c.isMashu, QRect(12120, 60, 1500, 420));
    c.Check1 = make<QCheckBox>(form, u"Check1"_s, u"更多设置"_s);
    placeTwips(c.Check1, QRect(13680, 60, 1560, 420));
    c.LabBox[CheckLabel::CounterSensor] = make<QLabel>(form, u"LabBox_16"_s);
    c.LabBox[CheckLabel::CounterSensor]->setAccessibleName(u"滚轮传感器"_s);
    placeTwips(c.LabBox[CheckLabel::CounterSensor], QRect(9000, 1500, 3060, 380));
    c.LabBox[CheckLabel::ScaleSensor] = make<QLabel>(form, u"LabBox_26"_s);
    c.LabBox[CheckLabel::ScaleSensor]->setAccessibleName(u"电子称传感器"_s);
    placeTwips(c.LabBox[CheckLabel::ScaleSensor], QRect(12120, 1500, 3120, 380));
    c.cmdScaleZero = make<QPushButton>(form, u"cmdScaleZero"_s, u"称归零"_s);
    placeTwips(c.cmdScaleZero, QRect(13760, 1440, 720, 440));
    c.cmdScaleTare = make<QPushButton>(form, u"cmdScaleTare"_s, u"去皮"_s);
    placeTwips(c.cmdScaleTare, QRect(14540, 1440, 700, 440));
    for (QPushButton* b : {c.cmdScaleZero, c.cmdScaleTare}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
    }
}

void buildCommands(CheckControls& c, QWidget* form)
{
    struct Cmd {
        int index;
        const char16_t* caption;
        int width;
    };
    const Cmd row[] = {{CheckCmd::NewRoll, u"换卷", 1250}, {CheckCmd::Save, u"保存", 1250}, {CheckCmd::PrintLabel, u"打印标签", 1450},
                       {CheckCmd::ChooseTemplate, u"▼", 480},     {CheckCmd::PrintMark, u"打印唛头", 1450}, {CheckCmd::PreviousRoll, u"上卷", 1150},
                       {CheckCmd::NextRoll, u"下卷", 1150}, {CheckCmd::DeleteRoll, u"删除", 1150}, {CheckCmd::DeleteDefect, u"删疵点", 1250},
                       {CheckCmd::Mes, u"同", 900}};
    int x = 120;
    for (const Cmd& cmd : row) {
        command(c, form, cmd.index, QString::fromUtf16(cmd.caption), QRect(x, 7880, cmd.width, 760),
                cmd.index == CheckCmd::ChooseTemplate ? u"选择标签模版"_s : QString());
        x += cmd.width + 70;
    }
    c.checkCommand[CheckCmd::Mes]->hide(); // the MES button shows only in MES mode
    c.checkCommand[CheckCmd::Recompute] = make<QPushButton>(form, u"checkCommand_15"_s);
    c.checkCommand[CheckCmd::Recompute]->hide(); // deductions and grade, run by code

    c.UpDown1 = make<QSpinBox>(form, u"UpDown1"_s);
    c.UpDown1->setRange(1, 99);
    c.UpDown1->setAccessibleName(u"选择打印份数"_s);
    c.UpDown1->setToolTip(u"选择打印份数"_s);
    placeTwips(c.UpDown1, QRect(12900, 7880, 900, 360));
    c.isPrintreview = make<QCheckBox>(form, u"isPrintreview"_s, u"打印预览"_s);
    placeTwips(c.isPrintreview, QRect(12900, 8280, 1500, 360));
    c.autoHuanJuan = make<QCheckBox>(form, u"autoHuanJuan"_s, u"自动换卷"_s);
    placeTwips(c.autoHuanJuan, QRect(13860, 7880, 1440, 360));

    c.SSTab1 = make<QTabWidget>(form, u"SSTab1"_s);
    placeTwips(c.SSTab1, QRect(120, 8740, 15120, 2700));
    auto* labels = new QWidget;
    labels->setObjectName(u"tabLabels"_s);
    auto* rolls = new QWidget;
    rolls->setObjectName(u"tabRolls"_s);
    c.SSTab1->addTab(labels, u"标签"_s);
    c.SSTab1->addTab(rolls, u"卷列表"_s);
    // The label-generation and list-filter fields live on the tabs.
    for (int i : {CheckField::LabelCount, CheckField::PieceLength})
        c.TxtBox[i] = make<QLineEdit>(labels, indexed("TxtBox", i));
    for (int i = CheckField::ListCard; i <= CheckField::ListWorker; ++i)
        c.TxtBox[i] = make<QLineEdit>(rolls, indexed("TxtBox", i));
    command(c, rolls, CheckCmd::QueryList, u"查"_s, QRect(0, 0, 0, 0));
    command(c, rolls, CheckCmd::DeleteListed, u"删"_s, QRect(0, 0, 0, 0));
}

void buildDefectFrame(CheckControls& c, QWidget* form)
{
    c.Frame5 = make<QGroupBox>(form, u"Frame5"_s);
    c.Frame5->setTitle(u"<<<<  疵点列表"_s);
    placeTwips(c.Frame5, QRect(9000, 2400, 6105, 5310));
    c.fProcessBar1 = make<fProcessBar>(c.Frame5, u"fProcessBar1"_s);
    c.fProcessBar1->setAccessibleName(u"进度"_s);
    placeTwips(c.fProcessBar1, QRect(50, 260, 6000, 600));
    c.fProcessBar1->hide();
}

} // namespace

QLabel* addFieldGroup(CheckControls& c, int lab, const QString& caption, int txt, int key, int col,
                      int row)
{
    buildFieldGroup(c, FieldGroup{lab, nullptr, txt, key, col, row, false}, caption);
    return c.LabBox[lab];
}

CheckControls buildCheckControls(QWidget* form)
{
    CheckControls c;
    c.TxtBox.resize(CheckControls::TxtBoxCount);
    c.LabBox.resize(CheckControls::LabBoxCount);
    c.numKeybtn.resize(CheckControls::KeyButtonCount);
    c.checkCommand.resize(CheckControls::CommandCount);
    c.labInfo.resize(4);
    buildCardArea(c, form);
    buildDeviceRow(c, form);
    buildRollForm(c, form);
    buildDefectFrame(c, form);
    buildCommands(c, form);
    return c;
}

QString layoutControlList()
{
    return u"LabBox^3,TxtBox^3,numKeybtn^5,cmdHuangang,LabBox^1,TxtBox^0,numKeybtn^1,cmdCanliang,LabBox^12,TxtBox^18,numKeybtn^17,LabBox^21,TxtBox^16,numKeybtn^15,LabBox^22,TxtBox^17,numKeybtn^16,"_s +
           u"LabBox^24,TxtBox^20,numKeybtn^19,LabBox^4,TxtBox^4,numKeybtn^6,LabBox^5,TxtBox^5,numKeybtn^7,LabBox^10,TxtBox^7,LabUnit,numKeybtn^2,Command1,LabBox^19,TxtBox^14,numKeybtn^13,"_s +
           u"LabBox^20,TxtBox^15,numKeybtn^14,LabBox^25,TxtBox^21,numKeybtn^20,LabBox^23,TxtBox^19,numKeybtn^18,LabBox^13,Text1,,LabBox^11,gradeBtn^0,gradeBtn^1,gradeBtn^2,"_s +
           u"LabBox^29,TxtBox^24,numKeybtn^23,LabBox^31,TxtBox^26,numKeybtn^24,LabBox^30,TxtBox^25,numKeybtn^25,LabBox^32,TxtBox^27,numKeybtn^26"_s;
}
