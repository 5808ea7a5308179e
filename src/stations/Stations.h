// The station windows built into this program.
#pragma once

/// Registers the window factory of every installed station with the shell.
void registerStations();

class QWidget;
/// The offline journal's mark on a station window (status line or top right), with the reprint
/// of renumbered rolls' labels on the windows that print them.
void attachOfflineMark(QWidget* window);
/// The status line that carries the mark: the inspection-type windows' LabBox(0), the quality
/// overview's lab_status, else none (the mark goes to the window's top right).
QWidget* offlineStatusLine(QWidget* window);
