// The process-progress station's factory for the shell.
#include "stations/progress/ProgressStation.h"

#include "stations/StationWindow.h"
#include "stations/progress/frmWorkload.h"
#include "widgets/PanelStyle.h"

QWidget* createProgressStation(const StationChoice&)
{
    PanelStyle::install();
    auto* form = new frmWorkload;
    form->Form_Load();
    showStationWindow(form);
    return form;
}
