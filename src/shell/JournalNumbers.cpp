// Renumbering on replay, through the same running numbers the stations use online, and the
// stock posting of rolls saved offline, through the same posting the save uses online.
#include "shell/JournalNumbers.h"

#include "db/SqlText.h"
#include "shell/StockPosting.h"
#include "shell/SysUtilDb.h"

using namespace Qt::StringLiterals;

namespace {

const QString StockBefore = u"stockBefore"_s;
const QString StockPost = u"stockPost"_s;

} // namespace

bool JournalNumbers::taken(Connection& conn, const JournalNumber& n)
{
    const QString filter = n.filter.trimmed().isEmpty() ? u"1=1"_s : n.filter;
    return conn.execute(u"select count(*) from %1 where (%2) and %3=%4"_s.arg(
                            n.table, filter, n.column, SqlText::quoted(n.value)))
               .field(0)
               .toLongLong() > 0;
}

QString JournalNumbers::finalNumber(Connection& conn, const JournalNumber& n)
{
    QString code = n.value;
    if (code.isEmpty() || taken(conn, n))
        code = SysUtil::nextCode(conn, n.table, n.column, n.length, n.filter, n.holder);
    SysUtil::codeSaved(conn, n.table, n.column, n.filter, code, n.holder);
    return code;
}

JournalStep JournalNumbers::stockBefore(const QString& rollId)
{
    return {rollId, false, false, StockBefore};
}

JournalStep JournalNumbers::stockPost(const QString& rollId, double quantity)
{
    return {rollId + u'|' + QString::number(quantity, 'g', 15), false, false, StockPost};
}

QString JournalNumbers::runRoutine(Connection& conn, const QString& routine,
                                   const QString& arguments)
{
    const qint64 id = arguments.section(u'|', 0, 0).toLongLong();
    if (routine == StockBefore) {
        // What the roll held before the edit: the posting books only the difference.
        m_booked[id] = conn.execute(u"select isnull(sum(oncount),0) from checkinfo where id="_s +
                                    QString::number(id))
                           .field(0)
                           .toDouble();
        return QString();
    }
    if (routine == StockPost) {
        const double quantity = arguments.section(u'|', 1, 1).toDouble();
        try {
            StockPosting::post(conn, id, quantity - m_booked.take(id));
        } catch (const DbError& e) {
            // The roll is the inspector's work and goes in; the batch is the warehouse's, which
            // the operator is told about. A database gone away still stops the pass.
            if (JournalReplay::isTransient(e))
                throw;
            return e.message();
        }
        return QString();
    }
    return JournalNumbering::runRoutine(conn, routine, arguments);
}
