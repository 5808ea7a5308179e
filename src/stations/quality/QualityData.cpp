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

QList<ParetoRow> pareto(QList<ParetoRow> rows)
{
    const bool scored =
        std::any_of(rows.begin(), rows.end(), [](const ParetoRow& r) { return r.points > 0; });
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

Recordset run(Connection& c, const QualitySql::Query& q)
{
    return c.execute(q.text, q.params);
}

// One row of the summary: a day, machine, inspector and grade with its sums.
struct Cell {
    QDate day;
    QString machine;
    QString inspector;
    QString name;
    QString grade;
    Totals totals;
};

QList<Cell> cells(Connection& c, const QualitySql::Filter& f, const QString& first)
{
    QList<Cell> out;
    for (Recordset rs = run(c, QualitySql::summary(f)); !rs.eof(); rs.moveNext()) {
        Cell cell{QDate::fromString(rs.text(QStringLiteral("day")), Qt::ISODate),
                  rs.text(QStringLiteral("machine")),
                  rs.text(QStringLiteral("inspector")),
                  rs.text(QStringLiteral("name")),
                  rs.text(QStringLiteral("grade")),
                  {}};
        cell.totals.rolls = rs.field(QStringLiteral("rolls")).toLongLong();
        cell.totals.metres = rs.number(QStringLiteral("metres"));
        cell.totals.firstMetres = cell.grade == first ? cell.totals.metres : 0;
        cell.totals.area = rs.number(QStringLiteral("area"));
        cell.totals.points = rs.number(QStringLiteral("points"));
        cell.totals.defects = rs.number(QStringLiteral("defects"));
        out << cell;
    }
    return out;
}

void add(Totals& t, const Totals& more)
{
    t.rolls += more.rolls;
    t.metres += more.metres;
    t.firstMetres += more.firstMetres;
    t.area += more.area;
    t.points += more.points;
    t.defects += more.defects;
}

// Adds a cell to the group of its key, keeping the groups in key order.
void addTo(QList<Group>& groups, const QString& key, const QString& name, const Totals& t)
{
    auto it = std::lower_bound(groups.begin(), groups.end(), key,
                               [](const Group& g, const QString& k) { return g.key < k; });
    if (it == groups.end() || it->key != key)
        it = groups.insert(it, Group{key, name, {}});
    add(it->totals, t);
}

} // namespace

Overview load(Connection& c, const QualitySql::Filter& filter, const Grades& grades)
{
    Overview o;
    o.filter = filter;
    o.gradeNames = grades.names.isEmpty() ? QStringList{grades.first()} : grades.names;
    const QString first = grades.first();
    o.before = totalsOf(run(c, QualitySql::figures(QualitySql::previousRange(filter), first)));

    // The Pareto keeps its own touched defect out, so that its other bars stay to be touched.
    QualitySql::Filter paretoFilter = filter;
    paretoFilter.defect.clear();
    QList<ParetoRow> rows;
    for (Recordset rs = run(c, QualitySql::pareto(paretoFilter)); !rs.eof(); rs.moveNext())
        rows << ParetoRow{rs.text(QStringLiteral("defect")), rs.number(QStringLiteral("defects")),
                          rs.number(QStringLiteral("points")), 0};
    o.pareto = pareto(rows);

    // The rest comes from one pass over the rolls, summed here: the grade bars show every day
    // and grade, the points per day every day of the touched grade, the figures and tables only
    // the touched day and grade.
    QualitySql::Filter summaryFilter = filter;
    summaryFilter.day = QDate();
    summaryFilter.grade.clear();
    const QList<Cell> all = cells(c, summaryFilter, first);
    for (const Cell& cell : all)
        if (!o.gradeNames.contains(cell.grade))
            o.gradeNames << cell.grade;
    for (QDate d = filter.from; d.isValid() && d <= filter.to; d = d.addDays(1))
        o.days << Day{d, QList<qint64>(o.gradeNames.size(), 0), 0, 0};
    for (const Cell& cell : all) {
        const qint64 day = filter.from.daysTo(cell.day);
        const bool gradeTouched = filter.grade.isEmpty() || cell.grade == filter.grade;
        if (day >= 0 && day < o.days.size()) {
            o.days[day].rollsPerGrade[o.gradeNames.indexOf(cell.grade)] += cell.totals.rolls;
            if (gradeTouched) {
                o.days[day].area += cell.totals.area;
                o.days[day].points += cell.totals.points;
            }
        }
        if (!gradeTouched || (filter.day.isValid() && cell.day != filter.day))
            continue;
        add(o.now, cell.totals);
        addTo(o.machines, cell.machine, QString(), cell.totals);
        addTo(o.inspectors, cell.inspector, cell.name, cell.totals);
    }
    return o;
}

} // namespace QualityData
