// Statements of the quality overview. Every figure starts from one row per roll (the derived
// table "r"): its metres, its inspected area and the points and defects of its defect rows.
#include "stations/quality/QualitySql.h"

#include "stations/inspection/CheckGrading.h"

namespace QualitySql {

namespace {

// A frame with "显示码数" ticked counts in yards and stores 0.9144 in checkcount.
const QString metres =
    QStringLiteral("(case when a.checkcount = 0.9144 then a.onCount * 0.9144 else a.onCount end)");

// The width typed at the frame (item2, centimetres; 0 counts as 100 cm) times the metres. A roll
// whose width is not a number, or that has no length, counts 100 m², as the frame's grading
// counts it; the LIKE keeps texts such as "$" or "1e5" out of the cast on SQL Server.
QString area()
{
    return QStringLiteral(
               "(case when isnumeric(a.item2) = 1 and a.item2 not like '%[^0-9.]%' and ") +
           metres +
           QStringLiteral(" > 0 then (case when cast(a.item2 as float) = 0 then 100 else "
                          "cast(a.item2 as float) end) * ") +
           metres + QStringLiteral(" / 100 else 100 end)");
}

// Scoring switched off stores -1 points: no points. A defect recorded with count 0 is still one
// defect (the frame deducts its allowance once, too).
const QString points = QStringLiteral("(case when d.bugScore > 0 then d.bugScore else 0 end)");
const QString defects = QStringLiteral("(case when d.bugCount > 0 then d.bugCount else 1 end)");

// A frame keeps its section alerts with the roll as rows of no points: they mark a stretch, they
// are no defect of the cloth.
const QString noAlerts = QStringLiteral(" and isnull(d.bugName, '') <> '") +
                         QString::fromUtf16(CheckGrading::AlertRowName) + u'\'';

// The mark-label and fiber-box stations save their packages and boxes into the same table, always
// with a pallet number (empty when none was typed); the inspection frames leave it null. The
// packing table writes box numbers onto inspected rolls, always with the packing time.
const QString framesOnly = QStringLiteral(" and (a.bagnumber is null or a.bagTime is not null)");

QDateTime midnight(const QDate& d)
{
    return QDateTime(d, QTime(0, 0));
}

/// The WHERE of the filter's rolls (table alias a), with its values appended to params.
QString where(const Filter& f, QList<DbValue>& params)
{
    QString w = QStringLiteral(" where a.createDate >= ? and a.createDate < ?");
    const QDate first = f.day.isValid() ? f.day : f.from;
    const QDate last = f.day.isValid() ? f.day : f.to;
    params << DbValue(midnight(first)) << DbValue(midnight(last.addDays(1)));
    w += framesOnly;
    auto narrow = [&](const QString& value, const QString& condition, int markers = 1) {
        if (value.trimmed().isEmpty())
            return;
        w += condition;
        for (int i = 0; i < markers; ++i)
            params << DbValue(value.trimmed());
    };
    narrow(f.machine, QStringLiteral(" and a.machineId = ?"));
    narrow(f.card, QStringLiteral(" and a.billCode = ?"));
    narrow(f.item,
           QStringLiteral(" and a.itemid in (select f.itemid from item f where f.itemcode = ? or "
                          "f.itemname = ?)"),
           2);
    narrow(f.inspector, QStringLiteral(" and a.checkUsercode = ?"));
    narrow(f.grade, QStringLiteral(" and a.grade = ?"));
    narrow(f.defect, QStringLiteral(" and exists (select 1 from checkDetail x where x.checkId = "
                                    "a.id and x.bugName = ?)"));
    return w;
}

/// The sum of a measure over the defect rows of roll a: all of them, or those of the touched
/// defect, so that a touched defect counts that defect and not every defect of its rolls.
QString perRoll(const QString& measure, const Filter& f, QList<DbValue>& params)
{
    QString s = QStringLiteral("isnull((select sum(") + measure +
                QStringLiteral(") from checkDetail d where d.checkId = a.id") + noAlerts;
    if (!f.defect.trimmed().isEmpty()) {
        s += QStringLiteral(" and d.bugName = ?");
        params << DbValue(f.defect.trimmed());
    }
    return s + QStringLiteral("), 0)");
}

/// One row per roll of the filter.
QString rolls(const Filter& f, QList<DbValue>& params)
{
    QString s =
        QStringLiteral("(select a.id, a.createDate, a.machineId, a.checkUsercode, a.grade, ") +
        metres + QStringLiteral(" as metres, ") + area() + QStringLiteral(" as area, ");
    s += perRoll(points, f, params) + QStringLiteral(" as points, ");
    s += perRoll(defects, f, params) + QStringLiteral(" as defects from checkinfo a");
    return s + where(f, params) + QStringLiteral(") r");
}

// The sums every summary line has.
const QString sums = QStringLiteral(
    "count(*) as rolls, isnull(sum(r.metres), 0) as metres, isnull(sum(case when r.grade = ? "
    "then r.metres else 0 end), 0) as firstMetres, isnull(sum(r.area), 0) as area, "
    "isnull(sum(r.points), 0) as points, isnull(sum(r.defects), 0) as defects");

} // namespace

Filter previousRange(const Filter& f)
{
    Filter p = f;
    if (f.day.isValid())
        p.day = f.day.addDays(-1);
    const qint64 days = f.from.daysTo(f.to) + 1;
    p.to = f.from.addDays(-1);
    p.from = f.from.addDays(-days);
    return p;
}

Query figures(const Filter& f, const QString& firstGrade)
{
    Query q;
    q.params << DbValue(firstGrade);
    q.text = QStringLiteral("select ") + sums + QStringLiteral(" from ") + rolls(f, q.params);
    return q;
}

Query rollRows(const Filter& f, bool places)
{
    Query q;
    q.text = QStringLiteral("select a.id, a.grade, ") + metres + QStringLiteral(" as metres, ") +
             area() + QStringLiteral(" as area");
    if (places)
        q.text += QStringLiteral(", convert(varchar, a.createDate, 23) as day, a.machineId as "
                                 "machine, a.checkUsercode as inspector");
    q.text += QStringLiteral(" from checkinfo a") + where(f, q.params);
    return q;
}

const QString defectColumns = QStringLiteral("select d.checkId as roll, d.bugName as defect, ") +
                              defects + QStringLiteral(" as defects, ") + points +
                              QStringLiteral(" as points, d.bugPosition as start, isnull(d.bugEnd, "
                                             "0) as finish from ");

Query defectRows(const Filter& f)
{
    Query q;
    q.text = defectColumns + QStringLiteral("checkinfo a join checkDetail d on d.checkId = a.id") +
             where(f, q.params) + noAlerts;
    return q;
}

Query defectRowsOfIds(qint64 first, qint64 last)
{
    return {defectColumns + QStringLiteral("checkDetail d where d.checkId >= ? and d.checkId <= ?") +
                noAlerts,
            {DbValue(first), DbValue(last)}};
}

Query defectSumsOfIds(qint64 first, qint64 last)
{
    return {QStringLiteral("select isnull(sum(") + defects +
                QStringLiteral("), 0) as defects, isnull(sum(") + points +
                QStringLiteral("), 0) as points from checkDetail d where d.checkId >= ? and "
                               "d.checkId <= ?") +
                noAlerts,
            {DbValue(first), DbValue(last)}};
}

Query inspectorName(const QString& code)
{
    return {QStringLiteral("select top 1 isnull(u.username, '') as name from UserInfo u where "
                           "u.usercode = ?"),
            {DbValue(code)}};
}

Query pickValues(Filter f, bool machine)
{
    const QString column =
        machine ? QStringLiteral("a.machineId") : QStringLiteral("a.checkUsercode");
    (machine ? f.machine : f.inspector).clear();
    Query q;
    q.text = QStringLiteral("select distinct ") + column +
             QStringLiteral(" as value from checkinfo a") + where(f, q.params) +
             QStringLiteral(" and ") + column + QStringLiteral(" <> '' order by 1");
    return q;
}

} // namespace QualitySql
