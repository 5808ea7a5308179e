// Statements of the quality overview. Every figure starts from one row per roll (the derived
// table "r"): its metres, its inspected area and the points and defects of its defect rows.
#include "stations/quality/QualitySql.h"

#include "stations/inspection/CheckGrading.h"

using namespace Qt::StringLiterals;

namespace QualitySql {

namespace {

// A frame with "显示码数" ticked counts in yards and stores 0.9144 in checkcount.
const QString metres =
    u"(case when a.checkcount = 0.9144 then a.onCount * 0.9144 else a.onCount end)"_s;

// The width typed at the frame (item2, centimetres; 0 counts as 100 cm) times the metres. A roll
// whose width is not a number, or that has no length, counts 100 m², as the frame's grading
// counts it; the LIKE keeps texts such as "$" or "1e5" out of the cast on SQL Server.
QString area()
{
    return u"(case when isnumeric(a.item2) = 1 and a.item2 not like '%[^0-9.]%' and "_s + metres +
           u" > 0 then (case when cast(a.item2 as float) = 0 then 100 else "
           "cast(a.item2 as float) end) * "_s +
           metres + u" / 100 else 100 end)"_s;
}

// Scoring switched off stores -1 points: no points. A defect recorded with count 0 is still one
// defect (the frame deducts its allowance once, too).
const QString points = u"(case when d.bugScore > 0 then d.bugScore else 0 end)"_s;
const QString defects = u"(case when d.bugCount > 0 then d.bugCount else 1 end)"_s;

// A frame keeps its section alerts with the roll as rows of no points: they mark a stretch, they
// are no defect of the cloth.
const QString noAlerts =
    u" and isnull(d.bugName, '') <> '"_s + QString::fromUtf16(CheckGrading::AlertRowName) + u'\'';

// The mark-label and fiber-box stations save their packages and boxes into the same table, always
// with a pallet number (empty when none was typed); the inspection frames leave it null. The
// packing table writes box numbers onto inspected rolls, always with the packing time.
const QString framesOnly = u" and (a.bagnumber is null or a.bagTime is not null)"_s;

QDateTime midnight(const QDate& d)
{
    return QDateTime(d, QTime(0, 0));
}

/// The WHERE of the filter's rolls (table alias a), with its values appended to params.
QString where(const Filter& f, QList<DbValue>& params)
{
    QString w = u" where a.createDate >= ? and a.createDate < ?"_s;
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
    narrow(f.machine, u" and a.machineId = ?"_s);
    narrow(f.card, u" and a.billCode = ?"_s);
    narrow(f.item,
           u" and a.itemid in (select f.itemid from item f where f.itemcode = ? or "
           "f.itemname = ?)"_s,
           2);
    narrow(f.inspector, u" and a.checkUsercode = ?"_s);
    narrow(f.grade, u" and a.grade = ?"_s);
    narrow(f.defect, u" and exists (select 1 from checkDetail x where x.checkId = "
                     "a.id and x.bugName = ?)"_s);
    return w;
}

/// The sum of a measure over the defect rows of roll a: all of them, or those of the touched
/// defect, so that a touched defect counts that defect and not every defect of its rolls.
QString perRoll(const QString& measure, const Filter& f, QList<DbValue>& params)
{
    QString s = u"isnull((select sum("_s + measure +
                u") from checkDetail d where d.checkId = a.id"_s + noAlerts;
    if (!f.defect.trimmed().isEmpty()) {
        s += u" and d.bugName = ?"_s;
        params << DbValue(f.defect.trimmed());
    }
    return s + u"), 0)"_s;
}

/// One row per roll of the filter.
QString rolls(const Filter& f, QList<DbValue>& params)
{
    QString s = u"(select a.id, a.createDate, a.machineId, a.checkUsercode, a.grade, "_s + metres +
                u" as metres, "_s + area() + u" as area, "_s;
    s += perRoll(points, f, params) + u" as points, "_s;
    s += perRoll(defects, f, params) + u" as defects from checkinfo a"_s;
    return s + where(f, params) + u") r"_s;
}

// The sums every summary line has.
const QString sums =
    u"count(*) as rolls, isnull(sum(r.metres), 0) as metres, isnull(sum(case when r.grade = ? "
    "then r.metres else 0 end), 0) as firstMetres, isnull(sum(r.area), 0) as area, "
    "isnull(sum(r.points), 0) as points, isnull(sum(r.defects), 0) as defects"_s;

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
    q.text = u"select "_s + sums + u" from "_s + rolls(f, q.params);
    return q;
}

Query rollRows(const Filter& f, bool places)
{
    Query q;
    q.text = u"select a.id, a.grade, "_s + metres + u" as metres, "_s + area() + u" as area"_s;
    if (places)
        q.text += u", convert(varchar, a.createDate, 23) as day, a.machineId as "
                  "machine, a.checkUsercode as inspector"_s;
    q.text += u" from checkinfo a"_s + where(f, q.params);
    return q;
}

const QString defectColumns = u"select d.checkId as roll, d.bugName as defect, "_s + defects +
                              u" as defects, "_s + points +
                              u" as points, d.bugPosition as start, isnull(d.bugEnd, "
                              "0) as finish from "_s;

Query defectRows(const Filter& f)
{
    Query q;
    q.text = defectColumns + u"checkinfo a join checkDetail d on d.checkId = a.id"_s +
             where(f, q.params) + noAlerts;
    return q;
}

Query defectRowsOfIds(qint64 first, qint64 last)
{
    return {defectColumns + u"checkDetail d where d.checkId >= ? and d.checkId <= ?"_s + noAlerts,
            {DbValue(first), DbValue(last)}};
}

Query defectSumsOfIds(qint64 first, qint64 last)
{
    return {u"select isnull(sum("_s + defects + u"), 0) as defects, isnull(sum("_s + points +
                u"), 0) as points from checkDetail d where d.checkId >= ? and "
                "d.checkId <= ?"_s +
                noAlerts,
            {DbValue(first), DbValue(last)}};
}

Query defectPictures(const Filter& f, int count)
{
    Query q;
    q.text = u"select top %1 p.fileName, a.billCode, a.checkCode, d.bugPosition, p.takenAt from "
             "checkDetailPhoto p join checkDetail d on d.id = p.detailId join checkinfo a on "
             "a.id = d.checkId"_s.arg(count) +
             where(f, q.params) + u" and d.bugName = ? order by p.takenAt desc, p.id desc"_s;
    q.params << DbValue(f.defect.trimmed());
    return q;
}

Query inspectorName(const QString& code)
{
    return {u"select top 1 isnull(u.username, '') as name from UserInfo u where "
            "u.usercode = ?"_s,
            {DbValue(code)}};
}

Query pickValues(Filter f, bool machine)
{
    const QString column = machine ? u"a.machineId"_s : u"a.checkUsercode"_s;
    (machine ? f.machine : f.inspector).clear();
    Query q;
    q.text = u"select distinct "_s + column + u" as value from checkinfo a"_s + where(f, q.params) +
             u" and "_s + column + u" <> '' order by 1"_s;
    return q;
}

} // namespace QualitySql
