// The inspection window's devices: the counter, scale, scanner and RFID reader fill their fields
// every tick; the unit follows a double click on its caption. At a save the counter's silence is
// confirmed and the scale's weight taken as it has settled: a roll or box still swinging on the
// platform reads heavier or lighter by whatever the swing adds, so a save waits a moment for the
// settled weight or says why it cannot (the empty scale, a negative weight, over range, a box
// saved already).
#include "stations/inspection/CheckDevicePanel.h"

#include "devices/BarcodeScanner.h"
#include "devices/DeviceSettings.h"
#include "devices/InspectionDevices.h"
#include "devices/LengthDisplay.h"
#include "devices/MeterCorrection.h"
#include "devices/MeterReplies.h"
#include "script/VbScript.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/VbColor.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using namespace Qt::StringLiterals;
using devices::InspectionDevices;
using devices::SaveDecision;
using devices::WeightLook;

CheckDevicePanel::CheckDevicePanel(frmCheck* form)
    : QObject(form), m_form(form), c(form->controls())
{
    connect(c.Check2, &QCheckBox::clicked, this, [this] { setupDevices(); });
    connect(c.isChen, &QCheckBox::clicked, this, [this] { setupDevices(); });
    connect(c.Command1, &QPushButton::clicked, this, [this] { zeroMeter(); });
    connect(c.isMashu, &QCheckBox::toggled, this, [this](bool on) {
        if (m_devices)
            m_devices->setYards(on);
    });
    c.LabUnit->installEventFilter(this);
}

bool CheckDevicePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == c.LabUnit && event->type() == QEvent::MouseButtonDblClick) {
        // The counter is told the unit too, while its port is open.
        const bool yards =
            m_devices ? m_devices->toggleUnit(c.LabUnit->text()) : !c.isMashu->isChecked();
        c.isMashu->setChecked(yards);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CheckDevicePanel::setPolling(bool on)
{
    if (m_devices)
        m_devices->setPolling(on);
}

bool CheckDevicePanel::polling() const
{
    return m_devices && m_devices->isPolling();
}

void CheckDevicePanel::forgetWeight()
{
    if (m_devices)
        m_devices->forgetWeight();
}

void CheckDevicePanel::wireDevices()
{
    m_devices = new InspectionDevices(m_form->deviceRules(), this);
    connect(m_devices, &InspectionDevices::quantityText, this,
            [this](int index, const QString& text) {
                if (index >= 0 && index < c.TxtBox.size() && c.TxtBox[index])
                    c.TxtBox[index]->setText(text);
            });
    connect(m_devices, &InspectionDevices::weightText, this,
            [this](const QString& text, const QString& raw) {
                m_scaleText = text;
                c.TxtBox[CheckField::Weight]->setText(text);
                c.TxtBox[CheckField::Weight]->setToolTip(raw);
            });
    connect(m_devices, &InspectionDevices::rawReading, this, [this](const QString& raw) {
        m_rawReading = raw;
        if (QLineEdit* b =
                m_form->m_settingsPanel ? m_form->m_settingsPanel->textBoxes().value(4) : nullptr)
            b->setToolTip(raw);
    });
    connect(m_devices, &InspectionDevices::weightLook, this, &CheckDevicePanel::showWeightLook);
    connect(c.cmdScaleZero, &QPushButton::clicked, m_devices, &InspectionDevices::zeroScale);
    connect(c.cmdScaleTare, &QPushButton::clicked, m_devices, &InspectionDevices::tareScale);
    connect(m_devices, &InspectionDevices::unitCaption, c.LabUnit, &QLabel::setText);
    connect(m_devices, &InspectionDevices::counterStatus, c.LabBox[CheckLabel::CounterSensor],
            &QLabel::setText);
    connect(m_devices, &InspectionDevices::counterToolTip, c.LabBox[CheckLabel::CounterSensor],
            &QLabel::setToolTip);
    connect(m_devices, &InspectionDevices::scaleStatus, c.LabBox[CheckLabel::ScaleSensor],
            &QLabel::setText);
    connect(m_devices, &InspectionDevices::labelColour, this, [this](int index, quint32 colour) {
        QLabel* l = c.LabBox.value(index);
        if (!l)
            return;
        if (colour & 0x80000000u) { // a system colour: back to the window's own
            l->setPalette(QPalette());
            return;
        }
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, vbColor(colour));
        l->setPalette(p);
    });
    connect(m_devices, &InspectionDevices::cardScanned, this, [this](const QString& text) {
        c.TxtBox[CheckField::Card]->setText(text);
        c.TxtBox[CheckField::Card]->setToolTip(devices::scannerToolTip());
        m_form->runCommand(CheckCmd::FindCard);
    });
    connect(m_devices, &InspectionDevices::workerCard, c.TxtBox[CheckField::Worker],
            &QLineEdit::setText);
    connect(m_devices, &InspectionDevices::deviceFault, c.LabBox[CheckLabel::CounterSensor],
            &QLabel::setToolTip);
}

void CheckDevicePanel::applyLengthRatio()
{
    // The length ratio is a VBScript expression ("1", "100/98"); a bad one keeps the factor 1.
    double a = 1, b = 1;
    script::evalNumber(m_form->settings().ratioA, &a);
    script::evalNumber(m_form->settings().ratioB, &b);
    m_devices->setLengthRatio(a, b);
}

void CheckDevicePanel::correctMeter()
{
    // The box works as a button: each click asks again.
    m_form->settingsPanel()->meterCorrectionBox()->setChecked(false);
    if (MessageBox::show(devices::meterCorrectionQuestion(), MessageBox::Question,
                         MessageBox::YesNo, QString(), m_form) != MessageBox::AnswerYes)
        return;
    // The operator types the winding machine's counter into biliA; biliB gets the screen's.
    QLineEdit* machine = m_form->settingsPanel()->textBoxes().value(3);
    QLineEdit* screen = m_form->settingsPanel()->textBoxes().value(4);
    screen->setText(screen->toolTip().trimmed());
    machine->setFocus();
    machine->selectAll();
}

bool CheckDevicePanel::confirmCounterLength()
{
    if (!m_devices || !c.Check2->isChecked() || m_devices->counterAnswering())
        return true;
    // The counter has been silent for a while: the length on screen is its last answer, or typed.
    const bool guama = m_form->settings().hangingMarks;
    const QString length = c.TxtBox[guama ? CheckField::Weight : CheckField::Quantity]->text();
    if (MessageBox::question(devices::counterSilentCaption() + u"，长度是 "_s + length +
                                 u" ，确定保存吗？"_s,
                             m_form))
        return true;
    m_form->setStatus(devices::counterSilentCaption() + u"，请核对长度"_s);
    return false;
}

void CheckDevicePanel::setupDevices()
{
    if (!m_devices)
        wireDevices();
    applyLengthRatio();
    m_devices->setCounterConnected(c.Check2->isChecked());
    m_devices->setScaleConnected(c.isChen->isChecked());
    m_devices->setYards(c.isMashu->isChecked());
    m_devices->setupDevices();
    showWeightLook(m_devices->scaleSettling().look()); // a scale switched off shows no buttons
}

void CheckDevicePanel::releaseDevices()
{
    if (m_devices)
        m_devices->releaseDevices();
}

void CheckDevicePanel::zeroMeter()
{
    if (m_devices && c.Check2->isChecked())
        m_devices->zeroCounter();
}

void CheckDevicePanel::showWeightLook(WeightLook look)
{
    const bool zeroTare = m_devices && m_devices->scaleZeroTareSupported() && c.isChen->isChecked();
    c.cmdScaleZero->setVisible(zeroTare);
    c.cmdScaleTare->setVisible(zeroTare);
    const bool moving = look == WeightLook::Moving;
    // Through the palette: a style sheet would drop the field's scaled type.
    QLineEdit* field = c.TxtBox[CheckField::Weight];
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, moving ? QColor(0x80, 0x80, 0x80)
                                            : QApplication::palette(field).color(QPalette::Text));
    field->setPalette(palette);
    QLabel* caption = c.LabBox[CheckLabel::Weight];
    if (!caption)
        return;
    if (!caption->property("caption").isValid())
        caption->setProperty("caption", caption->text());
    caption->setText(moving ? u"称重中…"_s : caption->property("caption").toString());
}

bool CheckDevicePanel::confirmScaleWeight()
{
    m_takenWeight.reset();
    QLineEdit* field = c.TxtBox[CheckField::Weight];
    if (!m_devices || !c.isChen->isChecked() || m_scaleText.isEmpty() ||
        field->text() != m_scaleText)
        return true; // no scale, or a weight typed by the operator: theirs
    if (m_weighing) {
        m_form->setStatus(u"称重中…"_s); // a second 保存 while the first one waits
        return false;
    }
    devices::WeightSettling& scale = m_devices->scaleSettling();
    const qint64 pressed = scale.now();
    SaveDecision d = scale.decideSave(pressed);
    if (d.kind == SaveDecision::Wait) {
        m_form->setStatus(d.message);
        m_weighing = true;
        const auto done = qScopeGuard([this] { m_weighing = false; });
        QEventLoop loop;
        QTimer tick;
        tick.setInterval(50);
        connect(&tick, &QTimer::timeout, &loop, [&] {
            // A weight typed over the scale's meanwhile is the operator's, as typed.
            d = field->text() == m_scaleText
                    ? scale.decideSave(pressed)
                    : SaveDecision{SaveDecision::Take, vb::Val(field->text()), QString()};
            if (d.kind != SaveDecision::Wait)
                loop.quit();
        });
        tick.start();
        loop.exec();
    }
    if (d.kind == SaveDecision::Refuse) {
        // Also "空秤": a roll meant to go without its weight gets 0 typed into the field.
        m_form->setStatus(d.message);
        return false;
    }
    if (field->text() != m_scaleText)
        return true; // typed while the save waited
    m_scaleText = devices::formatWeight(d.weight, m_form->settings().dispFormat);
    field->setText(m_scaleText);
    m_takenWeight = d.weight;
    return true;
}

void CheckDevicePanel::weightSaved()
{
    // The next box counts once this one is off the scale.
    if (m_takenWeight && m_devices && m_form->rules().weighsBoxes())
        m_devices->scaleSettling().saved(*m_takenWeight);
    m_takenWeight.reset();
}
