// Roll entry of the inspection station: a new roll, roll numbers, validation, the save in one
// transaction, reopening a saved roll, and the reactions of the worker, weight and quantity fields.
#include "stations/inspection/frmCheck.h"
#include "time/Clock.h"

#include "devices/InspectionDevices.h"
#include "config/MirelIni.h"
#include "db/Transaction.h"
#include "script/VbScript.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/StockPosting.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/CheckGrading.h"
#include "text/Vb.h"
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

namespace {

// The grid's position of a saved defect: as stored, or "起-止" for a long one. Databases made
// before the end column existed have point defects only.
QString defectPosition(const Recordset& d)
{
    const double start = d.number(QStringLiteral("bugPosition"));
    const double end =
        d.hasField(QStringLiteral("bugEnd")) ? d.number(QStringLiteral("bugEnd")) : 0;
    return end > start ? CheckGrading::spanText(start, end) : d.text(QStringLiteral("bugPosition"));
}

// Formula placeholders and the fields whose numbers replace them.
const std::pair<const char16_t*, int> FormulaFields[] = {
    {u"[重量]", CheckField::Weight}, {u"[系数]", CheckField::Factor}, {u"[加减]", CheckField::PlusMinus}, {u"[备3]", CheckField::Spare3}, {u"[备4]", CheckField::Spare4}, {u"[备5]", CheckField::Spare5},
    {u"[备6]", CheckField::Spare6}, {u"[备A]", CheckField::SpareA},  {u"[备B]", CheckField::SpareB}, {u"[备C]", CheckField::SpareC}, {u"[备D]", CheckField::SpareD},
};

} // namespace

QList<std::pair<QString, int>> frmCheck::formulaFields()
{
    QList<std::pair<QString, int>> fields;
    for (const auto& [name, field] : FormulaFields)
        fields.append({QString::fromUtf16(name), field});
    return fields;
}

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

QString frmCheck::rollNumberCondition() const
{
    return CheckSql::rollNumberCondition(m_cfg.codeType,
                                         tagOf(c.BillDetailId), c.TxtBox[CheckField::DyeLot]->text(),
                                         c.BillDetailId->text());
}

void frmCheck::assignRollNumber()
{
    const QString& rule = m_cfg.codeDesc;
    const QString& codeLen = m_cfg.codeLen;
    if (rule == u"0") {
        try {
            m_numberScope = rollNumberCondition();
            QString code =
                SysUtil::nextCode(Database::conn(), QStringLiteral("checkInfo"),
                                  QStringLiteral("checkCode"), int(codeLen.size()), m_numberScope);
            // Rolls saved offline and not yet sent hold numbers the database does not know.
            if (savesOffline() && Journal::status()->pending() > 0)
                code = Journal::nextOfflineNumber(numberScope(), code);
            c.TxtBox[CheckField::RollNumber]->setText(code);
        } catch (const DbError& e) {
            if (!Journal::isOffline(e) || !savesOffline()) {
                setStatus(e.message());
                return;
            }
            try {
                // Offline: the frame goes on from the number it had reserved.
                c.TxtBox[CheckField::RollNumber]->setText(
                    Journal::nextOfflineNumber(numberScope(), c.TxtBox[CheckField::RollNumber]->text()));
            } catch (const DbError& journal) {
                setStatus(journal.message());
            }
        }
        return;
    }
    c.TxtBox[CheckField::RollNumber]->setText(vb::Format(vb::Val(c.TxtBox[CheckField::RollNumber]->text()) + vb::Val(rule), codeLen));
}

void frmCheck::numberScopeChanged()
{
    if (vb::Val(c.checkId->text()) == 0 &&
        m_cfg.codeDesc == u"0" &&
        rollNumberCondition() != m_numberScope)
        assignRollNumber();
}

bool frmCheck::validateCardOrLine()
{
    if (!m_cfg.cardOptional
        && vb::Val(c.BillDetailId->text()) <= 0) {
        setStatus(QStringLiteral("请输入有效的卡号 或 选择好对应的颜色"));
        c.TxtBox[CheckField::Card]->setFocus();
        return false;
    }
    return true;
}

bool frmCheck::validateRoll()
{
    runCommand(CheckCmd::Recompute);
    if (!validateCardOrLine())
        return false;
    const QStringList items = m_cfg.requiredFields.split(u';');
    for (qsizetype i = 0; i + 1 < items.size(); ++i) {
        const QString item = items[i].trimmed();
        if (item == u"11,gradeBtn") {
            if (currentGrade().isEmpty()) {
                setStatus(QStringLiteral("等级没有选择。"));
                return false;
            }
            continue;
        }
        const QStringList parts = item.split(u',');
        const int lab = int(vb::Val(parts.value(0)));
        const int txt = int(vb::Val(parts.value(1)));
        if (parts.size() != 2 || txt < 0 || txt >= c.TxtBox.size() || !c.TxtBox[txt])
            continue; // an entry for a field this station does not have
        const QString v = c.TxtBox[txt]->text().trimmed();
        if (v.isEmpty() || ((txt == 7 || txt == 14) && vb::Val(v) <= 0)) {
            const QLabel* caption = lab >= 0 && lab < c.LabBox.size() ? c.LabBox[lab] : nullptr;
            setStatus((caption ? caption->text() : QString()) + QStringLiteral(",没有输入。"));
            c.TxtBox[txt]->setFocus();
            return false;
        }
    }
    if (!confirmCounterLength())
        return false;
    return validateExtra();
}

QString frmCheck::item5For(const QString& checkCode) const
{
    const QString line = vb::sqlNumber(vb::Val(c.BillDetailId->text()));
    Recordset rs = Journal::cachedRead(QStringLiteral("item5"), line, CheckSql::item5Lookup(line));
    if (!SysUtil::recordsetHasRows(rs))
        return QString();
    return vb::CStr(vb::Val(checkCode) + rs.field(QStringLiteral("backitem2")).toDouble()).trimmed();
}

CheckSql::Roll frmCheck::rollValues() const
{
    CheckSql::Roll r;
    r.billCode = c.TxtBox[CheckField::Card]->text();
    r.checkCode = c.TxtBox[CheckField::RollNumber]->text();
    r.taskno = c.TxtBox[CheckField::DyeLot]->text();
    r.patchCount = vb::Val(c.TxtBox[CheckField::PlusMinus]->text());
    r.onCount = vb::Val(c.TxtBox[CheckField::Quantity]->text()) + r.patchCount;
    r.checkCount = c.isMashu->isChecked() ? 0.9144 : 1;
    r.billDetailId = vb::Val(c.BillDetailId->text());
    r.itemId = vb::Val(tagOf(c.BillDetailId));
    r.grade = currentGrade();
    // item1..item13 (item5 is computed).
    const int itemFields[14] = {-1, CheckField::GramWeight, CheckField::Style, CheckField::Spare3,
                                CheckField::Spare4, -1, CheckField::Spare5, CheckField::Spare6,
                                CheckField::ItemName, CheckField::Color, CheckField::SpareA,
                                CheckField::SpareB, CheckField::SpareC, CheckField::SpareD};
    for (int i = 1; i <= 13; ++i)
        if (itemFields[i] >= 0 && c.TxtBox[itemFields[i]])
            r.items[i] = c.TxtBox[itemFields[i]]->text();
    r.cutCount = vb::Val(c.TxtBox[CheckField::Weight]->text());
    r.userCode = c.TxtBox[CheckField::Worker]->text();
    r.remark = c.Text1->text();
    r.machineId = m_cfg.machineId;
    r.today = Clock::todayText();
    return r;
}

long long frmCheck::saveRoll(bool refreshTotals)
{
    // A reopened roll that cannot be saved stays as it is on screen: the counter must not
    // write the length of the roll now on the frame over it.
    const bool wasPolling = polling();
    setPolling(true);
    QString stockError;
    long long id = 0;
    m_renumbered.clear();
    // While rolls wait in the journal, the next ones follow them there: they reach the
    // database in the order they were saved, and the window never waits for a server that is
    // still coming back.
    if (savesOffline() && Journal::status()->pending() > 0)
        return saveRollOffline();
    try {
        Connection& conn = Database::conn();
        Transaction tx(conn);
        beforeSave();
        id = qint64(vb::Val(c.checkId->text()));
        double oldQuantity = 0;
        if (id > 0) {
            conn.execute(CheckSql::deleteDefects(id));
            oldQuantity = conn.execute(CheckSql::oldQuantity(id)).field(0).toDouble();
            CheckSql::Roll r = rollValues();
            r.items[5] = item5For(r.checkCode);
            // Another station may have deleted the roll since it was opened here.
            conn.executeOnRow(updateStatement(r, id));
        } else {
            // Another station may have saved the proposed number meanwhile; a number still free
            // is kept, so the roll gets the number the inspector saw. A number proposed for
            // another card line or article is not this roll's: it would leave a gap.
            const bool numbered = m_cfg.codeDesc == u"0";
            const QString shown = c.TxtBox[CheckField::RollNumber]->text();
            if (numbered
                && (c.TxtBox[CheckField::RollNumber]->text().isEmpty() || rollNumberCondition() != m_numberScope
                    || conn.execute(CheckSql::rollNumberTaken(c.TxtBox[CheckField::RollNumber]->text(), rollNumberCondition()))
                               .field(0).toLongLong() > 0))
                assignRollNumber();
            CheckSql::Roll r = rollValues();
            r.items[5] = item5For(r.checkCode);
            // One batch, so that SQL Server returns the identity of this insert.
            Recordset rs = conn.execute(insertStatement(r) + QStringLiteral(";") + CheckSql::lastIdentity());
            id = rs.field(0).toLongLong();
            // The operator saw the number on the form; once the form moves on it is gone.
            if (!shown.isEmpty() && r.checkCode != shown)
                m_renumbered = c.TxtBox[CheckField::RollNumber]->accessibleName() + QStringLiteral("已改：") + shown
                               + QStringLiteral(" → ") + r.checkCode;
            if (numbered)
                SysUtil::codeSaved(conn, QStringLiteral("checkInfo"), QStringLiteral("checkCode"),
                                   rollNumberCondition(), r.checkCode);
        }
        for (const QStringList& row : defectRows())
            conn.execute(CheckSql::insertDefect(id, row, Clock::todayText()));
        if (m_cfg.postToStock)
            stockError = stockPost(id, rollValues().onCount - oldQuantity);
        tx.commit();
    } catch (const DbError& e) {
        if (Journal::isOffline(e) && savesOffline())
            return saveRollOffline();
        // Rolled back; everything typed stays on the form, the operator saves again.
        setPolling(wasPolling);
        if (e.isRowMissing())
            rollWasDeleted();
        MessageBox::critical(
            e.isRowMissing() ? rowDeletedMessage(c.TxtBox[CheckField::RollNumber]->text()) : e.message(), this);
        return 0;
    }
    if (!stockError.isEmpty())
        MessageBox::show(QStringLiteral("error"), MessageBox::Critical); // the roll stays saved
    if (refreshTotals)
        showTotals(qint64(vb::Val(c.BillDetailId->text())));
    emit rollSaved(id);
    return id;
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
        QList<QStringList> rows;
        Recordset d = SysUtil::openRecordset(Database::conn(), CheckSql::loadDefects(id));
        for (d.moveFirst(); !d.eof(); d.moveNext())
            rows << QStringList{QString(),
                                d.text(QStringLiteral("bugName")),
                                defectPosition(d),
                                d.text(QStringLiteral("bugCount")),
                                d.text(QStringLiteral("bugScore")),
                                d.text(QStringLiteral("checkCode")),
                                d.text(QStringLiteral("remark"))};
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
    c.TxtBox[CheckField::DyeLot]->setText(rs.text(QStringLiteral("taskNo")));
    c.checkId->setText(rs.text(QStringLiteral("id")));
    c.TxtBox[CheckField::RollNumber]->setText(rs.text(QStringLiteral("checkcode")));
    const QString format = m_cfg.dispFormat;
    c.TxtBox[CheckField::Quantity]->setText(vb::CStr(rs.number(QStringLiteral("oncount")) - rs.number(QStringLiteral("patchcount"))));
    c.TxtBox[CheckField::Weight]->setText(rs.text(QStringLiteral("cutcount")));
    c.TxtBox[CheckField::PlusMinus]->setText(rs.text(QStringLiteral("patchcount")));
    const std::pair<const char*, int> items[] = {{"item3", CheckField::Spare3}, {"item4", CheckField::Spare4}, {"item6", CheckField::Spare5},
                                                 {"item7", CheckField::Spare6}, {"item8", CheckField::ItemName}, {"item9", CheckField::Color},
                                                 {"item10", CheckField::SpareA}, {"item11", CheckField::SpareB}, {"item12", CheckField::SpareC},
                                                 {"item13", CheckField::SpareD}, {"item1", CheckField::GramWeight}, {"item2", CheckField::Style}};
    for (const auto& [column, field] : items)
        c.TxtBox[field]->setText(rs.text(QString::fromLatin1(column)));
    c.TxtBox[CheckField::Card]->setText(rs.text(QStringLiteral("billcode")));
    c.TxtBox[CheckField::Worker]->setText(rs.text(QStringLiteral("checkUsercode")));
    c.Text1->setText(rs.text(QStringLiteral("remark")));
    c.isMashu->setChecked(qAbs(rs.number(QStringLiteral("checkcount")) - 0.9144) < 1e-9);
    selectGrade(rs.text(QStringLiteral("grade")));
    Q_UNUSED(format);
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
    // A cleared weight (a cleared form) weighs nothing: the quantity stays as it is.
    if (m_fillingRoll || !m_cfg.clearQuantity ||
        c.TxtBox[CheckField::Weight]->text().trimmed().isEmpty())
        return;
    QString formula = m_cfg.quantityFormula;
    if (formula.isEmpty())
        formula = QStringLiteral("[重量] * [系数]");
    QList<std::pair<QString, double>> values;
    for (const auto& [name, field] : formulaFields()) {
        // An empty input is not 0: the quantity on screen stays until the formula is complete.
        if (formula.contains(name) && c.TxtBox[field]->text().trimmed().isEmpty()) {
            sayFormulaProblem(formula, QStringLiteral("数量公式缺少") + name);
            return;
        }
        values.append({name, vb::Val(c.TxtBox[field]->text())});
    }
    double quantity = 0;
    QString error;
    if (!script::evalNumber(script::fillPlaceholders(formula, values), &quantity, &error)) {
        sayFormulaProblem(formula, QStringLiteral("数量公式错误：") + error);
        return;
    }
    m_formulaSaid.clear();
    c.TxtBox[CheckField::Quantity]->setText(vb::Format(quantity, m_cfg.dispFormat));
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
    for (const auto& [name, field] : formulaFields())
        if (formula.contains(name) && c.TxtBox[field]->text().trimmed().isEmpty())
            return;
    m_formulaSaid.clear();
    setStatus(QString());
}

void frmCheck::onQuantityChanged()
{
    const double q = vb::Val(c.TxtBox[CheckField::Quantity]->text());
    if (q < 10000)
        progressSetValue(vb::Fix(q));
}

QString frmCheck::stockPost(long long id, double difference)
{
    QString error;
    if (!StockPosting::postRoll(Database::conn(), id, difference, &error) && error.isEmpty())
        error = QStringLiteral("error");
    return error;
}

void frmCheck::progressSetMax(double max) { c.fProcessBar1->setMax(max); }
void frmCheck::progressAddBug(double count) { c.fProcessBar1->addBug(int(vb::CInt(count))); }
void frmCheck::progressAddMen(const QString& userCode, double count)
{
    c.fProcessBar1->addMen(userCode, count);
}
void frmCheck::progressSetValue(double value) { c.fProcessBar1->setValue(int(value)); }
