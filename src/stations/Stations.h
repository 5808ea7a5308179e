// The station windows built into this program.
#pragma once

/// Registers the window factory of every installed station with the shell.
void registerStations();

class QWidget;
/// The offline journal's mark on a station window (status line or top right), with the reprint
/// of renumbered rolls' labels on the windows that print them.
void attachOfflineMark(QWidget* window);
