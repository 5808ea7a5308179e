// The retry thread: a timer on the worker thread runs one replay pass per tick.
#include "journal/JournalRetry.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <future>

JournalRetry::JournalRetry(QString journalPath, QString connectionString,
                           NumberingFactory numbering, int intervalMs, QObject* parent)
    : QObject(parent), m_journalPath(std::move(journalPath)),
      m_connectionString(std::move(connectionString)), m_numbering(std::move(numbering)),
      m_intervalMs(intervalMs)
{
}

JournalRetry::~JournalRetry()
{
    if (!m_thread.joinable())
        return;
    // Not a posted quit: while the application is being destroyed posted events are no longer
    // delivered, and this may be one of its children.
    m_stopping = true;
    m_loop->wakeUp();
    m_thread.join();
}

void JournalRetry::start()
{
    if (m_thread.joinable())
        return;
    std::promise<void> running;
    std::future<void> started = running.get_future();
    m_thread = std::thread([this, &running] {
        // The loop and its timer are made, run and deleted on this thread.
        QEventLoop loop;
        QTimer timer;
        timer.setInterval(m_intervalMs);
        QObject::connect(&timer, &QTimer::timeout, &loop, [this] { pass(); });
        timer.start();
        m_loop = &loop;
        running.set_value();
        while (!m_stopping)
            loop.processEvents(QEventLoop::WaitForMoreEvents);
    });
    started.wait();
    retryNow();
}

void JournalRetry::retryNow()
{
    if (m_loop)
        QMetaObject::invokeMethod(m_loop, [this] { pass(); });
}

void JournalRetry::watch()
{
    m_watch = true;
    retryNow();
}

void JournalRetry::pass()
{
    JournalReplayResult result;
    int pending = 0;
    int refused = 0;
    const bool watching = m_watch;
    const bool journaled = QFileInfo::exists(m_journalPath);
    if (!journaled && !watching)
        return; // nothing was ever journaled here: no file is made for nothing
    try {
        std::unique_ptr<JournalStore> store;
        if (journaled)
            store = std::make_unique<JournalStore>(m_journalPath);
        if (watching || store->count(JournalStore::State::Pending) > 0) {
            try {
                Connection conn;
                conn.open(m_connectionString);
                m_watch = false;
                result.reached = true;
                if (store && store->count(JournalStore::State::Pending) > 0) {
                    const std::unique_ptr<JournalNumbering> numbering =
                        m_numbering ? m_numbering() : nullptr;
                    result = JournalReplay(*store, conn, numbering.get()).run();
                }
            } catch (const DbError& e) {
                // Still away: the next tick tries again.
                result.stopped = true;
                result.stopReason = e.message();
            }
        }
        if (store) {
            pending = store->count(JournalStore::State::Pending);
            refused = store->count(JournalStore::State::Refused);
        }
    } catch (const DbError& e) {
        result.stopped = true; // the journal file itself could not be read
        result.stopReason = e.message();
    }
    const QPointer<JournalRetry> self(this);
    QMetaObject::invokeMethod(this, [self, result, pending, refused] {
        if (self)
            emit self->replayed(result, pending, refused);
    });
}
