// Number texts of the quality overview.
#include "stations/quality/QualityText.h"

#include <cmath>

namespace QualityText {

namespace {

const QString none = QStringLiteral("—");

QString fixed(std::optional<double> v, int decimals)
{
    return v ? QString::number(*v, 'f', decimals) : none;
}

QString percent(std::optional<double> share)
{
    return share ? QString::number(*share * 100, 'f', 1) + u'%' : none;
}

QString signedText(double d, int decimals, const QString& unit)
{
    const QString digits = QString::number(d, 'f', decimals);
    // A change that rounds to nothing is shown without a sign.
    if (digits.toDouble() == 0)
        return QString::number(0.0, 'f', decimals) + unit;
    return (d > 0 ? QStringLiteral("+") : QString()) + digits + unit;
}

// The colour follows the change as shown: one that rounds to "0.0" is no change.
int verdictOf(double change, int decimals, int goodDirection)
{
    if (QString::number(change, 'f', decimals).toDouble() == 0 || goodDirection == 0)
        return 0;
    return change > 0 ? goodDirection : -goodDirection;
}

// Rolls and metres change by a share of what they were.
Figure relative(const QString& caption, double now, double before, int decimals)
{
    Figure f{caption, QString::number(now, 'f', decimals), QString::number(before, 'f', decimals),
             none, 0};
    if (before > 0)
        f.change = signedText((now - before) * 100 / before, 1, QStringLiteral("%"));
    return f;
}

// Rates change by their difference.
Figure absolute(const QString& caption, std::optional<double> now, std::optional<double> before,
                int decimals, int goodDirection)
{
    Figure f{caption, fixed(now, decimals), fixed(before, decimals), none, 0};
    if (now && before) {
        f.change = signedText(*now - *before, decimals, QString());
        f.verdict = verdictOf(*now - *before, decimals, goodDirection);
    }
    return f;
}

} // namespace

QString counted(const QString& caption, const QString& defect)
{
    return defect.isEmpty() ? caption
                            : caption + QStringLiteral("（") + defect + QStringLiteral("）");
}

QList<Figure> figures(const QualityData::Totals& now, const QualityData::Totals& before,
                      const QString& defect)
{
    QList<Figure> out;
    out << relative(QStringLiteral("卷数"), double(now.rolls), double(before.rolls), 0);
    out << relative(QStringLiteral("米数"), now.metres, before.metres, 1);
    Figure share{QStringLiteral("一等品率"), percent(now.firstShare()),
                 percent(before.firstShare()), none, 0};
    if (now.firstShare() && before.firstShare()) {
        const double points = (*now.firstShare() - *before.firstShare()) * 100;
        share.change = signedText(points, 1, QStringLiteral("个百分点"));
        share.verdict = verdictOf(points, 1, +1);
    }
    out << share;
    out << absolute(counted(QStringLiteral("百平米扣分"), defect), now.pointsPer100m2(),
                    before.pointsPer100m2(), 1, -1);
    out << absolute(counted(QStringLiteral("百米疵点"), defect), now.defectsPer100m(),
                    before.defectsPer100m(), 2, -1);
    return out;
}

QStringList groupHeader(bool inspector, const QString& defect)
{
    QStringList h;
    if (inspector)
        h << QStringLiteral("工号") << QStringLiteral("验布员");
    else
        h << QStringLiteral("机台");
    h << QStringLiteral("卷数") << QStringLiteral("米数") << QStringLiteral("一等品率")
      << counted(QStringLiteral("百平米扣分"), defect)
      << counted(QStringLiteral("百米疵点"), defect);
    return h;
}

QStringList groupRow(const QualityData::Group& g, bool inspector)
{
    QStringList r{g.key};
    if (inspector)
        r << g.name;
    r << QString::number(g.totals.rolls) << QString::number(g.totals.metres, 'f', 1)
      << percent(g.totals.firstShare()) << fixed(g.totals.pointsPer100m2(), 1)
      << fixed(g.totals.defectsPer100m(), 2);
    return r;
}

QString filterText(const QualitySql::Filter& f)
{
    QString t = f.from.toString(Qt::ISODate) + QStringLiteral(" 至 ") + f.to.toString(Qt::ISODate);
    auto add = [&t](const QString& caption, const QString& value) {
        if (!value.trimmed().isEmpty())
            t += QStringLiteral("  ") + caption + QStringLiteral("：") + value.trimmed();
    };
    add(QStringLiteral("机台"), f.machine);
    add(QStringLiteral("卡号"), f.card);
    add(QStringLiteral("品种"), f.item);
    add(QStringLiteral("验布员"), f.inspector);
    add(QStringLiteral("日期"), f.day.isValid() ? f.day.toString(Qt::ISODate) : QString());
    add(QStringLiteral("等级"), f.grade);
    add(QStringLiteral("疵点"), f.defect);
    return t;
}

} // namespace QualityText
