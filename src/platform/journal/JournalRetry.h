// The background side of the journal: every few seconds, on a thread of its own with a
// connection of its own, it tries the database and replays the pending records, so that the
// station window never waits for a server that does not answer.
#pragma once

#include "journal/JournalReplay.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QEventLoop;

class JournalRetry : public QObject {
    Q_OBJECT
public:
    using NumberingFactory = std::function<std::unique_ptr<JournalNumbering>()>;

    /// Replays the journal at journalPath onto the database of connectionString every
    /// intervalMs once start() ran; numbering (may be empty) gives the renumbering rules, made
    /// on the worker thread.
    JournalRetry(QString journalPath, QString connectionString, NumberingFactory numbering,
                 int intervalMs = 5000, QObject* parent = nullptr);
    /// Stops the thread and joins it (waits for a pass in progress to end).
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
    std::atomic<bool> m_stopping{false};
    // A joined thread rather than a QThread: Qt's threads are detached and free their per-thread
    // data after wait() returns, which at the application's end may be after the process exits.
    std::thread m_thread;
    QEventLoop* m_loop = nullptr; // lives on m_thread, from start() until the thread is joined
};
