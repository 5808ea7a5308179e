// The packing station's factory for the shell.
#include "stations/packing/BagStation.h"

#include "shell/Station.h"
#include "stations/StationWindow.h"
#include "stations/packing/frmBag.h"
#include "widgets/PanelStyle.h"

#include <QTimer>

QWidget* createPackingStation(const StationChoice&)
{
    PanelStyle::install();
    auto* form = new frmBag;
    form->Form_Load();
    showStationWindow(form);
    QTimer::singleShot(0, form, &frmBag::restoreBoxDraft);
    return form;
}
