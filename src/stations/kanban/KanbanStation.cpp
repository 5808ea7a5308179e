// The stock board's factory for the shell.
#include "stations/kanban/KanbanStation.h"

#include "stations/StationWindow.h"
#include "stations/kanban/frmKanban.h"
#include "widgets/PanelStyle.h"

QWidget* createKanbanStation(const StationChoice&)
{
    PanelStyle::install();
    auto* form = new frmKanban;
    form->Form_Load();
    showStationWindow(form);
    return form;
}
