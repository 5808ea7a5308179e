// The stock board's settings and tick texts.
#include "stations/kanban/KanbanSettings.h"

#include "shell/SysUtil.h"
#include "text/Vb.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace KanbanSettings {

QString iniFile()
{
    return u"/kanban.ini"_s;
}
QString section()
{
    return u"看板配置"_s;
}

QString titleKey()
{
    return u"库存看板"_s;
}
QString intervalKey()
{
    return u"时间间隔"_s;
}
QString marqueeKey()
{
    return u"跑马灯内容"_s;
}
QString fontSizeKey()
{
    return u"fontsize"_s;
}
QString sqlKey()
{
    return u"看板SQL"_s;
}
QString widthsKey()
{
    return u"pGrid"_s;
}

QString defaultSql()
{
    return u"select top 20 itemcode as 编码,itemname as 产品名称,a.ProductSN as 批次号,"
           "a.productionColor as 颜色, "_s +
           u" a.itemcount as 数量,a.productionNumber as 匹数,a.descrtion as 备注 "_s +
           u" from iteminBatch a "_s + u" left join item b on a.itemid=b.itemid "_s +
           u" Where b.IsStop = 0 And a.itemcount <> 0 "_s;
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
    const int size = int(vb::Fix(vb::Val(read(fontSizeKey(), u"32"_s))));
    return size > 0 ? size : 32;
}

int interval()
{
    const int ms = int(vb::Fix(vb::Val(read(intervalKey(), u"1000"_s))));
    return ms > 0 ? ms : 1000;
}

// The settings frame writes every box, also those left empty: an empty title or query is one
// nobody typed, and means the board's own.
QString title()
{
    const QString t = read(titleKey(), QString());
    return t.trimmed().isEmpty() ? u"Senvia库存看板"_s : t;
}

QString sql()
{
    const QString q = read(sqlKey(), QString());
    return q.trimmed().isEmpty() ? defaultSql() : q;
}

QString clockText(const QDateTime& now)
{
    static const QLocale chinese(QLocale::Chinese, QLocale::China);
    return u"时间:"_s + chinese.toString(now, u"yy-MM-dd dddd h:m:ss"_s);
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
    const QString head = why == Stale::DatabaseAway  ? u"数据库离线 自 "_s
                         : why == Stale::QueryWrites ? u"看板SQL只能查询 自 "_s
                                                     : u"看板SQL出错 自 "_s;
    return head + since.toString(u"MM-dd hh:mm:ss"_s) + u" 起"_s;
}

int retryPause(int failures)
{
    const int longest = 60000;
    return failures >= 7 ? longest : std::min(longest, 1000 << std::max(0, failures - 1));
}

} // namespace KanbanSettings
