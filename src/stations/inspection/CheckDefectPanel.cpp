// Defect buttons, score pickers and grading of the inspection window.
#include "stations/inspection/CheckDefectPanel.h"

#include "config/MirelIni.h"
#include "screen/Twips.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckDefectLayout.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckSectionAlert.h"
#include "stations/inspection/DefectCamera.h"
#include "widgets/PictureView.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/CounterBox.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/fProcessBar.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The window sizes its controls' type from "designPt"; the pads size theirs from their keys.
void setDesignPoints(QWidget* w, double points)
{
    w->setProperty("designPt", points);
    QFont f = w->font();
    f.setPointSizeF(Twips::of(w).font(points));
    w->setFont(f);
}

} // namespace

CheckDefectPanel::CheckDefectPanel(frmCheck* form)
    : QObject(form), m_form(form), m_defects(form->settings())
{
    setObjectName(u"CheckDefectPanel"_s);
    CheckControls& c = form->controls();
    // In its wide placement the frame lies over the roll form: it must not show it through.
    c.Frame5->setAutoFillBackground(true);
    m_label9 = new QLabel(c.Frame5);
    m_label9->setObjectName(u"Label9"_s);
    m_label9->setAccessibleName(u"扣分合计"_s);
    m_label9->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label9->setStyleSheet(u"color:#c00000;"_s);
    setDesignPoints(m_label9, 12);
    QFont bold = m_label9->font();
    bold.setBold(true);
    m_label9->setFont(bold);

    m_endBtn = new QPushButton(u"结束"_s, c.Frame5);
    m_endBtn->setObjectName(u"cmdBugEnd"_s);
    m_endBtn->setAccessibleName(u"结束"_s);
    m_endBtn->setFocusPolicy(Qt::NoFocus);
    m_endBtn->setStyleSheet(
        u"QPushButton{background:#e0ecff;border:1px solid #4060a0;border-radius:6px;}"
        "QPushButton:pressed{background:#3060c0;color:white;}"_s);
    connect(m_endBtn, &QPushButton::clicked, this, &CheckDefectPanel::endDefect);
    m_alert = new CheckSectionAlert(form, this);

    connect(form, &frmCheck::commandRequested, this, &CheckDefectPanel::onCommand);
    connect(form, &frmCheck::settingsSaved, this, &CheckDefectPanel::buildDefectButtons);
    // A new or reopened roll brings its own defects: their points, not the last roll's. The
    // grade and allowance stay as the roll has them.
    connect(form, &frmCheck::defectsReplaced, this, &CheckDefectPanel::showScore);
    // The points and the automatic grade follow the length as the counter runs or as it is
    // typed, so the screen shows what 保存 stores; a saved roll being filled in is as stored.
    for (int i : {CheckField::Quantity, CheckField::PlusMinus, CheckField::Style})
        connect(c.TxtBox[i], &QLineEdit::textChanged, this, [this] {
            if (!m_form->rollPanel().fillingRoll())
                recompute();
        });
    connect(c.isMashu, &QCheckBox::toggled, this, [this] {
        if (!m_form->rollPanel().fillingRoll())
            recompute();
    });
    connect(form, &frmCheck::rollCleared, this, &CheckDefectPanel::startRoll);
    connect(form, &frmCheck::gradeTouched, this, &CheckDefectPanel::gradeTouched);
    connect(&form->defectCamera(), &DefectCamera::taken, this, &CheckDefectPanel::photoTaken);
    connect(form->defectGrid().grid(), &EditGrid::cellClicked, this, [this](int row, int col) {
        if (col == DefectPhotos::Column)
            showPhoto(row);
    });
    form->installEventFilter(this);
    buildDefectButtons();
    recompute();
}

void CheckDefectPanel::buildPickers()
{
    if (m_picker)
        return;
    QGroupBox* frame = m_form->controls().Frame5;
    m_picker = new UserControl3(frame);
    m_picker->setObjectName(u"UserControl31"_s);
    m_picker->hide();
    connect(m_picker, &UserControl3::Confirm, this,
            [this](const QString& score, const QString& count) { record(score, count); });
    m_tenPoint = new UserControl2(frame);
    m_tenPoint->setObjectName(u"UserControl21"_s);
    m_tenPoint->hide();
    connect(m_tenPoint, &UserControl2::Confirm, this,
            [this](const QString& score, const QString& count) { record(score, count); });
    // The pads' keys resize their own type afterwards.
    m_form->layoutPanel().adoptControls(m_picker);
    m_form->layoutPanel().adoptControls(m_tenPoint);
}

UserControl3* CheckDefectPanel::UserControl31()
{
    buildPickers();
    return m_picker;
}

UserControl2* CheckDefectPanel::UserControl21()
{
    buildPickers();
    return m_tenPoint;
}

void CheckDefectPanel::onCommand(int index)
{
    switch (index) {
    case CheckCmd::DefectFrameResized: buildDefectButtons(); break;
    case CheckCmd::DeleteDefect: deleteDefect(); break;
    case CheckCmd::Recompute: recompute(); break;
    default: break;
    }
}

void CheckDefectPanel::buildDefectButtons()
{
    CheckControls& c = m_form->controls();
    closePickers();
    while (m_bugBtn.size() > 1)
        delete m_bugBtn.takeLast();
    m_defects.readButtons();
    const QList<RollDefects::Button>& items = m_defects.buttons();
    const QRect frame = designRect(c.Frame5);
    const QRect bar = designRect(c.fProcessBar1);
    const int gridTop = designRect(m_form->defectGrid().grid()).y();
    // Below the frame's title, or below the progress bar when the card's progress shows.
    const int top = c.fProcessBar1->isHidden() ? 330 : bar.y() + bar.height() + 80;
    const bool wide = m_form->layoutPanel().defectFrameWide();
    const CheckDefectLayout::ButtonStyle style = CheckDefectLayout::buttonStyle(wide);
    const bool longDefects = m_form->settings().longDefects;
    const QList<QRect> rects = CheckDefectLayout::buttonRects(
        int(items.size()) + (longDefects ? 1 : 0),
        QRect(100, top, frame.width() - 200, gridTop - 80 - top), style);
    for (int i = 0; i < items.size(); ++i) {
        if (i >= m_bugBtn.size()) {
            auto* b = new QPushButton(c.Frame5);
            b->setObjectName(u"bugBtn_"_s + QString::number(i));
            b->setFocusPolicy(Qt::NoFocus);
            b->setStyleSheet(
                u"QPushButton{background:#fff7e0;border:1px solid #a08040;border-radius:6px;}"
                "QPushButton:pressed{background:#d08000;color:white;}"_s);
            connect(b, &QPushButton::clicked, this, [this, i] { bugBtn_Click(i); });
            m_bugBtn << b;
        }
        QPushButton* b = m_bugBtn[i];
        b->setText(items[i].caption);
        b->setAccessibleName(items[i].caption);
        setTag(b, items[i].allowance);
        b->setToolTip(items[i].hint);
        placeTwips(b, rects[i]);
        setDesignPoints(b, style.points);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        b->setVisible(!items[i].caption.isEmpty());
        b->raise();
    }
    m_endBtn->setVisible(longDefects);
    if (longDefects) {
        placeTwips(m_endBtn, rects.last());
        setDesignPoints(m_endBtn, style.points);
        m_endBtn->raise();
    }
    placeTwips(m_label9, QRect(1000, 0, frame.width() - 1150, 300));
    m_label9->raise();
    m_alert->place();
}

void CheckDefectPanel::bugBtn_Click(int index)
{
    const RollDefects::Press p = m_defects.press(index);
    if (!p.pressed)
        return;
    // The inspector has gone on to the cloth: the number pad of a field would cover the form
    // beside the defect's own picker.
    m_form->layoutPanel().hideKeypad();
    QPushButton* b = m_bugBtn[index];
    if (p.picker != RollDefects::Picker::None)
        buildPickers();
    if (p.picker == RollDefects::Picker::Points) {
        for (int i = 0; i < 4; ++i)
            m_picker->setNumber(i + 1, p.points[size_t(i)]);
        showPicker(m_picker, b);
    } else if (p.picker == RollDefects::Picker::TenPoint) {
        m_tenPoint->setTextBox(0);
        showPicker(m_tenPoint, b);
    } else {
        record(p.score, p.count);
    }
}

void CheckDefectPanel::showPicker(QWidget* picker, QPushButton* button)
{
    closePickers();
    const bool tenPoint = picker == m_tenPoint;
    const QSize size(tenPoint ? UserControl2::WidthTwips : UserControl3::WidthTwips,
                     tenPoint ? UserControl2::HeightTwips : UserControl3::HeightTwips);
    const QPoint at = CheckDefectLayout::pickerPlace(designRect(button), size,
                                                     designRect(m_form->controls().Frame5).size());
    placeTwips(picker, QRect(at, size));
    picker->show();
    picker->raise();
    refreshPadFonts();
}

void CheckDefectPanel::refreshPadFonts()
{
    // The window gives every control its design type on a resize; the pads' keys take theirs
    // from their own size again.
    if (!m_picker)
        return;
    for (QWidget* pad : {static_cast<QWidget*>(m_picker), static_cast<QWidget*>(m_tenPoint)})
        for (QWidget* w : pad->findChildren<QWidget*>()) {
            QResizeEvent e(w->size(), w->size());
            QCoreApplication::sendEvent(w, &e);
        }
}

bool CheckDefectPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_form && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &CheckDefectPanel::refreshPadFonts);
    return QObject::eventFilter(watched, event);
}

void CheckDefectPanel::closePickers()
{
    if (!m_picker)
        return;
    m_picker->hide();
    m_picker->setFenshu(0);
    m_tenPoint->hide();
    m_tenPoint->entryBox()->setText(vb::Str(0));
    m_tenPoint->counter()->setText(vb::Str(0));
}

void CheckDefectPanel::record(const QString& score, const QString& count)
{
    const RollDefects::Record r = defects().record(score, count, readForm());
    closePickers();
    if (!r.scored)
        return;
    if (r.row) {
        CheckDefectGrid& grid = m_form->defectGrid();
        grid.append(r.row->columns());
        // The row is there at once; its picture follows.
        if (const int ticket = m_form->defectCamera().request())
            grid.waitForPhoto(grid.grid()->rows() - 2, ticket);
    }
    m_form->runCommand(CheckCmd::Recompute);
    checkSectionAlert();
}

void CheckDefectPanel::photoTaken(const CameraShot& shot)
{
    CheckDefectGrid& grid = m_form->defectGrid();
    const int row = grid.rowOfTicket(shot.ticket);
    if (row < 1)
        return;
    DefectCamera& camera = m_form->defectCamera();
    QString error = shot.failure, file;
    if (shot.ok()) {
        const RollForm roll = m_form->readRoll();
        file = camera.write(shot.jpeg, {m_form->settings().machineId, roll[CheckField::Card],
                                        roll[CheckField::RollNumber], row}, &error);
    }
    grid.setPhoto(row, file);
    if (const QString note = camera.noteOf({shot.ticket, file.isEmpty() ? QByteArray() : shot.jpeg, error});
        !note.isEmpty())
        m_form->setStatus(note);
}

void CheckDefectPanel::showPhoto(int row)
{
    const CheckDefectGrid& grid = m_form->defectGrid();
    if (const QString file = grid.photoOf(row); !file.isEmpty())
        PictureView::open(m_form, m_form->defectCamera().pathOf(file),
                              u"%1  位置 %2"_s.arg(grid.grid()->textMatrix(row, 1), grid.grid()->textMatrix(row, 2)));
}

void CheckDefectPanel::checkSectionAlert()
{
    if (const std::optional<RollDefects::SectionAlert> alert = defects().sectionAlert(readForm()))
        m_alert->raise(*alert);
}

RollDefects& CheckDefectPanel::defects()
{
    m_defects.setRows(DefectRow::fromGrid(m_form->defectGrid().rows()));
    return m_defects;
}

DefectForm CheckDefectPanel::readForm() const
{
    const CheckControls& c = m_form->controls();
    return {c.TxtBox[CheckField::Quantity]->text(), c.TxtBox[CheckField::PlusMinus]->text(),
            c.TxtBox[CheckField::Style]->text(),    c.TxtBox[CheckField::Worker]->text(),
            c.Text1->text(),                         c.isMashu->isChecked()};
}

void CheckDefectPanel::startRoll()
{
    showPoints(defects().start(vb::Val(m_form->controls().checkId->text()) > 0, readForm()));
}

void CheckDefectPanel::gradeTouched()
{
    const QString status = m_defects.touchGrade();
    if (!status.isEmpty())
        m_form->setStatus(status);
}

void CheckDefectPanel::recompute()
{
    // The allowance written below is part of the length: its own change is this recompute's.
    if (m_recomputing)
        return;
    m_recomputing = true;
    const auto done = qScopeGuard([this] {
        m_defects.settle(readForm());
        m_recomputing = false;
    });
    CheckControls& c = m_form->controls();
    const RollDefects::Recompute r = defects().recompute(readForm(), !c.gradeBtn.isEmpty());
    CheckGrading::Score score = showPoints(r.score);
    if (r.plusMinus) {
        c.TxtBox[CheckField::PlusMinus]->setText(*r.plusMinus);
        if (!r.note.isEmpty())
            m_form->setStatus(r.note);
        score = showScore(); // the area takes 加减 off the counted length
    }
    if (!r.grade)
        return;
    QList<double> thresholds;
    for (QRadioButton* g : c.gradeBtn)
        thresholds << vb::Val(g->toolTip());
    c.gradeBtn[RollDefects::gradeOf(score, thresholds)]->setChecked(true);
}

CheckGrading::Score CheckDefectPanel::showScore()
{
    return showPoints(defects().score(readForm()));
}

CheckGrading::Score CheckDefectPanel::showPoints(const CheckGrading::Score& score)
{
    m_label9->setText(u"扣分合计："_s + score.summary);
    return score;
}

void CheckDefectPanel::deleteDefect()
{
    EditGrid* grid = m_form->defectGrid().grid();
    const int row = grid->row();
    // The grid's rows are the defects from row 1; the empty one new defects go into stays.
    if (defects().remove(row - 1)) {
        grid->removeItem(row);
        for (int r = 1; r < grid->rows() - 1; ++r)
            grid->setTextMatrix(r, 0, QString::number(r));
    }
    m_form->runCommand(CheckCmd::Recompute);
}

void CheckDefectPanel::endDefect()
{
    const RollDefects::End end = defects().endLongDefect(readForm());
    if (!end.problem.isEmpty())
        m_form->setStatus(end.problem);
    if (end.index < 0)
        return;
    m_form->defectGrid().grid()->setTextMatrix(end.index + 1, 2, m_defects.rows()[end.index].position);
    m_form->runCommand(CheckCmd::Recompute);
    checkSectionAlert();
}
