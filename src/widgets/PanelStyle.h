// The stations' widget style: check boxes and option buttons sized to their type.
#pragma once

#include <QProxyStyle>

/// Fusion with check-box and option-button indicators as tall as most of a text line, so that
/// a ticked "自动换卷" or a chosen grade can be seen from a step away and grows with the panel;
/// Fusion's own are 13 pixels whatever the type.
class PanelStyle : public QProxyStyle {
    Q_OBJECT
public:
    PanelStyle();

    /// Makes this the application's style (once; later calls do nothing).
    static void install();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
