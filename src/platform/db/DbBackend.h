// What Connection needs of a server: run a batch, transactions, time-out. One back end per
// technology (SQLite C API, ODBC C API).
#pragma once

#include "db/Connection.h"
#include "db/DbRow.h"
#include "db/SqlScript.h"

class DbBackend {
public:
    virtual ~DbBackend() = default;
    virtual SqlDialect dialect() const = 0;
    /// Runs a T-SQL batch; the last result set with columns (closed Recordset when none).
    virtual Recordset execute(const QString& batch, qint64& rowsAffected) = 0;
    /// As execute, for a batch that has passed SqlReadOnly; a back end that can also make the
    /// server refuse writes does so.
    virtual Recordset executeReadOnly(const QString& batch, qint64& rowsAffected)
    {
        return execute(batch, rowsAffected);
    }
    /// Runs one T-SQL statement whose "?" markers take params in order.
    virtual Recordset executeWith(const QString& statement, const QList<DbValue>& params,
                                  qint64& rowsAffected) = 0;
    /// As executeWith, each row handed to onRow as it is read; by default from the whole result.
    virtual void forEachRow(const QString& statement, const QList<DbValue>& params,
                            const DbRowHandler& onRow, qint64& rowsAffected)
    {
        const Recordset rs = executeWith(statement, params, rowsAffected);
        for (const QList<DbValue>& values : rs.rows())
            onRow(DbValuesRow(values));
    }
    /// The text the server receives for a batch.
    virtual QString translate(const QString& batch) { return batch; }
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual void setTimeout(int seconds) = 0;
    /// True while a transaction is open on the connection.
    virtual bool inTransaction() = 0;
    /// Transactions of batches, set nocount, where print goes (the interpreter's, SqlScript).
    SqlSession& session() { return m_session; }

private:
    SqlSession m_session;
};
