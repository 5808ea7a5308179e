// The stations page: which panels run, which are silent, what waits in their journals.
#include "web/WebPages.h"

#include "web/WebPage.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

using WebPage::esc;

namespace WebPages {

QString offlineMark(const QJsonObject& data)
{
    const QString text = data.value(u"offline"_s).toString();
    return text.isEmpty() ? QString()
                          : u"<div class=\"offline\" id=\"offline\">"_s + esc(text) + u"</div>"_s;
}

QString stations(const QJsonObject& data)
{
    QString body = u"<h1>工作站状态</h1>"_s + offlineMark(data);
    body += u"<div class=\"scroll\"><table id=\"stations\"><thead><tr><th>状态</th><th>工作站</th>"
            "<th>机台号</th><th>最后心跳</th><th>待上传</th><th>主机</th><th>版本</th><th>启动</th>"
            "<th>设备</th><th>最后保存</th></tr></thead><tbody>"_s;
    const QJsonArray rows = data.value(u"stations"_s).toArray();
    for (const QJsonValue& v : rows) {
        const QJsonObject s = v.toObject();
        const bool late = s.value(u"late"_s).toBool();
        const auto cell = [&s](const char* key) {
            return u"<td>"_s + esc(s.value(QLatin1String(key)).toVariant().toString()) + u"</td>"_s;
        };
        const qint64 refused = s.value(u"refused"_s).toInteger();
        QString waiting = QString::number(s.value(u"pending"_s).toInteger());
        if (refused > 0)
            waiting += u"（%1 条被拒）"_s.arg(refused);
        body += (late ? u"<tr class=\"late\">"_s : u"<tr>"_s) + u"<td class=\"state\">"_s +
                (late ? u"离线"_s : u"在线"_s) + u"</td>"_s +
                // What tells a silent or stuck panel comes first, in sight on a phone too.
                cell("station") + cell("menchineId") + cell("lastSeen") + u"<td class=\"num\">"_s +
                esc(waiting) + u"</td>"_s + cell("host") + cell("version") + cell("started") +
                cell("devices") + cell("lastSave") + u"</tr>"_s;
    }
    if (rows.isEmpty())
        body += u"<tr><td colspan=\"10\">还没有工作站报到</td></tr>"_s;
    body += u"</tbody></table></div>"_s;
    // The page follows the beats by itself.
    const QString script = u"setTimeout(function(){location.reload();},10000);"_s;
    return WebPage::page(u"工作站状态"_s, u"/stations"_s, body, script);
}

} // namespace WebPages
