// Database operations of the utility component. Running numbers are kept in the table
// mirelNumbers and raised inside a write transaction, so that two stations asking at the same
// moment never receive the same roll, box or dye-lot number.
#include "shell/SysUtilDb.h"

#include "db/SqlText.h"
#include "db/Transaction.h"
#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "text/Vb.h"

#include <QAbstractButton>
#include <QVariant>
#include <optional>

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
    return firstText(conn, QStringLiteral("select %1 from Dictionary where ITEMTYPE='%2' and "
                                          "ItemValues='%3'")
                               .arg(column, SqlText::escape(type), SqlText::escape(name)));
}

// Runs work inside a transaction unless the caller already has one open.
template <typename Work> auto inTransaction(Connection& conn, Work work)
{
    if (conn.inTransaction())
        return work();
    Transaction t(conn);
    auto result = work();
    t.commit();
    return result;
}

// Raises the counter of (kind, day) to at least floor + 1 and returns the new value.
qint64 raiseCounter(Connection& conn, const QString& kind, const QString& day, qint64 floor)
{
    const QString where = QStringLiteral(" where kind=%1 and day=%2")
                              .arg(SqlText::quoted(kind), SqlText::quoted(day));
    // The UPDATE comes first: on SQL Server it locks the row for the rest of the transaction.
    conn.execute(QStringLiteral("update mirelNumbers set value = case when value > %1 then value "
                                "else %1 end + 1")
                     .arg(floor) + where);
    if (conn.rowsAffected() == 0)
        conn.execute(QStringLiteral("insert into mirelNumbers(kind, day, value) values(%1, %2, %3)")
                         .arg(SqlText::quoted(kind), SqlText::quoted(day))
                         .arg(floor + 1));
    const Recordset rs = conn.execute(QStringLiteral("select value from mirelNumbers") + where);
    return recordsetHasRows(rs) ? rs.field(0).toLongLong() : floor + 1;
}

QString padded(qint64 n, int length)
{
    return QString::number(n).rightJustified(qMax(length, 0), u'0');
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
    return dictionaryText(conn, QStringLiteral("ItemName"), type, name);
}

QString getListSql(Connection& conn, const QString& type, const QString& name)
{
    return dictionaryText(conn, QStringLiteral("ReportSQL"), type, name);
}

QString getListSqlLike(Connection& conn, const QString& type, const QString& name)
{
    return dictionaryText(conn, QStringLiteral("ReportSQL"), type, name);
}

QString nextCode(Connection& conn, const QString& table, const QString& column, int length,
                 const QString& filter)
{
    const QString condition = filter.trimmed().isEmpty() ? QStringLiteral("1=1") : filter;
    return inTransaction(conn, [&] {
        // Codes of other lengths or with letters (typed by hand) do not count.
        const QString top = firstText(
            conn, QStringLiteral("select max(%1) from %2 where (%3) and len(%1)=%4 and isnumeric(%1)=1")
                      .arg(column, table, condition)
                      .arg(length));
        const qint64 highest = qint64(vb::Val(top));
        const QString kind = QStringLiteral("code|%1|%2|%3").arg(table.toLower(), column.toLower(),
                                                                condition);
        return padded(raiseCounter(conn, kind, QString(), highest), length);
    });
}

QString nextDailyNumber(Connection& conn, const QString& kind, const QDate& date)
{
    return inTransaction(conn, [&] {
        const qint64 n = raiseCounter(conn, kind, SqlText::date(date), 0);
        return date.toString(QStringLiteral("yyMMdd")) + padded(n, 3);
    });
}

void saveCaption(Connection& conn, const QString& tag, const QString& caption)
{
    inTransaction(conn, [&] {
        conn.execute(QStringLiteral("delete DBInfo where InfoCode=") + SqlText::quoted(tag));
        conn.execute(QStringLiteral("insert DBInfo(InfoCode,InfoValue) values(%1,%2)")
                         .arg(SqlText::quoted(tag), SqlText::quoted(caption)));
        return true;
    });
    DbInfoCache::insert(tag, caption);
}

void editCaption(Connection& conn, QAbstractButton* box, const QString& unused)
{
    Q_UNUSED(unused);
    if (!box)
        return;
    QString tag = box->property("Tag").toString();
    if (tag.isEmpty())
        tag = box->property("tag").toString();
    if (!tag.startsWith(QStringLiteral("Label")))
        return;
    const std::optional<QString> text =
        MessageBox::inputBox(QStringLiteral("请输入新的名称："), QStringLiteral("修改名称"), box->text(),
                             box->window());
    if (!text || text->trimmed().isEmpty())
        return;
    saveCaption(conn, tag, *text);
    box->setText(*text);
}

} // namespace SysUtil
