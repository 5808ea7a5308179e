// Roll entry of the inspection station: a new roll, roll numbers, validation, the save in one
// transaction, reopening a saved roll, and the reactions of the worker, weight and quantity fields.
#include "stations/inspection/frmCheck.h"

#include "config/MirelIni.h"
#include "devices/InspectionDevices.h"
#include "script/VbScript.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/CheckGrading.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/fProcessBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

void frmCheck::newRoll()
{
    restoreNextRoll();
    assignRollNumber();
    setDefectRows({});
    c.checkId->setText(QStringLiteral("0"));
    if (m_cfg.clearQuantity)
        c.TxtBox[CheckField::Quantity]->setText(QStringLiteral("0"));
    c.TxtBox[CheckField::Weight]->setText(QStringLiteral("0"));
    if (m_devices)
        m_devices->forgetWeight(); // the roll on the scale is weighed again, if it weighs the same
    if (m_cfg.clearPlusMinus)
        c.TxtBox[CheckField::PlusMinus]->setText(QStringLiteral("0"));
    if (c.Check2->isChecked())
        c.TxtBox[CheckField::Quantity]->setFocus();
    else if (c.isChen->isChecked())
        c.TxtBox[CheckField::Weight]->setFocus();
    if (!c.gradeBtn.isEmpty())
        c.gradeBtn.first()->setChecked(true);
    setStatus(QStringLiteral("新"));
    m_formulaSaid.clear(); // a formula that cannot work is said again for the new roll
    enableCommands();
    zeroMeter();
    setPolling(true); // a roll kept or reopened on screen stopped the counter's writing
    emit rollCleared();
}

void frmCheck::keepSavedRoll(long long id)
{
    // The cloth runs on towards the next roll: the counter must not write that length into
    // the quantity of the saved one, where the next 保存 would store it.
    c.checkId->setText(QString::number(id));
    setPolling(false);
}

void frmCheck::clearForm()
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
    c.labInfo[2]->clear();
    c.labInfo[3]->clear();
    c.ComboColor->clear();
    c.Text1->clear();
    c.machineCount->setText(QStringLiteral("0"));
}

RollSave frmCheck::rollSave(bool withJournal) const
{
    JournalStore* journal = nullptr;
    try {
        if (withJournal)
            journal = &Journal::store();
    } catch (const DbError&) {
        // Lookups are not kept and nothing can be saved offline; the save itself goes on.
    }
    return RollSave(rules(), journal);
}

void frmCheck::assignRollNumber()
{
    if (!rules().databaseNumbers()) {
        c.TxtBox[CheckField::RollNumber]->setText(
            rules().steppedNumber(c.TxtBox[CheckField::RollNumber]->text()));
        return;
    }
    const RollForm roll = readRoll();
    const int waiting = Journal::status()->pending();
    QString number;
    try {
        m_numberScope = rules().numberCondition(roll);
        number = rollSave(waiting > 0).proposeNumber(Database::conn(), roll, waiting);
    } catch (const DbError& e) {
        if (!e.offline()) {
            setStatus(e.message());
            return;
        }
        try {
            // Offline: the frame goes on from the number it had reserved.
            number = rollSave().offlineNumber(roll);
        } catch (const DbError& journal) {
            setStatus(journal.message());
            return;
        }
    }
    c.TxtBox[CheckField::RollNumber]->setText(number);
}

void frmCheck::numberScopeChanged()
{
    if (vb::Val(c.checkId->text()) == 0 && rules().databaseNumbers() &&
        rules().numberCondition(readRoll()) != m_numberScope)
        assignRollNumber();
}

bool frmCheck::validateRoll()
{
    runCommand(CheckCmd::Recompute);
    std::optional<RollProblem> problem = rules().validate(readRoll(), [this](int lab) {
        const QLabel* caption = lab >= 0 && lab < c.LabBox.size() ? c.LabBox[lab] : nullptr;
        return caption ? caption->text() : QString();
    });
    if (!problem) {
        if (!confirmCounterLength() || !confirmScaleWeight())
            return false;
        problem = rules().checkExtra(readRoll());
    }
    if (problem)
        showProblem(*problem);
    return !problem;
}

void frmCheck::showProblem(const RollProblem& problem)
{
    setStatus(problem.message);
    if (problem.field >= 0 && problem.field < c.TxtBox.size() && c.TxtBox[problem.field])
        c.TxtBox[problem.field]->setFocus();
}

long long frmCheck::saveRoll(bool refreshTotals)
{
    // A reopened roll that cannot be saved stays as it is on screen: the counter must not
    // write the length of the roll now on the frame over it.
    const bool wasPolling = polling();
    setPolling(true);
    m_renumbered.clear();
    // While rolls wait in the journal, the next ones follow them there: they reach the
    // database in the order they were saved, and the window never waits for a server that is
    // still coming back.
    if (Journal::status()->pending() > 0)
        return saveRollOffline();
    beforeSave();
    RollSave::Saved saved;
    try {
        saved = rollSave().save(Database::conn(), readRoll(), defectRows(), m_numberScope);
    } catch (const DbError& e) {
        if (e.offline())
            return saveRollOffline();
        // Rolled back; everything typed stays on the form, the operator saves again.
        setPolling(wasPolling);
        if (e.isRowMissing())
            rollWasDeleted();
        MessageBox::critical(
            e.isRowMissing() ? rowDeletedMessage(c.TxtBox[CheckField::RollNumber]->text()) : e.message(), this);
        return 0;
    }
    m_lastSaved = saved.roll;
    weightSaved();
    QLineEdit* number = c.TxtBox[CheckField::RollNumber];
    if (number->text() != saved.roll[CheckField::RollNumber]) {
        number->setText(saved.roll[CheckField::RollNumber]);
        m_numberScope = rules().numberCondition(saved.roll);
    }
    // The operator saw the number on the form; once the form moves on it is gone.
    if (!saved.shownNumber.isEmpty())
        m_renumbered = number->accessibleName() + QStringLiteral("已改：") + saved.shownNumber
                       + QStringLiteral(" → ") + saved.roll[CheckField::RollNumber];
    if (!saved.stockError.isEmpty())
        MessageBox::show(QStringLiteral("error"), MessageBox::Critical); // the roll stays saved
    if (refreshTotals)
        showTotals(qint64(vb::Val(c.BillDetailId->text())));
    emit rollSaved(saved.id);
    return saved.id;
}

QString frmCheck::rowDeletedMessage(const QString& newNumber)
{
    // The number the roll will be saved with: a label printed with the old one is wrong now.
    return QStringLiteral("这条记录已被删除，已改为新记录（卷号%1），请再按保存").arg(newNumber);
}

void frmCheck::rollWasDeleted()
{
    // What was typed stays; the next save inserts it as a new roll with a number of its own.
    const long long id = qint64(vb::Val(c.checkId->text()));
    const QString number = c.TxtBox[CheckField::RollNumber]->text();
    c.checkId->setText(QStringLiteral("0"));
    assignRollNumber();
    emit rollDeletedElsewhere(id, number);
    setStatus(QStringLiteral("新"));
    enableCommands();
}

void frmCheck::loadRoll(long long id)
{
    if (id <= 0) {
        clearForm();
        return;
    }
    keepNextRoll();
    setPolling(false);
    setStatus(QStringLiteral("查看信息定时器停止"));
    try {
        Recordset rs = SysUtil::openRecordset(Database::conn(), CheckSql::loadRoll(id));
        if (!SysUtil::recordsetHasRows(rs)) {
            MessageBox::critical(QStringLiteral("没有这个卷号"), this);
            return;
        }
        c.checkId->setText(QString::number(id)); // loadCard must not renumber this roll
        loadRollCard(rs.text(QStringLiteral("billcode")), rs.text(QStringLiteral("billdetailid")));
        m_fillingRoll = true;
        const auto filled = qScopeGuard([this] { m_fillingRoll = false; });
        fillFromRoll(rs);
        Recordset d = SysUtil::openRecordset(Database::conn(), CheckSql::loadDefects(id));
        const QList<QStringList> rows = InspectionRoll::defectRows(d);
        setDefectRows(rows);
        if (!m_cfg.mayChangeSaved)
            c.checkCommand[CheckCmd::Save]->setEnabled(false);
        emit rollCleared();
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
}

void frmCheck::fillFromRoll(const Recordset& rs)
{
    RollForm roll = readRoll();
    rules().fill(roll, rs);
    showRoll(roll);
}

void frmCheck::reviewRoll()
{
    const QString text = c.TxtBox[CheckField::Card]->text().trimmed();
    newRoll();
    try {
        Recordset rs = SysUtil::openRecordset(Database::conn(), CheckSql::rollExists(text));
        loadRoll(SysUtil::recordsetHasRows(rs) ? rs.field(0).toLongLong() : 0);
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
}

void frmCheck::onWorkerChanged()
{
    const QString code = c.TxtBox[CheckField::Worker]->text();
    try {
        c.LabBox[CheckLabel::WorkerName]->setText(code.isEmpty() ? QString() : Database::getUserName(code));
    } catch (const DbError&) {
        c.LabBox[CheckLabel::WorkerName]->clear(); // the name is a convenience; the code itself is what is saved
    }
    fitDataLabels();
    if (!code.isEmpty())
        c.Text1->setText(SysUtil::readIni(QStringLiteral("MIREL"), code, QString(), QStringLiteral("/班别.ini")));
}

void frmCheck::onWeightChanged()
{
    if (m_fillingRoll)
        return;
    const FormulaQuantity q = rules().quantityFromWeight(readRoll());
    if (!q.problem.isEmpty()) {
        sayFormulaProblem(rules().quantityFormula(), q.problem);
        return;
    }
    if (!q.quantity)
        return;
    m_formulaSaid.clear();
    c.TxtBox[CheckField::Quantity]->setText(*q.quantity);
}

void frmCheck::sayFormulaProblem(const QString& formula, const QString& message)
{
    // The scale writes a weight on every change: said on each, the message would cover what
    // the status line has to say (saved, refused) several times a second.
    if (m_formulaSaid == formula + u'\n' + message)
        return;
    m_formulaSaid = formula + u'\n' + message;
    setStatus(message);
}

void frmCheck::onFormulaInputChanged()
{
    const QString formula = m_formulaSaid.section(u'\n', 0, 0);
    if (m_formulaSaid.isEmpty() || status() != m_formulaSaid.section(u'\n', 1)
        || !status().startsWith(QStringLiteral("数量公式缺少")))
        return;
    if (!rules().formulaInputsComplete(formula, readRoll()))
        return;
    m_formulaSaid.clear();
    setStatus(QString());
}

void frmCheck::onQuantityChanged()
{
    const double q = vb::Val(c.TxtBox[CheckField::Quantity]->text());
    if (q < 10000)
        c.fProcessBar1->setValue(int(vb::Fix(q)));
}
