// The error every database operation throws: the driver's message and code, caught by the
// station routine that ran the statement and shown in its message box.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

class DbError : public std::exception {
public:
    /// message: the driver's text (shown to the operator); code: SQLSTATE for ODBC, the SQLite
    /// error name ("SQLITE_BUSY") for the embedded database; native: the driver's number.
    explicit DbError(QString message, QString code = QString(), int native = 0);

    const QString& message() const noexcept { return m_message; }
    const QString& code() const noexcept { return m_code; }
    int nativeCode() const noexcept { return m_native; }

    /// True when the error means the server went away (the connection must be opened again).
    bool connectionLost() const noexcept { return m_lost; }
    DbError& markConnectionLost() noexcept { m_lost = true; return *this; }
    /// The database is away: the connection was lost, or never opened (08003: the database was
    /// away when the station started). Saves go into the offline journal then.
    bool offline() const noexcept { return m_lost || m_code == u"08003"; }

    /// The error of an UPDATE or DELETE that had to touch its row and touched none: the row was
    /// deleted (or never saved) by another station meanwhile.
    static DbError rowMissing(const QString& statement);
    bool isRowMissing() const noexcept;

    /// A configured query that would write (or is no single query) and was not run.
    static DbError readOnlyRefusal(const QString& message);
    bool isReadOnlyRefusal() const noexcept;

    /// The message as UTF-8.
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QString m_code;
    int m_native = 0;
    bool m_lost = false;
    QByteArray m_utf8;
};
