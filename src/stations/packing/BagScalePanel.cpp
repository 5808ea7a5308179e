#include "stations/packing/BagScalePanel.h"

#include "devices/LengthDisplay.h"
#include "devices/PackingScale.h"
#include "shell/MessageBox.h"
#include "stations/packing/frmBag.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

BagScalePanel::BagScalePanel(frmBag* form) : m_form(form)
{
    devices::PackingScale* scale = form->scale();
    connect(scale, &devices::PackingScale::weightLook, this, &BagScalePanel::onWeightLook);
    connect(scale, &devices::PackingScale::zeroTareAvailable, this, [form](bool on) {
        form->cmdZero->setVisible(on);
        form->cmdTare->setVisible(on);
    });
    connect(scale, &devices::PackingScale::weightText, this, &BagScalePanel::onWeight);
    connect(scale, &devices::PackingScale::silenceChanged, this, &BagScalePanel::onScaleSilence);
}

QLineEdit* BagScalePanel::weightField() const
{
    return m_form->settings().weighsBox() ? m_form->bagNumber[BagBoxField::Weight]
                                          : m_form->txtUser[BagField::Quantity];
}

void BagScalePanel::onWeight(const QString& text)
{
    m_scaleText = text;
    weightField()->setText(text);
}

void BagScalePanel::onScaleSilence(bool silent)
{
    // Unplugged or switched off: the weight on screen is no longer what lies on the scale. A
    // weight the operator typed is his own and stays.
    QLineEdit* field = weightField();
    if (silent && !m_scaleText.isEmpty() && field->text() == m_scaleText) {
        field->clear();
        m_scaleText.clear();
    }
    field->setPlaceholderText(silent ? u"台称无读数"_s : QString());
    const QString red = silent ? u"color:#d00000"_s : QString();
    const QString caption =
        field == m_form->bagNumber[BagBoxField::Weight] ? u"labBag_1"_s : u"labUser_11"_s;
    if (auto* label = m_form->findChild<QLabel*>(caption))
        label->setStyleSheet(red);
    m_form->LabMsg3->setStyleSheet(red);
}

bool BagScalePanel::confirmBoxWeight()
{
    // A box without its weight is asked about, not saved unnoticed (the scale silent, the
    // weight not typed).
    QLineEdit* weight = m_form->bagNumber[BagBoxField::Weight];
    if (vb::Val(weight->text()) > 0 || m_form->ximaGrid->rows() <= 2)
        return true;
    return MessageBox::question(u"箱 %1 没有箱重（%2），仍然按箱重 0 保存？"_s.arg(
                                    m_form->bagNumber[BagBoxField::Number]->text(),
                                    m_form->scale()->silent() ? u"台称无读数"_s : u"箱重为空"_s),
                                m_form);
}

void BagScalePanel::onWeightLook(devices::WeightLook look)
{
    const bool moving = look == devices::WeightLook::Moving;
    weightField()->setStyleSheet(moving ? u"color:#808080"_s : QString());
    const QString name =
        weightField() == m_form->bagNumber[BagBoxField::Weight] ? u"labBag_1"_s : u"labUser_11"_s;
    auto* caption = m_form->findChild<QLabel*>(name);
    if (!caption)
        return;
    if (!caption->property("caption").isValid()) {
        caption->setProperty("caption", caption->text());
        // Wide enough for either text, so that the row beside it does not shift as it changes.
        const QFontMetrics metrics(caption->font());
        caption->setMinimumWidth(qMax(metrics.horizontalAdvance(caption->text()),
                                      metrics.horizontalAdvance(u"称重中…"_s)) +
                                 caption->contentsMargins().left() +
                                 caption->contentsMargins().right());
    }
    caption->setText(moving ? u"称重中…"_s : caption->property("caption").toString());
}

void BagScalePanel::addScaleButtons(QHBoxLayout* row)
{
    m_form->cmdZero = new QPushButton(u"归零"_s, m_form->ximadan);
    m_form->cmdZero->setObjectName(u"cmdZero"_s);
    m_form->cmdTare = new QPushButton(u"去皮"_s, m_form->ximadan);
    m_form->cmdTare->setObjectName(u"cmdTare"_s);
    for (QPushButton* b : {m_form->cmdZero, m_form->cmdTare}) {
        b->setAccessibleName(b->text());
        b->hide();
        row->addWidget(b);
    }
    devices::PackingScale* scale = m_form->scale();
    connect(m_form->cmdZero, &QPushButton::clicked, this, [scale] { scale->zeroScale(); });
    connect(m_form->cmdTare, &QPushButton::clicked, this, [scale] { scale->tareScale(); });
}

void BagScalePanel::saveWhenSettled(QLineEdit* field, bool box, std::function<bool()> save)
{
    if (m_settleWait && m_settleWait->isActive()) {
        m_form->LabMsg->setText(
            u"称重中…"_s); // a save already waits for the weight: this one is not taken
        return;
    }
    // Only a weight the scale wrote waits for the scale; one the packer typed is his.
    const bool fromScale = m_form->isChen->isChecked() && weightField() == field &&
                           !m_scaleText.isEmpty() && field->text() == m_scaleText;
    if (!fromScale) {
        save();
        return;
    }
    if (!m_settleWait) {
        m_settleWait = new QTimer(this);
        m_settleWait->setInterval(100);
        connect(m_settleWait, &QTimer::timeout, this, &BagScalePanel::checkSettled);
    }
    m_settleField = field;
    m_settleBox = box;
    m_settleSave = std::move(save);
    m_pressedAt = m_form->scale()->settling().now();
    checkSettled();
}

void BagScalePanel::checkSettled()
{
    if (m_settleField->text() != m_scaleText) {
        m_settleWait->stop(); // typed over while waiting: the packer's weight
        m_settleSave();
        return;
    }
    devices::WeightSettling& settling = m_form->scale()->settling();
    const devices::SaveDecision d = settling.decideSave(m_pressedAt);
    if (d.kind == devices::SaveDecision::Wait) {
        m_form->LabMsg->setText(d.message);
        m_settleWait->start();
        return;
    }
    m_settleWait->stop();
    if (d.kind == devices::SaveDecision::Refuse) {
        m_form->LabMsg->setText(d.message);
        return;
    }
    m_scaleText = devices::formatWeight(d.weight, m_form->settings().dispFormat);
    m_settleField->setText(m_scaleText);
    // One placing is one box: the next box counts once this one is off the scale.
    if (m_settleSave() && m_settleBox)
        settling.saved(d.weight);
}
