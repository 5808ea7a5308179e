// mirel: one executable for every station of the mill; the command-line word picks the station.
#include "shell/Startup.h"
#include "stations/Stations.h"
#include "web/WebServer.h"

int main(int argc, char** argv)
{
    registerStations();
    registerWebServer();
    return Startup::run(argc, argv);
}
