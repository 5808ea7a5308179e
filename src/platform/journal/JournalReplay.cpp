// The replay of the journal: one server transaction per record, claimed in mirelJournal.
#include "journal/JournalReplay.h"

#include "db/SqlText.h"
#include "db/Transaction.h"
#include "time/Clock.h"

using namespace Qt::StringLiterals;

QString JournalNumbering::runRoutine(Connection&, const QString& routine, const QString&)
{
    throw DbError(u"离线记录的步骤「%1」这个版本不认识"_s.arg(routine));
}

JournalReplay::JournalReplay(JournalStore& store, Connection& conn, JournalNumbering* numbering)
    : m_store(store), m_conn(conn), m_numbering(numbering)
{
}

bool JournalReplay::isTransient(const DbError& e)
{
    // SQLite: busy or locked by another station; SQL Server: lock time-out (1222) or deadlock
    // victim (1205), query time-out (HYT00).
    const QString& c = e.code();
    return e.connectionLost() || c.startsWith(u"SQLITE_BUSY") || c.startsWith(u"SQLITE_LOCKED") ||
           c == u"HYT00" || c == u"HYT01" || e.nativeCode() == 1205 || e.nativeCode() == 1222;
}

QString JournalReplay::claimedQuery(const QString& id)
{
    return u"select count(*) from mirelJournal with (UPDLOCK, HOLDLOCK) where journalId = "_s +
           SqlText::quoted(id);
}

QString JournalReplay::claimStatement(const JournalRecord& record)
{
    // The replay time is the station's clock, as every date the stations write.
    return u"insert into mirelJournal(journalId, station, saved, replayed) values(%1, %2, %3, %4)"_s
        .arg(SqlText::quoted(record.id), SqlText::quoted(record.station.left(100)),
             SqlText::quoted(SqlText::dateTime(record.saved)),
             SqlText::quoted(SqlText::dateTime(Clock::now())));
}

bool JournalReplay::claimed(const QString& id)
{
    return m_conn.execute(claimedQuery(id)).field(0).toLongLong() > 0;
}

JournalReplayResult JournalReplay::run()
{
    JournalReplayResult result;
    try {
        // A server without the table would refuse every record for a reason none of them has.
        m_conn.execute(u"select count(*) from mirelJournal where 1=0"_s);
        result.reached = true;
    } catch (const DbError& e) {
        result.reached = !isTransient(e);
        result.stopped = true;
        result.stopReason = e.message();
        return result;
    }
    for (const JournalStore::Entry& e : m_store.entries(JournalStore::State::Pending)) {
        QString number = e.record.number.value;
        QString reason;
        QStringList warnings;
        switch (replay(e.record, number, reason, warnings)) {
        case Outcome::Applied: {
            ++result.applied;
            const QString changed = number == e.record.number.value ? QString() : number;
            for (const QString& text : warnings)
                result.warnings.append({e.record, changed, text});
            m_store.markDone(e.record.id, changed);
            if (!changed.isEmpty())
                result.renumbered.append({e.record, number});
            break;
        }
        case Outcome::AlreadyApplied:
            ++result.alreadyApplied;
            m_store.markDone(e.record.id);
            break;
        case Outcome::Refused:
            ++result.refused;
            m_store.markRefused(e.record.id, reason);
            break;
        case Outcome::Stopped:
            result.stopped = true;
            result.stopReason = reason;
            return result;
        }
    }
    return result;
}

JournalReplay::Outcome JournalReplay::replay(const JournalRecord& record, QString& number,
                                             QString& reason, QStringList& warnings)
{
    try {
        Transaction tx(m_conn);
        // The claim is read under lock, so that a second station replaying the same record waits
        // here and then finds it applied.
        if (claimed(record.id))
            return Outcome::AlreadyApplied;
        m_conn.execute(claimStatement(record));
        apply(record, number, warnings);
        tx.commit();
        return Outcome::Applied;
    } catch (const DbError& e) {
        reason = e.message();
        if (isTransient(e))
            return Outcome::Stopped;
    }
    // Refused, unless a replay elsewhere applied the record meanwhile (its claim came first).
    try {
        if (claimed(record.id))
            return Outcome::AlreadyApplied;
    } catch (const DbError& e) {
        reason = e.message();
        return Outcome::Stopped;
    }
    return Outcome::Refused;
}

void JournalReplay::apply(const JournalRecord& record, QString& number, QStringList& warnings)
{
    if (record.number.isSet() && m_numbering)
        number = m_numbering->finalNumber(m_conn, record.number);
    QList<qint64> ids;
    for (const JournalStep& step : record.steps) {
        const QString sql = JournalRecord::filled(step.sql, number, ids);
        qint64 id = 0;
        if (!step.routine.isEmpty()) {
            if (!m_numbering)
                throw DbError(u"离线记录的步骤「%1」不能在这里执行"_s.arg(step.routine));
            const QString warning = m_numbering->runRoutine(m_conn, step.routine, sql);
            if (!warning.isEmpty())
                warnings.append(warning);
        } else if (step.identity)
            id = m_conn.execute(sql + u"; select SCOPE_IDENTITY()"_s).field(0).toLongLong();
        else if (step.mustTouch)
            m_conn.executeOnRow(sql);
        else
            m_conn.execute(sql);
        ids.append(id);
    }
}
