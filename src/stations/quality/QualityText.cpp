// Number texts of the quality overview.
#include "stations/quality/QualityText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace QualityText {

namespace {

const QString none = u"—"_s;

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
    return (d > 0 ? u"+"_s : QString()) + digits + unit;
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
    return u'+' + format + u";-"_s + format + u';' + format;
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
        f.change = signedText((now - before) * 100 / before, 1, u"%"_s);
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
    return decimals > 0 ? u"0."_s + QString(decimals, u'0') : u"0"_s;
}

QString percentFormat()
{
    return u"0.0%"_s;
}

QList<Figure> figures(const QualityData::Totals& now, const QualityData::Totals& before,
                      const QString& defect)
{
    QList<Figure> out;
    out << relative(u"卷数"_s, double(now.rolls), double(before.rolls), 0);
    out << relative(u"米数"_s, now.metres, before.metres, 1);
    Figure share = figure(u"一等品率"_s, now.firstShare(), before.firstShare(), percentFormat());
    share.now = percent(now.firstShare());
    share.before = percent(before.firstShare());
    if (now.firstShare() && before.firstShare()) {
        const double points = (*now.firstShare() - *before.firstShare()) * 100;
        share.change = signedText(points, 1, u"个百分点"_s);
        share.verdict = verdictOf(points, 1, +1);
        share.changeValue = points;
        share.changeFormat = signedFormat(u"0.0\"个百分点\""_s);
    }
    out << share;
    out << absolute(counted(u"百平米扣分"_s, defect), now.pointsPer100m2(), before.pointsPer100m2(),
                    1, -1);
    out << absolute(counted(u"百米疵点"_s, defect), now.defectsPer100m(), before.defectsPer100m(),
                    2, -1);
    return out;
}

QStringList groupHeader(bool inspector, const QString& defect)
{
    QStringList h;
    if (inspector)
        h << u"工号"_s << u"验布员"_s;
    else
        h << u"机台"_s;
    h << u"卷数"_s << u"米数"_s << u"一等品率"_s << counted(u"百平米扣分"_s, defect)
      << counted(u"百米疵点"_s, defect);
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
    return rangeText(f) + (narrowings == u"无"_s ? QString() : u"  "_s + narrowings);
}

QString rangeText(const QualitySql::Filter& f)
{
    return f.from.toString(Qt::ISODate) + u" 至 "_s + f.to.toString(Qt::ISODate);
}

QString narrowingText(const QualitySql::Filter& f)
{
    QStringList t;
    auto add = [&t](const QString& caption, const QString& value) {
        if (!value.trimmed().isEmpty())
            t << caption + u"："_s + value.trimmed();
    };
    add(u"机台"_s, f.machine);
    add(u"卡号"_s, f.card);
    add(u"品种"_s, f.item);
    add(u"验布员"_s, f.inspector);
    add(u"日期"_s, f.day.isValid() ? f.day.toString(Qt::ISODate) : QString());
    add(u"等级"_s, f.grade);
    add(u"疵点"_s, f.defect);
    return t.isEmpty() ? u"无"_s : t.join(u"  "_s);
}

} // namespace QualityText
