// Registration of the picture browsers for the words "item" and "3d<n>".
#pragma once

class QWidget;
struct StationChoice;

/// Creates, loads and shows frmThumbs.
QWidget* createItemStation(const StationChoice& choice);
/// Creates, loads and shows frmQuick3D; with a number in the word, on that item.
QWidget* createQuick3DStation(const StationChoice& choice);
