// Runs the quality statements and turns their rows into the overview's values.
#include "stations/quality/QualityData.h"

#include "db/Connection.h"
#include "text/Vb.h"

#include <algorithm>

namespace QualityData {

QString Grades::first() const
{
    return names.isEmpty() ? QStringLiteral("A品") : names.first();
}

Grades parseGrades(const QString& setting)
{
    Grades g;
    for (const QString& item : vb::listItems(setting)) {
        const QStringList parts = item.split(u'^');
        if (parts[0].trimmed().isEmpty())
            continue;
        g.names << parts[0].trimmed();
        const QString limit = parts.value(1).trimmed();
        g.limits << (vb::IsNumeric(limit) ? std::optional<double>(vb::Val(limit)) : std::nullopt);
    }
    return g;
}

std::optional<double> Totals::firstShare() const
{
    return metres > 0 ? std::optional<double>(firstMetres / metres) : std::nullopt;
}

std::optional<double> Totals::pointsPer100m2() const
{
    return area > 0 ? std::optional<double>(points * 100 / area) : std::nullopt;
}

std::optional<double> Totals::defectsPer100m() const
{
    return metres > 0 ? std::optional<double>(defects * 100 / metres) : std::nullopt;
}

std::optional<double> Day::pointsPer100m2() const
{
    return area > 0 ? std::optional<double>(points * 100 / area) : std::nullopt;
}

QList<ParetoRow> pareto(QList<ParetoRow> rows)
{
    const bool scored = std::any_of(rows.begin(), rows.end(), [](const ParetoRow& r) { return r.points > 0; });
    auto measure = [scored](const ParetoRow& r) { return scored ? r.points : r.defects; };
    std::stable_sort(rows.begin(), rows.end(), [&](const ParetoRow& a, const ParetoRow& b) {
        if (measure(a) != measure(b))
            return measure(a) > measure(b);
        return a.defects > b.defects;
    });
    double total = 0;
    for (const ParetoRow& r : rows)
        total += measure(r);
    double running = 0;
    for (ParetoRow& r : rows) {
        running += measure(r);
        r.cumulative = total > 0 ? running / total : 0;
    }
    return rows;
}

Totals totalsOf(const Recordset& rs)
{
    Totals t;
    t.rolls = rs.field(QStringLiteral("rolls")).toLongLong();
    t.metres = rs.number(QStringLiteral("metres"));
    t.firstMetres = rs.number(QStringLiteral("firstMetres"));
    t.area = rs.number(QStringLiteral("area"));
    t.points = rs.number(QStringLiteral("points"));
    t.defects = rs.number(QStringLiteral("defects"));
    return t;
}

namespace {

Recordset run(Connection& c, const QualitySql::Query& q) { return c.execute(q.text, q.params); }

QList<Group> groups(Connection& c, const QualitySql::Query& q, const QString& keyColumn)
{
    QList<Group> out;
    for (Recordset rs = run(c, q); !rs.eof(); rs.moveNext())
        out << Group{rs.text(keyColumn),
                     rs.hasField(QStringLiteral("name")) ? rs.text(QStringLiteral("name")) : QString(),
                     totalsOf(rs)};
    return out;
}

void readDays(Connection& c, Overview& o, const QualitySql::Filter& gradeFilter,
              const QualitySql::Filter& pointsFilter)
{
    const QualitySql::Filter& f = o.filter;
    for (QDate d = f.from; d <= f.to; d = d.addDays(1))
        o.days << Day{d, {}, 0, 0};
    auto dayIndex = [&](const QString& text) {
        const qint64 i = f.from.daysTo(QDate::fromString(text, Qt::ISODate));
        return i >= 0 && i < o.days.size() ? int(i) : -1;
    };
    QList<std::pair<int, std::pair<QString, qint64>>> counts;
    for (Recordset rs = run(c, QualitySql::gradesPerDay(gradeFilter)); !rs.eof(); rs.moveNext()) {
        const QString grade = rs.text(QStringLiteral("grade"));
        if (!o.gradeNames.contains(grade))
            o.gradeNames << grade;
        counts.append({dayIndex(rs.text(QStringLiteral("day"))),
                       {grade, rs.field(QStringLiteral("rolls")).toLongLong()}});
    }
    for (Day& d : o.days)
        d.rollsPerGrade = QList<qint64>(o.gradeNames.size(), 0);
    for (const auto& [day, gradeRolls] : counts) {
        if (day >= 0)
            o.days[day].rollsPerGrade[o.gradeNames.indexOf(gradeRolls.first)] += gradeRolls.second;
    }
    for (Recordset rs = run(c, QualitySql::pointsPerDay(pointsFilter)); !rs.eof(); rs.moveNext()) {
        const int day = dayIndex(rs.text(QStringLiteral("day")));
        if (day >= 0) {
            o.days[day].area = rs.number(QStringLiteral("area"));
            o.days[day].points = rs.number(QStringLiteral("points"));
        }
    }
}

} // namespace

Overview load(Connection& c, const QualitySql::Filter& filter, const Grades& grades)
{
    Overview o;
    o.filter = filter;
    o.gradeNames = grades.names.isEmpty() ? QStringList{grades.first()} : grades.names;
    const QString first = grades.first();
    Recordset rs = run(c, QualitySql::figures(filter, first));
    o.now = totalsOf(rs);
    rs = run(c, QualitySql::figures(QualitySql::previousRange(filter), first));
    o.before = totalsOf(rs);

    // Each chart keeps its own touched bar out of its own query, so that the other bars stay
    // to be touched: the Pareto all defects, the grade bars every day and grade.
    QualitySql::Filter paretoFilter = filter;
    paretoFilter.defect.clear();
    QList<ParetoRow> rows;
    for (rs = run(c, QualitySql::pareto(paretoFilter)); !rs.eof(); rs.moveNext())
        rows << ParetoRow{rs.text(QStringLiteral("defect")), rs.number(QStringLiteral("defects")),
                          rs.number(QStringLiteral("points")), 0};
    o.pareto = pareto(rows);

    QualitySql::Filter gradeFilter = filter;
    gradeFilter.day = QDate();
    gradeFilter.grade.clear();
    QualitySql::Filter pointsFilter = filter;
    pointsFilter.day = QDate();
    readDays(c, o, gradeFilter, pointsFilter);

    o.machines = groups(c, QualitySql::perMachine(filter, first), QStringLiteral("machine"));
    o.inspectors = groups(c, QualitySql::perInspector(filter, first), QStringLiteral("inspector"));
    return o;
}

} // namespace QualityData
