// The fiber box station's factory: the fiber box window with the mark-label station's parts.
#include "stations/fiberbox/HuaxianStation.h"

#include "stations/fiberbox/frmHuaxian.h"
#include "stations/marklabel/MaitouStation.h"
#include "widgets/PanelStyle.h"

QWidget* createFiberBoxStation(const StationChoice&)
{
    PanelStyle::install(); // before the window is built, as every station
    return showMarkLabelWindow(new frmHuaxian);
}
