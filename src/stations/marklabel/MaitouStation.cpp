// The mark-label station's factory: the window with the inspection station's parts.
#include "stations/marklabel/MaitouStation.h"

#include "shell/Station.h"
#include "stations/inspection/CheckDefectPart.h"
#include "stations/inspection/CheckLabelPart.h"
#include "stations/inspection/CheckRollListPart.h"
#include "stations/inspection/InspectionStation.h"
#include "stations/marklabel/MaitouDraftPart.h"
#include "stations/marklabel/frmMaitou.h"
#include "widgets/PanelStyle.h"

#include <QTimer>

QWidget* showMarkLabelWindow(frmMaitou* form)
{
    form->Form_Load();
    new CheckDefectPart(form);
    new CheckLabelPart(form);
    new CheckRollListPart(form);
    auto* unsaved = new MaitouDraftPart(form);
    showStationWindow(form);
    // After the window is up: the card lookup of the package left unsaved may have to ask.
    QTimer::singleShot(0, unsaved, &CheckDraftPart::restore);
    return form;
}

QWidget* createMarkLabelStation(const StationChoice&)
{
    PanelStyle::install();
    return showMarkLabelWindow(new frmMaitou);
}
