// The fiber box station's factory for the shell.
#pragma once

class QWidget;
struct StationChoice;

QWidget* createFiberBoxStation(const StationChoice& choice);
