// The MES button: the same import as the unattended run, started by the operator.
#include "stations/inspection/CheckMesPanel.h"

#include "db/DbError.h"
#include "shell/MesImport.h"
#include "shell/MesRun.h"
#include "shell/MessageBox.h"
#include "stations/inspection/frmCheck.h"

#include <QApplication>
#include <QCursor>

using namespace Qt::StringLiterals;

CheckMesPanel::CheckMesPanel(frmCheck* form) : QObject(form), m_form(form)
{
    connect(form, &frmCheck::commandRequested, this, [this](int index) {
        if (index == CheckCmd::Mes)
            syncNow();
    });
}

void CheckMesPanel::syncNow()
{
    // A long import over the network: the operator sees the wait cursor, not a frozen panel.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const QString count = syncMesEvents(MesRun::startDate());
        QApplication::restoreOverrideCursor();
        MessageBox::show(u"同步记录数"_s + count, MessageBox::NoIcon, MessageBox::Ok, QString(),
                         m_form);
    } catch (const DbError& e) {
        QApplication::restoreOverrideCursor();
        MessageBox::show(e.message(), MessageBox::Critical, MessageBox::Ok, QString(), m_form);
    }
}
