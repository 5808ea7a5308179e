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

/// The stale-data mark: the database cannot be reached, or it refuses the board's query.
QString offlineText(const QDateTime& since, bool connectionLost = true);

} // namespace KanbanSettings
