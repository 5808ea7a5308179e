// Running numbers of the stations, kept in the table mirelNumbers. A roll number proposed on a
// frame is only reserved for that frame (a row whose day column names the station): looking the
// card up again, restarting the station or asking twice must not burn numbers, or the mill reads
// a gap in the roll numbers as a missing roll. Box and dye-lot numbers of a day are counters that
// are consumed when handed out. Everything runs inside one write transaction; on SQL Server the
// scope's counter row is read with UPDLOCK, HOLDLOCK so that two stations take turns.
#include "shell/SysUtilDb.h"

#include "db/SqlText.h"
#include "db/Transaction.h"
#include "config/MirelIni.h"
#include "text/Vb.h"

#include <QCryptographicHash>
#include <QSet>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace SysUtil {

namespace {

QString padded(qint64 n, int length)
{
    return QString::number(n).rightJustified(qMax(length, 0), u'0');
}

QString condition(const QString& filter)
{
    return filter.trimmed().isEmpty() ? u"1=1"_s : filter;
}

// Counter rows of roll numbers are named after table and column; the filter follows.
QString scopePrefix(const QString& table, const QString& column)
{
    return u"code|%1|%2|"_s.arg(table.toLower(), column.toLower());
}

// The day column of a reservation: "@" and the station, hashed when it would not fit the column.
QString holderDay(const QString& holder)
{
    const QString key = holder.isEmpty() ? stationKey() : holder;
    if (key.size() <= 19)
        return u'@' + key;
    return u'@' + QString::fromLatin1(
                      QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Md5).toHex().left(19));
}

QString whereRow(const QString& kind, const QString& day)
{
    return u" where kind=%1 and day=%2"_s.arg(SqlText::quoted(kind), SqlText::quoted(day));
}

// A counter row (created at 0), locked for the rest of the transaction.
qint64 lockedCounter(Connection& conn, const QString& kind, const QString& day = QString())
{
    const Recordset rs = conn.execute(u"select value from mirelNumbers with (UPDLOCK, HOLDLOCK)"_s +
                                      whereRow(kind, day));
    if (recordsetHasRows(rs))
        return rs.field(0).toLongLong();
    conn.execute(u"insert into mirelNumbers(kind, day, value) values(%1, %2, 0)"_s.arg(
        SqlText::quoted(kind), SqlText::quoted(day)));
    return 0;
}

void raiseCounterTo(Connection& conn, const QString& kind, qint64 counter, qint64 floor,
                    const QString& day = QString())
{
    if (floor > counter)
        conn.execute(u"update mirelNumbers set value = %1"_s.arg(floor) + whereRow(kind, day));
}

// Highest code saved in the scope; codes of other lengths or with letters (typed by hand) do
// not count.
qint64 highestSaved(Connection& conn, const QString& table, const QString& column, int length,
                    const QString& filter)
{
    const Recordset rs =
        conn.execute(u"select max(%1) from %2 where (%3) and len(%1)=%4 and isnumeric(%1)=1"_s
                         .arg(column, table, condition(filter))
                         .arg(length));
    return recordsetHasRows(rs) ? qint64(vb::Val(rs.field(0).toString())) : 0;
}

bool isSaved(Connection& conn, const QString& table, const QString& column, const QString& filter,
             const QString& code)
{
    const Recordset rs = conn.execute(u"select count(*) from %1 where (%2) and %3=%4"_s.arg(
        table, condition(filter), column, SqlText::quoted(code)));
    return recordsetHasRows(rs) && rs.field(0).toLongLong() > 0;
}

// Releases every reservation the holder has on this table and column.
void release(Connection& conn, const QString& prefix, const QString& day)
{
    conn.execute(
        u"delete from mirelNumbers where day=%1 and left(kind, %2)=%3"_s.arg(SqlText::quoted(day))
            .arg(prefix.size())
            .arg(SqlText::quoted(prefix)));
}

// Numbers above floor that other stations hold in this scope.
QSet<qint64> heldByOthers(Connection& conn, const QString& kind, qint64 floor)
{
    QSet<qint64> held;
    Recordset rs = conn.execute(u"select value from mirelNumbers where kind=%1 and "
                                "left(day, 1)='@' and value > %2"_s.arg(SqlText::quoted(kind))
                                    .arg(floor));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        held.insert(rs.field(0).toLongLong());
    return held;
}

} // namespace

QString stationKey()
{
    return readMirel(u"menchineId"_s, u"001"_s) + u'/' + QSysInfo::machineHostName();
}

QString nextCode(Connection& conn, const QString& table, const QString& column, int length,
                 const QString& filter, const QString& holder)
{
    const QString prefix = scopePrefix(table, column);
    const QString kind = prefix + condition(filter);
    const QString day = holderDay(holder);
    return inTransaction(conn, [&] {
        const qint64 counter = lockedCounter(conn, kind);
        const qint64 floor = qMax(counter, highestSaved(conn, table, column, length, filter));
        raiseCounterTo(conn, kind, counter, floor);
        const Recordset mine =
            conn.execute(u"select value from mirelNumbers"_s + whereRow(kind, day));
        if (recordsetHasRows(mine)) {
            const QString code = padded(mine.field(0).toLongLong(), length);
            if (!isSaved(conn, table, column, filter, code))
                return code;
        }
        release(conn, prefix, day);
        // The lowest number nobody saved or holds: a number released by another station is
        // proposed again before the sequence goes on.
        const QSet<qint64> held = heldByOthers(conn, kind, floor);
        qint64 n = floor + 1;
        while (held.contains(n))
            ++n;
        conn.execute(u"insert into mirelNumbers(kind, day, value) values(%1, %2, %3)"_s
                         .arg(SqlText::quoted(kind), SqlText::quoted(day))
                         .arg(n));
        return padded(n, length);
    });
}

void codeSaved(Connection& conn, const QString& table, const QString& column,
               const QString& filter, const QString& code, const QString& holder)
{
    const QString prefix = scopePrefix(table, column);
    const QString kind = prefix + condition(filter);
    inTransaction(conn, [&] {
        const qint64 counter = lockedCounter(conn, kind);
        if (code.size() > 0 && vb::IsNumeric(code))
            raiseCounterTo(conn, kind, counter, qint64(vb::Val(code)));
        release(conn, prefix, holderDay(holder));
        return true;
    });
}

QString nextDailyNumber(Connection& conn, const QString& kind, const QDate& date)
{
    const QString day = SqlText::date(date);
    return inTransaction(conn, [&] {
        const qint64 n = lockedCounter(conn, kind, day) + 1;
        raiseCounterTo(conn, kind, n - 1, n, day);
        return date.toString(u"yyMMdd"_s) + padded(n, 3);
    });
}

} // namespace SysUtil
