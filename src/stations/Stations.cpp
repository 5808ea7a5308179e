// One line per installed station; a word whose station is not listed says so and exits.
#include "stations/Stations.h"

#include "shell/Station.h"

void registerStations()
{
}
