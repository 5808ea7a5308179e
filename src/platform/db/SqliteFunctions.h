// The SQL Server functions the program's statements call, registered on every embedded-database
// connection, and the collation that compares texts the way SQL Server does.
#pragma once

struct sqlite3;

namespace SqliteFunctions {

/// Registers getdate, len, charindex, datediff, dateadd, datepart, getDictionary, the tsql_*
/// helpers of the translator, and NOCASE redefined as case-insensitive and ignoring trailing
/// blanks ('L05 ' = 'l05'), and mirel_moved() (databaseMoved as 1 or 0). Returns an SQLite
/// result code.
int registerAll(sqlite3* db);

/// True when the database file was deleted or moved away under the open connection (which still
/// answers from the old file); its journal has then been written into the file that left.
bool databaseMoved(sqlite3* db);

} // namespace SqliteFunctions
