// The SQLite ODBC driver, for tests that reach a SQLite database the way a mill with that driver
// does: by the driver's library, or by a data source (DSN) in a user odbc.ini of their own.
#pragma once

#include <QString>

namespace SqliteOdbc {

/// The driver's library when it is installed, else "" (the ODBC rows of a test then skip).
QString driver();
/// Writes a data source for database, named prefix and a number new in this process, into
/// folder/odbc.ini, points ODBCINI at it and returns "DSN=<name>".
QString dataSource(const QString& folder, const QString& prefix, const QString& database);

} // namespace SqliteOdbc
