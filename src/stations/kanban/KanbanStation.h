// Registration of the stock kanban board for its word "kanban".
#pragma once

class QWidget;
struct StationChoice;

/// Creates, loads and shows frmKanban full screen.
QWidget* createKanbanStation(const StationChoice& choice);
