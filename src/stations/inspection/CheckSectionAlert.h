// The section alert of the inspection window: when the points of the last metres pass the mill's
// limit ([MIREL] AlertPoints over AlertWindow metres), the progress bar's section turns red, the
// defect frame flashes and the bell rings until the inspector touches the alert. The alert is
// kept with the roll as a defect row "区段报警" of no points.
#pragma once

#include <QList>
#include <QObject>
#include <QPalette>
#include <QStringList>
#include <QTimer>

class frmCheck;
class QPushButton;

class CheckSectionAlert : public QObject {
    Q_OBJECT
public:
    static constexpr int FlashIntervalMs = 500;

    explicit CheckSectionAlert(frmCheck* form, QObject* parent);

    /// After a defect was recorded: raises the alert when the stretch up to the counter passes
    /// the limit and no alert row lies in it yet. cap: the per-metre cap, 0 when off.
    void check(double cap);
    /// The inspector touched the alert: flashing and bell stop.
    void acknowledge();
    bool active() const { return m_timer.isActive(); }
    QPushButton* button() const { return m_button; }
    /// Places the alert over the top of the defect grid (design twips of the frame).
    void place();

private:
    void flash();

    frmCheck* m_form;
    QPushButton* m_button;
    QTimer m_timer;
    QPalette m_framePalette;
    bool m_lit = false;
};
