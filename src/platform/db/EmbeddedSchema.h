// The schema and demo rows of the embedded database, compiled into the program.
#pragma once

#include "db/Connection.h"

#include <QString>

namespace EmbeddedSchema {

/// SQLite text creating every table, index and default row of a fresh database.
QString sqliteSchema();
/// T-SQL text adding the demo rows (customers, users, items, production cards, dictionary).
QString demoRows();
/// Creates the tables that are missing on conn (the script of its dialect). Throws DbError.
void create(Connection& conn);
/// Adds the demo rows on conn. Throws DbError.
void addDemoRows(Connection& conn);

/// The SQL Server script creating the same tables.
QString sqlServerSchema();

} // namespace EmbeddedSchema
