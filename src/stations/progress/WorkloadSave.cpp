// Writing a progress report: the duplicate question, then the card's status, the report and, on
// an allot-all step, the automatic allotment row, all in one transaction.
#include "stations/progress/WorkloadSql.h"
#include "stations/progress/frmWorkload.h"

#include "db/DbError.h"
#include "db/Transaction.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"

#include <QDateTimeEdit>
#include <QDebug>
#include <QLineEdit>
#include <QTime>

using namespace Qt::StringLiterals;

WorkloadSql::Report frmWorkload::reportValues(const QString& card, const QString& step) const
{
    WorkloadSql::Report r;
    r.card = card;
    r.viewcount = WorkloadSql::numberOfField(TxtBox[2]->text());
    r.viewnumber = WorkloadSql::numberOfField(TxtBox[6]->text());
    r.step = step;
    r.remark = TxtBox[3]->text();
    r.worker = TxtBox[1]->text();
    // What 操作 时间 shows is what is stored.
    r.createdate = WorkloadSql::createDate(DTPicker1->date(), DTPicker1->time());
    r.machine = readMirel(u"menchineId"_s, u"%"_s);
    return r;
}

bool frmWorkload::saveReport()
{
    m_savedOffline = false;
    followClock();
    const QString card = TxtBox[0]->text();
    const QString step = selectedStep();
    // Reports that wait in the journal reach the database first, in the order they were made.
    if (Journal::queued())
        return saveReportOffline(card, step);
    try {
        Connection& conn = Database::conn();
        if (SysUtil::recordsetHasRows(SysUtil::openRecordset(conn, WorkloadSql::duplicateQuery(card, step)))
            && !MessageBox::question(u"这个进度已经保存过了，是否要重新保存?"_s, this))
            return false;
        Transaction trans(conn);
        // A card deleted in the office since it was looked up takes no report.
        conn.executeOnRow(WorkloadSql::updateBillStatus(card, step, DTPicker1->date()));
        const WorkloadSql::Report r = reportValues(card, step);
        conn.execute(WorkloadSql::insertReport(r));
        const QString notice =
            WorkloadSql::allotsAll(step) ? writeAllotRow(card, step, r.machine) : QString();
        trans.commit();
        // Told once the report is committed: nothing waits on the operator inside the transaction.
        if (!notice.isEmpty())
            MessageBox::show(notice, MessageBox::Information, MessageBox::Ok, QString(), this);
        return true;
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            return saveReportOffline(card, step);
        if (e.isRowMissing()) {
            // The statement is for whoever looks into it; the operator is told what happened.
            qWarning().noquote() << "progress report of a card gone from the database:" << e.message();
            MessageBox::critical(u"卡号 %1 已不在数据库中（已被删除），这条进度没有保存"_s.arg(card), this);
            return false;
        }
        MessageBox::show(e.message(), MessageBox::NoIcon, MessageBox::Ok, QString(), this);
        return false;
    } catch (const std::exception& e) {
        MessageBox::show(QString::fromUtf8(e.what()), MessageBox::NoIcon, MessageBox::Ok, QString(), this);
        return false;
    }
}

bool frmWorkload::saveReportOffline(const QString& card, const QString& step)
{
    // The allotment of an allot-all step is computed from the stock batches on the database at
    // the moment of the report; a journal record replayed later would allot another stock. Such
    // a report waits on the form until the database is back.
    if (WorkloadSql::allotsAll(step)) {
        MessageBox::critical(u"数据库离线：「%1」要按库存自动配布，必须连上数据库才能提交。"
                             "这条进度没有保存，数据库连上后请再按提交。"_s.arg(step),
                             this);
        return false;
    }
    // Offline the duplicate question cannot be asked (the reports are on the database); the
    // report is kept as a further row, as after a Yes.
    JournalRecord record =
        JournalRecord::create(SysUtil::stationKey(), u"进度 %1  卡号 %2"_s.arg(step, card));
    record.steps.append({WorkloadSql::updateBillStatus(card, step, DTPicker1->date()), false, true});
    record.steps.append({WorkloadSql::insertReport(reportValues(card, step))});
    m_savedOffline = Journal::keep(record, this);
    return m_savedOffline;
}

QString frmWorkload::writeAllotRow(const QString& card, const QString& step, const QString& machine)
{
    Connection& conn = Database::conn();
    Recordset lines = SysUtil::openRecordset(conn, WorkloadSql::allotLinesQuery(card));
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
    Recordset batch = SysUtil::openRecordset(
        conn, WorkloadSql::stockQuery(item, lines.text(u"stock"_s)));
    if (!SysUtil::recordsetHasRows(batch))
        return {};
    WorkloadSql::Report r = reportValues(card, step);
    r.viewcount = batch.text(u"itemcount"_s);
    r.viewnumber = batch.text(u"productionnumber"_s);
    r.remark = WorkloadSql::autoAllotRemark();
    r.machine = machine;
    conn.execute(WorkloadSql::insertReport(r));
    return {};
}
