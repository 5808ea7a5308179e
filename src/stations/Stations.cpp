// One line per installed station; a word whose station is not listed says so and exits.
#include "stations/Stations.h"

#include "shell/Station.h"
#include "stations/StormDriver.h"
#include "stations/fiberbox/HuaxianStation.h"
#include "stations/inspection/InspectionStation.h"
#include "stations/marklabel/MaitouStation.h"
#include "stations/packing/BagStation.h"
#include "stations/progress/ProgressStation.h"
#include "stations/rfid/RfidStation.h"
#include "stations/kanban/KanbanStation.h"
#include "stations/pictures/PicturesStation.h"
#include "stations/quality/QualityStation.h"

void registerStations()
{
    StationRegistry::add(Station::Check, createInspectionStation);
    StationRegistry::add(Station::MesCheck, createInspectionStation);
    StationRegistry::add(Station::Load, createProgressStation);
    StationRegistry::add(Station::Rfid, createRfidStation);
    StationRegistry::add(Station::Bag, createPackingStation);
    StationRegistry::add(Station::Maitou, createMarkLabelStation);
    StationRegistry::add(Station::Huaxian, createFiberBoxStation);
    StationRegistry::add(Station::Kanban, createKanbanStation);
    StationRegistry::add(Station::Item, createItemStation);
    StationRegistry::add(Station::Quick3D, createQuick3DStation);
    StationRegistry::add(Station::Quality, createQualityStation);
    StormDriver::armFromEnvironment();
}
