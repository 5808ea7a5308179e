// T-SQL control flow and variables for the SQLite databases (embedded or behind the SQLite ODBC
// driver): declare, set, select @v = …, if … else, while, begin … end, print, raiserror, throw,
// begin tran / commit / rollback with @@trancount, @@rowcount, set nocount. The batch runs
// statement by statement; every statement that reads a variable gets its value bound as a
// parameter, never written into its text.
#pragma once

#include "db/Recordset.h"

#include <QString>
#include <functional>

class DbBackend;

/// What outlives a batch on a connection: transactions a batch began (counted as SQL Server
/// counts them), set nocount, where print goes.
struct SqlSession {
    /// begin tran not yet committed; owns: the outermost one began the database's transaction.
    int depth = 0;
    bool owns = false;
    bool nocount = false;
    /// Iterations a WHILE may make before the batch is stopped as endless.
    int whileLimit = 1000000;
};

namespace SqlScript {

/// Where PRINT (and RAISERROR below severity 11) goes in this process: mirel-sql writes it to
/// stderr; without a handler it goes to the log category mirel.db.print (the station's log).
void setPrintHandler(std::function<void(const QString&)> handler);

/// Runs a batch through the interpreter; the last result set with columns, as DbBackend::execute.
/// An error ends the batch (as with SET XACT_ABORT ON): a transaction the batch's begin tran
/// opened is rolled back, then the error goes on.
Recordset run(const QString& batch, DbBackend& backend, qint64& rowsAffected);

} // namespace SqlScript
