// Stored procedures of the mill database that the embedded database runs as C++ instead.
#pragma once

#include "db/Recordset.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace DbProcedures {

/// Runs T-SQL on the caller's connection (inside the caller's transaction).
using Execute = std::function<Recordset(const QString& tsql)>;
/// A procedure: its arguments as texts; the result set it returns (closed when none).
using Procedure = std::function<Recordset(const QStringList& args, const Execute& execute)>;

/// Registers (or replaces) a procedure under a name (letter case ignored).
void registerProcedure(const QString& name, Procedure procedure);
/// Runs the named procedure; throws DbError when none is registered under that name.
Recordset run(const QString& name, const QStringList& args, const Execute& execute);

} // namespace DbProcedures
