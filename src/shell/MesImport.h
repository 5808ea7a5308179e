// Copying the weaving hall's loom events (MES) into production cards, lines and progress records.
#pragma once

#include "time/Clock.h"

#include <QDate>
#include <QString>

class Connection;

namespace MesImport {

/// The MES connection string from mirel.ini [MES]: MES_HOST, MES_DB, MES_SA, MES_PASS in the SQL
/// login form. A MES_HOST naming a .db/.sqlite/.sqlite3 file opens that SQLite database (a
/// relative name is taken in the program folder). Throws DbError when MES_HOST is empty.
QString connectionString();

/// Imports the not yet imported loom events newer than since ("yyyy-mm-dd", midnight) from mes
/// into mill; returns the number of card lines created, as text ("0" without starting a
/// transaction when there is nothing new). The mill inserts and the MES marks run in one
/// transaction on each connection; the MES one commits right after the mill one. On any error
/// both roll back and the DbError reaches the caller. mes may be the mill connection itself
/// (one database file holding both), then a single transaction covers everything.
QString syncMesEvents(Connection& mill, Connection& mes, const QString& since,
                      const QDate& today = Clock::today());

} // namespace MesImport

/// The stations' import: opens the MES database of mirel.ini and imports into the shared
/// connection (which must be open). Throws DbError.
QString syncMesEvents(const QString& since);
