// The RFID card registration's factory for the shell.
#pragma once

class QWidget;
struct StationChoice;

/// Builds and loads frmRFID and shows it as a normal window (or at MIREL_WINDOW_SIZE).
QWidget* createRfidStation(const StationChoice& choice);
