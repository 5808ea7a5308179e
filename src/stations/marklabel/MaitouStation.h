// The mark-label station's factory for the shell.
#pragma once

class QWidget;
class frmMaitou;
struct StationChoice;

QWidget* createMarkLabelStation(const StationChoice& choice);

/// Loads a mark-label window (or one derived from it), gives it the inspection station's parts
/// and shows it as the station window.
QWidget* showMarkLabelWindow(frmMaitou* form);
