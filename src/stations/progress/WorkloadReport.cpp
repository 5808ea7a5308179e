#include "stations/progress/WorkloadReport.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Transaction.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

double round2(double x) { return std::round(x * 100) / 100; }

const QString Unchecked = u"离线：不能核对这个卡号已输入的工艺"_s;

} // namespace

CardView WorkloadReport::cardView(Recordset& rs)
{
    CardView v;
    if (!SysUtil::recordsetHasRows(rs))
        return v;
    v.found = true;
    for (; !rs.eof(); rs.moveNext()) {
        v.customer = u"客户："_s + rs.text(u"客户"_s) + u"  订单号："_s + rs.text(u"单号"_s)
            + u"  交期："_s + rs.text(u"交货日期"_s);
        v.work = u"加工方式："_s + rs.text(u"加工方式"_s) + u"  备注："_s + rs.text(u"备注"_s);
        // A card without a status yet shows the bare caption.
        v.status = u"状态："_s + rs.text(u"状态"_s);
        v.metres = rs.text(u"数量"_s);
        v.pieces = rs.text(u"匹数"_s);
    }
    return v;
}

StepChoice WorkloadReport::chooseStep(const QStringList& captions, int index, const QString& card,
                                      bool allowRepeat, const TotalOf& totalOf) const
{
    StepChoice c;
    if (index < 0 || index >= captions.size())
        return c;
    if (card.isEmpty() && captions.size() >= 2) {
        c.outcome = StepChoice::EmptyCard;
        return c;
    }
    // Offline, totals never kept here are unknown (""): the rules cannot be checked and the step
    // is taken as pressed; the replay writes the report as the operator gave it.
    if (m_cfg.orderInGroup && index > 0) {
        const QString before = captions[index - 1];
        const QString done = totalOf(before);
        if (!done.isEmpty() && round2(vb::Val(done)) == 0) {
            c.outcome = StepChoice::Refused;
            c.message = u"前面工艺["_s + before + u"]还没有输入"_s;
            return c;
        }
    }
    const QString reported = totalOf(captions[index]);
    const double total = round2(vb::Val(reported));
    c.outcome = StepChoice::Chosen;
    if (reported.isEmpty()) {
        c.message = Unchecked;
    } else if (!allowRepeat && total > 0) {
        c.outcome = StepChoice::Refused;
        c.message = u"这个工艺已经输入过"_s;
        c.frameTitle = captions[index] + u"工艺 已经输入 "_s + vb::CStr(total);
    }
    return c;
}

QString WorkloadReport::reportedTotal(Connection& conn, const QString& card, const QString& step)
{
    Recordset rs = SysUtil::openRecordset(conn, WorkloadSql::reportedTotalQuery(card, step));
    return SysUtil::recordsetHasRows(rs) ? vb::CStr(rs.field(0).toDouble()) : u"0"_s;
}

WorkerCardEntry WorkloadReport::workerCard(const QString& team, const QString& cardText,
                                           const QString& registeredCode, int steps)
{
    const QString w = cardText.trimmed();
    if (w.isEmpty())
        return {team}; // a blank card
    // A card registered to a worker stands for his code, whatever its text ends in.
    if (!registeredCode.isEmpty())
        return {withWorker(team, registeredCode)};
    // A card that ends in a step number reports that step at once.
    const int d = !w.back().isDigit() ? 0 : w.back().digitValue();
    if (d >= 1 && d <= steps)
        return {w.chopped(1), d - 1};
    return {withWorker(team, w)};
}

QString WorkloadReport::withWorker(const QString& team, const QString& code)
{
    // Several cards make a team: each worker once, without an empty code after the last.
    QStringList codes = team.split(u',', Qt::SkipEmptyParts);
    if (!codes.contains(code))
        codes << code;
    return codes.join(u',');
}

QString WorkloadReport::nameAmong(Recordset& workers, const QString& code)
{
    for (workers.moveFirst(); !workers.eof(); workers.moveNext())
        if (workers.text(0).trimmed().compare(code.trimmed(), Qt::CaseInsensitive) == 0)
            return workers.text(1);
    return QString();
}

std::optional<ReportProblem> WorkloadReport::validate(const ReportForm& form) const
{
    if (form.card.isEmpty())
        return ReportProblem{u"请扫描\\输入卡号"_s, WorkloadField::Card};
    // Scanned or typed over without a lookup: the figures are another card's.
    if (form.card != form.lookedUp)
        return ReportProblem{u"卡号已改，请先查询"_s, WorkloadField::Card};
    if (form.step.isEmpty())
        return ReportProblem{u"请点选其中一个工艺..."_s};
    if (form.worker.isEmpty())
        return ReportProblem{u"请扫描\\输入工号或班组号"_s, WorkloadField::Worker};
    return std::nullopt;
}

WorkloadSql::Report WorkloadReport::values(const ReportForm& form) const
{
    WorkloadSql::Report r;
    r.card = form.card;
    r.viewcount = WorkloadSql::numberOfField(form.metres);
    r.viewnumber = WorkloadSql::numberOfField(form.pieces);
    r.step = form.step;
    r.remark = form.remark;
    r.worker = form.worker;
    // What 操作 时间 shows is what is stored.
    r.createdate = WorkloadSql::createDate(form.date, form.time);
    r.machine = m_cfg.machineId;
    return r;
}

bool WorkloadReport::reportedBefore(Connection& conn, const QString& card, const QString& step)
{
    return SysUtil::recordsetHasRows(SysUtil::openRecordset(conn, WorkloadSql::duplicateQuery(card, step)));
}

QString WorkloadReport::save(Connection& conn, const ReportForm& form) const
{
    Transaction trans(conn);
    // A card deleted in the office since it was looked up takes no report.
    conn.executeOnRow(WorkloadSql::updateBillStatus(form.card, form.step, form.date));
    conn.execute(WorkloadSql::insertReport(values(form)));
    const QString notice = WorkloadSql::allotsAll(form.step) ? writeAllotRow(conn, form) : QString();
    trans.commit();
    return notice;
}

QString WorkloadReport::writeAllotRow(Connection& conn, const ReportForm& form) const
{
    Recordset lines = SysUtil::openRecordset(conn, WorkloadSql::allotLinesQuery(form.card));
    if (!SysUtil::recordsetHasRows(lines))
        return {};
    const double stock = lines.number(u"stock"_s);
    const QString item = lines.text(u"itemid"_s);
    if (stock <= 0) {
        // The customer has no default storeroom: the report stands, without the allotment.
        return u"公司的默认仓库没有设置,系统没有自动全部配完"_s;
    }
    if (item.isEmpty())
        return {}; // a card without lines has nothing to allot
    conn.execute(u"exec PeibuBatch "_s);
    Recordset batch = SysUtil::openRecordset(conn, WorkloadSql::stockQuery(item, lines.text(u"stock"_s)));
    if (!SysUtil::recordsetHasRows(batch))
        return {};
    WorkloadSql::Report r = values(form);
    r.viewcount = batch.text(u"itemcount"_s);
    r.viewnumber = batch.text(u"productionnumber"_s);
    r.remark = WorkloadSql::autoAllotRemark();
    conn.execute(WorkloadSql::insertReport(r));
    return {};
}

WorkloadReport::Kept WorkloadReport::keep(const ReportForm& form, const QString& station) const
{
    // The allotment of an allot-all step is computed from the stock batches on the database at
    // the moment of the report; a journal record replayed later would allot another stock. Such
    // a report waits on the form until the database is back.
    if (WorkloadSql::allotsAll(form.step))
        return {std::nullopt, u"数据库离线：「%1」要按库存自动配布，必须连上数据库才能提交。"
                              "这条进度没有保存，数据库连上后请再按提交。"_s.arg(form.step)};
    // Offline the duplicate question cannot be asked (the reports are on the database); the
    // report is kept as a further row, as after a Yes.
    JournalRecord record = JournalRecord::create(station, u"进度 %1  卡号 %2"_s.arg(form.step, form.card));
    record.steps.append({WorkloadSql::updateBillStatus(form.card, form.step, form.date), false, true});
    record.steps.append({WorkloadSql::insertReport(values(form))});
    return {record, QString()};
}

QString WorkloadReport::uncheckedMessage() { return Unchecked; }

QString WorkloadReport::cardGoneMessage(const QString& card)
{
    return u"卡号 %1 已不在数据库中（已被删除），这条进度没有保存"_s.arg(card);
}
