// Registration of the packing station for its word.
#pragma once

class QWidget;
struct StationChoice;

/// Creates, loads and shows frmBag.
QWidget* createPackingStation(const StationChoice& choice);
