// The mark-label station's factory: the window with the inspection station's parts.
#include "stations/marklabel/MaitouStation.h"

#include "shell/Station.h"
#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckRollListPanel.h"
#include "stations/StationWindow.h"
#include "stations/marklabel/MaitouDraftPanel.h"
#include "stations/marklabel/frmMaitou.h"
#include "widgets/PanelStyle.h"

#include <QTimer>

QWidget* showMarkLabelWindow(frmMaitou* form)
{
    form->Form_Load();
    new CheckDefectPanel(form);
    new CheckLabelPanel(form);
    new CheckRollListPanel(form);
    auto* unsaved = new MaitouDraftPanel(form);
    showStationWindow(form);
    // After the window is up: the card lookup of the package left unsaved may have to ask.
    QTimer::singleShot(0, unsaved, &CheckDraftPanel::restore);
    return form;
}

QWidget* createMarkLabelStation(const StationChoice&)
{
    PanelStyle::install();
    return showMarkLabelWindow(new frmMaitou);
}
