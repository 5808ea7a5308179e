// The inspection window's look: the type of its controls and data lines, field groups dragged
// to their places by touch, the layout saved or reset, the keypad called up by the focus, the
// defect frame's two placements and the room a list tab takes.
#include "stations/inspection/CheckLayoutPanel.h"

#include "config/MirelIni.h"
#include "screen/Twips.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/CaptionFrame.h"
#include "widgets/DesignType.h"
#include "widgets/EditGrid.h"
#include "widgets/FitText.h"
#include "widgets/UserControl1.h"
#include "widgets/fProcessBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

const QString Mirel = u"MIREL"_s;
const QString MirelIni = u"/mirel.ini"_s;

} // namespace

CheckLayoutPanel::CheckLayoutPanel(frmCheck* form)
    : QObject(form), m_form(form), c(form->controls())
{
    for (QLabel* label : c.LabBox)
        if (label && label->parentWidget() == c.Frame6)
            wireFieldGroup(label);
    for (QLineEdit* box : c.TxtBox)
        if (box)
            box->installEventFilter(this);
    c.Frame5->installEventFilter(this);
}

void CheckLayoutPanel::applyFonts()
{
    // Read from a step away: the status, card, roll number and quantity are large. Sizes are
    // for a 1024 x 768 panel; every control's design size grows with the window.
    const Twips tw = Twips::of(m_form);
    if (!m_form->property("fontsDesigned").toBool()) {
        for (QWidget* w : m_form->findChildren<QWidget*>())
            if (!w->property("designPt").isValid())
                w->setProperty("designPt", 12.0);
        DesignType::mark(m_form, 12);
        for (QLineEdit* box : c.TxtBox)
            if (box && box->property("bigField").toBool())
                DesignType::mark(box, 20, true);
        DesignType::mark(c.LabBox[CheckLabel::Status], 18, true);
        DesignType::mark(c.labInfo[CheckInfo::Totals], 12, true);
        DesignType::mark(c.frameMishu, 16);
        DesignType::mark(c.checkSpec, 12);
        for (QPushButton* b : c.checkCommand)
            if (b)
                DesignType::mark(b, 15, true);
        m_form->setProperty("fontsDesigned", true);
    }
    // Controls added later by the station's parts without a design size keep their font.
    DesignType::apply(m_form, 12, {m_keypad});
    // Every grid on the form, the parts' too, follows the form's scale; sizes are design sizes.
    for (EditGrid* grid : m_form->findChildren<EditGrid*>())
        grid->setTwips(tw);
    m_form->defectGrid().grid()->setFontSize(11);
    fitDataLabels();
}

void CheckLayoutPanel::fitDataLabels()
{
    const Twips tw = Twips::of(m_form);
    for (QLabel* label : {c.LabBox[CheckLabel::Status], c.labInfo[CheckInfo::Totals], c.labInfo[CheckInfo::Article], c.labInfo[CheckInfo::Customer],
                          c.LabBox[CheckLabel::WorkerName], c.LabBox[CheckLabel::CounterSensor],
                          c.LabBox[CheckLabel::ScaleSensor]}) {
        if (!label)
            continue;
        const QVariant design = label->property("designPt");
        const double points = tw.font(design.isValid() ? design.toDouble() : 12.0);
        FitText::fit(label, points, points * 2 / 3);
    }
}

void CheckLayoutPanel::adoptControls(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>())
        if (!w->property("designPt").isValid())
            w->setProperty("designPt", 12.0);
    if (!root->property("designPt").isValid())
        root->setProperty("designPt", 12.0);
    applyFonts();
}

bool CheckLayoutPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Focus coming back after a menu or another window (a message box) is no move into the field:
    // the keypad stays closed, as it does when the frame's operator did not touch the field. A
    // touch on the field that kept the focus that way opens it.
    const auto back = [event] {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        return why == Qt::PopupFocusReason || why == Qt::ActiveWindowFocusReason;
    };
    const bool focusIn = event->type() == QEvent::FocusIn;
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && m_form->loaded() && (focusIn || event->type() == QEvent::MouseButtonRelease)) {
        const int index = int(c.TxtBox.indexOf(box));
        // Text fields and the card keep the keypad closed unless every field may open it.
        const bool textField = index == CheckField::LabelCount ||
                               index == CheckField::PieceLength || index == CheckField::Card ||
                               (index >= CheckField::ItemName && index <= CheckField::SpareD);
        const bool padField = index >= 0 && !(textField && !m_form->settings().keypadOnTextFields);
        const bool shown = m_keypad && m_keypad->isVisible() && m_keypad->GetTextBox() == box;
        if (padField && (focusIn ? !back() : box->hasFocus() && !shown))
            showKeypad(box);
        if (focusIn && !back() && (index == CheckField::LabelCount || index == CheckField::PieceLength))
            emit m_form->commandRequested(
                index == CheckField::LabelCount
                    ? CheckCmd::VariableLabels
                    : CheckCmd::FixedLength); // the label tab's variable / fixed option
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
        return QObject::eventFilter(watched, event);
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
            const QPoint inFrame =
                c.Frame6->mapFromGlobal(me->globalPosition().toPoint()) - m_dragOffset;
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
        if (m_form->fieldLabelDoubleClicked(label))
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CheckLayoutPanel::placeFieldGroup(QLabel* label, const QPoint& topLeft)
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

bool CheckLayoutPanel::amongDefectButtons(QPoint pos) const
{
    QRect buttons;
    for (const QPushButton* b : c.Frame5->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (b->isVisible())
            buttons |= b->geometry();
    return buttons.contains(pos);
}

bool CheckLayoutPanel::defectFrameWide() const
{
    return designRect(c.Frame5).x() != 9000;
}

void CheckLayoutPanel::Frame5_Click()
{
    fitDefectFrameToList(false); // the frame's own size first
    QRect frame = designRect(c.Frame5);
    QRect bar = designRect(c.fProcessBar1);
    if (!defectFrameWide()) {
        const QPoint wide = m_form->variant().wideDefectFrame;
        frame = QRect(270,
                      m_form->settings().defectFrameTop.isEmpty()
                          ? wide.x()
                          : int(vb::Val(m_form->settings().defectFrameTop)),
                      14400,
                      m_form->settings().defectFrameHeight.isEmpty()
                          ? wide.y()
                          : int(vb::Val(m_form->settings().defectFrameHeight)));
        bar.setWidth(14300);
    } else {
        frame = QRect(9000, 2400, 6105, 5310);
        bar.setWidth(6000);
    }
    placeTwips(c.Frame5, frame);
    placeTwips(c.fProcessBar1, bar);
    QRect grid = designRect(m_form->defectGrid().grid());
    grid.setWidth(frame.width() - 100);
    grid.moveTop(frame.height() - grid.height() - 60);
    placeTwips(m_form->defectGrid().grid(), grid);
    fitDefectFrameToList(true);
    c.Frame5->raise();
    emit m_form->commandRequested(
        CheckCmd::DefectFrameResized); // the defect buttons are rebuilt for the new size
}

void CheckLayoutPanel::btnSavePosi_Click(int index)
{
    if (index == 0) {
        const frmCheck::Variant variant = m_form->variant();
        SysUtil::writeIni(Mirel, variant.layoutKey,
                          SysUtil::captureLayout(m_form, variant.layoutControls), MirelIni);
        MessageBox::information(u"保存成功，请重新打开！"_s, m_form);
    } else {
        SysUtil::writeIni(Mirel, m_form->variant().layoutKey, QString(), MirelIni);
        MessageBox::information(u"恢复默认成功，请重新打开！"_s, m_form);
    }
    m_form->close();
}

namespace {

// Twips the form and the defect frame give up (the form keeps its grade row whole), and the
// command row's rise.
constexpr int FormGivesUp = 530;
constexpr int CommandsRise = 560;

const char* const HiddenForList = "hiddenForList";

void moveUp(QWidget* w, int twips)
{
    placeTwips(w, designRect(w).translated(0, -twips));
}

void shorten(QWidget* w, int twips)
{
    QRect r = designRect(w);
    r.setHeight(r.height() - twips);
    placeTwips(w, r);
}

} // namespace

int CheckLayoutPanel::listTabsRise()
{
    return CommandsRise + 60;
}

void CheckLayoutPanel::setListOpen(bool open)
{
    if (open == m_listOpen)
        return;
    fitDefectFrameToList(false);
    m_listOpen = open;
    fitDefectFrameToList(true);
    for (QWidget* w : commandRow())
        moveUp(w, open ? CommandsRise : -CommandsRise);
    shorten(c.Frame6, open ? FormGivesUp : -FormGivesUp);
    // Fields the shorter form cannot hold (the remark row, or what a stored layout put low) are
    // out of sight while the list is open, and back with the form.
    const int formHeight = designRect(c.Frame6).height();
    for (QWidget* w : c.Frame6->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!open && w->property(HiddenForList).toBool()) {
            w->setProperty(HiddenForList, QVariant());
            w->show();
        } else if (open && w->isVisibleTo(c.Frame6) && designRect(w).isValid() &&
                   designRect(w).bottom() > formHeight - 40) {
            w->setProperty(HiddenForList, true);
            w->hide();
        }
    }
}

void CheckLayoutPanel::fitDefectFrameToList(bool fit)
{
    // The narrow defect list keeps its top and gives up its last rows.
    if (!m_listOpen || defectFrameWide())
        return;
    shorten(c.Frame5, fit ? FormGivesUp : -FormGivesUp);
    shorten(m_form->defectGrid().grid(), fit ? FormGivesUp : -FormGivesUp);
}

QList<QWidget*> CheckLayoutPanel::commandRow() const
{
    QList<QWidget*> row{c.UpDown1, c.isPrintreview, c.autoHuanJuan};
    for (int i : {CheckCmd::NewRoll, CheckCmd::Save, CheckCmd::DeleteDefect, CheckCmd::PrintLabel,
                  CheckCmd::PreviousRoll, CheckCmd::NextRoll, CheckCmd::ChooseTemplate,
                  CheckCmd::DeleteRoll, CheckCmd::PrintMark, CheckCmd::Mes})
        row << c.checkCommand[i];
    return row;
}

UserControl1* CheckLayoutPanel::keypad()
{
    if (m_keypad)
        return m_keypad;
    m_keypad = new UserControl1(m_form);
    m_keypad->setObjectName(u"NumberKeybord1"_s);
    m_keypad->hide();
    // The pad's 确定 closes the pad over the defect buttons; on the quantity it is not the
    // keyboard's Enter: the inspector taps it to see the form again, mid-roll, not to save.
    connect(m_keypad, &UserControl1::Confirm, this, [this](QLineEdit* box) {
        m_keypad->hide();
        if (m_form->m_settingsPanel && box == m_form->m_settingsPanel->passwordBox())
            m_form->m_settingsPanel->checkAccessCode(box->text());
        else if (box == c.TxtBox[CheckField::Card])
            m_form->runCommand(CheckCmd::FindCard);
    });
    return m_keypad;
}

void CheckLayoutPanel::hideKeypad()
{
    if (m_keypad)
        m_keypad->hide();
}

void CheckLayoutPanel::wireFieldGroup(QLabel* label)
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

void CheckLayoutPanel::showKeypad(QLineEdit* box)
{
    if (!box)
        return;
    keypad()->setTextBox(box);
    m_keypad->placeBeside(box);
    m_keypad->show();
    m_keypad->raise();
}
