// Where the MES database is (mirel.ini [MES]) and the import as the stations and the unattended
// run call it.
#include "shell/MesImport.h"

#include "config/ProgramFolder.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "shell/Database.h"
#include "shell/MesRun.h"
#include "shell/SysUtil.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString mesSetting(const QString& key)
{
    return SysUtil::readIni(QStringLiteral("MES"), key, QString(), QStringLiteral("/mirel.ini")).trimmed();
}

bool namesSqliteFile(const QString& host)
{
    const QString h = host.toLower();
    return h.endsWith(QStringLiteral(".db")) || h.endsWith(QStringLiteral(".sqlite")) ||
           h.endsWith(QStringLiteral(".sqlite3"));
}

// The SQLite file a connection string opens; "" for a server.
QString sqliteFile(const QString& connection)
{
    const ConnectionTarget t = ConnectionString::resolve(connection);
    return t.kind == ConnectionTarget::Sqlite ? QFileInfo(t.path).absoluteFilePath() : QString();
}

} // namespace

namespace MesImport {

QString connectionString()
{
    const QString host = mesSetting(QStringLiteral("MES_HOST"));
    if (host.isEmpty())
        throw DbError(QStringLiteral("MES数据库未设置：mirel.ini [MES] MES_HOST 为空"));
    if (namesSqliteFile(host)) {
        // Trials and demos keep the MES tables in a file next to the program.
        const QString path = QDir::isAbsolutePath(host) ? host : ProgramFolder::file(u'/' + host);
        if (!QFileInfo::exists(path))
            throw DbError(QStringLiteral("MES数据库文件不存在：") + path);
        return QStringLiteral("Provider=SQLite;Data Source=") + path;
    }
    return Database::buildConnectionString(host, mesSetting(QStringLiteral("MES_SA")),
                                           mesSetting(QStringLiteral("MES_PASS")),
                                           mesSetting(QStringLiteral("MES_DB")), 2);
}

} // namespace MesImport

QString syncMesEvents(const QString& since)
{
    Connection& mill = Database::conn();
    const QString target = MesImport::connectionString();
    const QString file = sqliteFile(target);
    // One database file holding both: two connections would wait on each other's write lock.
    if (!file.isEmpty() && file == sqliteFile(mill.connectionString()))
        return MesImport::syncMesEvents(mill, mill, since);
    Connection mesConnection;
    mesConnection.setCommandTimeout(36000);
    mesConnection.open(target);
    return MesImport::syncMesEvents(mill, mesConnection, since);
}

namespace MesRun {

Import defaultImport()
{
    return [](const QString& since, QString* count, QString* error) {
        if (!Database::openConnection()) {
            if (error)
                *error = QStringLiteral("数据库连接失败");
            return false;
        }
        try {
            const QString n = syncMesEvents(since);
            if (count)
                *count = n;
            return true;
        } catch (const DbError& e) {
            if (error)
                *error = e.message();
            return false;
        }
    };
}

} // namespace MesRun
