// The grade setting, the figures of summed rolls and the Pareto's order.
#include "stations/quality/QualityData.h"

#include "db/Connection.h"
#include "grading/FourPoint.h"
#include "stations/inspection/CheckGrading.h"
#include "text/Vb.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace QualityData {

QString Grades::first() const
{
    return names.isEmpty() ? u"A品"_s : names.first();
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

double frameCap(const QString& scoring, const QString& capPerUnit)
{
    return scoring.trimmed().toUpper() == u"美标4分制" && CheckGrading::settingIsTrue(capPerUnit)
               ? FourPoint::Cap
               : 0;
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

QList<Picture> pictures(Connection& c, const QualitySql::Filter& filter, int count)
{
    QList<Picture> out;
    if (filter.defect.trimmed().isEmpty())
        return out;
    const QualitySql::Query q = QualitySql::defectPictures(filter, count);
    for (Recordset rs = c.execute(q.text, q.params); !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.text(1), rs.text(2), rs.field(3).toDouble(),
                    rs.field(4).toDateTime()});
    return out;
}

Totals totalsOf(const Recordset& rs)
{
    Totals t;
    t.rolls = rs.field(u"rolls"_s).toLongLong();
    t.metres = rs.number(u"metres"_s);
    t.firstMetres = rs.number(u"firstMetres"_s);
    t.area = rs.number(u"area"_s);
    t.points = rs.number(u"points"_s);
    t.defects = rs.number(u"defects"_s);
    return t;
}

} // namespace QualityData
