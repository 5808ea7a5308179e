// Database operations of the utility component: recordsets, stored texts of the Dictionary table
// and stored captions (running numbers: RunningNumbers.cpp).
#include "shell/SysUtilDb.h"

#include "db/SqlText.h"
#include "db/Transaction.h"
#include "shell/DbInfoCache.h"

#include <QVariant>

using namespace Qt::StringLiterals;

namespace SysUtil {

namespace {

QString firstText(Connection& conn, const QString& sql)
{
    const Recordset rs = openRecordset(conn, sql);
    return recordsetHasRows(rs) ? rs.field(0).toString() : QString();
}

QString dictionaryText(Connection& conn, const QString& column, const QString& type,
                       const QString& name)
{
    return firstText(conn,
                     u"select %1 from Dictionary where ITEMTYPE='%2' and "
                     "ItemValues='%3'"_s.arg(column, SqlText::escape(type), SqlText::escape(name)));
}

} // namespace

Recordset openRecordset(Connection& conn, const QString& sql, int mode)
{
    Q_UNUSED(mode); // every recordset is fetched completely and readable
    return conn.execute(sql);
}

bool recordsetHasRows(const Recordset& rs) { return rs.isOpen() && !rs.eof(); }

QString getDictionaryValue(Connection& conn, const QString& type, const QString& name)
{
    return dictionaryText(conn, u"ItemName"_s, type, name);
}

QString getListSql(Connection& conn, const QString& type, const QString& name)
{
    return dictionaryText(conn, u"ReportSQL"_s, type, name);
}

QString getListSqlLike(Connection& conn, const QString& type, const QString& name)
{
    return dictionaryText(conn, u"ReportSQL"_s, type, name);
}

void saveCaption(Connection& conn, const QString& tag, const QString& caption)
{
    inTransaction(conn, [&] {
        conn.execute(u"delete DBInfo where InfoCode="_s + SqlText::quoted(tag));
        conn.execute(u"insert DBInfo(InfoCode,InfoValue) values(%1,%2)"_s.arg(
            SqlText::quoted(tag), SqlText::quoted(caption)));
        return true;
    });
    DbInfoCache::insert(tag, caption);
}

} // namespace SysUtil
