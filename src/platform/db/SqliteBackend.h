// The embedded database: SQLite through its C API, T-SQL translated per statement.
#pragma once

#include "db/DbBackend.h"
#include "db/SqlTranslator.h"
#include "db/SqliteStatements.h"

class SqlShape;
struct sqlite3;
struct sqlite3_stmt;

class SqliteBackend : public DbBackend {
public:
    /// Opens the file; with create it is created (and given the embedded schema) when missing.
    /// Throws DbError for a missing, unreadable or corrupt file (which is left as it is).
    SqliteBackend(const QString& path, bool create);
    ~SqliteBackend() override;

    SqlDialect dialect() const override { return SqlDialect::Sqlite; }
    Recordset execute(const QString& batch, qint64& rowsAffected) override;
    Recordset executeReadOnly(const QString& batch, qint64& rowsAffected) override;
    Recordset executeWith(const QString& statement, const QList<DbValue>& params,
                          qint64& rowsAffected) override;
    void forEachRow(const QString& statement, const QList<DbValue>& params,
                    const DbRowHandler& onRow, qint64& rowsAffected) override;
    QString translate(const QString& batch) override { return translator().translate(batch); }
    void begin() override;
    void commit() override;
    void rollback() override;
    void setTimeout(int seconds) override;
    bool inTransaction() override;

    /// Runs native SQLite text (no translation), e.g. a schema script.
    void executeNative(const QString& sql);
    /// The translator with the current schema (tests, mirel-sql --translate).
    const SqlTranslator& translator();
    /// Batches kept translated and prepared (at most statementCache().capacity()), and the
    /// statements SQLite holds prepared for this connection.
    const SqliteStatementCache& statementCache() const { return m_cache; }
    int preparedStatements() const;

private:
    /// Runs a prepared statement of a batch; its rows go to onRow when one is given, else into
    /// the recordset returned.
    Recordset run(SqlitePrepared& s, qint64& rowsAffected, const QList<DbValue>* params = nullptr,
                  const SqlShape* shape = nullptr, const DbRowHandler* onRow = nullptr);
    /// The batch of a statement with "?" markers, which must be one statement.
    std::shared_ptr<SqliteBatch> single(const QString& statement);
    /// The statement as an error message shows it: with the literals of its batch.
    static QString shownText(const SqlitePrepared& s, const SqlShape* shape);
    void bind(sqlite3_stmt* st, const QList<DbValue>& params, const QString& sql);
    void checkMoved();
    /// Whether the database stores its texts as UTF-8, read on first need.
    bool storesUtf8();
    sqlite3_stmt* prepare(SqlitePrepared& s, const SqlShape* shape);
    std::shared_ptr<SqliteBatch> batchFor(const QString& batch, const SqlShape& shape);
    void loadSchema();
    [[noreturn]] void fail(int rc, const QString& sql = QString());

    sqlite3* m_db = nullptr;
    SqlTranslator m_translator;
    bool m_schemaLoaded = false;
    /// Texts stored as UTF-8 (1; a file made elsewhere may hold UTF-16: 0), -1 until read.
    int m_utf8 = -1;
    SqliteStatementCache m_cache{200};
};
