// The unattended MES run: the times and the count around one import of loom events.
#pragma once

#include "time/Clock.h"

#include <QDate>
#include <QString>
#include <functional>

namespace MesRun {

/// Imports events newer than since ("yyyy-mm-dd"); returns the count as text, or false with error.
using Import = std::function<bool(const QString& since, QString* count, QString* error)>;

/// Start date of a run: today plus the SynDays setting of mirel.ini (default "-10").
QString startDate(const QDate& today = Clock::today());

/// Writes the start time, runs the import, writes the count and the finish time. On failure only
/// the start time is written; returns false with the error. A time or count that cannot be
/// written makes the run fail too (after the import), with the file and the reason.
bool run(const Import& import, QString* error);

/// The real import on the shared connection; reports an error when the database or the MES
/// import cannot run.
Import defaultImport();

} // namespace MesRun
