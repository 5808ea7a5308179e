// The second tab of the progress station: the reports this station wrote in a period, for one
// card or worker, and their deletion with the access code.
#pragma once

#include "db/Recordset.h"

#include <QList>
#include <QStringList>
#include <QObject>

class EditGrid;
class QDateEdit;
class QFrame;
class QLineEdit;
class QPushButton;
class Twips;
class frmWorkload;

class WorkloadListPart : public QObject {
    Q_OBJECT
public:
    /// Builds the list tab on the form's tab control and fills the form's list filter fields.
    explicit WorkloadListPart(frmWorkload* form);

    void initDates();
    /// Runs the list query; a failing query is shown and leaves the list as it was.
    void loadRecordList();
    void restoreColumnWidths();
    void saveColumnWidths();
    /// Asks for the access code on screen, with the number pad beside it.
    void deleteRecord();
    /// The code typed (确定, Enter or the pad's 确定): the asked-for record is deleted when it is
    /// right.
    void codeEntered();
    /// "查询" (0) or "删除" (1) as the operator presses it.
    void SearchWLBtn_Click(int index);
    void applyTwips(const Twips& tw);

    QList<QDateEdit*> DTdate;          // WorkloadList::Date
    QList<QPushButton*> SearchWLBtn;   // WorkloadList::Command
    EditGrid* pggBase = nullptr;
    QFrame* codeFrame = nullptr;
    QLineEdit* codeBox = nullptr;

private:
    void applyDesignWidths();
    void buildCodeFrame(QWidget* page);
    void closeCodeFrame();
    void padConfirmed(QLineEdit* box);
    /// Deletes the record (WorkloadRecords::remove) and shows what came of it.
    void removeRecord(long long id);

    frmWorkload* m_form;
    Recordset m_rs;
    QStringList m_columns; // of the last query
    long long m_asked = 0; // the record the code is asked for
};
