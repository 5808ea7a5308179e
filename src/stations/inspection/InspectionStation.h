// Registration of the inspection station for its words (check, mes/mescheck, the fallback).
#pragma once

class QWidget;
struct StationChoice;

/// Creates, loads and shows frmCheck for the choice (MES mode for the MES words).
QWidget* createInspectionStation(const StationChoice& choice);
