#include "stations/progress/WorkloadSavePanel.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtilDb.h"
#include "stations/progress/frmWorkload.h"

#include <QDebug>
#include <QLabel>

using namespace Qt::StringLiterals;

QString WorkloadSavePanel::savedOfflineMessage() { return u"离线保存，数据库连上后上传"_s; }

WorkloadSavePanel::WorkloadSavePanel(frmWorkload* form) : QObject(form), m_form(form)
{
    // The report kept offline is sent by the journal's retry: the line stops promising it then.
    connect(Journal::status(), &Journal::Status::replayed, this, [this](const JournalReplayResult& pass) {
        QLabel* result = m_form->Label1;
        result->setText(Journal::statusAfterReplay(result->text(), savedOfflineMessage(), pass));
        // With the database back the step's reports can be checked again.
        if (Journal::status()->pending() == 0
            && m_form->LabBox[WorkloadLabel::Message]->text() == WorkloadReport::uncheckedMessage())
            m_form->setMessage(QString());
    });
}

bool WorkloadSavePanel::saveReport()
{
    m_savedOffline = false;
    m_form->followClock();
    const ReportForm form = m_form->readForm();
    // Reports that wait in the journal reach the database first, in the order they were made.
    if (Journal::queued())
        return saveReportOffline();
    try {
        Connection& conn = Database::conn();
        if (WorkloadReport::reportedBefore(conn, form.card, form.step)
            && !MessageBox::question(WorkloadReport::resaveQuestion(), m_form))
            return false;
        const QString notice = m_form->rules().save(conn, form);
        // Told once the report is committed: nothing waits on the operator inside the transaction.
        if (!notice.isEmpty())
            MessageBox::show(notice, MessageBox::Information, MessageBox::Ok, QString(), m_form);
        return true;
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            return saveReportOffline();
        if (e.isRowMissing()) {
            // The statement is for whoever looks into it; the operator is told what happened.
            qWarning().noquote() << "progress report of a card gone from the database:" << e.message();
            MessageBox::critical(WorkloadReport::cardGoneMessage(form.card), m_form);
            return false;
        }
        MessageBox::show(e.message(), MessageBox::NoIcon, MessageBox::Ok, QString(), m_form);
        return false;
    } catch (const std::exception& e) {
        MessageBox::show(QString::fromUtf8(e.what()), MessageBox::NoIcon, MessageBox::Ok, QString(), m_form);
        return false;
    }
}

bool WorkloadSavePanel::saveReportOffline()
{
    const WorkloadReport::Kept kept = m_form->rules().keep(m_form->readForm(), SysUtil::stationKey());
    if (!kept.record) {
        MessageBox::critical(kept.refusal, m_form);
        return false;
    }
    m_savedOffline = Journal::keep(*kept.record, m_form);
    return m_savedOffline;
}
