// The stations page: which panels run, which are silent, what waits in their journals.
#include "web/WebPages.h"

#include "web/WebPage.h"

#include <QJsonArray>

using WebPage::esc;

namespace WebPages {

QString offlineMark(const QJsonObject& data)
{
    const QString text = data.value(QStringLiteral("offline")).toString();
    return text.isEmpty() ? QString()
                          : QStringLiteral("<div class=\"offline\" id=\"offline\">") + esc(text) +
                                QStringLiteral("</div>");
}

QString stations(const QJsonObject& data)
{
    QString body = QStringLiteral("<h1>工作站状态</h1>") + offlineMark(data);
    body += QStringLiteral(
        "<div class=\"scroll\"><table id=\"stations\"><thead><tr><th>状态</th><th>工作站</th>"
        "<th>机台号</th><th>最后心跳</th><th>待上传</th><th>主机</th><th>版本</th><th>启动</th>"
        "<th>设备</th><th>最后保存</th></tr></thead><tbody>");
    const QJsonArray rows = data.value(QStringLiteral("stations")).toArray();
    for (const QJsonValue& v : rows) {
        const QJsonObject s = v.toObject();
        const bool late = s.value(QStringLiteral("late")).toBool();
        const auto cell = [&s](const char* key) {
            return QStringLiteral("<td>") +
                   esc(s.value(QLatin1String(key)).toVariant().toString()) +
                   QStringLiteral("</td>");
        };
        const qint64 refused = s.value(QStringLiteral("refused")).toInteger();
        QString waiting = QString::number(s.value(QStringLiteral("pending")).toInteger());
        if (refused > 0)
            waiting += QStringLiteral("（%1 条被拒）").arg(refused);
        body += (late ? QStringLiteral("<tr class=\"late\">") : QStringLiteral("<tr>")) +
                QStringLiteral("<td class=\"state\">") +
                (late ? QStringLiteral("离线") : QStringLiteral("在线")) + QStringLiteral("</td>") +
                // What tells a silent or stuck panel comes first, in sight on a phone too.
                cell("station") + cell("menchineId") + cell("lastSeen") +
                QStringLiteral("<td class=\"num\">") + esc(waiting) + QStringLiteral("</td>") +
                cell("host") + cell("version") + cell("started") + cell("devices") +
                cell("lastSave") + QStringLiteral("</tr>");
    }
    if (rows.isEmpty())
        body += QStringLiteral("<tr><td colspan=\"10\">还没有工作站报到</td></tr>");
    body += QStringLiteral("</tbody></table></div>");
    // The page follows the beats by itself.
    const QString script = QStringLiteral("setTimeout(function(){location.reload();},10000);");
    return WebPage::page(QStringLiteral("工作站状态"), QStringLiteral("/stations"), body, script);
}

} // namespace WebPages
