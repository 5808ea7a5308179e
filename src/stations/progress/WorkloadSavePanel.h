// The submit of the progress window: the re-save question, the report written by the rules in
// one transaction (the storeroom note told after it), the offline journal while the database is
// away, and what the result line says once the journal has sent the report.
#pragma once

#include <QObject>
#include <QString>

class frmWorkload;

class WorkloadSavePanel : public QObject {
    Q_OBJECT
public:
    explicit WorkloadSavePanel(frmWorkload* form);

    /// Writes the report; while the database is away (or reports wait in the offline journal)
    /// it goes into the journal (savedOffline()). False when nothing was saved.
    bool saveReport();
    bool savedOffline() const { return m_savedOffline; }
    /// The result line after a report kept offline.
    static QString savedOfflineMessage();

private:
    bool saveReportOffline();

    frmWorkload* m_form;
    bool m_savedOffline = false;
};
