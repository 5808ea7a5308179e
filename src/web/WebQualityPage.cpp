// The quality overview in the browser: the filter as a form (a GET of the same page), the five
// figures against the range before, the charts and the tables per machine and per inspector.
#include "web/WebPages.h"

#include "stations/quality/QualityChartViews.h"
#include "web/WebPage.h"
#include "web/WebSvg.h"

#include <QJsonArray>
#include <QUrl>

using WebPage::esc;

namespace WebPages {

namespace {

QString field(const QJsonObject& filter, const char* key, const QString& caption, const char* type)
{
    return QStringLiteral("<label>%1<input type=\"%2\" name=\"%3\" value=\"%4\"></label>")
        .arg(caption, QLatin1String(type), QLatin1String(key),
             esc(filter.value(QLatin1String(key)).toString()));
}

QString figures(const QJsonArray& list)
{
    QString s = QStringLiteral("<div class=\"figures\" id=\"figures\">");
    for (const QJsonValue& v : list) {
        const QJsonObject f = v.toObject();
        const int verdict = f.value(QStringLiteral("verdict")).toInt();
        s += QStringLiteral(
                 "<div class=\"figure\"><div class=\"cap\">%1</div><div class=\"now\">%2</div>"
                 "<div class=\"was\">上期 %3 <span class=\"%4\">%5</span></div></div>")
                 .arg(esc(f.value(QStringLiteral("caption")).toString()),
                      esc(f.value(QStringLiteral("now")).toString()),
                      esc(f.value(QStringLiteral("before")).toString()),
                      verdict > 0   ? QStringLiteral("good")
                      : verdict < 0 ? QStringLiteral("bad")
                                    : QString(),
                      esc(f.value(QStringLiteral("change")).toString()));
    }
    return s + QStringLiteral("</div>");
}

// texts: the leading columns of names (machine; code and name), the rest are figures.
QString table(const QString& id, const QJsonArray& header, const QJsonArray& rows, int texts)
{
    QString s = QStringLiteral("<div class=\"scroll\"><table id=\"%1\"><thead><tr>").arg(id);
    for (const QJsonValue& h : header)
        s += QStringLiteral("<th>") + esc(h.toString()) + QStringLiteral("</th>");
    s += QStringLiteral("</tr></thead><tbody>");
    for (const QJsonValue& r : rows) {
        s += QStringLiteral("<tr>");
        const QJsonArray cells = r.toObject().value(QStringLiteral("cells")).toArray();
        for (qsizetype i = 0; i < cells.size(); ++i)
            s += (i < texts ? QStringLiteral("<td>") : QStringLiteral("<td class=\"num\">")) +
                 esc(cells[i].toString()) + QStringLiteral("</td>");
        s += QStringLiteral("</tr>");
    }
    return s + QStringLiteral("</tbody></table></div>");
}

} // namespace

QString quality(const QJsonObject& data)
{
    const QJsonObject filter = data.value(QStringLiteral("filter")).toObject();
    QString body = QStringLiteral("<h1>质量分析</h1>");
    body += QStringLiteral("<form class=\"filter\" method=\"get\" action=\"/quality\">") +
            field(filter, "from", QStringLiteral("开始日期"), "date") +
            field(filter, "to", QStringLiteral("结束日期"), "date") +
            field(filter, "machine", QStringLiteral("机台"), "text") +
            field(filter, "inspector", QStringLiteral("验布员"), "text") +
            field(filter, "defect", QStringLiteral("疵点"), "text") +
            QStringLiteral("<button type=\"submit\">查询</button></form>");
    // The workbook of the same range and narrowings, as the quality station exports it.
    QByteArray same;
    for (const char* key : {"from", "to", "machine", "inspector", "defect", "card", "item"}) {
        const QString v = filter.value(QLatin1String(key)).toString();
        if (!v.isEmpty())
            same +=
                (same.isEmpty() ? "" : "&") + QByteArray(key) + '=' + QUrl::toPercentEncoding(v);
    }
    body +=
        QStringLiteral("<p id=\"range\">") + esc(filter.value(QStringLiteral("text")).toString()) +
        QStringLiteral(" <a id=\"xlsx\" href=\"/quality.xlsx?") + esc(QString::fromLatin1(same)) +
        QStringLiteral("\">导出Excel</a></p>") + offlineMark(data);
    if (data.contains(QStringLiteral("figures"))) {
        body += figures(data.value(QStringLiteral("figures")).toArray());
        const QJsonArray days = data.value(QStringLiteral("days")).toArray();
        body += QStringLiteral("<div class=\"charts\">") +
                WebSvg::pareto(data.value(QStringLiteral("pareto")).toArray(),
                               QualityChartViews::ParetoBars) +
                WebSvg::grades(days, data.value(QStringLiteral("gradeNames")).toArray()) +
                WebSvg::points(days, data.value(QStringLiteral("limits")).toArray()) +
                QStringLiteral("</div>");
        body +=
            QStringLiteral("<h2>按机台</h2>") +
            table(QStringLiteral("machines"), data.value(QStringLiteral("machineHeader")).toArray(),
                  data.value(QStringLiteral("machines")).toArray(), 1);
        body += QStringLiteral("<h2>按验布员</h2>") +
                table(QStringLiteral("inspectors"),
                      data.value(QStringLiteral("inspectorHeader")).toArray(),
                      data.value(QStringLiteral("inspectors")).toArray(), 2);
    }
    return WebPage::page(QStringLiteral("质量分析"), QStringLiteral("/quality"), body);
}

} // namespace WebPages
