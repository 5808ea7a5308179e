// The work of mirel-sql, apart from its command line: printing result sets and running batches.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace SqlTool {

/// Tab-separated text with a header line; null as "NULL", bytes as "<N bytes>", tabs and line
/// breaks inside values as blanks. A closed recordset prints nothing.
QString format(const Recordset& rs);

/// Batches of a script: separated by lines holding only "GO" (letter case ignored).
QStringList batches(const QString& script);

/// A connection string typed on mirel-sql's own command line: a relative embedded database file is
/// the current folder's, as every path given to a command-line tool is (a string stored in
/// config.ini keeps naming a file of the program folder).
QString commandLineConnection(const QString& connection, const QString& currentFolder);

/// Runs each batch and prints its result set to out; the first error goes to err and stops.
/// Returns the process exit code (0 or 1).
int run(Connection& conn, const QStringList& batches, QTextStream& out, QTextStream& err);

} // namespace SqlTool
