// Registration of the quality overview for its word "quality".
#pragma once

class QWidget;
struct StationChoice;

/// Creates, loads and shows frmQuality full screen.
QWidget* createQualityStation(const StationChoice& choice);
