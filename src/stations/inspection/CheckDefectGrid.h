// The defect list of the inspection window: one row per defect (序, 疵点, 位置, 数量, 扣分, 工号,
// 备注, and on a station with a camera 图, the defect's picture), always ending with an empty
// row, scrolled to the newest defect.
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
    /// The rows with a defect, columns 0..6, and the picture's name (column 7) where it has one.
    QList<QStringList> rows() const;
    /// The list holds these rows and nothing else (the window says the defects were replaced).
    void setRows(const QList<QStringList>& rows);
    /// One more defect at the end; columns 1..6 of cols are shown, the row number is its own,
    /// column 7 names its picture.
    void append(const QStringList& cols);

    /// The list's column widths as stored, also a list stored before the picture column.
    void applyWidths(const QString& list);
    /// The picture column is seen (a station with a camera) or hidden.
    void showPhotoColumn(bool shown);
    /// Row (from 1) waits for the picture of ticket ("…").
    void waitForPhoto(int row, int ticket);
    /// The row waiting for ticket; 0 when none does (deleted, or the roll is another now).
    int rowOfTicket(int ticket) const;
    /// Row's picture: "图" on it, or grey "无图" when file is "".
    void setPhoto(int row, const QString& file);
    QString photoOf(int row) const;

private:
    frmCheck* m_form;
    EditGrid* m_grid;
};
