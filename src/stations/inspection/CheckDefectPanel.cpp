// Defect buttons, score pickers and grading of the inspection window.
#include "stations/inspection/CheckDefectPanel.h"

#include "config/MirelIni.h"
#include "screen/Twips.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckDefectLayout.h"
#include "stations/inspection/CheckSectionAlert.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/CounterBox.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/fProcessBar.h"

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

namespace {

const QString FourPointMode = QStringLiteral("美标4分制");
const QString NationalTen = QStringLiteral("国标10分制");
const QString JapaneseTen = QStringLiteral("日标10分制");

// The window sizes its controls' type from "designPt"; the pads size theirs from their keys.
void setDesignPoints(QWidget* w, double points)
{
    w->setProperty("designPt", points);
    QFont f = w->font();
    f.setPointSizeF(Twips::of(w).font(points));
    w->setFont(f);
}

} // namespace

CheckDefectPanel::CheckDefectPanel(frmCheck* form) : QObject(form), m_form(form)
{
    setObjectName(QStringLiteral("CheckDefectPanel"));
    CheckControls& c = form->controls();
    // In its wide placement the frame lies over the roll form: it must not show it through.
    c.Frame5->setAutoFillBackground(true);
    m_label9 = new QLabel(c.Frame5);
    m_label9->setObjectName(QStringLiteral("Label9"));
    m_label9->setAccessibleName(QStringLiteral("扣分合计"));
    m_label9->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label9->setStyleSheet(QStringLiteral("color:#c00000;"));
    setDesignPoints(m_label9, 12);
    QFont bold = m_label9->font();
    bold.setBold(true);
    m_label9->setFont(bold);

    m_endBtn = new QPushButton(QStringLiteral("结束"), c.Frame5);
    m_endBtn->setObjectName(QStringLiteral("cmdBugEnd"));
    m_endBtn->setAccessibleName(QStringLiteral("结束"));
    m_endBtn->setFocusPolicy(Qt::NoFocus);
    m_endBtn->setStyleSheet(
        QStringLiteral("QPushButton{background:#e0ecff;border:1px solid #4060a0;border-radius:6px;}"
                       "QPushButton:pressed{background:#3060c0;color:white;}"));
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
            if (!m_form->fillingRoll())
                recompute();
        });
    connect(c.isMashu, &QCheckBox::toggled, this, [this] {
        if (!m_form->fillingRoll())
            recompute();
    });
    connect(form, &frmCheck::rollCleared, this, &CheckDefectPanel::startRoll);
    connect(form, &frmCheck::gradeTouched, this, &CheckDefectPanel::gradeTouched);
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
    m_picker->setObjectName(QStringLiteral("UserControl31"));
    m_picker->hide();
    connect(m_picker, &UserControl3::Confirm, this,
            [this](const QString& score, const QString& count) { record(score, count); });
    m_tenPoint = new UserControl2(frame);
    m_tenPoint->setObjectName(QStringLiteral("UserControl21"));
    m_tenPoint->hide();
    connect(m_tenPoint, &UserControl2::Confirm, this,
            [this](const QString& score, const QString& count) { record(score, count); });
    // The pads' keys resize their own type afterwards.
    m_form->adoptControls(m_picker);
    m_form->adoptControls(m_tenPoint);
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
    QStringList items = vb::listItems(m_form->settings().defects);
    if (items.isEmpty())
        items << QString();
    const QRect frame = designRect(c.Frame5);
    const QRect bar = designRect(c.fProcessBar1);
    const int gridTop = designRect(m_form->pggCheck()).y();
    // Below the frame's title, or below the progress bar when the card's progress shows.
    const int top = c.fProcessBar1->isHidden() ? 330 : bar.y() + bar.height() + 80;
    const bool wide = m_form->defectFrameWide();
    const CheckDefectLayout::ButtonStyle style = CheckDefectLayout::buttonStyle(wide);
    const bool longDefects =
        m_form->settings().longDefects;
    const QList<QRect> rects = CheckDefectLayout::buttonRects(
        int(items.size()) + (longDefects ? 1 : 0),
        QRect(100, top, frame.width() - 200, gridTop - 80 - top), style);
    for (int i = 0; i < items.size(); ++i) {
        if (i >= m_bugBtn.size()) {
            auto* b = new QPushButton(c.Frame5);
            b->setObjectName(QStringLiteral("bugBtn_") + QString::number(i));
            b->setFocusPolicy(Qt::NoFocus);
            b->setStyleSheet(QStringLiteral(
                "QPushButton{background:#fff7e0;border:1px solid #a08040;border-radius:6px;}"
                "QPushButton:pressed{background:#d08000;color:white;}"));
            connect(b, &QPushButton::clicked, this, [this, i] { bugBtn_Click(i); });
            m_bugBtn << b;
        }
        QPushButton* b = m_bugBtn[i];
        const QStringList parts = items[i].split(u'_');
        const bool detailed = parts.size() > 1;
        b->setText(parts[0]);
        b->setAccessibleName(parts[0]);
        setTag(b, detailed ? parts[1] : QStringLiteral("0"));
        b->setToolTip(detailed ? parts.value(2) : QStringLiteral("0"));
        placeTwips(b, rects[i]);
        setDesignPoints(b, style.points);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        b->setVisible(!parts[0].isEmpty());
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
    QPushButton* b = m_bugBtn.value(index);
    if (!b || b->text().isEmpty())
        return;
    m_bugName = b->text();
    m_bugTag = vb::Val(tagOf(b));
    const QString mode = m_form->settings().scoring;
    if (mode == FourPointMode || mode == JapaneseTen || mode == NationalTen)
        buildPickers();
    if (mode == FourPointMode || mode == JapaneseTen) {
        const int points[2][4] = {{1, 2, 3, 4}, {1, 3, 5, 10}};
        for (int i = 0; i < 4; ++i)
            m_picker->setNumber(i + 1, points[mode == JapaneseTen][i]);
        showPicker(m_picker, b);
    } else if (mode == NationalTen) {
        m_tenPoint->setTextBox(0);
        showPicker(m_tenPoint, b);
    } else {
        const QString hint = b->toolTip();
        if (hint.contains(u'^')) {
            const QStringList parts = hint.split(u'^');
            record(parts[1], parts[0]);
        } else {
            record(QStringLiteral("-1"), hint);
        }
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
    if (score.isEmpty()) { // the picker was closed without a score
        closePickers();
        return;
    }
    const CheckControls& c = m_form->controls();
    const QStringList row = {m_bugName,
                             c.TxtBox[CheckField::Quantity]->text(),
                             vb::sqlNumber(vb::Val(count)),
                             vb::sqlNumber(vb::Val(score)),
                             c.TxtBox[CheckField::Worker]->text(),
                             c.Text1->text()};
    // A comma in the position, worker or remark would shift the columns when the row is read
    // back as one line, so such a row is not taken.
    if (row.join(u',').split(u',').size() == 6)
        m_form->appendDefectRow(QStringList{QString()} + row);
    closePickers();
    m_form->runCommand(CheckCmd::Recompute);
    m_alert->check(gradingRules().capPerUnit ? FourPoint::Cap : 0);
}

QList<CheckGrading::DefectButton> CheckDefectPanel::gradingButtons() const
{
    QList<CheckGrading::DefectButton> buttons;
    for (QPushButton* b : m_bugBtn)
        buttons.append({b->text(), vb::Val(tagOf(b))});
    return buttons;
}

CheckGrading::Rules CheckDefectPanel::gradingRules() const
{
    const CheckControls& c = m_form->controls();
    CheckGrading::Rules rules;
    const QString mode =
        m_form->settings().scoring;
    rules.capPerUnit =
        mode == FourPointMode &&
        m_form->settings().capPerUnit;
    rules.yards = c.isMashu->isChecked();
    rules.rejectMetres =
        m_form->settings().longDefectReject;
    return rules;
}

QString CheckDefectPanel::defectsKey() const
{
    QStringList rows;
    for (const QStringList& row : m_form->defectRows())
        rows << row.mid(1, 4).join(u'\x1f');
    return rows.join(u'\n');
}

QString CheckDefectPanel::lengthKey() const
{
    const CheckControls& c = m_form->controls();
    return c.TxtBox[CheckField::Quantity]->text() + u'|' + c.TxtBox[CheckField::PlusMinus]->text() + u'|' + c.TxtBox[CheckField::Style]->text() + u'|' +
           (c.isMashu->isChecked() ? u'Y' : u'M');
}

void CheckDefectPanel::startRoll()
{
    m_follow.start(vb::Val(m_form->controls().checkId->text()) > 0, defectsKey(), lengthKey(),
                   vb::Val(showScore().allowance));
}

void CheckDefectPanel::gradeTouched()
{
    m_follow.touchGrade();
    if (m_form->settings().autoGrade)
        m_form->setStatus(QStringLiteral("手动等级"));
}

void CheckDefectPanel::recompute()
{
    // The allowance written below is part of the length: its own change is this recompute's.
    if (m_recomputing)
        return;
    m_recomputing = true;
    const auto done = qScopeGuard([this] {
        m_follow.settle(lengthKey());
        m_recomputing = false;
    });
    CheckControls& c = m_form->controls();
    const CheckGradeFollow::Writes writes = m_follow.observe(defectsKey(), lengthKey());
    CheckGrading::Score r = showScore();
    if (vb::Val(r.points) <= -1 || c.gradeBtn.isEmpty())
        return;
    if (writes.allowance) {
        const double next = vb::Val(r.allowance);
        const QString note = m_follow.allowanceNote(vb::Val(c.TxtBox[CheckField::PlusMinus]->text()), next);
        c.TxtBox[CheckField::PlusMinus]->setText(vb::sqlNumber(next));
        if (!note.isEmpty())
            m_form->setStatus(note);
        r = showScore(); // the area takes 加减 off the counted length
    }
    if (!writes.grade)
        return;
    QList<double> thresholds;
    for (QRadioButton* g : c.gradeBtn)
        thresholds << vb::Val(g->toolTip());
    c.gradeBtn[r.rejected ? c.gradeBtn.size() - 1
                          : CheckGrading::gradeFor(vb::Val(r.points), thresholds)]
        ->setChecked(true);
}

CheckGrading::Score CheckDefectPanel::showScore()
{
    CheckControls& c = m_form->controls();
    double area = 0;
    CheckGrading::Rules rules = gradingRules();
    if (vb::IsNumeric(c.TxtBox[CheckField::Style]->text())) {
        double width = vb::Val(c.TxtBox[CheckField::Style]->text()); // fabric width in cm
        if (width == 0)
            width = 100;
        const double length = vb::Val(c.TxtBox[CheckField::Quantity]->text()) - vb::Val(c.TxtBox[CheckField::PlusMinus]->text());
        area = width * length / 100;
        rules.widthCm = width;
        rules.length = length;
    }
    const CheckGrading::Score r = CheckGrading::gradeScore(
        m_form->defectRows(), area, gradingButtons(),
        m_form->settings().autoGrade,
        rules);
    m_label9->setText(QStringLiteral("扣分合计：") + r.summary);
    return r;
}

void CheckDefectPanel::deleteDefect()
{
    EditGrid* grid = m_form->pggCheck();
    const int row = grid->row();
    // The last row is the empty one new defects go into; it stays.
    if (row >= 1 && row < grid->rows() - 1) {
        grid->removeItem(row);
        for (int r = 1; r < grid->rows() - 1; ++r)
            grid->setTextMatrix(r, 0, QString::number(r));
    }
    m_form->runCommand(CheckCmd::Recompute);
}

void CheckDefectPanel::endDefect()
{
    // The defect last recorded (a section alert's row is no defect); pressed again, its end
    // moves on.
    EditGrid* grid = m_form->pggCheck();
    int row = grid->rows() - 1;
    while (row >= 1 && (grid->textMatrix(row, 1).isEmpty() ||
                        grid->textMatrix(row, 1) == QStringView(CheckGrading::AlertRowName)))
        --row;
    if (row < 1)
        return;
    const double start =
        CheckGrading::defectOf({QString(), QString(), grid->textMatrix(row, 2)}).start;
    const double end = vb::Val(m_form->controls().TxtBox[CheckField::Quantity]->text());
    if (end <= start) {
        m_form->setStatus(QStringLiteral("结束位置要大于疵点的起始位置"));
        return;
    }
    grid->setTextMatrix(row, 2, CheckGrading::spanText(start, end));
    m_form->runCommand(CheckCmd::Recompute);
    m_alert->check(gradingRules().capPerUnit ? FourPoint::Cap : 0);
}
