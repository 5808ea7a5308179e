// How every station window comes up on a panel.
#pragma once

class QWidget;

/// Shows a station window the way the panels run it: frameless and maximised, or at the size of
/// MIREL_WINDOW_SIZE ("1024x768") for screenshots and trials.
void showStationWindow(QWidget* window);
