// The roll on the inspection window: a new roll and its number, a saved roll reopened (and what
// the next new roll keeps meanwhile), the question before 换卷 drops an unsaved roll, and the
// reactions of the worker, weight, quantity and dye-lot fields.
#include "stations/inspection/CheckRollPanel.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/DefectCamera.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckSavePanel.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/fProcessBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

// The fields a new roll keeps from the one before it (quantity and 加减 only where the mill
// keeps them; newRoll zeroes them otherwise).
constexpr int KeptFields[] = {CheckField::Worker, CheckField::DyeLot,   CheckField::GramWeight,
                              CheckField::Style,  CheckField::Quantity, CheckField::PlusMinus,
                              CheckField::Spare3, CheckField::Spare4,   CheckField::Factor,
                              CheckField::Spare5, CheckField::Spare6,   CheckField::ItemName,
                              CheckField::Color,  CheckField::SpareA,   CheckField::SpareB,
                              CheckField::SpareC, CheckField::SpareD};

// The order a saved roll's values go on the form: the worker before the remark (a worker's
// shift fills the remark), the card after the roll's own fields.
constexpr CheckField::Index ShowOrder[] = {
    CheckField::DyeLot,    CheckField::RollNumber, CheckField::Quantity, CheckField::Weight,
    CheckField::PlusMinus, CheckField::Spare3,     CheckField::Spare4,   CheckField::Spare5,
    CheckField::Spare6,    CheckField::ItemName,   CheckField::Color,    CheckField::SpareA,
    CheckField::SpareB,    CheckField::SpareC,     CheckField::SpareD,   CheckField::GramWeight,
    CheckField::Style,     CheckField::Pallet,     CheckField::Card,     CheckField::Worker,
};

} // namespace

CheckRollPanel::CheckRollPanel(frmCheck* form) : QObject(form), m_form(form), c(form->controls())
{
    connect(c.TxtBox[CheckField::Worker], &QLineEdit::textChanged, this,
            [this] { onWorkerChanged(); });
    connect(c.TxtBox[CheckField::Weight], &QLineEdit::textChanged, this,
            [this] { onWeightChanged(); });
    connect(c.TxtBox[CheckField::Quantity], &QLineEdit::textChanged, this,
            [this] { onQuantityChanged(); });
    for (const auto& [name, field] : InspectionRoll::formulaFields())
        if (field != CheckField::Weight && c.TxtBox[field])
            connect(c.TxtBox[field], &QLineEdit::textChanged, this,
                    [this] { onFormulaInputChanged(); });
    connect(c.TxtBox[CheckField::DyeLot], &QLineEdit::textEdited, this,
            [this] { dyeLotChanged(); });
    connect(c.cmdHuangang, &QPushButton::clicked, this, [this] { cmdHuangang_Click(); });
    connect(c.cmdCanliang, &QPushButton::clicked, this, [this] { cmdCanliang_Click(); });
}

void CheckRollPanel::showSavedNumber(const RollForm& saved)
{
    QLineEdit* number = c.TxtBox[CheckField::RollNumber];
    if (number->text() == saved[CheckField::RollNumber])
        return;
    number->setText(saved[CheckField::RollNumber]);
    m_numberScope = m_form->rules().numberCondition(saved);
}

void CheckRollPanel::newRoll()
{
    restoreNextRoll();
    assignRollNumber();
    m_form->defectGrid().setRows({});
    c.checkId->setText(u"0"_s);
    if (m_form->settings().clearQuantity)
        c.TxtBox[CheckField::Quantity]->setText(u"0"_s);
    c.TxtBox[CheckField::Weight]->setText(u"0"_s);
    m_form->devicePanel()
        .forgetWeight(); // the roll on the scale is weighed again, if it weighs the same
    if (m_form->settings().clearPlusMinus)
        c.TxtBox[CheckField::PlusMinus]->setText(u"0"_s);
    if (c.Check2->isChecked())
        c.TxtBox[CheckField::Quantity]->setFocus();
    else if (c.isChen->isChecked())
        c.TxtBox[CheckField::Weight]->setFocus();
    if (!c.gradeBtn.isEmpty())
        c.gradeBtn.first()->setChecked(true);
    m_form->setStatus(u"新"_s);
    m_formulaSaid.clear(); // a formula that cannot work is said again for the new roll
    m_form->enableCommands();
    m_form->devicePanel().zeroMeter();
    m_form->devicePanel().setPolling(
        true); // a roll kept or reopened on screen stopped the counter's writing
    emit m_form->rollCleared();
}

void CheckRollPanel::keepSavedRoll(long long id)
{
    // The cloth runs on towards the next roll: the counter must not write that length into
    // the quantity of the saved one, where the next 保存 would store it.
    c.checkId->setText(QString::number(id));
    m_form->devicePanel().setPolling(false);
}

void CheckRollPanel::clearForm()
{
    m_nextRoll.reset(); // the card goes too
    c.BillDetailId->clear();
    setTag(c.BillDetailId, QString());
    newRoll();
    for (int i : {CheckField::Card, CheckField::Worker, CheckField::Weight, CheckField::PlusMinus,
                  CheckField::DyeLot, CheckField::GramWeight, CheckField::Style, CheckField::Spare3,
                  CheckField::Spare4, CheckField::Spare5, CheckField::Spare6, CheckField::ItemName,
                  CheckField::Color, CheckField::SpareA, CheckField::SpareB, CheckField::SpareC,
                  CheckField::SpareD})
        if (c.TxtBox[i])
            c.TxtBox[i]->clear();
    setTag(c.TxtBox[CheckField::Card], QString());
    c.LabBox[CheckLabel::WorkerName]->clear();
    c.labInfo[CheckInfo::Article]->clear();
    c.labInfo[CheckInfo::Customer]->clear();
    c.ComboColor->clear();
    c.Text1->clear();
    c.machineCount->setText(u"0"_s);
}

void CheckRollPanel::assignRollNumber()
{
    if (!m_form->rules().databaseNumbers()) {
        c.TxtBox[CheckField::RollNumber]->setText(
            m_form->rules().steppedNumber(c.TxtBox[CheckField::RollNumber]->text()));
        return;
    }
    const RollForm roll = m_form->readRoll();
    const int waiting = Journal::status()->pending();
    QString number;
    try {
        m_numberScope = m_form->rules().numberCondition(roll);
        number = m_form->savePanel()
                     .rollSave(waiting > 0)
                     .proposeNumber(Database::conn(), roll, waiting);
    } catch (const DbError& e) {
        if (!e.offline()) {
            m_form->setStatus(e.message());
            return;
        }
        try {
            // Offline: the frame goes on from the number it had reserved.
            number = m_form->savePanel().rollSave().offlineNumber(roll);
        } catch (const DbError& journal) {
            m_form->setStatus(journal.message());
            return;
        }
    }
    c.TxtBox[CheckField::RollNumber]->setText(number);
}

void CheckRollPanel::numberScopeChanged()
{
    if (vb::Val(c.checkId->text()) == 0 && m_form->rules().databaseNumbers() &&
        m_form->rules().numberCondition(m_form->readRoll()) != m_numberScope)
        assignRollNumber();
}

void CheckRollPanel::loadRoll(long long id)
{
    if (id <= 0) {
        clearForm();
        return;
    }
    keepNextRoll();
    m_form->devicePanel().setPolling(false);
    m_form->setStatus(u"查看信息定时器停止"_s);
    try {
        Recordset rs = SysUtil::openRecordset(Database::conn(), CheckSql::loadRoll(id));
        if (!SysUtil::recordsetHasRows(rs)) {
            MessageBox::critical(u"没有这个卷号"_s, m_form);
            return;
        }
        c.checkId->setText(QString::number(id)); // loadCard must not renumber this roll
        m_form->loadRollCard(rs.text(u"billcode"_s), rs.text(u"billdetailid"_s));
        m_fillingRoll = true;
        const auto filled = qScopeGuard([this] { m_fillingRoll = false; });
        m_form->fillFromRoll(rs);
        Recordset d = SysUtil::openRecordset(Database::conn(), CheckSql::loadDefects(id));
        QList<QStringList> rows = InspectionRoll::defectRows(d);
        // With their pictures: saved again, the roll writes its picture rows again.
        m_form->defectCamera().store()->fillRows(Database::conn(), id, rows);
        m_form->defectGrid().setRows(rows);
        if (!m_form->settings().mayChangeSaved)
            c.checkCommand[CheckCmd::Save]->setEnabled(false);
        emit m_form->rollCleared();
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
    }
}

void CheckRollPanel::reviewRoll()
{
    const QString text = c.TxtBox[CheckField::Card]->text().trimmed();
    newRoll();
    try {
        Recordset rs = SysUtil::openRecordset(Database::conn(), CheckSql::rollExists(text));
        loadRoll(SysUtil::recordsetHasRows(rs) ? rs.field(0).toLongLong() : 0);
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
    }
}

void CheckRollPanel::onWorkerChanged()
{
    const QString code = c.TxtBox[CheckField::Worker]->text();
    try {
        c.LabBox[CheckLabel::WorkerName]->setText(code.isEmpty() ? QString()
                                                                 : Database::getUserName(code));
    } catch (const DbError&) {
        c.LabBox[CheckLabel::WorkerName]
            ->clear(); // the name is a convenience; the code itself is what is saved
    }
    m_form->layoutPanel().fitDataLabels();
    if (!code.isEmpty())
        c.Text1->setText(SysUtil::readIni(u"MIREL"_s, code, QString(), u"/班别.ini"_s));
}

void CheckRollPanel::onWeightChanged()
{
    if (m_fillingRoll)
        return;
    const FormulaQuantity q = m_form->rules().quantityFromWeight(m_form->readRoll());
    if (!q.problem.isEmpty()) {
        sayFormulaProblem(m_form->rules().quantityFormula(), q.problem);
        return;
    }
    if (!q.quantity)
        return;
    m_formulaSaid.clear();
    c.TxtBox[CheckField::Quantity]->setText(*q.quantity);
}

void CheckRollPanel::sayFormulaProblem(const QString& formula, const QString& message)
{
    // The scale writes a weight on every change: said on each, the message would cover what
    // the status line has to say (saved, refused) several times a second.
    if (m_formulaSaid == formula + u'\n' + message)
        return;
    m_formulaSaid = formula + u'\n' + message;
    m_form->setStatus(message);
}

void CheckRollPanel::onFormulaInputChanged()
{
    const QString formula = m_formulaSaid.section(u'\n', 0, 0);
    if (m_formulaSaid.isEmpty() || m_form->status() != m_formulaSaid.section(u'\n', 1) ||
        !m_form->status().startsWith(u"数量公式缺少"_s))
        return;
    if (!m_form->rules().formulaInputsComplete(formula, m_form->readRoll()))
        return;
    m_formulaSaid.clear();
    m_form->setStatus(QString());
}

void CheckRollPanel::onQuantityChanged()
{
    const double q = vb::Val(c.TxtBox[CheckField::Quantity]->text());
    if (q < 10000)
        c.fProcessBar1->setValue(int(vb::Fix(q)));
}

QString CheckRollPanel::dropRollQuestion()
{
    return u"这卷还没有保存，放弃这卷？"_s;
}

bool CheckRollPanel::mayDropRoll()
{
    const bool unsaved =
        vb::Val(c.checkId->text()) == 0 && (vb::Val(c.TxtBox[CheckField::Quantity]->text()) > 0 ||
                                            !m_form->defectGrid().rows().isEmpty());
    return !unsaved ||
           MessageBox::show(dropRollQuestion(), MessageBox::Question, MessageBox::YesNoDefaultNo,
                            QString(), m_form) == MessageBox::AnswerYes;
}

void CheckRollPanel::keepNextRoll()
{
    // Stepping from one reopened roll to the next keeps what was there before the first; an
    // empty form (a roll reopened at start) has nothing to keep.
    if (m_nextRoll || vb::Val(c.checkId->text()) != 0 ||
        (c.TxtBox[CheckField::Card]->text().isEmpty() && c.BillDetailId->text().isEmpty()))
        return;
    NextRoll next{c.TxtBox[CheckField::Card]->text(),
                  c.BillDetailId->text(),
                  tagOf(c.BillDetailId),
                  c.Text1->text(),
                  {},
                  c.isMashu->isChecked()};
    for (int i : KeptFields)
        if (c.TxtBox.value(i))
            next.fields.append({i, c.TxtBox[i]->text()});
    m_nextRoll = next;
}

void CheckRollPanel::restoreNextRoll()
{
    if (!m_nextRoll)
        return;
    const NextRoll next = *std::exchange(m_nextRoll, std::nullopt);
    c.checkId->setText(u"0"_s);
    // The card line's data, totals and presets come back with the line; the fields typed over
    // the presets come back after them.
    if (!next.card.isEmpty() && vb::Val(next.line) > 0 &&
        (next.card != c.TxtBox[CheckField::Card]->text() || next.line != c.BillDetailId->text())) {
        c.TxtBox[CheckField::Card]->setText(next.card);
        m_form->cardPanel().loadCard(next.card, next.line);
    }
    c.TxtBox[CheckField::Card]->setText(next.card);
    c.BillDetailId->setText(next.line);
    setTag(c.BillDetailId, next.item);
    for (const auto& [i, text] : next.fields)
        c.TxtBox[i]->setText(text); // the worker first: its shift text would replace the remark
    c.Text1->setText(next.remark);
    c.isMashu->setChecked(next.yards);
}

void CheckRollPanel::showRoll(const RollForm& roll)
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
    m_form->selectGrade(roll.grade);
}

void CheckRollPanel::cmdHuangang_Click()
{
    try {
        c.TxtBox[CheckField::DyeLot]->setText(
            SysUtil::nextDailyNumber(Database::conn(), u"缸号"_s, Clock::today()) + u'G');
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
        return;
    }
    dyeLotChanged();
}

void CheckRollPanel::dyeLotChanged()
{
    // Numbered per dye lot, a new lot starts its own numbering.
    if (m_form->rules().numbersByDyeLot() && m_form->loaded())
        assignRollNumber();
}

void CheckRollPanel::cmdCanliang_Click()
{
    double x = vb::Val(c.TxtBox[CheckField::Quantity]->text());
    if (m_form->settings().capacityLessDefects)
        for (const QStringList& row : m_form->defectGrid().rows())
            if (row.value(1) == u"产量")
                x -= vb::Val(row.value(2));
    m_form->defectGrid().append({QString(), u"产量"_s, vb::Format(x, m_form->settings().dispFormat),
                                 u"0"_s, u"0"_s, c.TxtBox[CheckField::Worker]->text(),
                                 c.Text1->text()});
}
