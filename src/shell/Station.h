// The station words of the command line and the station each one opens.
#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class Station {
    Check,    // frmCheck, fabric inspection
    Maitou,   // frmMaitou, mark labels
    Huaxian,  // frmHuaxian, fiber boxes
    MesCheck, // frmCheck with the MES button
    MesRun,   // unattended MES import, no window
    Bag,      // frmBag, packing
    Item,     // frmThumbs, item pictures
    Quick3D,  // frmQuick3D, fabric laid into outline drawings
    Load,     // frmWorkload, process progress
    Rfid,     // frmRFID, RFID cards
    Kanban,   // frmKanban, stock board
    Quality,  // frmQuality, the quality office's overview
    Serve,    // the office's web view of the floor, no window
};

struct StationChoice {
    Station station = Station::Check;
    /// Word "3d<n>": the leading number of the text after "3d" (0 when none).
    double number = 0;
    /// Word "3d<n>" with n > 0: n as text (the tag of txtUser(0)) and n rounded to a whole number.
    QString tag;
    int showMeArg = 0;
};

/// Picks the station from the whole command-line text, in the mill's fixed order of tests.
StationChoice chooseStation(const QString& cmd);

/// A short English name of the station for logs ("check", "bag" ...).
QString stationName(Station s);

/// Creates the station's window, prepared for the choice (MES mode, 3D number).
using StationFactory = std::function<QWidget*(const StationChoice&)>;

namespace StationRegistry {
void add(Station station, StationFactory factory);
/// The factory of an installed station, or an empty function.
StationFactory find(Station station);
/// A station without a window runs on its own (the web view): argc/argv in, exit code out.
using StationRunner = std::function<int(int argc, char** argv)>;
void addRunner(Station station, StationRunner runner);
StationRunner findRunner(Station station);
} // namespace StationRegistry
