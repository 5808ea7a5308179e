// Defect button rows and picker placement inside the defect frame.
#include "stations/inspection/CheckDefectLayout.h"

#include <algorithm>

namespace CheckDefectLayout {

namespace {
constexpr int PickerGap = 60;
}

ButtonStyle buttonStyle(bool wide)
{
    // Narrow: four buttons a row in the 6105-twip frame; wide: eight a row in 14400 twips. At
    // 1024 x 768 a narrow button is about 93 x 47 pixels, a fingertip with room to spare.
    if (wide)
        return {1660, 700, 520, 1100, 90, 15};
    return {1400, 700, 520, 1100, 80, 14};
}

QList<QRect> buttonRects(int count, const QRect& area, const ButtonStyle& style)
{
    QList<QRect> rects;
    if (count <= 0)
        return rects;
    // Full-size buttons as many a row as fit; when the rows would run into the grid even at the
    // lowest height, the buttons get narrower instead (down to about a fingertip).
    int cols = std::max(1, (area.width() + style.gap) / (style.width + style.gap));
    int width = style.width;
    const auto rowsFor = [count](int c) { return (count + c - 1) / c; };
    const auto fits = [&](int c) {
        return rowsFor(c) * (style.minHeight + style.gap) - style.gap <= area.height();
    };
    while (!fits(cols) && (area.width() - cols * style.gap) / (cols + 1) >= style.minWidth) {
        ++cols;
        width = (area.width() - (cols - 1) * style.gap) / cols;
    }
    const int rows = rowsFor(cols);
    const int fitted = (area.height() - (rows - 1) * style.gap) / rows;
    const int height = std::clamp(fitted, style.minHeight, style.height);
    for (int i = 0; i < count; ++i) {
        const int r = i / cols;
        const int c = i % cols;
        rects << QRect(area.x() + c * (width + style.gap), area.y() + r * (height + style.gap), width,
                       height);
    }
    return rects;
}

QPoint pickerPlace(const QRect& button, const QSize& pickerSize, const QSize& frameSize)
{
    const int right = button.x() + button.width() + PickerGap;
    const int left = button.x() - PickerGap - pickerSize.width();
    if (right + pickerSize.width() <= frameSize.width() || left >= 0) {
        const int x = right + pickerSize.width() <= frameSize.width() ? right : left;
        const int y = std::min(button.y(), frameSize.height() - pickerSize.height());
        return {x, std::max(0, y)};
    }
    // The narrow frame has no room beside a button: the picker goes under the pressed button,
    // or over it, so that the button the inspector just pressed stays in sight.
    const int x = std::clamp(button.x(), 0, std::max(0, frameSize.width() - pickerSize.width()));
    const int below = button.y() + button.height() + PickerGap;
    if (below + pickerSize.height() <= frameSize.height())
        return {x, below};
    const int above = button.y() - PickerGap - pickerSize.height();
    if (above >= 0)
        return {x, above};
    // Too low for either: to the side with more room, covering as little of the button as can be.
    const bool moreRoomRight = frameSize.width() - button.x() - button.width() > button.x();
    const int side = moreRoomRight ? std::max(0, frameSize.width() - pickerSize.width()) : 0;
    return {side, std::max(0, std::min(button.y(), frameSize.height() - pickerSize.height()))};
}

} // namespace CheckDefectLayout
