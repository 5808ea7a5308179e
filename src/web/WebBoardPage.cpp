// The stock board in the browser: the rows of kanban.ini's query under its title, read again
// from /api/board at the board's interval, the stale mark while the database is away.
#include "web/WebPages.h"

#include "web/WebPage.h"

#include <QJsonArray>

using WebPage::esc;

namespace WebPages {

namespace {

QString cellText(const QJsonValue& v)
{
    return v.isDouble() ? QString::number(v.toDouble(), 'g', 15) : v.toString();
}

// The board's script: rows written as text (never as HTML), the stale mark shown or hidden.
const char* const reload = R"(
(function(){var every=Math.max(2000,%1);
function cell(v){return typeof v==='number'?String(v):(v===null?'':v);}
function show(d){var b=document.querySelector('#board tbody');b.textContent='';
d.rows.forEach(function(r){var tr=document.createElement('tr');r.forEach(function(v){
var td=document.createElement('td');td.textContent=cell(v);if(typeof v==='number')td.className='num';
tr.appendChild(td);});b.appendChild(tr);});
var o=document.getElementById('offline');o.textContent=d.offline||'';o.style.display=d.offline?'':'none';}
setInterval(function(){fetch('/api/board',{credentials:'same-origin'}).then(function(r){
if(r.status===401){location.reload();return null;}return r.json();}).then(function(d){if(d)show(d);})
.catch(function(){});},every);})();
)";

} // namespace

QString board(const QJsonObject& data)
{
    const QString title = data.value(QStringLiteral("title")).toString();
    const QString offline = data.value(QStringLiteral("offline")).toString();
    QString body = QStringLiteral("<h1 id=\"title\">") + esc(title) + QStringLiteral("</h1>") +
                   QStringLiteral("<div class=\"offline\" id=\"offline\"") +
                   (offline.isEmpty() ? QStringLiteral(" style=\"display:none\"") : QString()) +
                   u'>' + esc(offline) + QStringLiteral("</div>");
    body += QStringLiteral("<div class=\"scroll\"><table id=\"board\" class=\"board\">");
    const QJsonArray widths = data.value(QStringLiteral("widths")).toArray();
    const QJsonArray columns = data.value(QStringLiteral("columns")).toArray();
    if (!widths.isEmpty()) {
        body += QStringLiteral("<colgroup>");
        for (const QJsonValue& w : widths)
            body +=
                QStringLiteral("<col style=\"width:%1%%2\">")
                    .arg(w.toDouble() / 10, 0, 'f', 1)
                    .arg(w.toDouble() == 0 ? QStringLiteral(";visibility:collapse") : QString());
        body += QStringLiteral("</colgroup>");
    }
    body += QStringLiteral("<thead><tr>");
    for (const QJsonValue& c : columns)
        body += QStringLiteral("<th>") + esc(c.toString()) + QStringLiteral("</th>");
    body += QStringLiteral("</tr></thead><tbody>");
    for (const QJsonValue& row : data.value(QStringLiteral("rows")).toArray()) {
        body += QStringLiteral("<tr>");
        for (const QJsonValue& v : row.toArray())
            body += (v.isDouble() ? QStringLiteral("<td class=\"num\">") : QStringLiteral("<td>")) +
                    esc(cellText(v)) + QStringLiteral("</td>");
        body += QStringLiteral("</tr>");
    }
    body += QStringLiteral("</tbody></table></div>");
    const QString marquee = data.value(QStringLiteral("marquee")).toString().trimmed();
    if (!marquee.isEmpty())
        body += QStringLiteral("<p><marquee>") + esc(marquee) + QStringLiteral("</marquee></p>");
    const int interval = data.value(QStringLiteral("interval")).toInt(1000);
    return WebPage::page(title, QStringLiteral("/board"), body,
                         QString::fromLatin1(reload).arg(interval));
}

} // namespace WebPages
