// The roll-list tab of the inspection window (filters, list, total, delete) and the roll and
// card stepping buttons.
#pragma once

#include "stations/inspection/RollList.h"

#include <QObject>
#include <QPointer>
#include <QRect>

class frmCheck;
class EditGrid;
class QDateEdit;
class QLabel;

class CheckRollListPanel : public QObject {
    Q_OBJECT
public:
    /// Sets up the "卷列表" tab (its page is laid out when first opened), restores the list's
    /// column widths and handles the commands 5, 6 (previous/next roll), 8, 12, 13
    /// (latest/previous/next card), 9 (delete the roll on screen), 10 (query the list) and 16
    /// (delete the listed roll).
    explicit CheckRollListPanel(frmCheck* form);

    /// Runs the list with the filters and shows the total quantity.
    void queryCheck();
    /// Deletes one roll after the operator's OK, with its defects, its packing progress and (when
    /// stock posting is on) its stock booking, then steps to the previous roll. False when
    /// nothing was deleted.
    bool delCheck(long long id);
    /// Opens the roll of a list row (as a double click does).
    void openListedRoll(int row);

    /// The list and its dates (the page is built on first use).
    EditGrid* grid();
    QDateEdit* date(int i);
    QLabel* sumLabel() const { return m_sum; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCommand(int index);
    void layOutTab();
    /// The tabs at their design place, reaching up over the command row while the list is open.
    void placeTabs(int index);
    void placeGrid();
    void stepRoll(bool backwards);
    void stepCard(int index);
    void deleteShownRoll();
    void deleteListedRoll();
    /// The listed rolls' ids (column 0) and quantities.
    QList<RollList::Listed> listedRolls() const;

    frmCheck* m_form;
    QPointer<EditGrid> m_grid;
    QDateEdit* m_dates[2] = {nullptr, nullptr};
    QLabel* m_sum = nullptr;
    QWidget* m_page = nullptr;
    QRect m_tabsDesign;
};
