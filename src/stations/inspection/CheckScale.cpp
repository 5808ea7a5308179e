// The inspection window's scale at a save: a roll or box still swinging on the platform reads
// heavier or lighter by whatever the swing adds, so a save takes the weight the scale has
// settled on, waits a moment for it, or says why it cannot (the empty scale, a negative weight,
// over range, a box saved already).
#include "stations/inspection/frmCheck.h"

#include "devices/InspectionDevices.h"
#include "devices/LengthDisplay.h"
#include "text/Vb.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using namespace Qt::StringLiterals;
using devices::SaveDecision;
using devices::WeightLook;

void frmCheck::showWeightLook(WeightLook look)
{
    const bool zeroTare = m_devices && m_devices->scaleZeroTareSupported() && c.isChen->isChecked();
    c.cmdScaleZero->setVisible(zeroTare);
    c.cmdScaleTare->setVisible(zeroTare);
    const bool moving = look == WeightLook::Moving;
    // Through the palette: a style sheet would drop the field's scaled type.
    QLineEdit* field = c.TxtBox[CheckField::Weight];
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, moving ? QColor(0x80, 0x80, 0x80) : QApplication::palette(field).color(QPalette::Text));
    field->setPalette(palette);
    QLabel* caption = c.LabBox[CheckLabel::Weight];
    if (!caption)
        return;
    if (!caption->property("caption").isValid())
        caption->setProperty("caption", caption->text());
    caption->setText(moving ? u"称重中…"_s : caption->property("caption").toString());
}

bool frmCheck::confirmScaleWeight()
{
    m_takenWeight.reset();
    QLineEdit* field = c.TxtBox[CheckField::Weight];
    if (!m_devices || !c.isChen->isChecked() || m_scaleText.isEmpty() || field->text() != m_scaleText)
        return true; // no scale, or a weight typed by the operator: theirs
    if (m_weighing) {
        setStatus(u"称重中…"_s); // a second 保存 while the first one waits
        return false;
    }
    devices::WeightSettling& scale = m_devices->scaleSettling();
    const qint64 pressed = scale.now();
    SaveDecision d = scale.decideSave(pressed);
    if (d.kind == SaveDecision::Wait) {
        setStatus(d.message);
        m_weighing = true;
        const auto done = qScopeGuard([this] { m_weighing = false; });
        QEventLoop loop;
        QTimer tick;
        tick.setInterval(50);
        connect(&tick, &QTimer::timeout, &loop, [&] {
            // A weight typed over the scale's meanwhile is the operator's, as typed.
            d = field->text() == m_scaleText ? scale.decideSave(pressed)
                                             : SaveDecision{SaveDecision::Take, vb::Val(field->text()), QString()};
            if (d.kind != SaveDecision::Wait)
                loop.quit();
        });
        tick.start();
        loop.exec();
    }
    if (d.kind == SaveDecision::Refuse) {
        // Also "空秤": a roll meant to go without its weight gets 0 typed into the field.
        setStatus(d.message);
        return false;
    }
    if (field->text() != m_scaleText)
        return true; // typed while the save waited
    m_scaleText = devices::formatWeight(d.weight, m_cfg.dispFormat);
    field->setText(m_scaleText);
    m_takenWeight = d.weight;
    return true;
}

void frmCheck::weightSaved()
{
    // The next box counts once this one is off the scale.
    if (m_takenWeight && m_devices && rules().weighsBoxes())
        m_devices->scaleSettling().saved(*m_takenWeight);
    m_takenWeight.reset();
}
