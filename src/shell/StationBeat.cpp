// The station's beat: on the UI thread with a QTimer, on the shared connection, never inside a
// save's transaction and never with a message: the office's view must not disturb the floor.
#include "shell/StationBeat.h"

#include "db/Connection.h"
#include "db/EmbeddedSchema.h"
#include "db/Transaction.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/SysUtil.h"
#include "time/Clock.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTimer>
#include <QtDebug>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace StationBeat {

namespace {

// The operator's screen waits on the beat: a beat that would wait longer than this for another
// station's write (or for a slow server) is dropped, the next one comes.
constexpr int BeatWaitSeconds = 5;

QList<DbValue> values(const Beat& b)
{
    const auto when = [](const QDateTime& t) { return t.isValid() ? DbValue(t) : DbValue(); };
    return {b.version, when(b.started),  when(b.seen), b.beatSeconds, b.pending,  b.refused,
            b.devices, when(b.lastSave), b.host,       b.station,     b.machineId};
}

} // namespace

void publish(Connection& c, const Beat& beat)
{
    const int wait = c.commandTimeout();
    c.setCommandTimeout(wait > 0 ? std::min(wait, BeatWaitSeconds) : BeatWaitSeconds);
    const auto restore = qScopeGuard([&] { c.setCommandTimeout(wait); });
    // The station's row updated, or inserted the first time: both in one transaction, so that
    // a beat that fails leaves the table as it was.
    Transaction t(c);
    c.execute(u"update stationStatus set version=?, started=?, lastSeen=?, "
              "beatSeconds=?, pending=?, refused=?, devices=?, lastSave=? "
              "where host=? and station=? and menchineId=?"_s,
              values(beat));
    if (c.rowsAffected() == 0)
        c.execute(u"insert into stationStatus(version, started, lastSeen, beatSeconds, "
                  "pending, refused, devices, lastSave, host, station, menchineId) "
                  "values(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                  values(beat));
    t.commit();
}

bool isMissingTable(const DbError& e)
{
    // SQL Server: 42S02 "Invalid object name" (error 208); SQLite: "no such table".
    return e.code() == u"42S02" || e.nativeCode() == 208 ||
           e.message().contains(QLatin1String("no such table"), Qt::CaseInsensitive);
}

int beatSeconds()
{
    const int s = SysUtil::readIni(u"Web"_s, u"Beat"_s, u"30"_s, u"/mirel.ini"_s).toInt();
    return std::max(1, s > 0 ? s : 30);
}

namespace {

std::function<QString()>& devicesText()
{
    static std::function<QString()> text;
    return text;
}

class Publisher : public QObject {
public:
    explicit Publisher(const QString& station)
    {
        m_beat.host = QSysInfo::machineHostName();
        m_beat.station = station;
        m_beat.machineId = SysUtil::readIni(u"MIREL"_s, u"menchineId"_s, u"001"_s, u"/mirel.ini"_s);
        m_beat.version = QCoreApplication::applicationVersion();
        m_beat.started = Clock::now();
        m_beat.beatSeconds = beatSeconds();
        m_timer.setInterval(m_beat.beatSeconds * 1000);
        connect(&m_timer, &QTimer::timeout, this, [this] { beat(); });
        m_timer.start();
        QTimer::singleShot(0, this, [this] {
            Journal::status()->refresh(); // the counts of what an earlier run left
            beat();
        });
    }

private:
    void beat()
    {
        Connection& c = Database::conn();
        // A station offline keeps its journal; the office sees it by the beat that stops.
        if (!c.isOpen() || c.inTransaction())
            return;
        m_beat.seen = Clock::now();
        m_beat.pending = Journal::status()->pending();
        m_beat.refused = Journal::status()->refused();
        m_beat.devices = devicesText() ? devicesText()() : QString();
        // The beat's own commit is no save of the station.
        if (c.lastCommit() != m_ownCommit)
            m_beat.lastSave = c.lastCommit();
        try {
            publish(c, m_beat);
            m_ownCommit = c.lastCommit();
            m_failing = false;
        } catch (const DbError& e) {
            failed(c, e);
        }
    }

    void failed(Connection& c, const DbError& e)
    {
        if (isMissingTable(e) && c.dialect() == SqlDialect::Sqlite && !m_created) {
            // An embedded database made before the table came gets it now (the schema script
            // creates the tables that are missing and leaves the others as they are).
            m_created = true;
            try {
                EmbeddedSchema::create(c);
                publish(c, m_beat);
                m_ownCommit = c.lastCommit();
                return;
            } catch (const DbError& again) {
                qWarning().noquote() << "stationStatus: table not created:" << again.message();
            }
        }
        if (isMissingTable(e)) {
            qWarning().noquote() << "stationStatus: no such table in the database, the station"
                                    " sends no beat:"
                                 << e.message();
            m_timer.stop();
            return;
        }
        if (!m_failing) // once per outage
            qWarning().noquote() << "stationStatus: beat not written:" << e.message();
        m_failing = true;
    }

    Beat m_beat;
    QDateTime m_ownCommit; ///< when the last beat committed
    QTimer m_timer;
    bool m_created = false;
    bool m_failing = false;
};

} // namespace

void setDevicesText(std::function<QString()> text)
{
    devicesText() = std::move(text);
}

void start(const QString& station)
{
    static Publisher* publisher = nullptr;
    if (!publisher)
        publisher = new Publisher(station); // lives as long as the process
}

} // namespace StationBeat
