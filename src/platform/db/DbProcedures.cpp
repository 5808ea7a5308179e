// The procedure registry of the embedded database.
#include "db/DbProcedures.h"

#include "db/DbError.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace DbProcedures {

namespace {

QHash<QString, Procedure>& registry()
{
    // PeibuBatch allots fabric to stock batches inside the order system's own SQL Server
    // database. A fresh installation on the embedded database has no such stock-batch process,
    // so there the call does nothing and the station reads the batches as they are.
    static QHash<QString, Procedure> r = {
        {u"peibubatch"_s, [](const QStringList&, const Execute&) { return Recordset(); }},
    };
    return r;
}

} // namespace

void registerProcedure(const QString& name, Procedure procedure)
{
    registry().insert(name.toLower(), std::move(procedure));
}

Recordset run(const QString& name, const QStringList& args, const Execute& execute)
{
    const auto it = registry().constFind(name.toLower());
    if (it == registry().constEnd())
        throw DbError(u"找不到存储过程 '%1'。"_s.arg(name), u"42000"_s, 2812);
    return (*it)(args, execute);
}

} // namespace DbProcedures
