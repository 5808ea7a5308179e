// The roll form's controls and the rules' RollForm: read field by field through the named-field
// table, and shown back where a value differs.
#include "stations/inspection/frmCheck.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// The order a saved roll's values go on the form: the worker before the remark (a worker's
// shift fills the remark), the card after the roll's own fields.
constexpr CheckField::Index ShowOrder[] = {
    CheckField::DyeLot,  CheckField::RollNumber, CheckField::Quantity, CheckField::Weight,
    CheckField::PlusMinus, CheckField::Spare3,   CheckField::Spare4,   CheckField::Spare5,
    CheckField::Spare6,  CheckField::ItemName,   CheckField::Color,    CheckField::SpareA,
    CheckField::SpareB,  CheckField::SpareC,     CheckField::SpareD,   CheckField::GramWeight,
    CheckField::Style,   CheckField::Pallet,     CheckField::Card,     CheckField::Worker,
};

} // namespace

const InspectionRoll& frmCheck::rules() const
{
    if (!m_rules)
        m_rules = makeRules();
    return *m_rules;
}

std::unique_ptr<InspectionRoll> frmCheck::makeRules() const
{
    return std::make_unique<InspectionRoll>(m_cfg);
}

RollForm frmCheck::readRoll() const
{
    RollForm roll;
    for (int i = 0; i < CheckField::Count && i < c.TxtBox.size(); ++i)
        if (const QLineEdit* box = c.TxtBox[i]) {
            roll.fields[size_t(i)] = box->text();
            roll.present.set(size_t(i));
        }
    roll.remark = c.Text1->text();
    roll.grade = currentGrade();
    roll.lineId = c.BillDetailId->text();
    roll.itemId = tagOf(c.BillDetailId);
    roll.chosenItem = tagOf(c.TxtBox[CheckField::ItemName]);
    roll.id = c.checkId->text().toLongLong();
    roll.yards = c.isMashu->isChecked();
    completeRoll(roll);
    return roll;
}

void frmCheck::showRoll(const RollForm& roll)
{
    const auto show = [](QLineEdit* box, const QString& text) {
        if (box && box->text() != text)
            box->setText(text);
    };
    show(c.checkId, QString::number(roll.id));
    if (tagOf(c.BillDetailId) != roll.itemId)
        setTag(c.BillDetailId, roll.itemId);
    setTag(c.TxtBox[CheckField::ItemName], roll.chosenItem);
    for (CheckField::Index f : ShowOrder)
        if (f < c.TxtBox.size())
            show(c.TxtBox[f], roll[f]);
    show(c.Text1, roll.remark);
    c.isMashu->setChecked(roll.yards);
    selectGrade(roll.grade);
}
