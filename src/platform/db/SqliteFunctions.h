// The SQL Server functions the program's statements call, registered on every embedded-database
// connection, and the collation that compares texts the way SQL Server does.
#pragma once

#include <QString>

using namespace Qt::StringLiterals;

struct sqlite3;

namespace SqliteFunctions {

/// Registers getdate, len, charindex, datediff, dateadd, datepart, getDictionary, the tsql_*
/// helpers of the translator, like() of three arguments with T-SQL's sets and ranges, NOCASE
/// redefined as the mill database's collation (letter case and trailing blanks ignored, 'L05 ' =
/// 'l05', Chinese in pinyin order), and mirel_moved() (databaseMoved as 1 or 0). Returns an SQLite
/// result code.
int registerAll(sqlite3* db);

/// The user_version of a database file whose NOCASE indexes are in the current order (Chinese
/// by pinyin); a file below it (written when Chinese sorted by code point) has them ordered
/// again with reindexSql() once.
inline constexpr int collationVersion = 2;
inline QString reindexSql()
{
    return u"REINDEX NOCASE; PRAGMA user_version = 2"_s;
}

/// True when the database file was deleted or moved away under the open connection (which still
/// answers from the old file); its journal has then been written into the file that left.
bool databaseMoved(sqlite3* db);

} // namespace SqliteFunctions
