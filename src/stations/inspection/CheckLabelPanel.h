// The labels of the inspection window: printing the roll on screen (commands 4 and 11), the
// template menu (command 7) and the label tab (generate, batch save and print, export, import).
#pragma once

#include "db/Recordset.h"
#include "journal/JournalReplay.h"
#include "shell/JournalLabel.h"
#include "stations/inspection/CheckFields.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <type_traits>

class frmCheck;
class EditGrid;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;

class CheckLabelPanel : public QObject {
    Q_OBJECT
public:
    /// The print routine: template name, roll id, preview, copies (printMarkLabel); true when
    /// the label went out.
    using PrintFn = std::function<bool(const QString&, qint64, bool, int)>;

    explicit CheckLabelPanel(frmCheck* form);

    /// Replaces the print routine (tests that follow each printed file); a routine without a
    /// result counts every label as printed.
    template <class F> void setPrintFn(F fn)
    {
        m_print = [fn = std::move(fn)](const QString& n, qint64 id, bool preview,
                                       int copies) mutable {
            if constexpr (std::is_void_v<
                              std::invoke_result_t<F&, const QString&, qint64, bool, int>>) {
                fn(n, id, preview, copies);
                return true;
            } else {
                return bool(fn(n, id, preview, copies));
            }
        };
    }

    /// Commands 4 (roll label) and 11 (mark label) for the roll on screen.
    void printRoll(int command);
    /// Prints the mark label (command 11's template) of a saved roll without saving anything;
    /// false when it did not print (the operator has been told why).
    bool printMark(qint64 id);
    /// After a replay gave rolls saved offline other numbers: prints each roll's label (command
    /// 4's template for its grade) with the number it has now.
    void reprintRenumbered(const QList<JournalReplayResult::Renumbered>& list);
    /// Fills the template menu from the template folder plus "bill" (command 7 then pops it up).
    void getPrintTemplate();
    /// The template of command 4 for the selected grade: the grade's own template when its file
    /// exists, else the remembered "check" choice.
    QString rollTemplate() const;
    /// The same for a roll of this grade.
    QString rollTemplate(const QString& grade) const;
    /// Stores a template menu caption as the station's remembered roll-label choice.
    void chooseTemplate(const QString& caption);

    // --- label tab (cmdTag 0..5) ---
    void generateLabels();
    /// Saves every label row as a roll of its own; withPrint prints each once without preview.
    void saveLabels(bool withPrint);
    void clearLabels();
    void exportLabels();
    void importLabels();
    /// Imports a worksheet file (.xls, .xlt, .xlsx); true when the rows were written.
    bool batchUpdatePrice(const QString& fileName);

    /// Label rows on the grid: number and quantity of each data row with a number.
    QList<QPair<QString, QString>> labelRows() const;

    EditGrid* pggTag() const { return m_grid; }
    QMenu* templateMenu() const { return m_menu; }
    QPushButton* cmdTag(int i) const { return m_cmdTag.value(i); }
    QRadioButton* tagType(int i) const { return m_tagType.value(i); }

    /// The roll list on the list tab, published by the list's part after each query; export
    /// writes it. Without a published list, the rows of the list grid ("ppgCheckGrid") as
    /// texts; empty until a list has been queried.
    static void publishRollList(frmCheck* form, const Recordset& rs);
    static std::optional<Recordset> rollList(const frmCheck* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCommand(int index);
    void buildTab();
    void setGridRows(const QList<QPair<QString, QString>>& rows);
    bool print(const QString& name, qint64 id, bool preview, int copies);
    /// The label of a roll just saved into the offline journal.
    void printOffline(const QString& name, const JournalRecord& record,
                      const QList<JournalLabelRows::Table>& kept);
    /// The mark label's template (command 11).
    static QString markTemplate();
    /// After a save: the roll whose label was printed had been deleted at another station and
    /// is saved now under another number; offers its label again.
    void offerReprint(long long id);

    frmCheck* m_form;
    EditGrid* m_grid = nullptr;
    QMenu* m_menu = nullptr;
    QList<QAction*> m_templateItems;
    QList<QPushButton*> m_cmdTag;
    QList<QRadioButton*> m_tagType;
    PrintFn m_print;
    long long m_printedId = 0;  // the roll on the form whose label was printed here
    int m_printedCommand = CheckCmd::PrintLabel; // the roll label, or CheckCmd::PrintMark
    QString m_printedNumber;    // the number that label carries, once that roll was deleted
    bool m_printing = false;    // a print command saves: its own label is the new one
};
