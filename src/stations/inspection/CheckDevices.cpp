// The inspection window's devices and keypad: the counter, scale, scanner and RFID reader fill
// their fields every tick; the on-screen keypad opens for a field's key button or on focus.
#include "stations/inspection/frmCheck.h"

#include "devices/BarcodeScanner.h"
#include "devices/DeviceSettings.h"
#include "devices/InspectionDevices.h"
#include "devices/MeterCorrection.h"
#include "devices/MeterReplies.h"
#include "shell/MessageBox.h"
#include "script/VbScript.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "widgets/UserControl1.h"
#include "widgets/VbColor.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using devices::InspectionDevices;

void frmCheck::wireDevices()
{
    m_devices = new InspectionDevices(deviceRules(), this);
    connect(m_devices, &InspectionDevices::quantityText, this, [this](int index, const QString& text) {
        if (index >= 0 && index < c.TxtBox.size() && c.TxtBox[index])
            c.TxtBox[index]->setText(text);
    });
    connect(m_devices, &InspectionDevices::weightText, this, [this](const QString& text, const QString& raw) {
        m_scaleText = text;
        c.TxtBox[CheckField::Weight]->setText(text);
        c.TxtBox[CheckField::Weight]->setToolTip(raw);
    });
    connect(m_devices, &InspectionDevices::rawReading, this, [this](const QString& raw) {
        m_rawReading = raw;
        if (QLineEdit* b = m_settingsPanel ? m_settingsPanel->textBoxes().value(4) : nullptr)
            b->setToolTip(raw);
    });
    connect(m_devices, &InspectionDevices::weightLook, this, &frmCheck::showWeightLook);
    connect(c.cmdScaleZero, &QPushButton::clicked, m_devices, &InspectionDevices::zeroScale);
    connect(c.cmdScaleTare, &QPushButton::clicked, m_devices, &InspectionDevices::tareScale);
    connect(m_devices, &InspectionDevices::unitCaption, c.LabUnit, &QLabel::setText);
    connect(m_devices, &InspectionDevices::counterStatus, c.LabBox[CheckLabel::CounterSensor], &QLabel::setText);
    connect(m_devices, &InspectionDevices::counterToolTip, c.LabBox[CheckLabel::CounterSensor], &QLabel::setToolTip);
    connect(m_devices, &InspectionDevices::scaleStatus, c.LabBox[CheckLabel::ScaleSensor], &QLabel::setText);
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
        runCommand(CheckCmd::FindCard);
    });
    connect(m_devices, &InspectionDevices::workerCard, c.TxtBox[CheckField::Worker], &QLineEdit::setText);
    connect(m_devices, &InspectionDevices::deviceFault, c.LabBox[CheckLabel::CounterSensor], &QLabel::setToolTip);
}

void frmCheck::applyLengthRatio()
{
    // The length ratio is a VBScript expression ("1", "100/98"); a bad one keeps the factor 1.
    double a = 1, b = 1;
    script::evalNumber(m_cfg.ratioA, &a);
    script::evalNumber(m_cfg.ratioB, &b);
    m_devices->setLengthRatio(a, b);
}

void frmCheck::correctMeter()
{
    // The box works as a button: each click asks again.
    m_settingsPanel->meterCorrectionBox()->setChecked(false);
    if (MessageBox::show(devices::meterCorrectionQuestion(), MessageBox::Question, MessageBox::YesNo,
                         QString(), this)
        != MessageBox::AnswerYes)
        return;
    // The operator types the winding machine's counter into biliA; biliB gets the screen's.
    QLineEdit* machine = m_settingsPanel->textBoxes().value(3);
    QLineEdit* screen = m_settingsPanel->textBoxes().value(4);
    screen->setText(screen->toolTip().trimmed());
    machine->setFocus();
    machine->selectAll();
}

bool frmCheck::confirmCounterLength()
{
    if (!m_devices || !c.Check2->isChecked() || m_devices->counterAnswering())
        return true;
    // The counter has been silent for a while: the length on screen is its last answer, or typed.
    const bool guama = m_cfg.hangingMarks;
    const QString length = c.TxtBox[guama ? 14 : 7]->text();
    if (MessageBox::question(devices::counterSilentCaption() + QStringLiteral("，长度是 ") + length
                                 + QStringLiteral(" ，确定保存吗？"),
                             this))
        return true;
    setStatus(devices::counterSilentCaption() + QStringLiteral("，请核对长度"));
    return false;
}

void frmCheck::setupDevices()
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

void frmCheck::releaseDevices()
{
    if (m_devices)
        m_devices->releaseDevices();
}

void frmCheck::zeroMeter()
{
    if (m_devices && c.Check2->isChecked())
        m_devices->zeroCounter();
}

void frmCheck::wireKeypad()
{
    for (QLabel* label : c.LabBox)
        if (label && label->parentWidget() == c.Frame6)
            wireFieldGroup(label);
    // "更多设置" asks for the access code (the panel is built then); unticked, it closes.
    connect(c.Check1, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            settingsPanel()->askAccessCode();
            showKeypad(m_settingsPanel->passwordBox());
        } else if (m_settingsPanel) {
            m_settingsPanel->closePanel();
        }
    });
    for (QLineEdit* box : c.TxtBox)
        if (box)
            box->installEventFilter(this);
    connect(c.isMashu, &QCheckBox::toggled, this, [this](bool on) {
        if (m_devices)
            m_devices->setYards(on);
    });
}

UserControl1* frmCheck::keypad()
{
    if (m_keypad)
        return m_keypad;
    m_keypad = new UserControl1(this);
    m_keypad->setObjectName(QStringLiteral("NumberKeybord1"));
    m_keypad->hide();
    // The pad's 确定 closes the pad over the defect buttons; on the quantity it is not the
    // keyboard's Enter: the inspector taps it to see the form again, mid-roll, not to save.
    connect(m_keypad, &UserControl1::Confirm, this, [this](QLineEdit* box) {
        m_keypad->hide();
        if (m_settingsPanel && box == m_settingsPanel->passwordBox())
            m_settingsPanel->checkAccessCode(box->text());
        else if (box == c.TxtBox[CheckField::Card])
            runCommand(CheckCmd::FindCard);
    });
    return m_keypad;
}

void frmCheck::wireFieldGroup(QLabel* label)
{
    // The caption drags its group; the key button beside the field opens the keypad for it.
    label->installEventFilter(this);
    QLineEdit* box = qobject_cast<QLineEdit*>(label->buddy());
    if (box)
        box->installEventFilter(this);
    for (const QString& name : tagOf(label).split(u'|'))
        if (auto* key = c.Frame6->findChild<QPushButton*>(name);
            key && name.startsWith(u"numKeybtn"))
            connect(key, &QPushButton::clicked, this, [this, box] { showKeypad(box); });
}

void frmCheck::showKeypad(QLineEdit* box)
{
    if (!box)
        return;
    keypad()->setTextBox(box);
    // Beside the field, over the defect area, inside the window.
    QPoint at = box->mapTo(this, QPoint(box->width() + 8, 0));
    if (at.x() + m_keypad->width() > width())
        at.setX(qMax(0, box->mapTo(this, QPoint(0, 0)).x() - m_keypad->width() - 8));
    if (at.y() + m_keypad->height() > height())
        at.setY(qMax(0, height() - m_keypad->height()));
    m_keypad->move(at);
    m_keypad->show();
    m_keypad->raise();
}
