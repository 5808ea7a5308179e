// The fiber box window: the box's field captions, its devices, and what the box's rules say shown
// in it: the batch number of each box and its grade letter (HuaxianBatch), the question of a full
// pallet, whose Yes prints the pallet's list and takes a new pallet.
#include "stations/fiberbox/frmHuaxian.h"

#include "shell/MessageBox.h"
#include "stations/fiberbox/HuaxianBox.h"
#include "stations/inspection/CheckLabelPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// What the fields of the inspection form hold on a box (the box list shows them by these names).
const std::pair<CheckField::Index, const char16_t*> BoxFields[] = {
    {CheckField::RollNumber, u"箱号"}, {CheckField::Quantity, u"净重"},  {CheckField::Weight, u"毛重"}, {CheckField::DyeLot, u"批号"},  {CheckField::GramWeight, u"色别"},
    {CheckField::Spare3, u"机台"}, {CheckField::Spare4, u"箱重"}, {CheckField::Spare5, u"筒数"}, {CheckField::Spare6, u"筒重"}, {CheckField::ItemName, u"品种"},
    {CheckField::Color, u"规格"}, {CheckField::SpareA, u"等级"}, {CheckField::SpareB, u"捻向"}, {CheckField::SpareD, u"筒色"},
};

} // namespace

frmHuaxian::frmHuaxian(QWidget* parent) : frmMaitou(parent)
{
    setObjectName(u"frmHuaxian"_s);
    setWindowTitle(u"化纤装箱"_s);
    for (const auto& [field, caption] : BoxFields)
        setFieldCaption(field, QString::fromUtf16(caption));
    c.LabUnit->setText(u"kg"_s); // the net weight; a text counter still says 米 or 码
    connect(this, &frmCheck::gradeChosen, this, &frmHuaxian::gradeChanged);
    // After the mark-label station's part of the load, which reads the pallet list.
    connect(this, &frmCheck::formLoaded, this, [this] { m_started = true; });
}

frmCheck::Variant frmHuaxian::variant() const
{
    Variant v = frmMaitou::variant();
    v.layoutKey = u"InputPosition-huaxian"_s;
    return v;
}

devices::DeviceRules frmHuaxian::deviceRules() const
{
    // The fiber-box frames know the text counter and the Modbus counter at 9600 baud, check each
    // Modbus reply whole, read the scale's text only and rewrite the gross weight every tick.
    devices::DeviceRules rules = frmMaitou::deviceRules();
    rules.counterSettings = u"9600,n,8,1"_s;
    rules.knownModel = [](devices::CounterModel m) {
        return m == devices::CounterModel::Text ? m : devices::CounterModel::Modbus;
    };
    rules.checkedCounter = true;
    rules.packedScale = false;
    rules.scaleText = devices::ScaleTextRules::ReversedFirst;
    rules.weightEveryTick = true;
    return rules;
}

std::unique_ptr<InspectionRoll> frmHuaxian::makeRules() const
{
    return std::make_unique<HuaxianBox>(m_cfg);
}

void frmHuaxian::fillFromRoll(const Recordset& rs)
{
    m_batch.reopening(!m_cfg.batchPattern.isEmpty());
    frmMaitou::fillFromRoll(rs);
    m_batch.reopened(c.TxtBox[CheckField::DyeLot]->text());
}

QString frmHuaxian::composeBatchNumber(const QString& batchTemplate) const
{
    return HuaxianBox::composeBatch(batchTemplate, readRoll(),
                                    m_batch.base(c.TxtBox[CheckField::DyeLot]->text()));
}

void frmHuaxian::beforeSave()
{
    frmMaitou::beforeSave();
    if (const auto batch = m_batch.atSave(m_cfg.batchPattern, readRoll()))
        c.TxtBox[CheckField::DyeLot]->setText(*batch);
}

void frmHuaxian::gradeBtn_Click(int index)
{
    if (index >= 0 && index < c.gradeBtn.size())
        c.gradeBtn[index]->setChecked(true);
    gradeChanged(index);
}

void frmHuaxian::gradeChanged(int index)
{
    if (const auto batch = m_batch.afterGrade(c.TxtBox[CheckField::DyeLot]->text(), index))
        c.TxtBox[CheckField::DyeLot]->setText(*batch);
}

void frmHuaxian::palletListLoaded(const Recordset& rs)
{
    // A pallet that holds its boxes (or more, after a No) asks at every list until its list has
    // printed: only then does the station go on with a new pallet.
    const QString question = pallet().fullQuestion(c.TxtBox[CheckField::Style]->text(), rs);
    if (question.isEmpty())
        return;
    // At start-up the window, and the label printing its Yes needs, is not up yet.
    if (!m_started) {
        m_askWhenShown = true;
        return;
    }
    if (MessageBox::show(question, MessageBox::Question, MessageBox::YesNo, QString(), this)
        != MessageBox::AnswerYes)
        return;
    if (printPalletList(rs))
        cmdBangbtn_Click();
}

void frmHuaxian::showEvent(QShowEvent* event)
{
    frmMaitou::showEvent(event);
    // The list is read again: the pallet may have changed while the window was coming up.
    if (std::exchange(m_askWhenShown, false))
        QTimer::singleShot(0, this, &frmMaitou::loadPalletList);
}

bool frmHuaxian::printPalletList(const Recordset& rs)
{
    // The pallet's list comes out of the mark template for the pallet's newest box; the template
    // lists the boxes of that box's pallet. Nothing is saved: the full pallet is already written.
    const long long newest = MaitouPallet::newestPackage(rs);
    auto* labels = findChild<CheckLabelPanel*>();
    return newest > 0 && labels && labels->printMark(newest);
}
