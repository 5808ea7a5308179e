// The cells of one worksheet as read from a spreadsheet file: texts, numbers and empty cells.
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

namespace sheet {

/// One worksheet's cells, addressed as the worksheet shows them: row 1 is the first row,
/// column 1 is column A. A cell is empty (an invalid QVariant), a text (QString) or a number
/// (double). Date cells of .xls files are read as texts ("2026-12-05", "2026-12-05 08:30:00");
/// in .xlsx files cell styles are not read, so a date cell comes as its serial day number.
/// Boolean cells are the numbers 1 and 0; a formula cell holds its last calculated result.
class SheetGrid {
public:
    /// The cell's value; an invalid QVariant for an empty cell or one outside the used area.
    QVariant cell(int row, int column) const;

    /// True when the cell holds a number.
    bool isNumber(int row, int column) const;

    /// The cell as the operator reads it: a text as it is, a number in its shortest decimal
    /// form ("12", "0.5"), "" for an empty cell.
    QString text(int row, int column) const;

    /// The highest row and column that hold a value (0 when the sheet is empty).
    int rowCount() const { return rows_; }
    int columnCount() const { return columns_; }

    /// Stores a value; an invalid QVariant or an empty text leaves the cell empty.
    void setCell(int row, int column, const QVariant& value);

    /// Removes every cell.
    void clear();

private:
    static quint64 key(int row, int column)
    {
        return (quint64(quint32(row)) << 32) | quint32(column);
    }

    QHash<quint64, QVariant> cells_;
    int rows_ = 0;
    int columns_ = 0;
};

} // namespace sheet
