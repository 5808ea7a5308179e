// Connection strings of the order system (OLE DB) turned into what our back ends open.
#include "db/ConnectionString.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"

#include <QDir>
#include <QStringList>

namespace ConnectionString {

namespace {

struct Pair {
    QString key;
    QString value;
};

QList<Pair> pairs(const QString& text)
{
    QList<Pair> out;
    for (const QString& part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        out.append({part.left(eq).trimmed(), part.mid(eq + 1).trimmed()});
    }
    return out;
}

// mirel.ini [Database] key.
QString databaseSetting(const QString& key, const QString& def)
{
    return IniFile(ProgramFolder::file(QStringLiteral("/mirel.ini"))).read(QStringLiteral("Database"), key, def).trimmed();
}

bool isSqliteFile(const QString& path)
{
    const QString p = path.toLower();
    return p.endsWith(QStringLiteral(".db")) || p.endsWith(QStringLiteral(".sqlite")) ||
           p.endsWith(QStringLiteral(".sqlite3"));
}

// A relative file is the program folder's, wherever the shortcut starts the program; a
// Windows drive path ("d:\\mes\\mill.db") is the program's stand-in for that drive elsewhere.
QString sqlitePath(const QString& source)
{
    if (source == u":memory:") // SQLite's own name for a database of the connection alone
        return source;
    if (QDir::isAbsolutePath(source))
        return QDir::cleanPath(source);
    if (source.size() > 2 && source.at(1) == u':' && source.at(0).isLetter())
        return QDir::cleanPath(ProgramFolder::systemPath(source));
    return QDir::cleanPath(ProgramFolder::file(u'/' + source));
}

QString odbcForSqlServer(const QString& text)
{
    QString server = value(text, QStringLiteral("Data Source"));
    if (server.isEmpty())
        server = value(text, QStringLiteral("Server"));
    QStringList parts;
    parts << QStringLiteral("Driver={%1}").arg(sqlServerDriver())
          << QStringLiteral("Server=") + server;
    const QString db = value(text, QStringLiteral("Initial Catalog"));
    if (!db.isEmpty())
        parts << QStringLiteral("Database=") + db;
    if (value(text, QStringLiteral("Integrated Security")).compare(QStringLiteral("SSPI"),
                                                                   Qt::CaseInsensitive) == 0) {
        parts << QStringLiteral("Trusted_Connection=Yes");
    } else {
        parts << QStringLiteral("UID=") + value(text, QStringLiteral("User ID"))
              << QStringLiteral("PWD=") + value(text, QStringLiteral("Password"));
    }
    // FreeTDS needs to be told to talk in UTF-8 for Chinese texts.
    if (sqlServerDriver().contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive))
        parts << QStringLiteral("ClientCharset=UTF-8")
              << QStringLiteral("TDS_Version=") + databaseSetting(QStringLiteral("TdsVersion"), QStringLiteral("7.4"));
    return parts.join(u';') + u';';
}

} // namespace

QString value(const QString& text, const QString& key)
{
    for (const Pair& p : pairs(text)) {
        if (p.key.compare(key, Qt::CaseInsensitive) == 0)
            return p.value;
    }
    return QString();
}

QString sqlServerDriver()
{
#ifdef Q_OS_WIN
    const QString def = QStringLiteral("SQL Server");
#else
    const QString def = QStringLiteral("FreeTDS");
#endif
    return databaseSetting(QStringLiteral("SqlServerDriver"), def);
}

ConnectionTarget resolve(const QString& text)
{
    ConnectionTarget t;
    const QString s = text.trimmed();
    if (s.isEmpty() || s == defaultWord) {
        t.kind = ConnectionTarget::Sqlite;
        t.path = ProgramFolder::path() + QStringLiteral("/mirel.db");
        t.createWithSchema = true;
        return t;
    }
    const QString provider = value(s, QStringLiteral("Provider"));
    const QString source = value(s, QStringLiteral("Data Source"));
    if (provider.startsWith(QStringLiteral("SQLite"), Qt::CaseInsensitive) ||
        (!provider.startsWith(QStringLiteral("SQLOLEDB"), Qt::CaseInsensitive) &&
         isSqliteFile(source))) {
        t.kind = ConnectionTarget::Sqlite;
        t.path = sqlitePath(source);
        return t;
    }
    if (provider.startsWith(QStringLiteral("SQLOLEDB"), Qt::CaseInsensitive) ||
        provider.startsWith(QStringLiteral("SQLNCLI"), Qt::CaseInsensitive) ||
        provider.startsWith(QStringLiteral("MSOLEDBSQL"), Qt::CaseInsensitive)) {
        t.kind = ConnectionTarget::Odbc;
        t.odbc = odbcForSqlServer(s);
        return t;
    }
    if (s.startsWith(QStringLiteral("Driver="), Qt::CaseInsensitive) ||
        s.startsWith(QStringLiteral("DSN="), Qt::CaseInsensitive)) {
        t.kind = ConnectionTarget::Odbc;
        t.odbc = s;
    }
    return t;
}

} // namespace ConnectionString
