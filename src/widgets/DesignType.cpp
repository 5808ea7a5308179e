// The window's type at its scale, from the design sizes of its controls.
#include "widgets/DesignType.h"

#include "screen/Twips.h"

#include <QVariant>
#include <QWidget>

namespace DesignType {

namespace {

constexpr char Property[] = "designPt";

bool underStyleSheet(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (!p->styleSheet().isEmpty())
            return true;
    return false;
}

} // namespace

void mark(QWidget* w, double points, bool bold)
{
    w->setProperty(Property, points);
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

void apply(QWidget* window, double basePoints, const QList<const QWidget*>& skip)
{
    const Twips tw = Twips::of(window);
    // The window's own font first: changing it afterwards would walk every child again.
    QFont own = window->font();
    own.setPointSizeF(tw.font(basePoints));
    window->setFont(own);
    const auto designOf = [&](const QWidget* w) {
        const QVariant v = w->property(Property);
        return w == window || !v.isValid() ? basePoints : v.toDouble();
    };
    const auto skipped = [&](const QWidget* w) {
        for (const QWidget* s : skip)
            if (s && (w == s || s->isAncestorOf(w)))
                return true;
        return false;
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QVariant design = w->property(Property);
        if (!design.isValid() || design.toDouble() <= 0 || skipped(w))
            continue;
        const bool hasOwnFont = w->testAttribute(Qt::WA_SetFont);
        if (!hasOwnFont && design.toDouble() == designOf(w->parentWidget()) &&
            !underStyleSheet(w, window))
            continue;
        const double points = tw.font(design.toDouble());
        if (hasOwnFont && qFuzzyCompare(w->font().pointSizeF(), points))
            continue;
        QFont f = w->font();
        f.setPointSizeF(points);
        w->setFont(f);
    }
}

} // namespace DesignType
