// The background side of the journal: every few seconds, on a thread of its own with a
// connection of its own, it tries the database and replays the pending records, so that the
// station window never waits for a server that does not answer.
#pragma once

#include "journal/JournalReplay.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

class JournalRetry : public QObject {
    Q_OBJECT
public:
    using NumberingFactory = std::function<std::unique_ptr<JournalNumbering>()>;

    /// Replays the journal at journalPath onto the database of connectionString every
    /// intervalMs once start() ran; numbering (may be empty) gives the renumbering rules, made
    /// on the worker thread.
    JournalRetry(QString journalPath, QString connectionString, NumberingFactory numbering,
                 int intervalMs = 5000, QObject* parent = nullptr);
    /// Stops the thread (waits for a pass in progress to end).
    ~JournalRetry() override;

    void start();
    /// Tries at once (after a save was journaled, or when the operator asks).
    void retryNow();
    /// Tries the database on every tick, even with nothing to send, until it answers once (a
    /// station told the operator that something needs the database): replayed() then reports it
    /// reached.
    void watch();

signals:
    /// A pass ended (queued onto the thread of this object): what was replayed, and the counts
    /// left in the journal.
    void replayed(const JournalReplayResult& result, int pending, int refused);

private:
    void pass();

    QString m_journalPath;
    QString m_connectionString;
    NumberingFactory m_numbering;
    int m_intervalMs;
    std::atomic<bool> m_watch{false};
    QThread m_thread;
    QObject* m_worker = nullptr; // lives on m_thread
};
