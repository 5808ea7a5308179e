// mirel-storm: the stations' program with the storm driver armed, for load runs on one database
// (bench/storm/storm.py). Built with the tests and the benchmarks, never installed.
#include "StormDriver.h"

#include "shell/Startup.h"
#include "stations/Stations.h"

int main(int argc, char** argv)
{
    registerStations();
    StormDriver::armFromEnvironment();
    return Startup::run(argc, argv);
}
