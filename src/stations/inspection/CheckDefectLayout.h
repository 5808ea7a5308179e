// Where the defect buttons and the score pickers go inside the defect frame, in design twips.
#pragma once

#include <QList>
#include <QRect>

namespace CheckDefectLayout {

/// Button size, gap and type of the defect buttons in the narrow or the wide frame.
struct ButtonStyle {
    int width;
    int height;
    int minHeight; // rows shrink to this before they may run into the grid
    int minWidth;  // then buttons narrow down to this
    int gap;
    double points; // design font size
};
ButtonStyle buttonStyle(bool wide);

/// Rectangles for count buttons in rows, left to right, inside area (frame twips). Rows get
/// lower when they do not all fit the area's height, down to the style's minimum height.
QList<QRect> buttonRects(int count, const QRect& area, const ButtonStyle& style);

/// Top-left of a picker of pickerSize beside button inside a frame of frameSize: to the right
/// when it fits, else to the left; level with the button, raised when it would leave the frame's
/// bottom; never left of or above the frame. When neither side has room (the narrow frame), under
/// the button, else over it, else on the side with more room.
QPoint pickerPlace(const QRect& button, const QSize& pickerSize, const QSize& frameSize);

} // namespace CheckDefectLayout
