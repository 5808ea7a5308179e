// The fit is measured with the label's own font and contents rectangle, so a bold status line or
// a padded one is measured as it is drawn.
#include "widgets/FitText.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>
#include <climits>

namespace FitText {

namespace {

enum class Fit { No, OneLine, Wrapped };

Fit fitsAt(const QFont& font, const QString& text, const QRect& room, int flags)
{
    const QFontMetrics fm(font);
    if (fm.horizontalAdvance(text) <= room.width())
        return Fit::OneLine;
    const QRect need =
        fm.boundingRect(QRect(0, 0, room.width(), INT_MAX / 2), flags | Qt::TextWordWrap, text);
    return need.width() <= room.width() && need.height() <= room.height() ? Fit::Wrapped : Fit::No;
}

} // namespace

bool fit(QLabel* label, double points, double minPoints)
{
    if (!label || points <= 0)
        return false;
    QRect room = label->contentsRect();
    const int margin = label->margin();
    room.adjust(margin, margin, -margin, -margin);
    const int flags = label->alignment().toInt();
    QFont font = label->font();
    Fit result = Fit::No;
    double size = points;
    for (; size >= minPoints - 1e-9; size -= 0.5) {
        font.setPointSizeF(size);
        result = fitsAt(font, label->text(), room, flags);
        if (result != Fit::No)
            break;
    }
    if (result == Fit::No)
        font.setPointSizeF(std::max(minPoints, 1.0));
    label->setWordWrap(result != Fit::OneLine);
    if (!qFuzzyCompare(label->font().pointSizeF(), font.pointSizeF()))
        label->setFont(font);
    return result != Fit::No;
}

} // namespace FitText
