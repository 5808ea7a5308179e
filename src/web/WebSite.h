// The office's web view of the floor: every request of `mirel serve` comes here and gets its
// page, its JSON or its refusal. Read-only, always: nothing here writes to the database.
#pragma once

#include "time/Clock.h"
#include "web/WebAccess.h"
#include "web/WebData.h"
#include "web/WebHttp.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QString>
#include <QThreadPool>
#include <QThreadStorage>

#include <functional>
#include <memory>

class Connection;

/// A refusal of a request: 400 for a bad parameter, 404 for an unknown path.
struct WebError {
    int status = 400;
    QString why;
};

/// Answers requests on any thread: the thread that made it reads through the connection it was
/// given, every other thread through a connection of its own, opened on its first request.
class WebSite {
public:
    using Clock = std::function<QDateTime()>;
    /// c: the database the stations use (opened on the first request, never created);
    /// connectionString: what opens it again after it went away, and what other threads open.
    WebSite(
        Connection& c, QString connectionString, QString token, bool https,
        Clock clock = [] { return ::Clock::now(); });
    ~WebSite();

    WebReply handle(const WebRequest& r);
    /// True when the answer reads a range of rolls anew (an overview not kept from the last
    /// minute): the server answers it on another thread, so that the board and the pages kept
    /// are not kept waiting behind it.
    bool readsLong(const WebRequest& r);

    /// The JSON of a path of the API ("/api/stations" …), as the pages show it. Throws WebError.
    QJsonObject api(const QString& path, const WebRequest& r);

private:
    /// The connection of the calling thread.
    Connection& conn();
    /// A second connection of the calling thread, for reading the range before an overview's
    /// meanwhile on a thread of m_besideThreads; none when it cannot be opened (the first
    /// connection then reads it).
    WebData::Beside beside();
    WebReply route(const WebRequest& r);
    WebReply loginReply(const WebRequest& r);
    WebReply refuse(const WebRequest& r, int status, const QString& why);
    /// Opens the database when it is closed; false (and the offline mark set) when it is away.
    bool reach();
    /// Marks the database away since now (kept while it stays away); the mark's text.
    void markOffline(const QString& reason);
    QString offlineText();
    template <typename Read> bool read(QJsonObject& out, Read&& body);

    QJsonObject stations();
    QJsonObject board();
    QJsonObject quality(const WebRequest& r);
    /// The key of an overview's filter and the overview kept for it, empty when none is kept.
    QJsonObject keptQuality(const QString& key, const QDateTime& now);
    QJsonObject roll(const WebRequest& r);
    WebReply workbook(const WebRequest& r);

    Connection& m_conn;
    const QThread* m_home; ///< the thread that reads through m_conn
    QThreadStorage<Connection*> m_pooled;
    QThreadStorage<Connection*> m_beside;
    /// The second connection of m_home: thread storage of the main thread outlives the site
    /// (its data would be freed only when the thread ends).
    std::unique_ptr<Connection> m_homeBeside;
    QString m_connectionString;
    WebAccess m_access;
    bool m_https = false;
    Clock m_clock;
    QMutex m_lock; ///< guards what follows, shared by the threads
    QDateTime m_offlineSince;
    QJsonObject m_lastBoard; ///< the board's last rows, shown stale while the database is away
    /// Overviews read in the last minute, by their filter: TVs and browsers refreshing the same
    /// range every few seconds read the database once a minute.
    QHash<QString, QPair<QDateTime, QJsonObject>> m_quality;
    /// Where the ranges before are read: threads kept for the site's life (each new thread
    /// would keep memory of its own), ended first.
    QThreadPool m_besideThreads;
};
