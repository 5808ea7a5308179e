// The connection: picks the back end from the connection string, keeps the transaction state
// and opens the database again after the server went away.
#include "db/Connection.h"

#include "db/ConnectionString.h"
#include "db/DbBackend.h"
#include "db/SqlReadOnly.h"
#include "db/SqliteBackend.h"
#ifdef MIREL_WITH_ODBC
#include "db/OdbcBackend.h"
#endif

#include <QScopeGuard>

using namespace Qt::StringLiterals;

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::open(const QString& connectionString) { openTarget(connectionString, false); }

void Connection::openOrCreate(const QString& connectionString)
{
    openTarget(connectionString, true);
}

void Connection::openTarget(const QString& connectionString, bool create)
{
    close();
    m_connectionString = connectionString;
    const ConnectionTarget target = ConnectionString::resolve(connectionString);
    switch (target.kind) {
    case ConnectionTarget::Sqlite:
        // Only the caller that knows the file never existed creates it (start-up, mirel-sql
        // --init): a re-open after the file went away must find it gone, not make an empty one.
        m_backend = std::make_unique<SqliteBackend>(target.path, create);
        break;
    case ConnectionTarget::Odbc:
#ifdef MIREL_WITH_ODBC
        m_backend = std::make_unique<OdbcBackend>(target.odbc);
        break;
#else
        throw DbError(u"本程序编译时未包含 ODBC，不能连接：%1"_s.arg(connectionString));
#endif
    case ConnectionTarget::Invalid:
        throw DbError(u"无法识别的连接字符串：%1"_s.arg(connectionString));
    }
    m_backend->setTimeout(m_timeout);
    m_lost = false;
}

void Connection::close()
{
    m_backend.reset();
    m_inTransaction = false;
    m_lost = false;
}

bool Connection::isOpen() const { return m_backend != nullptr || m_lost; }

SqlDialect Connection::dialect() const
{
    return m_backend ? m_backend->dialect() : SqlDialect::SqlServer;
}

void Connection::reopenIfLost()
{
    if (!m_lost || m_backend)
        return;
    try {
        openTarget(m_connectionString, false);
    } catch (DbError& e) {
        // Still offline: the next statement tries again, so that the station comes back by
        // itself when the database does.
        m_lost = true;
        throw e.markConnectionLost();
    }
}

DbBackend& Connection::backend()
{
    reopenIfLost();
    if (!m_backend)
        throw DbError(u"数据库连接未打开"_s, u"08003"_s);
    return *m_backend;
}

Recordset Connection::execute(const QString& batch)
{
    return run([&](DbBackend& b) { return b.execute(batch, m_rowsAffected); });
}

Recordset Connection::query(const QString& statement)
{
    const QString problem = SqlReadOnly::problem(statement);
    if (!problem.isEmpty())
        throw DbError::readOnlyRefusal(problem + u'：' + statement.trimmed());
    return run([&](DbBackend& b) { return b.executeReadOnly(statement, m_rowsAffected); });
}

Recordset Connection::execute(const QString& statement, const QList<DbValue>& params)
{
    return run([&](DbBackend& b) { return b.executeWith(statement, params, m_rowsAffected); });
}

void Connection::forEachRow(const QString& statement, const QList<DbValue>& params,
                            const DbRowHandler& onRow)
{
    run([&](DbBackend& b) {
        b.forEachRow(statement, params, onRow, m_rowsAffected);
        return Recordset();
    });
}

qint64 Connection::executeOnRow(const QString& statement)
{
    execute(statement);
    if (m_rowsAffected <= 0)
        throw DbError::rowMissing(statement);
    return m_rowsAffected;
}

qint64 Connection::executeOnRow(const QString& statement, const QList<DbValue>& params)
{
    execute(statement, params);
    if (m_rowsAffected <= 0)
        throw DbError::rowMissing(statement);
    return m_rowsAffected;
}

Recordset Connection::run(const std::function<Recordset(DbBackend&)>& call)
{
    DbBackend& b = backend();
    m_rowsAffected = 0;
    try {
        return call(b);
    } catch (const DbError& e) {
        if (e.connectionLost()) {
            // The next statement opens the connection again; an open transaction is gone with
            // the server's session and is not replayed.
            m_backend.reset();
            m_lost = true;
            m_inTransaction = false;
        }
        throw;
    }
}

QString Connection::translate(const QString& batch) { return backend().translate(batch); }

void Connection::beginTrans()
{
    if (m_inTransaction)
        throw DbError(u"事务已经开始，不能再次开始"_s);
    backend().begin();
    m_inTransaction = true;
}

void Connection::commitTrans()
{
    if (!m_inTransaction)
        throw DbError(u"没有已开始的事务，不能提交"_s);
    backend().commit();
    m_inTransaction = false;
    m_lastCommit = QDateTime::currentDateTime();
    transactionEnded();
}

void Connection::rollbackTrans()
{
    // Also after a transaction that went with a lost connection: what waited is shown now.
    const auto ended = qScopeGuard([this] { transactionEnded(); });
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (m_backend)
        m_backend->rollback();
}

void Connection::transactionEnded()
{
    if (m_ended)
        m_ended();
}

void Connection::setCommandTimeout(int seconds)
{
    m_timeout = seconds;
    if (m_backend)
        m_backend->setTimeout(seconds);
}
