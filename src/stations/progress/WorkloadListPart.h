// The second tab of the progress station: the reports this station wrote in a period, for one
// card or worker, and their deletion with the access code.
#pragma once

#include "db/Recordset.h"

#include <QList>
#include <QStringList>
#include <QObject>

class EditGrid;
class QDateEdit;
class QPushButton;
class Twips;
class frmWorkload;

class WorkloadListPart : public QObject {
    Q_OBJECT
public:
    /// Builds the list tab on the form's tab control and fills TxtBox(4) and (5) of the form.
    explicit WorkloadListPart(frmWorkload* form);

    void initDates();
    /// Runs the list query; a failing query is shown and leaves the list as it was.
    void loadRecordList();
    void restoreColumnWidths();
    void saveColumnWidths();
    void deleteRecord();
    /// "查询" (0) or "删除" (1) as the operator presses it.
    void SearchWLBtn_Click(int index);
    void applyTwips(const Twips& tw);

    QList<QDateEdit*> DTdate;
    QList<QPushButton*> SearchWLBtn;
    EditGrid* pggBase = nullptr;

private:
    void applyDesignWidths();

    frmWorkload* m_form;
    Recordset m_rs;
    QStringList m_columns; // of the last query
};
