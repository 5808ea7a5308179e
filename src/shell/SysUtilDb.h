// The utility component's database operations: recordsets, stored texts and SQL of the
// Dictionary table, running numbers for rolls, boxes and dye lots, stored captions.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QDate>
#include <QString>

class QAbstractButton;

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

/// The next free code of length characters in table.column among the rows matching filter (an
/// SQL condition, may be empty): the highest numeric code plus one, zero-padded ("00013").
/// Codes handed out are remembered, so two calls (also from two stations) never give the same
/// code even before the first one is saved. Throws DbError.
QString nextCode(Connection& conn, const QString& table, const QString& column, int length,
                 const QString& filter);

/// The next running number of a kind ("箱号", "缸号") for a day: "yyMMdd" followed by a
/// three-digit running number ("260105001"), never the same twice for one kind and day.
QString nextDailyNumber(Connection& conn, const QString& kind, const QDate& date);

/// Asks the operator (input box) for a new caption of a required-field box whose tag begins
/// with "Label", sets it and stores it under the tag (saveCaption). Cancel changes nothing.
/// Throws DbError.
void editCaption(Connection& conn, QAbstractButton* box, const QString& unused = QString());

/// Stores a renamed caption under its tag in DBInfo (read back by getDbInfo at the next start)
/// and updates the process's DBInfo cache. Throws DbError.
void saveCaption(Connection& conn, const QString& tag, const QString& caption);

} // namespace SysUtil
