// While a question stands before the operator, scans wait: a scanner's code is not an answer, and
// a code read meanwhile is handed to the station once the question is answered.
#pragma once

#include <QtGlobal>

#include <functional>

class QObject;

namespace QuestionGate {

/// Enter keys this close after a scan belong to the scan, not to a question.
inline constexpr qint64 kScanEnterMs = 500;

/// A message box or question opens / closes (nested ones count).
void opened();
void closed();
bool isOpen();

/// Runs what at once when no question is open; otherwise keeps it and runs it, in the order
/// kept, after the last open question is answered and its caller has finished. Dropped when
/// context is gone by then.
void whenAnswered(QObject* context, std::function<void()> what);

/// A scanner (serial or keyboard wedge) has just delivered a key or a code; field: the field a
/// keyboard scanner typed into, where codes typed into a question box are meant to go.
void noteScan(QObject* field = nullptr);
QObject* lastScanField();
/// Milliseconds since the last noteScan(); very large when none was seen.
qint64 sinceScanMs();

} // namespace QuestionGate
