// Only the indicator sizes differ from Fusion; Fusion draws its indicators to the size asked.
#include "widgets/PanelStyle.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWidget>

using namespace Qt::StringLiterals;

PanelStyle::PanelStyle() : QProxyStyle(QStyleFactory::create(u"Fusion"_s)) {}

void PanelStyle::install()
{
    if (!qobject_cast<PanelStyle*>(QApplication::style()))
        QApplication::setStyle(new PanelStyle);
}

int PanelStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        // Four fifths of the line: room is left above and below in a field-high row.
        return widget ? std::max(base, widget->fontMetrics().height() * 4 / 5) : base;
    default:
        return base;
    }
}
