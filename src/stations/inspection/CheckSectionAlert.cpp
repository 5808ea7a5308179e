// Section alert of the inspection window.
#include "stations/inspection/CheckSectionAlert.h"

#include "shell/SysUtil.h"
#include "stations/inspection/CheckControls.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/RollStretchBar.h"
#include "widgets/fProcessBar.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QHBoxLayout>

using namespace Qt::StringLiterals;

CheckSectionAlert::CheckSectionAlert(frmCheck* form, QObject* parent)
    : QObject(parent)
    , m_form(form)
    , m_panel(new QWidget)
    , m_button(new QPushButton(m_panel))
    , m_strip(new RollStretchBar(m_panel))
{
    m_panel->setObjectName(u"alertPanel"_s);
    // One row beside each other, so that the list gives up only about one of its rows.
    auto* layout = new QHBoxLayout(m_panel);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(6);
    layout->addWidget(m_button, 3);
    layout->addWidget(m_strip, 2);
    m_button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_strip->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_strip->setObjectName(u"alertStretch"_s);
    m_strip->setAccessibleName(u"区段报警位置"_s);
    m_panel->hide();
    form->defectGrid().grid()->setBanner(m_panel);
    connect(form, &frmCheck::defectsReplaced, this, &CheckSectionAlert::showStretchesOfRows);
    connect(form->controls().TxtBox[CheckField::Quantity], &QLineEdit::textChanged, m_strip,
            [this](const QString& text) { m_strip->setLength(vb::Val(text)); });
    m_button->setObjectName(u"cmdAlert"_s);
    m_button->setStyleSheet(
        u"QPushButton{background:#d00000;color:white;font-weight:bold;border:2px solid #600000;"
        "border-radius:6px;}"_s);
    m_button->hide();
    connect(m_button, &QPushButton::clicked, this, &CheckSectionAlert::acknowledge);
    m_timer.setInterval(FlashIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CheckSectionAlert::flash);
}

void CheckSectionAlert::place()
{
    const Twips tw = Twips::of(m_form);
    m_button->setFixedHeight(tw.y(480));
    m_strip->setFixedHeight(tw.y(480));
    QFont f = m_form->font(); // the window's type: read from a step away
    f.setBold(true);
    m_button->setFont(f);
}

void CheckSectionAlert::showPanel()
{
    m_panel->setVisible(!m_button->isHidden() || !m_strip->stretches().isEmpty());
    m_form->defectGrid().grid()->setTopRow(m_form->defectGrid().grid()->rows() - 1);
}

void CheckSectionAlert::showStretchesOfRows()
{
    const QList<QPair<double, double>> stretches = RollDefects::alertStretches(
        DefectRow::fromGrid(m_form->defectGrid().rows()), m_form->settings().alertWindow);
    m_strip->setStretches(stretches);
    m_strip->setLength(vb::Val(m_form->controls().TxtBox[CheckField::Quantity]->text()));
    if (stretches.isEmpty())
        acknowledge(); // another roll: its alert is not this one's
    showPanel();
}

void CheckSectionAlert::raise(const RollDefects::SectionAlert& alert)
{
    CheckControls& c = m_form->controls();
    const double at = alert.at, window = alert.window, points = alert.points;
    const QString stretch = vb::sqlNumber(std::max(0.0, at - window)) + u'-' + vb::sqlNumber(at);
    const QString& remark = alert.row.remark;
    m_form->defectGrid().append(alert.row.columns());
    c.fProcessBar1->setAlertSection(at - window, at);
    QList<QPair<double, double>> stretches = m_strip->stretches();
    stretches.append({std::max(0.0, at - window), at});
    m_strip->setStretches(stretches);
    m_strip->setLength(at);
    // Short enough for the frame's narrow list: the stretch itself is on the roll's bar beside
    // it, the whole remark in the alert's row.
    const QString caption = u"区段报警 扣分%1，点此确认"_s.arg(vb::sqlNumber(points));
    m_button->setToolTip(u"区段报警 %1：%2"_s.arg(stretch, remark));
    m_button->setText(caption);
    m_button->setAccessibleName(caption);
    if (!m_timer.isActive())
        m_framePalette = c.Frame5->palette();
    place();
    m_button->show();
    showPanel();
    m_timer.start();
    flash();
}

void CheckSectionAlert::flash()
{
    QGroupBox* frame = m_form->controls().Frame5;
    m_lit = !m_lit;
    QPalette p = m_framePalette;
    if (m_lit) {
        p.setColor(QPalette::Window, QColor(0xff, 0x60, 0x60));
        QApplication::beep();
    }
    frame->setPalette(p);
}

void CheckSectionAlert::acknowledge()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    m_lit = false;
    m_form->controls().Frame5->setPalette(m_framePalette);
    m_button->hide();
    showPanel(); // the roll's bar stays with the stretch
}
