// The process-progress station's factory for the shell.
#pragma once

class QWidget;
struct StationChoice;

/// Builds and loads frmWorkload and shows it full screen (or at MIREL_WINDOW_SIZE).
QWidget* createProgressStation(const StationChoice& choice);
