// Printing filled pages on a thread of their own, so that a printer (or a PDF path) that does not
// answer cannot hold the station - perhaps inside a database transaction - longer than a
// bounded time: after it the print counts as failed and the station goes on.
#pragma once

#include "report/FilledReport.h"

#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;

namespace PrintJob {

/// Milliseconds a print may take before it is an error (default 10 s).
int timeoutMs();
void setTimeoutMs(int ms);

/// Draws pages, copies times, on printerName: "" the default printer, a name ending in ".pdf" a
/// PDF file of that path, any other name that printer. Problems met while drawing are appended
/// to problems. Throws ReportError for an unknown printer, a device that cannot start, and a
/// print not done within timeoutMs() (the drawing then finishes, or not, on its own; the
/// application waits up to 10 s more for it as it ends).
/// Sets the printer to the template's page without margins and begins painting on it; throws
/// ReportError when the printer cannot start.
void begin(QPainter& painter, QPrinter& printer, const ReportTemplate& t);

void run(const ReportTemplate& t, const QList<FilledPage>& pages, const QString& printerName,
         int copies, QStringList* problems);

} // namespace PrintJob
