// The journal's list for the operator: the records the server refused, with its reason, to be
// sent again or given up (after a confirmation), and how many wait for the database.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class frmJournal : public QDialog {
    Q_OBJECT
public:
    explicit frmJournal(QWidget* parent = nullptr);
    /// Shows the list modal.
    static void open(QWidget* parent);

    /// Re-reads the journal.
    void reload();
    /// The chosen refused record goes back into the queue.
    void retryChosen();
    /// The chosen refused record is given up, when the operator confirms.
    void dropChosen();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString chosenId() const;
    /// The chosen record's summary and reason in full, below the list.
    void showChosen();

    QLabel* m_waiting;
    QTableWidget* m_list;
    QPlainTextEdit* m_detail;
    QPushButton* m_retry;
    QPushButton* m_drop;
};
