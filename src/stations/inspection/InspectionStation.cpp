// The inspection station's factory for the shell.
#include "stations/inspection/InspectionStation.h"

#include "shell/Station.h"
#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckDraftPanel.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckMesPanel.h"
#include "stations/inspection/CheckRollListPanel.h"
#include "stations/StationWindow.h"
#include "stations/inspection/frmCheck.h"
#include "widgets/PanelStyle.h"

#include <QTimer>

QWidget* createInspectionStation(const StationChoice& choice)
{
    PanelStyle::install();
    auto* form = new frmCheck;
    form->Form_Load();
    new CheckDefectPanel(form);
    new CheckLabelPanel(form);
    new CheckMesPanel(form);
    new CheckRollListPanel(form);
    auto* unsaved = new CheckDraftPanel(form);
    if (choice.station == Station::MesCheck)
        form->enterMesMode();
    showStationWindow(form);
    // After the window is up: the card lookup of the roll left unsaved may have to ask.
    QTimer::singleShot(0, unsaved, &CheckDraftPanel::restore);
    return form;
}
