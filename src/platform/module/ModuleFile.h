// The program's own modules: libraries loaded on first use so that a station does not load and
// relocate them at its start (the .xlsx reader and writer, the quality overview's charts).
#pragma once

#include <QFunctionPointer>
#include <QString>

namespace module {

/// Where a module lies: the file named by the environment variable env when it is set, else next
/// to the program (build/bin, or wherever mirel was copied with it), else for the installed
/// program in its module folder (/usr/lib/<arch>/mirel).
QString path(const QString& fileName, const char* env);

/// An entry point of the module at path. The module is loaded once and kept for the life of the
/// process; a failed load is retried at the next use, so a module copied in while the station
/// runs is picked up. nullptr with the reason when it cannot be loaded or has no such entry.
QFunctionPointer entry(const QString& path, const char* name, QString* why);

} // namespace module
