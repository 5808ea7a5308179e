// The schema scripts live in schema/ and are compiled in as Qt resources, so that neither the
// stations nor mirel-sql need the source tree at run time.
#include "db/EmbeddedSchema.h"

#include "db/DbError.h"

#include <QFile>

namespace {

QString resource(const QString& name)
{
    QFile f(QStringLiteral(":/schema/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("程序中缺少数据库脚本 %1").arg(name));
    return QString::fromUtf8(f.readAll());
}

} // namespace

namespace EmbeddedSchema {

QString sqliteSchema() { return resource(QStringLiteral("sqlite.sql")); }
QString demoRows() { return resource(QStringLiteral("demo.sql")); }
QString sqlServerSchema() { return resource(QStringLiteral("sqlserver.sql")); }

void create(Connection& conn)
{
    if (conn.dialect() == SqlDialect::Sqlite) {
        conn.execute(sqliteSchema());
        return;
    }
    // The SQL Server script is split in batches at "GO" lines, as sqlcmd does.
    for (const QString& batch : sqlServerSchema().split(QStringLiteral("\nGO\n"))) {
        if (!batch.trimmed().isEmpty())
            conn.execute(batch);
    }
}

void addDemoRows(Connection& conn) { conn.execute(demoRows()); }

} // namespace EmbeddedSchema
