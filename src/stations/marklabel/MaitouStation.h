// The mark-label station's factory for the shell.
#pragma once

class QWidget;
struct StationChoice;

QWidget* createMarkLabelStation(const StationChoice& choice);
