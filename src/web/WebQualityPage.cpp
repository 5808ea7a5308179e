// The quality overview in the browser: the filter as a form (a GET of the same page), the five
// figures against the range before, the charts and the tables per machine and per inspector.
#include "web/WebPages.h"

#include "stations/quality/QualityChartViews.h"
#include "web/WebPage.h"
#include "web/WebSvg.h"

#include <QJsonArray>
#include <QUrl>

using namespace Qt::StringLiterals;

using WebPage::esc;

namespace WebPages {

namespace {

QString field(const QJsonObject& filter, const char* key, const QString& caption, const char* type)
{
    return u"<label>%1<input type=\"%2\" name=\"%3\" value=\"%4\"></label>"_s.arg(
        caption, QLatin1String(type), QLatin1String(key),
        esc(filter.value(QLatin1String(key)).toString()));
}

QString figures(const QJsonArray& list)
{
    QString s = u"<div class=\"figures\" id=\"figures\">"_s;
    for (const QJsonValue& v : list) {
        const QJsonObject f = v.toObject();
        const int verdict = f.value(u"verdict"_s).toInt();
        s += u"<div class=\"figure\"><div class=\"cap\">%1</div><div class=\"now\">%2</div>"
             "<div class=\"was\">上期 %3 <span class=\"%4\">%5</span></div></div>"_s.arg(
                 esc(f.value(u"caption"_s).toString()), esc(f.value(u"now"_s).toString()),
                 esc(f.value(u"before"_s).toString()),
                 verdict > 0   ? u"good"_s
                 : verdict < 0 ? u"bad"_s
                               : QString(),
                 esc(f.value(u"change"_s).toString()));
    }
    return s + u"</div>"_s;
}

// texts: the leading columns of names (machine; code and name), the rest are figures.
QString table(const QString& id, const QJsonArray& header, const QJsonArray& rows, int texts)
{
    QString s = u"<div class=\"scroll\"><table id=\"%1\"><thead><tr>"_s.arg(id);
    for (const QJsonValue& h : header)
        s += u"<th>"_s + esc(h.toString()) + u"</th>"_s;
    s += u"</tr></thead><tbody>"_s;
    for (const QJsonValue& r : rows) {
        s += u"<tr>"_s;
        const QJsonArray cells = r.toObject().value(u"cells"_s).toArray();
        for (qsizetype i = 0; i < cells.size(); ++i)
            s += (i < texts ? u"<td>"_s : u"<td class=\"num\">"_s) + esc(cells[i].toString()) +
                 u"</td>"_s;
        s += u"</tr>"_s;
    }
    return s + u"</tbody></table></div>"_s;
}

} // namespace

QString quality(const QJsonObject& data)
{
    const QJsonObject filter = data.value(u"filter"_s).toObject();
    QString body = u"<h1>质量分析</h1>"_s;
    body += u"<form class=\"filter\" method=\"get\" action=\"/quality\">"_s +
            field(filter, "from", u"开始日期"_s, "date") +
            field(filter, "to", u"结束日期"_s, "date") +
            field(filter, "machine", u"机台"_s, "text") +
            field(filter, "inspector", u"验布员"_s, "text") +
            field(filter, "defect", u"疵点"_s, "text") +
            u"<button type=\"submit\">查询</button></form>"_s;
    // The workbook of the same range and narrowings, as the quality station exports it.
    QByteArray same;
    for (const char* key : {"from", "to", "machine", "inspector", "defect", "card", "item"}) {
        const QString v = filter.value(QLatin1String(key)).toString();
        if (!v.isEmpty())
            same +=
                (same.isEmpty() ? "" : "&") + QByteArray(key) + '=' + QUrl::toPercentEncoding(v);
    }
    body += u"<p id=\"range\">"_s + esc(filter.value(u"text"_s).toString()) +
            u" <a id=\"xlsx\" href=\"/quality.xlsx?"_s + esc(QString::fromLatin1(same)) +
            u"\">导出Excel</a></p>"_s + offlineMark(data);
    if (data.contains(u"figures"_s)) {
        body += figures(data.value(u"figures"_s).toArray());
        const QJsonArray days = data.value(u"days"_s).toArray();
        body += u"<div class=\"charts\">"_s +
                WebSvg::pareto(data.value(u"pareto"_s).toArray(), QualityChartViews::ParetoBars) +
                WebSvg::grades(days, data.value(u"gradeNames"_s).toArray()) +
                WebSvg::points(days, data.value(u"limits"_s).toArray()) + u"</div>"_s;
        body +=
            u"<h2>按机台</h2>"_s + table(u"machines"_s, data.value(u"machineHeader"_s).toArray(),
                                         data.value(u"machines"_s).toArray(), 1);
        body += u"<h2>按验布员</h2>"_s + table(u"inspectors"_s,
                                               data.value(u"inspectorHeader"_s).toArray(),
                                               data.value(u"inspectors"_s).toArray(), 2);
    }
    return WebPage::page(u"质量分析"_s, u"/quality"_s, body);
}

} // namespace WebPages
