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

// A signed format for changes: "+0.0%;-0.0%;0.0%" for "0.0%".
QString signedFormat(const QString& format)
{
    return u'+' + format + QStringLiteral(";-") + format + u';' + format;
}

Figure figure(const QString& caption, std::optional<double> now, std::optional<double> before,
              const QString& format)
{
    Figure f{caption, none, none, none, 0, now, before, std::nullopt, format, QString()};
    return f;
}

// Rolls and metres change by a share of what they were.
Figure relative(const QString& caption, double now, double before, int decimals)
{
    Figure f = figure(caption, now, before, numberFormat(decimals));
    f.now = QString::number(now, 'f', decimals);
    f.before = QString::number(before, 'f', decimals);
    if (before > 0) {
        f.change = signedText((now - before) * 100 / before, 1, QStringLiteral("%"));
        f.changeValue = (now - before) / before;
        f.changeFormat = signedFormat(percentFormat());
    }
    return f;
}

// Rates change by their difference.
Figure absolute(const QString& caption, std::optional<double> now, std::optional<double> before,
                int decimals, int goodDirection)
{
    Figure f = figure(caption, now, before, numberFormat(decimals));
    f.now = fixed(now, decimals);
    f.before = fixed(before, decimals);
    if (now && before) {
        f.change = signedText(*now - *before, decimals, QString());
        f.verdict = verdictOf(*now - *before, decimals, goodDirection);
        f.changeValue = *now - *before;
        f.changeFormat = signedFormat(numberFormat(decimals));
    }
    return f;
}

} // namespace

QString numberFormat(int decimals)
{
    return decimals > 0 ? QStringLiteral("0.") + QString(decimals, u'0') : QStringLiteral("0");
}

QString percentFormat()
{
    return QStringLiteral("0.0%");
}

QList<Figure> figures(const QualityData::Totals& now, const QualityData::Totals& before,
                      const QString& defect)
{
    QList<Figure> out;
    out << relative(QStringLiteral("卷数"), double(now.rolls), double(before.rolls), 0);
    out << relative(QStringLiteral("米数"), now.metres, before.metres, 1);
    Figure share =
        figure(QStringLiteral("一等品率"), now.firstShare(), before.firstShare(), percentFormat());
    share.now = percent(now.firstShare());
    share.before = percent(before.firstShare());
    if (now.firstShare() && before.firstShare()) {
        const double points = (*now.firstShare() - *before.firstShare()) * 100;
        share.change = signedText(points, 1, QStringLiteral("个百分点"));
        share.verdict = verdictOf(points, 1, +1);
        share.changeValue = points;
        share.changeFormat = signedFormat(QStringLiteral("0.0\"个百分点\""));
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
    const QString narrowings = narrowingText(f);
    return rangeText(f) +
           (narrowings == QStringLiteral("无") ? QString() : QStringLiteral("  ") + narrowings);
}

QString rangeText(const QualitySql::Filter& f)
{
    return f.from.toString(Qt::ISODate) + QStringLiteral(" 至 ") + f.to.toString(Qt::ISODate);
}

QString narrowingText(const QualitySql::Filter& f)
{
    QStringList t;
    auto add = [&t](const QString& caption, const QString& value) {
        if (!value.trimmed().isEmpty())
            t << caption + QStringLiteral("：") + value.trimmed();
    };
    add(QStringLiteral("机台"), f.machine);
    add(QStringLiteral("卡号"), f.card);
    add(QStringLiteral("品种"), f.item);
    add(QStringLiteral("验布员"), f.inspector);
    add(QStringLiteral("日期"), f.day.isValid() ? f.day.toString(Qt::ISODate) : QString());
    add(QStringLiteral("等级"), f.grade);
    add(QStringLiteral("疵点"), f.defect);
    return t.isEmpty() ? QStringLiteral("无") : t.join(QStringLiteral("  "));
}

} // namespace QualityText
