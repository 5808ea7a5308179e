// Which server a connection string names, and the ODBC string for SQL Server.
#pragma once

#include <QString>

using namespace Qt::StringLiterals;

struct ConnectionTarget {
    enum Kind { Sqlite, Odbc, Invalid };
    Kind kind = Invalid;
    /// SQLite: the database file.
    QString path;
    /// SQLite: the program folder's default database ("缺省"), which start-up creates with the
    /// embedded schema when it has never existed.
    bool createWithSchema = false;
    /// ODBC: the connection string for SQLDriverConnect.
    QString odbc;
};

namespace ConnectionString {

/// The word that stands for the embedded default database in the program folder.
inline const QString defaultWord = u"缺省"_s;

/// Reads a connection string: "缺省", "Provider=SQLite;Data Source=…", a Data Source naming a
/// .db/.sqlite/.sqlite3 file (a relative one in the program folder), "Provider=SQLOLEDB…"
/// (converted for the SQL Server ODBC driver; FreeTDS speaks the protocol version of mirel.ini
/// [Database] TdsVersion, default 7.4), "Driver=…"/"DSN=…" (ODBC unchanged).
ConnectionTarget resolve(const QString& text);

/// The value of key (letter case ignored) in "k=v;k=v" text; "" when missing.
QString value(const QString& text, const QString& key);

/// ODBC driver for SQL Server: mirel.ini [Database] SqlServerDriver, else "FreeTDS" on Linux and
/// "SQL Server" on Windows.
QString sqlServerDriver();

} // namespace ConnectionString
