// What every station window of the panels has: the station loads it once it is built
// (Form_Load), and its controls, type and grids follow the window's scale at every size change,
// so that a 1920 x 1080 panel shows the same form as a 1024 x 768 one, larger.
#pragma once

#include "screen/Twips.h"

#include <QWidget>

class UserControl1;
class UserControl4;

class StationForm : public QWidget {
    Q_OBJECT
public:
    /// Database, settings and devices. A failure is shown and ends the load; the window stays
    /// open for the operator to read it.
    virtual void Form_Load() = 0;

    /// The on-screen pads over the window: numbers, and the presets of a field (worker codes,
    /// machine numbers). Hidden until a field's keypad button or a touch asks for one; none
    /// before buildPads().
    UserControl1* NumberKeybord1 = nullptr;
    UserControl4* UserControl41 = nullptr;

protected:
    using QWidget::QWidget;
    void buildPads();
    void resizeEvent(QResizeEvent* event) final
    {
        QWidget::resizeEvent(event);
        fitToScale(Twips::of(this));
    }
    /// Places, type and grids at the scale tw of the window's size.
    virtual void fitToScale(const Twips& tw) = 0;
};
