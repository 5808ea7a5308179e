// The stock board's settings and tick texts.
#include "stations/kanban/KanbanSettings.h"

#include "shell/SysUtil.h"
#include "text/Vb.h"

#include <QLocale>

#include <algorithm>

namespace KanbanSettings {

QString iniFile()
{
    return QStringLiteral("/kanban.ini");
}
QString section()
{
    return QStringLiteral("看板配置");
}

QString titleKey()
{
    return QStringLiteral("库存看板");
}
QString intervalKey()
{
    return QStringLiteral("时间间隔");
}
QString marqueeKey()
{
    return QStringLiteral("跑马灯内容");
}
QString fontSizeKey()
{
    return QStringLiteral("fontsize");
}
QString sqlKey()
{
    return QStringLiteral("看板SQL");
}
QString widthsKey()
{
    return QStringLiteral("pGrid");
}

QString defaultSql()
{
    return QStringLiteral(
               "select top 20 itemcode as 编码,itemname as 产品名称,a.ProductSN as 批次号,"
               "a.productionColor as 颜色, ") +
           QStringLiteral(" a.itemcount as 数量,a.productionNumber as 匹数,a.descrtion as 备注 ") +
           QStringLiteral(" from iteminBatch a ") +
           QStringLiteral(" left join item b on a.itemid=b.itemid ") +
           QStringLiteral(" Where b.IsStop = 0 And a.itemcount <> 0 ");
}

QString read(const QString& key, const QString& def)
{
    return SysUtil::readIni(section(), key, def, iniFile());
}

bool write(const QString& key, const QString& value, QString* error)
{
    return SysUtil::writeIni(section(), key, value, iniFile(), error);
}

int fontSize()
{
    const int size = int(vb::Fix(vb::Val(read(fontSizeKey(), QStringLiteral("32")))));
    return size > 0 ? size : 32;
}

int interval()
{
    const int ms = int(vb::Fix(vb::Val(read(intervalKey(), QStringLiteral("1000")))));
    return ms > 0 ? ms : 1000;
}

// The settings frame writes every box, also those left empty: an empty title or query is one
// nobody typed, and means the board's own.
QString title()
{
    const QString t = read(titleKey(), QString());
    return t.trimmed().isEmpty() ? QStringLiteral("Senvia库存看板") : t;
}

QString sql()
{
    const QString q = read(sqlKey(), QString());
    return q.trimmed().isEmpty() ? defaultSql() : q;
}

QString clockText(const QDateTime& now)
{
    static const QLocale chinese(QLocale::Chinese, QLocale::China);
    return QStringLiteral("时间:") + chinese.toString(now, QStringLiteral("yy-MM-dd dddd h:m:ss"));
}

QString rotated(const QString& text)
{
    if (text.size() < 2)
        return text;
    // A character outside the basic plane is two code units; it moves as one.
    const qsizetype first = text.at(0).isHighSurrogate() && text.size() > 2 ? 2 : 1;
    return text.mid(first) + text.left(first);
}

QString offlineText(const QDateTime& since, Stale why)
{
    const QString head = why == Stale::DatabaseAway  ? QStringLiteral("数据库离线 自 ")
                         : why == Stale::QueryWrites ? QStringLiteral("看板SQL只能查询 自 ")
                                                     : QStringLiteral("看板SQL出错 自 ");
    return head + since.toString(QStringLiteral("MM-dd hh:mm:ss")) + QStringLiteral(" 起");
}

int retryPause(int failures)
{
    const int longest = 60000;
    return failures >= 7 ? longest : std::min(longest, 1000 << std::max(0, failures - 1));
}

} // namespace KanbanSettings
