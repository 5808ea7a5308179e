#include "stations/fiberbox/HuaxianBox.h"

#include "text/Vb.h"
#include "time/Clock.h"

using namespace Qt::StringLiterals;

bool HuaxianBox::quantityValid(const QString& text) const
{
    // "12,5" or "12.5kg" is a typing slip, not a net weight of 12.
    return vb::IsNumeric(text) && vb::Val(text) > 0;
}

QString HuaxianBox::updateDateSet() const { return u"  checkDate = '"_s + Clock::nowText() + u"'"_s; }
