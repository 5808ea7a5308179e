// Connection strings of the order system (OLE DB) turned into what our back ends open.
#include "db/ConnectionString.h"

#include "config/IniFile.h"
#include "config/ProgramFolder.h"

#include <QDir>
#include <QStringList>

using namespace Qt::StringLiterals;

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
    return IniFile(ProgramFolder::file(u"/mirel.ini"_s)).read(u"Database"_s, key, def).trimmed();
}

bool isSqliteFile(const QString& path)
{
    const QString p = path.toLower();
    return p.endsWith(u".db"_s) || p.endsWith(u".sqlite"_s) || p.endsWith(u".sqlite3"_s);
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
    QString server = value(text, u"Data Source"_s);
    if (server.isEmpty())
        server = value(text, u"Server"_s);
    QStringList parts;
    parts << u"Driver={%1}"_s.arg(sqlServerDriver()) << u"Server="_s + server;
    const QString db = value(text, u"Initial Catalog"_s);
    if (!db.isEmpty())
        parts << u"Database="_s + db;
    if (value(text, u"Integrated Security"_s).compare(u"SSPI"_s, Qt::CaseInsensitive) == 0) {
        parts << u"Trusted_Connection=Yes"_s;
    } else {
        parts << u"UID="_s + value(text, u"User ID"_s) << u"PWD="_s + value(text, u"Password"_s);
    }
    // FreeTDS needs to be told to talk in UTF-8 for Chinese texts.
    if (sqlServerDriver().contains(u"FreeTDS"_s, Qt::CaseInsensitive))
        parts << u"ClientCharset=UTF-8"_s
              << u"TDS_Version="_s + databaseSetting(u"TdsVersion"_s, u"7.4"_s);
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
    const QString def = u"SQL Server"_s;
#else
    const QString def = u"FreeTDS"_s;
#endif
    return databaseSetting(u"SqlServerDriver"_s, def);
}

ConnectionTarget resolve(const QString& text)
{
    ConnectionTarget t;
    const QString s = text.trimmed();
    if (s.isEmpty() || s == defaultWord) {
        t.kind = ConnectionTarget::Sqlite;
        t.path = ProgramFolder::path() + u"/mirel.db"_s;
        t.createWithSchema = true;
        return t;
    }
    const QString provider = value(s, u"Provider"_s);
    const QString source = value(s, u"Data Source"_s);
    if (provider.startsWith(u"SQLite"_s, Qt::CaseInsensitive) ||
        (!provider.startsWith(u"SQLOLEDB"_s, Qt::CaseInsensitive) && isSqliteFile(source))) {
        t.kind = ConnectionTarget::Sqlite;
        t.path = sqlitePath(source);
        return t;
    }
    if (provider.startsWith(u"SQLOLEDB"_s, Qt::CaseInsensitive) ||
        provider.startsWith(u"SQLNCLI"_s, Qt::CaseInsensitive) ||
        provider.startsWith(u"MSOLEDBSQL"_s, Qt::CaseInsensitive)) {
        t.kind = ConnectionTarget::Odbc;
        t.odbc = odbcForSqlServer(s);
        return t;
    }
    if (s.startsWith(u"Driver="_s, Qt::CaseInsensitive) ||
        s.startsWith(u"DSN="_s, Qt::CaseInsensitive)) {
        t.kind = ConnectionTarget::Odbc;
        t.odbc = s;
    }
    return t;
}

} // namespace ConnectionString
