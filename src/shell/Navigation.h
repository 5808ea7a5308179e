// Stepping through saved rolls and production cards with the station buttons, without typing
// numbers: the lookups behind "上卷", "下卷", "取" and the card arrows.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QString>

namespace Navigation {

// --- statement texts (pure) ---

/// The neighbour-roll query for a machine; "" when nothing is to be run (forwards from 0).
QString neighbourRollSql(long long id, bool backwards, const QString& card, const QString& machine);
/// The newest card of the shown bill types ("55,57,99", pasted unchanged).
QString latestCardSql(const QString& billTypes);
/// The neighbour-card id query; "" when nothing is to be run (forwards from 0).
QString neighbourCardSql(long long billId, bool backwards, const QString& billTypes);
QString cardCodeSql(long long billId);
QString rollIdSql(const QString& idText);
QString cardProcessRowsSql(const QString& card);

// --- lookups on a connection ---

/// The station number of mirel.ini ([MIREL] menchineId, "001" when not set), read at each call.
QString machineNumber();

/// The previous (backwards) or next roll of this machine, limited to card when it is not empty;
/// 0 when there is none. Throws DbError.
long long neighbourRollId(Connection& conn, long long id, bool backwards, const QString& card);
/// The card number of the newest card of the shown types, "" when none or on a database error.
QString latestCardCode(Connection& conn, const QString& billTypes);
/// The card number of the previous/next card of the shown types; "" when there is none and
/// "0" when going forwards from no card. Throws DbError.
QString neighbourCardCode(Connection& conn, long long billId, bool backwards, const QString& billTypes);
/// idText when that roll exists, else "0". Throws DbError.
QString rollIdIfExists(Connection& conn, const QString& idText);
/// (checkinfoid, billprocount, invoice) of a card's process records. Throws DbError.
Recordset cardProcessRows(Connection& conn, const QString& card);

} // namespace Navigation
