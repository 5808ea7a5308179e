// SQL Server (or any ODBC data source) through the ODBC C API. SQL Server gets the T-SQL as it is;
// a SQLite data source gets the translation, and its driver loads the program's SQLite module
// (the embedded database's functions), without which the connection is refused.
#pragma once

#include "db/DbBackend.h"
#include "db/SqlTranslator.h"

#include <memory>

class OdbcBackend : public DbBackend {
public:
    /// Connects with SQLDriverConnect (no prompt); the SQLite ODBC driver also gets NoCreat=1 and
    /// LoadExt with sqliteModulePath(). Throws DbError with SQLSTATE and message.
    explicit OdbcBackend(const QString& connectionString);

    /// The module with the embedded database's functions for the SQLite ODBC driver (next to the
    /// program, or MIREL_SQLITE_MODULE).
    static QString sqliteModulePath();
    ~OdbcBackend() override;

    SqlDialect dialect() const override { return m_dialect; }
    Recordset execute(const QString& batch, qint64& rowsAffected) override;
    Recordset executeWith(const QString& statement, const QList<DbValue>& params,
                          qint64& rowsAffected) override;
    QString translate(const QString& batch) override;
    void begin() override;
    bool inTransaction() override { return m_inTransaction; }
    void commit() override;
    void rollback() override;
    void setTimeout(int seconds) override { m_timeout = seconds; }

    /// The server's name for itself (SQL_DBMS_NAME): "Microsoft SQL Server", "SQLite".
    const QString& dbmsName() const { return m_dbms; }

private:
    struct Handles;
    Recordset runDirect(const QString& sql, qint64& rowsAffected,
                        const QList<DbValue>* params = nullptr);
    Recordset runStatement(const QString& sql, qint64& rowsAffected, const QList<DbValue>* params);
    void endTransaction(bool commit);
    void requireSqliteModule();
    /// SQLite: throws a lost connection when the database file was moved away or deleted.
    void checkMoved();
    void loadSchema();

    std::unique_ptr<Handles> m_h;
    SqlDialect m_dialect = SqlDialect::SqlServer;
    QString m_dbms;
    SqlTranslator m_translator;
    bool m_schemaLoaded = false;
    bool m_inTransaction = false;
    int m_timeout = 30;
};
