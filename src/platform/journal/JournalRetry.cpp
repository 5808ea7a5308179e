// The retry thread: a timer on the worker thread runs one replay pass per tick.
#include "journal/JournalRetry.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

JournalRetry::JournalRetry(QString journalPath, QString connectionString,
                           NumberingFactory numbering, int intervalMs, QObject* parent)
    : QObject(parent), m_journalPath(std::move(journalPath)),
      m_connectionString(std::move(connectionString)), m_numbering(std::move(numbering)),
      m_intervalMs(intervalMs)
{
}

JournalRetry::~JournalRetry()
{
    m_thread.quit();
    m_thread.wait();
}

void JournalRetry::start()
{
    if (m_worker)
        return;
    m_worker = new QObject;
    auto* timer = new QTimer(m_worker); // moves with its parent
    timer->setInterval(m_intervalMs);
    connect(timer, &QTimer::timeout, m_worker, [this] { pass(); });
    m_worker->moveToThread(&m_thread);
    // Deleted on its own thread as that thread ends (its timer stops there), by a direct call: the
    // retry may end with the application, when deferred deletions are no longer delivered.
    connect(&m_thread, &QThread::finished, [worker = m_worker] { delete worker; });
    m_thread.start();
    QMetaObject::invokeMethod(timer, qOverload<>(&QTimer::start));
    retryNow();
}

void JournalRetry::retryNow()
{
    if (m_worker)
        QMetaObject::invokeMethod(m_worker, [this] { pass(); });
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
