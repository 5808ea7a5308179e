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

using namespace Qt::StringLiterals;

namespace {

QString mesSetting(const QString& key)
{
    return SysUtil::readIni(u"MES"_s, key, QString(), u"/mirel.ini"_s).trimmed();
}

bool namesSqliteFile(const QString& host)
{
    const QString h = host.toLower();
    return h.endsWith(u".db"_s) || h.endsWith(u".sqlite"_s) || h.endsWith(u".sqlite3"_s);
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
    const QString host = mesSetting(u"MES_HOST"_s);
    if (host.isEmpty())
        throw DbError(u"MES数据库未设置：mirel.ini [MES] MES_HOST 为空"_s);
    if (namesSqliteFile(host)) {
        // Trials and demos keep the MES tables in a file next to the program.
        const QString path = QDir::isAbsolutePath(host) ? host : ProgramFolder::file(u'/' + host);
        if (!QFileInfo::exists(path))
            throw DbError(u"MES数据库文件不存在："_s + path);
        return u"Provider=SQLite;Data Source="_s + path;
    }
    return Database::buildConnectionString(host, mesSetting(u"MES_SA"_s), mesSetting(u"MES_PASS"_s),
                                           mesSetting(u"MES_DB"_s), 2);
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
                *error = u"数据库连接失败"_s;
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
