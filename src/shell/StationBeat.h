// Every station's beat in the table stationStatus: who runs where, which version, since when,
// how many saves wait in its offline journal, its devices and its last save. The office's web
// view reads the table; a station whose beat stops turns red there.
#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class Connection;
class DbError;

namespace StationBeat {

/// One row of stationStatus.
struct Beat {
    QString host;
    QString station;   ///< the station word
    QString machineId; ///< mirel.ini [MIREL] menchineId
    QString version;
    QDateTime started;
    QDateTime seen;
    int beatSeconds = 30;
    int pending = 0; ///< saves waiting in the offline journal
    int refused = 0; ///< saves the database refused at replay
    QString devices; ///< "计米器:已连接 电子秤:无读数 45 秒"; empty on stations without devices
    QDateTime lastSave;
};

/// Writes one beat in a transaction of its own: the station's row updated, or inserted the first
/// time; it waits a few seconds at most for another station's write. Throws DbError (and leaves
/// the table as it was).
void publish(Connection& c, const Beat& beat);

/// True when the error says that stationStatus does not exist (a mill database whose schema
/// script has not been run since the table came).
bool isMissingTable(const DbError& e);

/// Seconds between beats: mirel.ini [Web] Beat, default 30 (at least 1).
int beatSeconds();

/// What the station's devices say, for the beat; stations with devices set it.
void setDevicesText(std::function<QString()> text);

/// Starts this process's beat on the shared connection: one at once, then every beatSeconds().
/// A missing table means no beat and one line in the log, never a message to the operator.
void start(const QString& station);

} // namespace StationBeat
