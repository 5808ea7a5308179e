#include "stations/progress/WorkloadRecords.h"

#include "db/Connection.h"
#include "db/Transaction.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"

#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace WorkloadRecords {

Recordset load(Connection& conn, const WorkloadSql::ListFilter& filter)
{
    const QString stored = SysUtil::getListSql(conn, u"listSQL"_s, u"LoadWorkLoadkSQL"_s);
    return conn.query(WorkloadSql::listQuery(stored, filter));
}

void remove(Connection& conn, long long id)
{
    Transaction trans(conn);
    const Recordset report = conn.execute(WorkloadSql::reportCard(id));
    const QString card = SysUtil::recordsetHasRows(report) ? report.text(0) : QString();
    conn.executeOnRow(WorkloadSql::deleteRecord(id));
    // The card's status is what its remaining reports say: the latest step, or none. A card
    // deleted in the office has no status to put back: no row to touch is right there.
    if (!card.isEmpty()) {
        const Recordset left = conn.execute(WorkloadSql::latestStep(card));
        conn.execute(WorkloadSql::setBillStatus(
            card, SysUtil::recordsetHasRows(left) ? std::optional(left.text(0)) : std::nullopt));
    }
    trans.commit();
}

QList<int> storedWidths(const QString& stored, int cols)
{
    const QStringList widths = stored.split(u',');
    QList<int> out;
    if (widths.size() != cols)
        return out;
    for (int i = 1; i < cols; ++i)
        out << int(vb::Val(widths[i]));
    return out;
}

} // namespace WorkloadRecords
