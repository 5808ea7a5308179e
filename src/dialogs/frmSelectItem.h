// The item selection dialog: the operator searches the article master by words, item type and
// warehouse, ticks articles in the grid and confirms; the calling station loads the first one.
#pragma once

#include "dialogs/ItemSearch.h"
#include "screen/Twips.h"

#include <QDialog>
#include <QPointer>

class ComboEx;
class EditGrid;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmSelectItem : public QDialog {
    Q_OBJECT

public:
    explicit frmSelectItem(QWidget* parent = nullptr);

    /// Shows the dialog modal on searchText and returns the result: "" when closed without
    /// confirming, "-1" when cancelled, otherwise the chosen entries ("12,15|30,"), whose leading
    /// number is the first article.
    static QString showMe(QObject* caller, const QString& searchText, int kept, int billType,
                          QWidget* parent = nullptr);

    /// Everything showMe does before the dialog is shown: filters, grid, first search. False
    /// when the database is offline and nothing can be offered (the reason is shown).
    bool prepare(QObject* caller, const QString& searchText, int kept, int billType);
    /// Runs the item query on the current choices and shows its rows; false when a database
    /// error was shown and the grid left as it was. Offline it narrows the list kept online
    /// for the same limits to the articles this station keeps.
    bool search();
    /// Collects the ticked rows and the selected range into the result and closes.
    void confirm();
    QString result() const { return m_result; }
    const ItemFilters& filters() const { return m_filters; }
    QObject* caller() const { return m_caller; }

    QLineEdit* SearchText() const { return m_searchText; }
    ComboEx* OtherFields() const { return m_otherFields; }
    ComboEx* ItemType() const { return m_itemType; }
    ComboEx* StoreRoom() const { return m_storeRoom; }
    EditGrid* girdItem() const { return m_grid; }
    QPushButton* Command1() const { return m_buttons[0]; }
    QPushButton* Command2() const { return m_buttons[1]; }
    QPushButton* Command3() const { return m_buttons[2]; }
    QPushButton* Command4() const { return m_buttons[3]; }
    QPushButton* Search() const { return m_search; }

    /// The header of the empty grid.
    static QString gridFormat();

public slots:
    void done(int r) override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void fillLists();
    void prepareGrid();
    void restoreChoices();
    void saveChoices() const;
    void layoutForm();
    void toggleTick(int row, int col);
    /// Says on the form whether the rows came from the database.
    void showOnline(bool online);
    void newArticle();
    void changeArticle();
    int chosenItemId() const;
    /// An entry of the result for a grid row ("12," or "12|30,").
    QString entry(int row) const;

    Twips m_twips;
    QPointer<QObject> m_caller;
    int m_kept = 0;
    int m_billType = 0;
    ItemFilters m_filters;
    QString m_result;
    bool m_prepared = false;
    bool m_offline = false; ///< the last search found the database away
    QGroupBox* m_frame;
    QLabel* m_labels[3];
    QLineEdit* m_searchText;
    ComboEx* m_otherFields;
    ComboEx* m_itemType;
    ComboEx* m_storeRoom;
    QPushButton* m_search;
    EditGrid* m_grid;
    QPushButton* m_buttons[4];
};
