// Date texts of the database: stored as ISO "yyyy-MM-dd hh:mm:ss", read in the forms stations and
// customers write ("2026/1/5 8:03:00", "2026-01-05", "20260105").
#pragma once

#include <QDateTime>
#include <QString>

namespace DateText {

/// A date/time from a date text; invalid when the text is no date.
QDateTime parse(const QString& text);
/// The stored form "yyyy-MM-dd hh:mm:ss" of a date text; an empty QString when it is no date.
QString normalise(const QString& text);
/// "yyyy-MM-dd hh:mm:ss", or "yyyy-MM-dd" at midnight.
QString display(const QDateTime& t);
/// "yyyy-MM-dd hh:mm:ss".
QString iso(const QDateTime& t);

} // namespace DateText
