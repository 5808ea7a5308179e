// The time the stations' rules go by: the panel's clock, or in tests a time the test sets, so
// that a roll saved "today" is the same day for the rule and for the test's check of it.
#pragma once

#include <QDate>
#include <QDateTime>

namespace Clock {

/// Now, by the panel's clock unless a time was set.
QDateTime now();
QDate today();
/// "yyyy-MM-dd" of today, as the roll and box tables store the working day.
QString todayText();
/// "yyyy-MM-dd HH:mm:ss" of now.
QString nowText();

/// Tests: every reading gives t from now on (an invalid t gives the panel's clock back).
void set(const QDateTime& t);

} // namespace Clock
