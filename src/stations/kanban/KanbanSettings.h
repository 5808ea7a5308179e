// What the stock board reads from kanban.ini, and the texts it builds on every tick.
#pragma once

#include <QDateTime>
#include <QString>

namespace KanbanSettings {

/// The board's ini file and section.
QString iniFile();
QString section();

/// Keys of the section as the board and its settings frame write them.
QString titleKey();
QString intervalKey();
QString marqueeKey();
QString fontSizeKey();
QString sqlKey();
QString widthsKey();

/// The stock query used when the ini holds none: the first 20 batches in stock of items in use.
QString defaultSql();

/// A value of the section, or def.
QString read(const QString& key, const QString& def);
bool write(const QString& key, const QString& value, QString* error = nullptr);

/// "fontsize" as a whole number; a missing, zero or unreadable size gives the default 32, since
/// a board written in an invisible type would look dead on the wall.
int fontSize();
/// "时间间隔" in milliseconds; below 1 (a typing slip in the ini) the board keeps to 1000.
int interval();
/// The title and the stock query; an empty one (as the settings frame writes an empty box)
/// means the board's own.
QString title();
QString sql();

/// "时间:" and the time as the board shows it: "26-12-06 星期日 9:5:03".
QString clockText(const QDateTime& now);

/// The scrolling line one step on: its first character moved to the end.
QString rotated(const QString& text);

/// Why the board's rows are stale: the database cannot be reached, it refuses the board's query,
/// or the query would write and was not run.
enum class Stale { DatabaseAway, QueryFailed, QueryWrites };

/// The stale-data mark.
QString offlineText(const QDateTime& since, Stale why = Stale::DatabaseAway);

/// Milliseconds the board waits before it reads again after failures reads in a row failed:
/// 1 s, 2 s, 4 s … up to a minute, so that a broken query does not hammer the server every tick.
int retryPause(int failures);

} // namespace KanbanSettings
