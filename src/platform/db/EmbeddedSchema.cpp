// The schema scripts live in schema/ and are compiled in as Qt resources, so that neither the
// stations nor mirel-sql need the source tree at run time.
#include "db/EmbeddedSchema.h"

#include "db/DbError.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

QString resource(const QString& name)
{
    QFile f(u":/schema/"_s + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(u"程序中缺少数据库脚本 %1"_s.arg(name));
    return QString::fromUtf8(f.readAll());
}

} // namespace

namespace EmbeddedSchema {

QString sqliteSchema()
{
    return resource(u"sqlite.sql"_s);
}
QString demoRows()
{
    return resource(u"demo.sql"_s);
}
QString sqlServerSchema()
{
    return resource(u"sqlserver.sql"_s);
}

void create(Connection& conn)
{
    if (conn.dialect() == SqlDialect::Sqlite) {
        conn.execute(sqliteSchema());
        return;
    }
    // The SQL Server script is split in batches at "GO" lines, as sqlcmd does.
    for (const QString& batch : sqlServerSchema().split(u"\nGO\n"_s)) {
        if (!batch.trimmed().isEmpty())
            conn.execute(batch);
    }
}

void addDemoRows(Connection& conn) { conn.execute(demoRows()); }

} // namespace EmbeddedSchema
