// Sends the journal's pending saves to the database once it answers again: in order, each in one
// transaction that also writes the record's id into the server's mirelJournal table, so that a
// record is applied exactly once even when the station is killed in the middle of a replay or
// two stations replay at once.
#pragma once

#include "db/Connection.h"
#include "journal/JournalStore.h"

/// The stations' rules for the replay: the running numbers of records that took one offline,
/// and the routines a record names (JournalStep::routine).
class JournalNumbering {
public:
    virtual ~JournalNumbering() = default;
    /// Runs inside the replay's transaction: the number the record is saved with (its own, or
    /// the next free one of its scope when another station saved the same number meanwhile),
    /// with the scope's counters brought up to it. Throws DbError.
    virtual QString finalNumber(Connection& conn, const JournalNumber& number) = 0;
    /// Runs a record's routine with its arguments inside the replay's transaction: "", or what
    /// went wrong that does not keep the record from being saved (the operator is told, as after
    /// the same save online). Throws DbError (the record is refused, or the pass stops when the
    /// database went away).
    virtual QString runRoutine(Connection& conn, const QString& routine, const QString& arguments);
};

struct JournalReplayResult {
    int applied = 0;
    int alreadyApplied = 0; ///< found in mirelJournal: saved by an earlier, interrupted replay
    int refused = 0;
    struct Renumbered {
        JournalRecord record;
        QString newNumber;
    };
    QList<Renumbered> renumbered;
    /// Records saved with something the operator must be told (their stock posting failed).
    struct Warning {
        JournalRecord record;
        QString number; ///< the number it was saved with, when the replay changed it
        QString text;
    };
    QList<Warning> warnings;
    /// The database answered (the pass may still have stopped, or had nothing to send).
    bool reached = false;
    /// The pass stopped early (the database went away again, or was busy); what is left stays
    /// pending for the next pass.
    bool stopped = false;
    QString stopReason;
};

class JournalReplay {
public:
    /// numbering may be null: records then keep the number they were saved with.
    JournalReplay(JournalStore& store, Connection& conn, JournalNumbering* numbering = nullptr);

    /// Replays every pending record, oldest first.
    JournalReplayResult run();

    /// True for errors that say nothing about the record: the database away, locked or busy.
    static bool isTransient(const DbError& e);

    /// The statements that claim a record's id on the server (exposed for the tests).
    static QString claimedQuery(const QString& id);
    static QString claimStatement(const JournalRecord& record);

private:
    enum class Outcome { Applied, AlreadyApplied, Refused, Stopped };
    Outcome replay(const JournalRecord& record, QString& number, QString& reason,
                   QStringList& warnings);
    void apply(const JournalRecord& record, QString& number, QStringList& warnings);
    bool claimed(const QString& id);

    JournalStore& m_store;
    Connection& m_conn;
    JournalNumbering* m_numbering;
};
