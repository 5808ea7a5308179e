// The station windows' pads.
#include "stations/StationForm.h"

#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

using namespace Qt::StringLiterals;

void StationForm::buildPads()
{
    NumberKeybord1 = new UserControl1(this);
    NumberKeybord1->setObjectName(u"NumberKeybord1"_s);
    NumberKeybord1->hide();
    UserControl41 = new UserControl4(this);
    UserControl41->setObjectName(u"UserControl41"_s);
    UserControl41->hide();
}
