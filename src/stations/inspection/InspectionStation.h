// Registration of the inspection station for its words (check, mes/mescheck, the fallback).
#pragma once

class QWidget;
struct StationChoice;

/// Creates, loads and shows frmCheck for the choice (MES mode for the MES words).
QWidget* createInspectionStation(const StationChoice& choice);

/// Shows a station window the way the panels run it: frameless and maximised, or at the size of
/// MIREL_WINDOW_SIZE ("1024x768") for screenshots and trials.
void showStationWindow(QWidget* window);
