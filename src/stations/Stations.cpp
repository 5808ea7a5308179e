// One line per installed station; a word whose station is not listed says so and exits.
#include "stations/Stations.h"

#include "shell/Station.h"
#include "stations/StationDevices.h"
#include "stations/fiberbox/HuaxianStation.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/InspectionStation.h"
#include "stations/kanban/KanbanStation.h"
#include "stations/marklabel/MaitouStation.h"
#include "stations/packing/BagStation.h"
#include "stations/pictures/PicturesStation.h"
#include "stations/progress/ProgressStation.h"
#include "stations/quality/QualityStation.h"
#include "stations/rfid/RfidStation.h"
#include "stations/OfflineBadge.h"

QWidget* offlineStatusLine(QWidget* window)
{
    // The inspection-type windows' status line is their own LabBox(0); the progress window's
    // LabBox(0), inside its device row, is the scanner's small caption and takes no mark. The
    // quality overview's status line runs under its filters, clear of the export buttons in
    // the top right corner.
    for (const char* name : {"LabBox_0", "lab_status"})
        if (auto* line = window->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
            return line;
    return nullptr;
}

void attachOfflineMark(QWidget* window)
{
    // The windows that print roll labels print the renumbered rolls' labels again on request.
    OfflineBadge::Reprint reprint;
    if (auto* labels = window->findChild<CheckLabelPanel*>())
        reprint = [labels](const QList<JournalReplayResult::Renumbered>& list) {
            labels->reprintRenumbered(list);
        };
    OfflineBadge::attach(window, offlineStatusLine(window), reprint);
}

namespace {

// Every station window shows what waits in the offline journal; the inspection-type windows
// in their status line (LabBox(0)), the others at their top right.
StationFactory withOfflineMark(StationFactory create)
{
    return [create](const StationChoice& choice) {
        QWidget* window = create(choice);
        if (window) {
            attachOfflineMark(window);
            publishDevices(window);
        }
        return window;
    };
}

} // namespace

void registerStations()
{
    StationRegistry::add(Station::Check, withOfflineMark(createInspectionStation));
    StationRegistry::add(Station::MesCheck, withOfflineMark(createInspectionStation));
    StationRegistry::add(Station::Load, withOfflineMark(createProgressStation));
    StationRegistry::add(Station::Rfid, withOfflineMark(createRfidStation));
    StationRegistry::add(Station::Bag, withOfflineMark(createPackingStation));
    StationRegistry::add(Station::Maitou, withOfflineMark(createMarkLabelStation));
    StationRegistry::add(Station::Huaxian, withOfflineMark(createFiberBoxStation));
    StationRegistry::add(Station::Kanban, withOfflineMark(createKanbanStation));
    StationRegistry::add(Station::Item, withOfflineMark(createItemStation));
    StationRegistry::add(Station::Quick3D, withOfflineMark(createQuick3DStation));
    StationRegistry::add(Station::Quality, withOfflineMark(createQualityStation));
}
