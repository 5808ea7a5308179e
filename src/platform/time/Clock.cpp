#include "time/Clock.h"

namespace {
QDateTime fixedTime; // invalid: the panel's clock
}

namespace Clock {

QDateTime now() { return fixedTime.isValid() ? fixedTime : QDateTime::currentDateTime(); }

QDate today() { return now().date(); }

QString todayText() { return today().toString(QStringLiteral("yyyy-MM-dd")); }

QString nowText() { return now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

void set(const QDateTime& t) { fixedTime = t; }

} // namespace Clock
