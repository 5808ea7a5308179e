// The stock board in the browser: the rows of kanban.ini's query under its title, read again
// from /api/board at the board's interval, the stale mark while the database is away.
#include "web/WebPages.h"

#include "web/WebPage.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

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
    const QString title = data.value(u"title"_s).toString();
    const QString offline = data.value(u"offline"_s).toString();
    QString body = u"<h1 id=\"title\">"_s + esc(title) + u"</h1>"_s +
                   u"<div class=\"offline\" id=\"offline\""_s +
                   (offline.isEmpty() ? u" style=\"display:none\""_s : QString()) + u'>' +
                   esc(offline) + u"</div>"_s;
    body += u"<div class=\"scroll\"><table id=\"board\" class=\"board\">"_s;
    const QJsonArray widths = data.value(u"widths"_s).toArray();
    const QJsonArray columns = data.value(u"columns"_s).toArray();
    if (!widths.isEmpty()) {
        body += u"<colgroup>"_s;
        for (const QJsonValue& w : widths)
            body += u"<col style=\"width:%1%%2\">"_s.arg(w.toDouble() / 10, 0, 'f', 1)
                        .arg(w.toDouble() == 0 ? u";visibility:collapse"_s : QString());
        body += u"</colgroup>"_s;
    }
    body += u"<thead><tr>"_s;
    for (const QJsonValue& c : columns)
        body += u"<th>"_s + esc(c.toString()) + u"</th>"_s;
    body += u"</tr></thead><tbody>"_s;
    for (const QJsonValue& row : data.value(u"rows"_s).toArray()) {
        body += u"<tr>"_s;
        for (const QJsonValue& v : row.toArray())
            body += (v.isDouble() ? u"<td class=\"num\">"_s : u"<td>"_s) + esc(cellText(v)) +
                    u"</td>"_s;
        body += u"</tr>"_s;
    }
    body += u"</tbody></table></div>"_s;
    const QString marquee = data.value(u"marquee"_s).toString().trimmed();
    if (!marquee.isEmpty())
        body += u"<p><marquee>"_s + esc(marquee) + u"</marquee></p>"_s;
    const int interval = data.value(u"interval"_s).toInt(1000);
    return WebPage::page(title, u"/board"_s, body, QString::fromLatin1(reload).arg(interval));
}

} // namespace WebPages
