// The charts' geometry: a 640×320 view box, the plot inside margins for the axes' texts.
#include "web/WebSvg.h"

#include "web/WebPage.h"

#include <QJsonObject>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

using WebPage::esc;

namespace WebSvg {

namespace {

constexpr double W = 640, H = 320, L = 56, R = 48, T = 36, B = 56;
const QStringList colours = {u"#4da3ff"_s, u"#6fdc8c"_s, u"#f7c948"_s,
                             u"#ff8a65"_s, u"#ba68c8"_s, u"#90a4ae"_s};

QString num(double v)
{
    return QString::number(v, 'f', 1);
}

// A round top for the axis: 1, 2 or 5 times a power of ten.
double niceTop(double v)
{
    if (v <= 0)
        return 1;
    const double p = std::pow(10, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (v <= m * p)
            return m * p;
    return 10 * p;
}

QString open(const QString& id, const QString& title)
{
    return u"<svg id=\"%1\" viewBox=\"0 0 640 320\" xmlns=\"http://www.w3.org/2000/svg\" "
           "role=\"img\" aria-label=\"%2\" font-size=\"13\" fill=\"#e8edf2\">"
           "<text x=\"320\" y=\"22\" text-anchor=\"middle\" font-size=\"16\">%2</text>"_s.arg(
               id, esc(title));
}

QString axis(double top, const QString& unit)
{
    QString s = u"<g stroke=\"#34414f\">"_s;
    for (int i = 0; i <= 4; ++i) {
        const double y = H - B - (H - T - B) * i / 4;
        s += u"<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\"/>"_s.arg(num(L), num(W - R), num(y));
    }
    s += u"</g>"_s;
    for (int i = 0; i <= 4; ++i) {
        const double y = H - B - (H - T - B) * i / 4;
        s += u"<text x=\"%1\" y=\"%2\" text-anchor=\"end\">%3</text>"_s.arg(
            num(L - 4), num(y + 4), QString::number(top * i / 4, 'g', 4));
    }
    s += u"<text x=\"6\" y=\"%1\">%2</text>"_s.arg(num(T - 6), esc(unit));
    return s;
}

double yOf(double v, double top)
{
    return H - B - (H - T - B) * std::clamp(v / top, 0.0, 1.0);
}

QString label(double x, const QString& text)
{
    return u"<text x=\"%1\" y=\"%2\" text-anchor=\"end\" transform=\"rotate(-35 %1 "
           "%2)\">%3</text>"_s.arg(num(x), num(H - B + 14), esc(text));
}

QString empty(const QString& svg)
{
    return svg + u"<text x=\"320\" y=\"170\" text-anchor=\"middle\">无数据</text></svg>"_s;
}

} // namespace

QString pareto(const QJsonArray& rows, int bars)
{
    QString s = open(u"chartPareto"_s, u"疵点排列图"_s);
    bool anyPoints = false;
    double total = 0;
    for (const QJsonValue& v : rows)
        anyPoints = anyPoints || v.toObject().value(u"points"_s).toDouble() > 0;
    // Without points (scoring off) the bars count defects, as the ordering does.
    const QString measure = anyPoints ? u"points"_s : u"defects"_s;
    QList<QPair<QString, double>> shown;
    for (const QJsonValue& v : rows) {
        const QJsonObject o = v.toObject();
        const double m = o.value(measure).toDouble();
        total += m;
        if (shown.size() < bars)
            shown.append({o.value(u"defect"_s).toString(), m});
        else if (shown.size() == bars)
            shown.append({u"其他"_s, m});
        else
            shown.last().second += m;
    }
    if (shown.isEmpty() || total <= 0)
        return empty(s);
    double most = 0;
    for (const auto& b : shown)
        most = std::max(most, b.second);
    const double top = niceTop(most);
    s += axis(top, anyPoints ? u"扣分"_s : u"疵点数"_s);
    const double slot = (W - L - R) / shown.size();
    QString line;
    double sum = 0;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const double x = L + slot * i;
        const double y = yOf(shown[i].second, top);
        s += u"<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
             "fill=\"#4da3ff\"><title>%5 %6</title></rect>"_s.arg(
                 num(x + slot * 0.15), num(y), num(slot * 0.7), num(H - B - y), esc(shown[i].first),
                 QString::number(shown[i].second, 'g', 6));
        s += label(x + slot * 0.6, shown[i].first);
        sum += shown[i].second;
        line += u"%1,%2 "_s.arg(num(x + slot / 2), num(yOf(sum / total, 1)));
    }
    s += u"<polyline points=\"%1\" fill=\"none\" stroke=\"#f7c948\" stroke-width=\"2\"/>"_s.arg(
        line.trimmed());
    s += u"<text x=\"%1\" y=\"%2\">100%</text>"_s.arg(num(W - R + 4), num(T + 4));
    return s + u"</svg>"_s;
}

QString grades(const QJsonArray& days, const QJsonArray& gradeNames)
{
    QString s = open(u"chartGrades"_s, u"每日等级"_s);
    double most = 0;
    for (const QJsonValue& d : days) {
        double n = 0;
        for (const QJsonValue& v : d.toObject().value(u"rollsPerGrade"_s).toArray())
            n += v.toDouble();
        most = std::max(most, n);
    }
    if (days.isEmpty() || most <= 0)
        return empty(s);
    const double top = niceTop(most);
    s += axis(top, u"卷数"_s);
    const double slot = (W - L - R) / days.size();
    const int every = int(std::ceil(days.size() / 16.0)); // a month's days, not all labelled
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QJsonObject d = days[i].toObject();
        const QJsonArray per = d.value(u"rollsPerGrade"_s).toArray();
        double base = 0;
        for (qsizetype g = 0; g < per.size(); ++g) {
            const double n = per[g].toDouble();
            if (n <= 0)
                continue;
            const double y0 = yOf(base, top), y1 = yOf(base + n, top);
            s += u"<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" "
                 "fill=\"%5\"><title>%6 %7 %8</title></rect>"_s.arg(
                     num(L + slot * i + slot * 0.15), num(y1), num(slot * 0.7), num(y0 - y1),
                     colours[g % colours.size()], d.value(u"day"_s).toString(),
                     esc(gradeNames[g].toString()), QString::number(n));
            base += n;
        }
        if (i % every == 0)
            s += label(L + slot * i + slot * 0.6, d.value(u"day"_s).toString().mid(5));
    }
    for (qsizetype g = 0; g < gradeNames.size(); ++g)
        s += u"<rect x=\"%1\" y=\"28\" width=\"10\" height=\"10\" fill=\"%2\"/><text "
             "x=\"%3\" y=\"37\">%4</text>"_s.arg(
                 num(W - R - 70 * (gradeNames.size() - g)), colours[g % colours.size()],
                 num(W - R - 70 * (gradeNames.size() - g) + 14), esc(gradeNames[g].toString()));
    return s + u"</svg>"_s;
}

QString points(const QJsonArray& days, const QJsonArray& limits)
{
    QString s = open(u"chartPoints"_s, u"每日百平米扣分"_s);
    double most = 0;
    for (const QJsonValue& d : days)
        most = std::max(most, d.toObject().value(u"pointsPer100m2"_s).toDouble());
    for (const QJsonValue& l : limits)
        most = std::max(most, l.toObject().value(u"limit"_s).toDouble());
    if (days.isEmpty())
        return empty(s);
    const double top = niceTop(most);
    s += axis(top, u"扣分/100m²"_s);
    for (const QJsonValue& l : limits) {
        const QJsonObject o = l.toObject();
        if (!o.value(u"limit"_s).isDouble() || o.value(u"limit"_s).toDouble() <= 0)
            continue;
        const double y = yOf(o.value(u"limit"_s).toDouble(), top);
        s += u"<line x1=\"%1\" x2=\"%2\" y1=\"%3\" y2=\"%3\" stroke=\"#ff8a65\" "
             "stroke-dasharray=\"6 4\"/>"
             "<text x=\"%4\" y=\"%5\" fill=\"#ff8a65\">%6</text>"_s.arg(
                 num(L), num(W - R), num(y), num(W - R + 4), num(y + 4),
                 esc(o.value(u"grade"_s).toString()));
    }
    const double slot = (W - L - R) / days.size();
    const int every = int(std::ceil(days.size() / 16.0));
    QString line;
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QJsonObject d = days[i].toObject();
        const double x = L + slot * i + slot / 2;
        const QJsonValue v = d.value(u"pointsPer100m2"_s);
        if (v.isDouble()) {
            line += u"%1,%2 "_s.arg(num(x), num(yOf(v.toDouble(), top)));
            s += u"<circle cx=\"%1\" cy=\"%2\" r=\"3\" fill=\"#4da3ff\"><title>%3 "
                 "%4</title></circle>"_s.arg(num(x), num(yOf(v.toDouble(), top)),
                                             d.value(u"day"_s).toString(),
                                             QString::number(v.toDouble(), 'f', 2));
        }
        if (i % every == 0)
            s += label(x + slot * 0.1, d.value(u"day"_s).toString().mid(5));
    }
    if (!line.isEmpty())
        s += u"<polyline points=\"%1\" fill=\"none\" stroke=\"#4da3ff\" stroke-width=\"2\"/>"_s.arg(
            line.trimmed());
    return s + u"</svg>"_s;
}

} // namespace WebSvg
