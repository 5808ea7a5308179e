// A connection to the mill's database: SQL Server through ODBC, or the embedded SQLite database
// that speaks the same T-SQL through the translator.
#pragma once

#include "db/DbError.h"
#include "db/DbRow.h"
#include "db/Recordset.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class DbBackend;

/// The language the server speaks; the program always sends T-SQL.
enum class SqlDialect { SqlServer, Sqlite };

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Opens the database named by a connection string (closing an open one first):
    /// "缺省" (the embedded mirel.db of the program folder; never created here),
    /// "Provider=SQLite;Data Source=<path>" or any Data Source naming a .db/.sqlite file (SQLite),
    /// "Provider=SQLOLEDB…" (SQL Server through the ODBC driver of mirel.ini), "Driver=…"/"DSN=…"
    /// (ODBC as it is). Throws DbError when the database cannot be opened.
    void open(const QString& connectionString);
    /// As open(); an embedded database file that does not exist yet is created with the schema
    /// (start-up of a program folder whose default database never existed, mirel-sql --init,
    /// tests).
    void openOrCreate(const QString& connectionString);
    /// Closes; a closed connection stays usable for open().
    void close();
    /// True when open. After the server or the database file went away, the next statement
    /// opens it again (never creating a file); until it succeeds every statement fails with an
    /// error whose connectionLost() is true.
    bool isOpen() const;
    /// 1 when open, 0 when closed.
    int state() const { return isOpen() ? 1 : 0; }
    /// The connection string given to open().
    const QString& connectionString() const { return m_connectionString; }
    SqlDialect dialect() const;

    /// Runs a T-SQL batch (statements separated by ";"; "insert …; select SCOPE_IDENTITY();" works
    /// on both servers). Returns the result set of the last statement that returns columns, or a
    /// closed Recordset when none does. Throws DbError with the server's message; statements
    /// before the failing one keep their effect unless a transaction is rolled back.
    Recordset execute(const QString& batch);
    /// Runs a query a user has configured (the board's stock query, a stored list, a label's
    /// detail query): one statement that only reads, SELECT or WITH … SELECT. Anything else is
    /// refused before it reaches the server, and the embedded database runs it on a connection
    /// that refuses writes. Throws DbError; isReadOnlyRefusal() when it would have written.
    Recordset query(const QString& statement);
    /// Runs one T-SQL statement with "?" markers, each bound to the value of params at its
    /// position (texts as Unicode, dates as dates), so that what an operator types never becomes
    /// part of the statement. Throws DbError as execute(), and when the markers and the values
    /// differ in number.
    Recordset execute(const QString& statement, const QList<DbValue>& params);
    /// As execute(statement, params), each row handed to onRow as it is read instead of being
    /// kept in a recordset (tens of thousands of rows that the caller sums). onRow must not use
    /// this connection; an exception it throws ends the statement and goes on to the caller.
    void forEachRow(const QString& statement, const QList<DbValue>& params,
                    const DbRowHandler& onRow);
    /// The text the server receives for a batch: the SQLite translation, or the batch unchanged
    /// for SQL Server (administrators check stored SQL with it).
    QString translate(const QString& batch);
    /// Rows changed by the last INSERT/UPDATE/DELETE of the last batch (SQLite: changes of the
    /// statement; ODBC: SQLRowCount).
    qint64 rowsAffected() const { return m_rowsAffected; }
    /// Runs an UPDATE or DELETE that must touch its row and returns the count of rows it touched.
    /// Throws DbError::rowMissing when it touched none (the row was deleted meanwhile); the
    /// caller's transaction guard then rolls back what went before.
    qint64 executeOnRow(const QString& statement);
    qint64 executeOnRow(const QString& statement, const QList<DbValue>& params);

    /// Transactions: on SQLite "BEGIN IMMEDIATE" (a second station waits for the first one's
    /// commit, up to the busy timeout); on ODBC manual-commit mode. Nesting is not supported:
    /// beginTrans inside a transaction throws DbError.
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }
    /// When the last transaction was committed (the station's last save); invalid before.
    const QDateTime& lastCommit() const { return m_lastCommit; }
    /// Called each time a transaction has ended (committed, rolled back or lost with the
    /// connection): what was held back for the operator is shown then.
    void setTransactionEndedHandler(std::function<void()> handler) { m_ended = std::move(handler); }

    /// Seconds a statement may run (SQL Server) or wait for a lock (SQLite); 0 = no limit.
    void setCommandTimeout(int seconds);
    int commandTimeout() const { return m_timeout; }

private:
    void openTarget(const QString& connectionString, bool create);
    void reopenIfLost();
    Recordset run(const std::function<Recordset(DbBackend&)>& call);
    DbBackend& backend();

    std::unique_ptr<DbBackend> m_backend;
    QString m_connectionString;
    qint64 m_rowsAffected = 0;
    int m_timeout = 30;
    bool m_inTransaction = false;
    bool m_lost = false;
    QDateTime m_lastCommit;
    std::function<void()> m_ended;

    void transactionEnded();
};
