// The utility component's database operations: recordsets, stored texts and SQL of the
// Dictionary table, running numbers for rolls, boxes and dye lots, stored captions.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QDate>
#include <QString>

namespace SysUtil {

/// The rows of sql on conn (mode is the old cursor mode and is ignored: every recordset is
/// client-side and readable). Throws DbError.
Recordset openRecordset(Connection& conn, const QString& sql, int mode = 1);

/// True when rs is open and not at its end.
bool recordsetHasRows(const Recordset& rs);

/// The stored text of a dictionary entry (Dictionary.ItemName of ITEMTYPE=type and
/// ItemValues=name), "" when absent. Throws DbError.
QString getDictionaryValue(Connection& conn, const QString& type, const QString& name);

/// The stored SQL of a named list (Dictionary.ReportSQL of ITEMTYPE=type, ItemValues=name),
/// "" when none. Throws DbError.
QString getListSql(Connection& conn, const QString& type, const QString& name);
/// As getListSql, for the item search.
QString getListSqlLike(Connection& conn, const QString& type, const QString& name);

/// The roll (or box) number a station proposes: the next free code of length characters in
/// table.column among the rows matching filter (an SQL condition, may be empty), zero-padded
/// ("00013"). A proposal is reserved for the asking station (holder; empty means this station,
/// stationKey()) and does not consume the number: the same station asking again for the same
/// table, column and filter gets the same code until that code is saved (codeSaved) or it asks
/// for another filter of that table and column, which releases the reservation; another station
/// asking meanwhile gets the next code. Runs inside the caller's transaction or its own.
/// Throws DbError.
QString nextCode(Connection& conn, const QString& table, const QString& column, int length,
                 const QString& filter, const QString& holder = QString());

/// Tells the numbering that code was saved in table.column under filter: the scope's numbers
/// go on after it (also when that roll is deleted later) and the holder's reservation is
/// released. Call it inside the save's transaction. Throws DbError.
void codeSaved(Connection& conn, const QString& table, const QString& column,
               const QString& filter, const QString& code, const QString& holder = QString());

/// This station's name in reservations: the station number (mirel.ini [MIREL] "menchineId",
/// default "001") and the machine's host name, so that a restarted station finds its own
/// proposal again.
QString stationKey();

/// The next running number of a kind ("箱号", "缸号") for a day: "yyMMdd" followed by a
/// three-digit running number ("260105001"), never the same twice for one kind and day (the
/// number is consumed when it is handed out).
QString nextDailyNumber(Connection& conn, const QString& kind, const QDate& date);

/// Stores a renamed caption under its tag in DBInfo (read back by getDbInfo at the next start)
/// and updates the process's DBInfo cache. Throws DbError.
void saveCaption(Connection& conn, const QString& tag, const QString& caption);

} // namespace SysUtil
