// The section alert of the inspection window: when the points of the last metres pass the mill's
// limit ([MIREL] AlertPoints over AlertWindow metres), the progress bar's section turns red, the
// defect frame flashes and the bell rings until the inspector touches the alert. The alert is
// kept with the roll as a defect row "区段报警" of no points. Over the defect list (taking its room,
// never lying over its rows) a bar of the roll on its own length shows every alerted stretch
// until the roll is done.
#pragma once

#include "stations/inspection/RollDefects.h"

#include <QList>
#include <QObject>
#include <QPalette>
#include <QStringList>
#include <QTimer>

class frmCheck;
class QPushButton;
class RollStretchBar;

class CheckSectionAlert : public QObject {
    Q_OBJECT
public:
    static constexpr int FlashIntervalMs = 500;

    explicit CheckSectionAlert(frmCheck* form, QObject* parent);

    /// Raises the alert the roll's defects found due: its row goes into the defect list, the
    /// stretch onto the progress bar and the roll's bar.
    void raise(const RollDefects::SectionAlert& alert);
    /// The inspector touched the alert: flashing and bell stop.
    void acknowledge();
    bool active() const { return m_timer.isActive(); }
    QPushButton* button() const { return m_button; }
    /// The roll's bar with the alerted stretches.
    RollStretchBar* stretchBar() const { return m_strip; }
    /// Sizes the alert and the roll's bar for the window's scale.
    void place();

private:
    void flash();
    /// The stretches of the alert rows on the roll now on the form.
    void showStretchesOfRows();
    void showPanel();

    frmCheck* m_form;
    QWidget* m_panel;
    QPushButton* m_button;
    RollStretchBar* m_strip;
    QTimer m_timer;
    QPalette m_framePalette;
    bool m_lit = false;
};
