// The inspection window's look: the type of its controls and data lines, field groups dragged
// to their places by touch, the layout saved or reset, the keypad called up by the focus, and
// the defect frame's two placements.
#include "stations/inspection/frmCheck.h"

#include "config/MirelIni.h"
#include "devices/InspectionDevices.h"
#include "screen/Twips.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "text/Vb.h"
#include "widgets/CaptionFrame.h"
#include "widgets/EditGrid.h"
#include "widgets/FitText.h"
#include "widgets/fProcessBar.h"
#include "widgets/UserControl1.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QString Mirel = QStringLiteral("MIREL");
const QString MirelIni = QStringLiteral("/mirel.ini");

} // namespace

void frmCheck::applyFonts()
{
    // Read from a step away: the status, card, roll number and quantity are large. Sizes are
    // for a 1024 x 768 panel; every control's design size grows with the window.
    const Twips tw = Twips::of(this);
    if (!property("fontsDesigned").toBool()) {
        const auto design = [](QWidget* w, double points, bool bold) {
            w->setProperty("designPt", points);
            QFont f = w->font();
            f.setBold(bold);
            w->setFont(f);
        };
        for (QWidget* w : findChildren<QWidget*>())
            if (!w->property("designPt").isValid())
                w->setProperty("designPt", 12.0);
        design(this, 12, false);
        for (QLineEdit* box : c.TxtBox)
            if (box && box->property("bigField").toBool())
                design(box, 20, true);
        design(c.LabBox[CheckLabel::Status], 18, true);
        design(c.labInfo[0], 12, true);
        design(c.frameMishu, 16, false);
        design(c.checkSpec, 12, false);
        for (QPushButton* b : c.checkCommand)
            if (b)
                design(b, 15, true);
        setProperty("fontsDesigned", true);
    }
    // The form's own font first: changing it afterwards would walk every child again.
    QFont own = font();
    own.setPointSizeF(tw.font(12));
    setFont(own);
    // A control whose design size is its parent's inherits the parent's type and is left alone:
    // a font change re-lays out the control's text, and most controls are at the form's 12.
    // Controls under a style sheet do not inherit a changed font, so they get their own.
    const auto designOf = [this](const QWidget* w) {
        const QVariant v = w->property("designPt");
        return w == this || !v.isValid() ? 12.0 : v.toDouble();
    };
    const auto underStyleSheet = [this](const QWidget* w) {
        for (const QWidget* p = w->parentWidget(); p && p != this; p = p->parentWidget())
            if (!p->styleSheet().isEmpty())
                return true;
        return false;
    };
    for (QWidget* w : findChildren<QWidget*>()) {
        const QVariant design = w->property("designPt");
        // The keypad sizes its own keys; controls added later by the station's parts without a
        // design size keep the font they were given.
        if (!design.isValid() || design.toDouble() <= 0 ||
            (m_keypad && (w == m_keypad || m_keypad->isAncestorOf(w))))
            continue;
        const bool hasOwnFont = w->testAttribute(Qt::WA_SetFont);
        if (!hasOwnFont && design.toDouble() == designOf(w->parentWidget()) && !underStyleSheet(w))
            continue;
        const double points = tw.font(design.toDouble());
        if (hasOwnFont && qFuzzyCompare(w->font().pointSizeF(), points))
            continue;
        QFont f = w->font();
        f.setPointSizeF(points);
        w->setFont(f);
    }
    // Every grid on the form, the parts' too, follows the form's scale; sizes are design sizes.
    for (EditGrid* grid : findChildren<EditGrid*>())
        grid->setTwips(tw);
    m_pggCheck->setFontSize(11);
    fitDataLabels();
}

void frmCheck::fitDataLabels()
{
    const Twips tw = Twips::of(this);
    for (QLabel* label : {c.LabBox[CheckLabel::Status], c.labInfo[0], c.labInfo[2], c.labInfo[3], c.LabBox[CheckLabel::WorkerName], c.LabBox[CheckLabel::CounterSensor],
                          c.LabBox[CheckLabel::ScaleSensor]}) {
        if (!label)
            continue;
        const QVariant design = label->property("designPt");
        const double points = tw.font(design.isValid() ? design.toDouble() : 12.0);
        FitText::fit(label, points, points * 2 / 3);
    }
}

void frmCheck::adoptControls(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>())
        if (!w->property("designPt").isValid())
            w->setProperty("designPt", 12.0);
    if (!root->property("designPt").isValid())
        root->setProperty("designPt", 12.0);
    applyFonts();
}

bool frmCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && m_loaded) {
        const int index = int(c.TxtBox.indexOf(qobject_cast<QLineEdit*>(watched)));
        // Text fields and the card keep the keypad closed unless every field may open it.
        const bool textField = index == CheckField::LabelCount || index == CheckField::PieceLength
                               || index == CheckField::Card
                               || (index >= CheckField::ItemName && index <= CheckField::SpareD);
        if (index >= 0 && !(textField && !m_cfg.keypadOnTextFields))
            showKeypad(c.TxtBox[index]);
        if (index == CheckField::LabelCount || index == CheckField::PieceLength)
            emit commandRequested(index == CheckField::LabelCount ? CheckCmd::VariableLabels : CheckCmd::FixedLength); // the label tab's variable / fixed option
    }
    if (watched == c.LabUnit && event->type() == QEvent::MouseButtonDblClick) {
        // The counter is told the unit too, while its port is open.
        const bool yards = m_devices ? m_devices->toggleUnit(c.LabUnit->text()) : !c.isMashu->isChecked();
        c.isMashu->setChecked(yards);
        return true;
    }
    if (watched == c.Frame5 && event->type() == QEvent::MouseButtonRelease) {
        // A finger that lands between two defect buttons missed a button: the frame must not
        // jump wide over the roll form mid-roll. The title and the empty frame move it.
        if (!amongDefectButtons(static_cast<QMouseEvent*>(event)->position().toPoint()))
            Frame5_Click();
        return true;
    }
    auto* label = qobject_cast<QLabel*>(watched);
    // Only mouse (and pen) events are a field group's presses; paint and other events pass.
    if (!label || label->parentWidget() != c.Frame6 || !event->isSinglePointEvent())
        return QWidget::eventFilter(watched, event);
    auto* me = static_cast<QSinglePointEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_dragLabel = label;
        m_dragOffset = me->position().toPoint();
        m_dragStart = me->globalPosition().toPoint();
        if (me->button() == Qt::LeftButton)
            label->setFrameStyle(QFrame::Box);
        return true;
    case QEvent::MouseButtonRelease:
        if (m_dragLabel == label) {
            // A tap (a finger that hardly moved) is not a drag: the group stays as it is.
            const QPoint moved = me->globalPosition().toPoint() - m_dragStart;
            const QPoint inFrame = c.Frame6->mapFromGlobal(me->globalPosition().toPoint()) - m_dragOffset;
            if (moved.manhattanLength() >= QApplication::startDragDistance() &&
                c.Frame6->rect().contains(inFrame))
                placeFieldGroup(label, inFrame);
            label->setFrameStyle(QFrame::NoFrame);
            m_dragLabel = nullptr;
        }
        return true;
    case QEvent::MouseButtonDblClick:
        m_dragLabel = nullptr;
        label->setFrameStyle(QFrame::NoFrame);
        if (fieldLabelDoubleClicked(label))
            return true;
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmCheck::placeFieldGroup(QLabel* label, const QPoint& topLeft)
{
    label->move(topLeft);
    int x = label->geometry().right() + 4;
    const int h = c.TxtBox[CheckField::DyeLot]->height();
    for (const QString& name : tagOf(label).split(u'|', Qt::SkipEmptyParts)) {
        QWidget* w = c.Frame6->findChild<QWidget*>(name);
        if (!w)
            continue;
        w->move(x, topLeft.y());
        if (w == c.cmdHuangang)
            w->resize(w->width(), h); // keeps the height of the dye-lot box
        x = w->geometry().right() + 4;
    }
    rememberGeometry(c.Frame6);
}

bool frmCheck::amongDefectButtons(QPoint pos) const
{
    QRect buttons;
    for (const QPushButton* b : c.Frame5->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (b->isVisible())
            buttons |= b->geometry();
    return buttons.contains(pos);
}

bool frmCheck::defectFrameWide() const { return designRect(c.Frame5).x() != 9000; }

void frmCheck::Frame5_Click()
{
    fitDefectFrameToList(false); // the frame's own size first
    QRect frame = designRect(c.Frame5);
    QRect bar = designRect(c.fProcessBar1);
    if (!defectFrameWide()) {
        const QPoint wide = wideDefectFrame();
        frame = QRect(
            270,
            m_cfg.defectFrameTop.isEmpty() ? wide.x() : int(vb::Val(m_cfg.defectFrameTop)),
            14400,
            m_cfg.defectFrameHeight.isEmpty() ? wide.y() : int(vb::Val(m_cfg.defectFrameHeight)));
        bar.setWidth(14300);
    } else {
        frame = QRect(9000, 2400, 6105, 5310);
        bar.setWidth(6000);
    }
    placeTwips(c.Frame5, frame);
    placeTwips(c.fProcessBar1, bar);
    QRect grid = designRect(m_pggCheck);
    grid.setWidth(frame.width() - 100);
    grid.moveTop(frame.height() - grid.height() - 60);
    placeTwips(m_pggCheck, grid);
    fitDefectFrameToList(true);
    c.Frame5->raise();
    emit commandRequested(CheckCmd::DefectFrameResized); // the defect buttons are rebuilt for the new size
}

void frmCheck::btnSavePosi_Click(int index)
{
    if (index == 0) {
        SysUtil::writeIni(Mirel, layoutKey(), SysUtil::captureLayout(this, layoutControls()), MirelIni);
        MessageBox::information(QStringLiteral("保存成功，请重新打开！"), this);
    } else {
        SysUtil::writeIni(Mirel, layoutKey(), QString(), MirelIni);
        MessageBox::information(QStringLiteral("恢复默认成功，请重新打开！"), this);
    }
    close();
}
