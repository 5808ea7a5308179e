// Start-up of a station measured from outside: the wall time from starting `mirel <word>` to
// its "painted: …" line, offscreen at 1024 x 768 in a given program folder.
#pragma once

#include <QString>
#include <QStringList>

namespace StartToPaint {

struct Run {
    double seconds = 0;
    /// The process's peak resident memory when it reported its painted window.
    long peakKiB = 0;
};

/// Seconds from process start to the painted window and the memory it took to get there;
/// aborts when no window is painted.
Run run(const QString& program, const QStringList& args, const QString& home);
double seconds(const QString& program, const QStringList& args, const QString& home);

/// A program of the benchmark's own folder (mirel, bench_bare_window).
QString binary(const char* name);

/// Process figures read from /proc: resident memory in KiB and open file descriptors.
long residentKiB();
int openFiles();

} // namespace StartToPaint
