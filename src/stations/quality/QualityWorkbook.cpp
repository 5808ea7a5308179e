// The overview's workbook sheets.
#include "stations/quality/QualityWorkbook.h"

#include "stations/quality/QualityText.h"

namespace QualityWorkbook {

QList<sheet::NamedSheet> sheets(const QualityData::Overview& o, const QDateTime& exported)
{
    // Numbers go in as numbers, so that the quality office can go on calculating with them, in
    // the formats the screen shows them in.
    auto number = [](std::optional<double> v, const QString& format) {
        return v ? QVariant::fromValue(sheet::FormattedNumber{*v, format}) : QVariant();
    };
    const QualitySql::Filter& f = o.filter;
    sheet::SheetTable figures{{QStringLiteral("指标"), QStringLiteral("本期"),
                               QStringLiteral("上期"), QStringLiteral("变化")},
                              {}};
    for (const QualityText::Figure& g : QualityText::figures(o.now, o.before, f.defect))
        figures.rows << QVariantList{g.caption, number(g.nowValue, g.format),
                                     number(g.beforeValue, g.format),
                                     number(g.changeValue, g.changeFormat)};
    // What the figures are of, so that a workbook passed on can be traced back to the screen.
    const QualitySql::Filter before = QualitySql::previousRange(f);
    figures.rows << QVariantList{}
                 << QVariantList{QStringLiteral("本期范围"), QualityText::rangeText(f)}
                 << QVariantList{QStringLiteral("上期范围"), before.day.isValid()
                                                                 ? before.day.toString(Qt::ISODate)
                                                                 : QualityText::rangeText(before)}
                 << QVariantList{QStringLiteral("筛选"), QualityText::narrowingText(f)}
                 << QVariantList{QStringLiteral("导出时间"), exported};
    sheet::SheetTable pareto{{QStringLiteral("疵点"), QStringLiteral("个数"),
                              QStringLiteral("扣分"), QStringLiteral("累计")},
                             {}};
    for (const QualityData::ParetoRow& r : o.pareto)
        pareto.rows << QVariantList{r.defect, r.defects,
                                    number(r.points, QualityText::numberFormat(1)),
                                    number(r.cumulative, QualityText::percentFormat())};
    QList<sheet::NamedSheet> tables{{QStringLiteral("汇总"), figures},
                                    {QStringLiteral("疵点"), pareto}};
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
        tables << sheet::NamedSheet(inspector ? QStringLiteral("验布员") : QStringLiteral("机台"),
                                    t);
    }
    return tables;
}

} // namespace QualityWorkbook
