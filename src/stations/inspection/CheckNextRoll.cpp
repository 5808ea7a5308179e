// Between rolls: what a reopened roll must not pass on to the next new roll, and the question
// before 换卷 drops a roll that was inspected and never saved.
#include "stations/inspection/frmCheck.h"

#include "shell/MessageBox.h"
#include "text/Vb.h"

#include <QCheckBox>
#include <QLineEdit>

#include <utility>

namespace {

// The fields a new roll keeps from the one before it (quantity and 加减 only where the mill
// keeps them; newRoll zeroes them otherwise).
constexpr int KeptFields[] = {
    CheckField::Worker, CheckField::DyeLot, CheckField::GramWeight, CheckField::Style, CheckField::Quantity,
    CheckField::PlusMinus, CheckField::Spare3, CheckField::Spare4, CheckField::Factor, CheckField::Spare5,
    CheckField::Spare6, CheckField::ItemName, CheckField::Color, CheckField::SpareA, CheckField::SpareB,
    CheckField::SpareC, CheckField::SpareD};

} // namespace

QString frmCheck::dropRollQuestion() { return QStringLiteral("这卷还没有保存，放弃这卷？"); }

bool frmCheck::mayDropRoll()
{
    const bool unsaved = vb::Val(c.checkId->text()) == 0 &&
                         (vb::Val(c.TxtBox[CheckField::Quantity]->text()) > 0 || !defectRows().isEmpty());
    return !unsaved || MessageBox::show(dropRollQuestion(), MessageBox::Question,
                                        MessageBox::YesNoDefaultNo, QString(),
                                        this) == MessageBox::AnswerYes;
}

void frmCheck::keepNextRoll()
{
    // Stepping from one reopened roll to the next keeps what was there before the first; an
    // empty form (a roll reopened at start) has nothing to keep.
    if (m_nextRoll || vb::Val(c.checkId->text()) != 0 ||
        (c.TxtBox[CheckField::Card]->text().isEmpty() && c.BillDetailId->text().isEmpty()))
        return;
    NextRoll next{c.TxtBox[CheckField::Card]->text(), c.BillDetailId->text(), tagOf(c.BillDetailId),
                  c.Text1->text(), {}, c.isMashu->isChecked()};
    for (int i : KeptFields)
        if (c.TxtBox.value(i))
            next.fields.append({i, c.TxtBox[i]->text()});
    m_nextRoll = next;
}

void frmCheck::restoreNextRoll()
{
    if (!m_nextRoll)
        return;
    const NextRoll next = *std::exchange(m_nextRoll, std::nullopt);
    c.checkId->setText(QStringLiteral("0"));
    // The card line's data, totals and presets come back with the line; the fields typed over
    // the presets come back after them.
    if (!next.card.isEmpty() && vb::Val(next.line) > 0 &&
        (next.card != c.TxtBox[CheckField::Card]->text() || next.line != c.BillDetailId->text())) {
        c.TxtBox[CheckField::Card]->setText(next.card);
        loadCard(next.card, next.line);
    }
    c.TxtBox[CheckField::Card]->setText(next.card);
    c.BillDetailId->setText(next.line);
    setTag(c.BillDetailId, next.item);
    for (const auto& [i, text] : next.fields)
        c.TxtBox[i]->setText(text); // the worker first: its shift text would replace the remark
    c.Text1->setText(next.remark);
    c.isMashu->setChecked(next.yards);
}
