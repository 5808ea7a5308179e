#include "time/Clock.h"

using namespace Qt::StringLiterals;

namespace {
QDateTime fixedTime; // invalid: the panel's clock
}

namespace Clock {

QDateTime now() { return fixedTime.isValid() ? fixedTime : QDateTime::currentDateTime(); }

QDate today() { return now().date(); }

QString todayText()
{
    return today().toString(u"yyyy-MM-dd"_s);
}

QString nowText()
{
    return now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

void set(const QDateTime& t) { fixedTime = t; }

} // namespace Clock
