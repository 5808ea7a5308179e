// The program's SQL Server functions for a SQLite database reached through the SQLite ODBC
// driver: the driver loads this module into its own connection (its LoadExt setting, which the
// ODBC back end adds), so that the statements the stations send mean there what they mean on the
// embedded database.
#include "db/SqliteFunctions.h"

#include <QtGlobal>
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" Q_DECL_EXPORT int sqlite3_extension_init(sqlite3* db, char**,
                                                    const sqlite3_api_routines* api)
{
    SQLITE_EXTENSION_INIT2(api);
    return SqliteFunctions::registerAll(db);
}
