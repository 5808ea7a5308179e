// Section alert of the inspection window.
#include "stations/inspection/CheckSectionAlert.h"

#include "shell/SysUtil.h"
#include "stations/inspection/CheckControls.h"
#include "stations/inspection/CheckGrading.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/fProcessBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString readMirel(const QString& key, const QString& def)
{
    return SysUtil::readIni(QStringLiteral("MIREL"), key, def, QStringLiteral("/mirel.ini"));
}

} // namespace

CheckSectionAlert::CheckSectionAlert(frmCheck* form, QObject* parent)
    : QObject(parent), m_form(form), m_button(new QPushButton(form->controls().Frame5))
{
    m_button->setObjectName(QStringLiteral("cmdAlert"));
    m_button->setStyleSheet(QStringLiteral(
        "QPushButton{background:#d00000;color:white;font-weight:bold;border:2px solid #600000;"
        "border-radius:6px;}"));
    m_button->hide();
    connect(m_button, &QPushButton::clicked, this, &CheckSectionAlert::acknowledge);
    m_timer.setInterval(FlashIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CheckSectionAlert::flash);
}

void CheckSectionAlert::place()
{
    const QRect frame = designRect(m_form->controls().Frame5);
    const QRect grid = designRect(m_form->pggCheck());
    placeTwips(m_button, QRect(grid.x() + 100, grid.y() + 300, frame.width() - 2 * grid.x() - 200,
                               std::min(700, grid.height() / 2)));
    m_button->raise();
}

void CheckSectionAlert::check(double cap)
{
    const double limit = vb::Val(readMirel(QStringLiteral("AlertPoints"), QStringLiteral("0")));
    double window = vb::Val(readMirel(QStringLiteral("AlertWindow"), QStringLiteral("10")));
    if (window <= 0)
        window = 10;
    CheckControls& c = m_form->controls();
    const double at = vb::Val(c.TxtBox[7]->text());
    double points = 0;
    if (!CheckGrading::sectionAlertDue(m_form->defectRows(), at, window, limit, cap, &points))
        return;
    const QString stretch = vb::sqlNumber(std::max(0.0, at - window)) + u'-' + vb::sqlNumber(at);
    const QString unit = c.isMashu->isChecked() ? QStringLiteral("码") : QStringLiteral("米");
    const QString remark =
        QStringLiteral("最近%1%2扣分%3").arg(vb::sqlNumber(window), unit, vb::sqlNumber(points));
    // Kept with the roll: a row of no points at the counter's position.
    m_form->appendDefectRow({QString(), QString::fromUtf16(CheckGrading::AlertRowName),
                             c.TxtBox[7]->text(), QStringLiteral("0"), QStringLiteral("0"),
                             c.TxtBox[0]->text(), remark});
    c.fProcessBar1->setAlertSection(at - window, at);
    const QString caption = QStringLiteral("区段报警 %1：%2，点此确认").arg(stretch, remark);
    m_button->setText(caption);
    m_button->setAccessibleName(caption);
    if (!m_timer.isActive())
        m_framePalette = c.Frame5->palette();
    place();
    m_button->show();
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
}
