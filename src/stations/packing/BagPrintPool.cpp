// Draining the print pool on the packing table's shared connection.
#include "stations/packing/BagPrintPool.h"

#include "db/DbError.h"
#include "db/Transaction.h"
#include "shell/Database.h"
#include "stations/packing/BagSql.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

BagPrintPool::BagPrintPool(Printer printer, QObject* parent)
    : QObject(parent), m_printer(std::move(printer))
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &BagPrintPool::tick);
}

void BagPrintPool::setEnabled(bool on)
{
    m_on = on;
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

bool BagPrintPool::tick()
{
    if (!m_on)
        return false;
    Connection& conn = Database::conn();
    // The operator may be in the middle of a box save, or the last job's print error may stand
    // open before the operator: the next tick takes the job.
    if (conn.inTransaction() || m_inTick)
        return false;
    m_inTick = true;
    const auto done = qScopeGuard([this] { m_inTick = false; });
    try {
        Transaction trans(conn);
        const Recordset job = conn.execute(BagSql::claimPoolJob());
        m_lastError.clear();
        if (!Database::hasRecords(job)) {
            trans.commit();
            return false;
        }
        const qint64 id = job.field(u"ID"_s).toLongLong();
        const QString kind = job.text(u"PrintType"_s);
        const QString pid = job.text(u"PID"_s);
        // The print is all that runs inside the claim, and it is bounded in time; its error
        // boxes wait for the commit (the message box seam holds them while the transaction
        // is open) and do not keep the job.
        m_printer(kind, pid);
        trans.commit();
        emit jobDone(id, kind, pid);
        return true;
    } catch (const DbError& e) {
        // Rolled back by the guard: the job stays at the head and is tried on the next tick.
        if (e.message() != m_lastError) {
            m_lastError = e.message();
            emit claimFailed(u"打印池取任务失败："_s + e.message());
        }
        return false;
    }
}
