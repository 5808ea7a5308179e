// The packing window's inputs beside its buttons: the scale's weight and its silence, the box
// weight question, and the keypads under the fields.
#include "stations/packing/frmBag.h"

#include "devices/LengthDisplay.h"
#include "devices/PackingScale.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
const QString Mirel = u"MIREL"_s;
const QString MirelIni = u"/mirel.ini"_s;
} // namespace

QLineEdit* frmBag::weightField() const
{
    // Weighing a box only when packing is switched on exactly; otherwise the roll is weighed.
    return m_packing == u"1"_s ? bagNumber[1] : txtUser[11];
}

void frmBag::onWeight(const QString& text)
{
    m_scaleText = text;
    weightField()->setText(text);
}

void frmBag::onScaleSilence(bool silent)
{
    // Unplugged or switched off: the weight on screen is no longer what lies on the scale. A
    // weight the operator typed is his own and stays.
    if (silent && !m_scaleText.isEmpty() && weightField()->text() == m_scaleText) {
        weightField()->clear();
        m_scaleText.clear();
    }
    weightField()->setPlaceholderText(silent ? u"台称无读数"_s : QString());
    const QString red = silent ? u"color:#d00000"_s : QString();
    const QString caption = weightField() == bagNumber[1] ? u"labBag_1"_s : u"labUser_11"_s;
    if (auto* label = findChild<QLabel*>(caption))
        label->setStyleSheet(red);
    LabMsg3->setStyleSheet(red);
}

bool frmBag::confirmBoxWeight()
{
    // A box without its weight is asked about, not saved unnoticed (the scale silent, the
    // weight not typed).
    if (vb::Val(bagNumber[1]->text()) > 0 || ximaGrid->rows() <= 2)
        return true;
    return MessageBox::question(
        u"箱 %1 没有箱重（%2），仍然按箱重 0 保存？"_s.arg(
            bagNumber[0]->text(), m_scale->silent() ? u"台称无读数"_s : u"箱重为空"_s),
        this);
}

void frmBag::onWeightLook(devices::WeightLook look)
{
    const bool moving = look == devices::WeightLook::Moving;
    weightField()->setStyleSheet(moving ? u"color:#808080"_s : QString());
    const QString name = weightField() == bagNumber[1] ? u"labBag_1"_s : u"labUser_11"_s;
    auto* caption = findChild<QLabel*>(name);
    if (!caption)
        return;
    if (!caption->property("caption").isValid()) {
        caption->setProperty("caption", caption->text());
        // Wide enough for either text, so that the row beside it does not shift as it changes.
        const QFontMetrics metrics(caption->font());
        caption->setMinimumWidth(qMax(metrics.horizontalAdvance(caption->text()),
                                      metrics.horizontalAdvance(u"称重中…"_s))
                                 + caption->contentsMargins().left() + caption->contentsMargins().right());
    }
    caption->setText(moving ? u"称重中…"_s : caption->property("caption").toString());
}

void frmBag::addScaleButtons(QHBoxLayout* row)
{
    cmdZero = new QPushButton(u"归零"_s, ximadan);
    cmdZero->setObjectName(u"cmdZero"_s);
    cmdTare = new QPushButton(u"去皮"_s, ximadan);
    cmdTare->setObjectName(u"cmdTare"_s);
    for (QPushButton* b : {cmdZero, cmdTare}) {
        b->setAccessibleName(b->text());
        b->hide();
        row->addWidget(b);
    }
    connect(cmdZero, &QPushButton::clicked, this, [this] { m_scale->zeroScale(); });
    connect(cmdTare, &QPushButton::clicked, this, [this] { m_scale->tareScale(); });
}

void frmBag::saveWhenSettled(QLineEdit* field, bool box, std::function<bool()> save)
{
    if (m_settleWait && m_settleWait->isActive()) {
        LabMsg->setText(u"称重中…"_s); // a save already waits for the weight: this one is not taken
        return;
    }
    // Only a weight the scale wrote waits for the scale; one the packer typed is his.
    const bool fromScale = isChen->isChecked() && weightField() == field && !m_scaleText.isEmpty()
        && field->text() == m_scaleText;
    if (!fromScale) {
        save();
        return;
    }
    if (!m_settleWait) {
        m_settleWait = new QTimer(this);
        m_settleWait->setInterval(100);
        connect(m_settleWait, &QTimer::timeout, this, &frmBag::checkSettled);
    }
    m_settleField = field;
    m_settleBox = box;
    m_settleSave = std::move(save);
    m_pressedAt = m_scale->settling().now();
    checkSettled();
}

void frmBag::checkSettled()
{
    if (m_settleField->text() != m_scaleText) {
        m_settleWait->stop(); // typed over while waiting: the packer's weight
        m_settleSave();
        return;
    }
    const devices::SaveDecision d = m_scale->settling().decideSave(m_pressedAt);
    if (d.kind == devices::SaveDecision::Wait) {
        LabMsg->setText(d.message);
        m_settleWait->start();
        return;
    }
    m_settleWait->stop();
    if (d.kind == devices::SaveDecision::Refuse) {
        LabMsg->setText(d.message);
        return;
    }
    m_scaleText = devices::formatWeight(d.weight, SysUtil::readIni(Mirel, u"dispFormat"_s,
                                                                   u"0.00"_s, MirelIni));
    m_settleField->setText(m_scaleText);
    // One placing is one box: the next box counts once this one is off the scale.
    if (m_settleSave() && m_settleBox)
        m_scale->settling().saved(d.weight);
}

bool frmBag::finishBoxSave()
{
    const QString moved = movedRollsNote();
    if (!confirmBoxWeight() || !savebags())
        return false;
    LabMsg->setText((m_savedOffline ? u"离线保存：箱 %1，数据库连上后上传"_s.arg(bagNumber[0]->text())
                                    : u"箱唛保存成功"_s) +
                    moved);
    clearList();
    forgetBoxDraft();
    return true;
}

bool frmBag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == barcode && event->type() == QEvent::FocusIn) {
        // A touch into the field takes the last code whole, so that the digits typed next (or
        // the next scan) replace it instead of running on from it into another roll's id. After
        // the touch has placed its caret.
        QTimer::singleShot(0, barcode, [this] { barcode->selectAll(); });
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn)
        showKeypadFor(qobject_cast<QLineEdit*>(watched));
    return QWidget::eventFilter(watched, event);
}

void frmBag::showKeypadFor(QLineEdit* box)
{
    if (!box)
        return;
    const QString tag = box->property("Tag").toString();
    if (!tag.isEmpty()) {
        // Worker codes and machine numbers the mill keeps as preset lists, comma-terminated.
        const QString list = SysUtil::readIni(Mirel, tag, QString(), MirelIni);
        if (list.isEmpty())
            return;
        UserControl41->clearBtn();
        for (const QString& v : vb::listItems(list))
            UserControl41->setNumber(v);
        UserControl41->setTextBox(box);
        const QPoint below = box->mapTo(this, QPoint(0, box->height()));
        UserControl41->move(qMin(below.x(), qMax(0, width() - UserControl41->width())),
                            qMin(below.y(), qMax(0, height() - UserControl41->height())));
        UserControl41->show();
        UserControl41->raise();
        return;
    }
    NumberKeybord1->setTextBox(box);
    if (box == txtUser[11])
        box->selectAll();
    NumberKeybord1->placeBeside(box);
    NumberKeybord1->show();
    NumberKeybord1->raise();
}
