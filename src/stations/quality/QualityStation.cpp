// The quality overview's factory for the shell.
#include "stations/quality/QualityStation.h"

#include "stations/StationWindow.h"
#include "stations/quality/frmQuality.h"
#include "widgets/PanelStyle.h"

QWidget* createQualityStation(const StationChoice&)
{
    PanelStyle::install();
    auto* form = new frmQuality;
    form->Form_Load();
    showStationWindow(form);
    return form;
}
