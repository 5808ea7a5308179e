// Full screen for the station windows: frameless and maximised, or a normal window with its
// caption and borders.
#pragma once

class QWidget;

namespace ScreenMode {

/// Switches a top-level window between frameless maximised (on) and its normal state with
/// caption (off). The window is shown again after the switch. Not for a dialog inside exec():
/// re-creating its frame would end the dialog.
void setFullScreen(QWidget* window, bool on);
/// Switches to the other mode; returns true when the window is now full screen.
bool toggle(QWidget* window);
/// True when the window is frameless and maximised by setFullScreen.
bool isFullScreen(const QWidget* window);

} // namespace ScreenMode
