// The overview's workbook sheets.
#include "stations/quality/QualityWorkbook.h"

#include "stations/quality/QualityText.h"

using namespace Qt::StringLiterals;

namespace QualityWorkbook {

QList<sheet::NamedSheet> sheets(const QualityData::Overview& o, const QDateTime& exported)
{
    // Numbers go in as numbers, so that the quality office can go on calculating with them, in
    // the formats the screen shows them in.
    auto number = [](std::optional<double> v, const QString& format) {
        return v ? QVariant::fromValue(sheet::FormattedNumber{*v, format}) : QVariant();
    };
    const QualitySql::Filter& f = o.filter;
    sheet::SheetTable figures{{u"指标"_s, u"本期"_s, u"上期"_s, u"变化"_s}, {}};
    for (const QualityText::Figure& g : QualityText::figures(o.now, o.before, f.defect))
        figures.rows << QVariantList{g.caption, number(g.nowValue, g.format),
                                     number(g.beforeValue, g.format),
                                     number(g.changeValue, g.changeFormat)};
    // What the figures are of, so that a workbook passed on can be traced back to the screen.
    const QualitySql::Filter before = QualitySql::previousRange(f);
    figures.rows << QVariantList{} << QVariantList{u"本期范围"_s, QualityText::rangeText(f)}
                 << QVariantList{u"上期范围"_s, before.day.isValid()
                                                    ? before.day.toString(Qt::ISODate)
                                                    : QualityText::rangeText(before)}
                 << QVariantList{u"筛选"_s, QualityText::narrowingText(f)}
                 << QVariantList{u"导出时间"_s, exported};
    sheet::SheetTable pareto{{u"疵点"_s, u"个数"_s, u"扣分"_s, u"累计"_s}, {}};
    for (const QualityData::ParetoRow& r : o.pareto)
        pareto.rows << QVariantList{r.defect, r.defects,
                                    number(r.points, QualityText::numberFormat(1)),
                                    number(r.cumulative, QualityText::percentFormat())};
    QList<sheet::NamedSheet> tables{{u"汇总"_s, figures}, {u"疵点"_s, pareto}};
    for (bool inspector : {false, true}) {
        sheet::SheetTable t{QualityText::groupHeader(inspector, f.defect), {}};
        for (const QualityData::Group& g : inspector ? o.inspectors : o.machines) {
            QVariantList row{g.key};
            if (inspector)
                row << g.name;
            row << g.totals.rolls << number(g.totals.metres, QualityText::numberFormat(1))
                << number(g.totals.firstShare(), QualityText::percentFormat())
                << number(g.totals.pointsPer100m2(), QualityText::numberFormat(1))
                << number(g.totals.defectsPer100m(), QualityText::numberFormat(2));
            t.rows << row;
        }
        tables << sheet::NamedSheet(inspector ? u"验布员"_s : u"机台"_s, t);
    }
    return tables;
}

} // namespace QualityWorkbook
