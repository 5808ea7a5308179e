// The defect list of the inspection window: one row per defect (序, 疵点, 位置, 数量, 扣分, 工号,
// 备注), always ending with an empty row, scrolled to the newest defect.
#pragma once

#include <QList>
#include <QStringList>

class EditGrid;
class frmCheck;

class CheckDefectGrid {
public:
    /// Builds the list on the window's defect frame.
    explicit CheckDefectGrid(frmCheck* form);

    EditGrid* grid() const { return m_grid; }
    /// The rows with a defect, columns 0..6.
    QList<QStringList> rows() const;
    /// The list holds these rows and nothing else (the window says the defects were replaced).
    void setRows(const QList<QStringList>& rows);
    /// One more defect at the end; columns 1..6 of cols are shown, the row number is its own.
    void append(const QStringList& cols);

private:
    frmCheck* m_form;
    EditGrid* m_grid;
};
