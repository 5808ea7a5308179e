// Length correction and the display pictures of the quantity field.
#include "devices/LengthDisplay.h"

#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace devices {

double correctedLength(double raw, double a, double b, bool yards)
{
    double length = b != 0 ? raw * a / b : raw;
    if (yards)
        length *= kYardsPerMetre;
    return length;
}

QString formatLength(double length, const QString& dispFormat, LengthFormatRules rules)
{
    if (dispFormat == u"0"_s)
        return vb::Str(vb::Fix(length));
    // "00" rounds every started metre up: the roll is sold by whole metres.
    if (dispFormat == u"00"_s && rules == LengthFormatRules::RoundUpDoubleZero)
        return vb::Str(vb::Fix(vb::Val(vb::Str(length)) + 0.99));
    return vb::Format(length, dispFormat);
}

QString formatWeight(double weight, const QString& dispFormat)
{
    return vb::Format(weight, dispFormat);
}

} // namespace devices
