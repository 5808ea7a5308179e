// Sparse cell storage for an imported worksheet.
#include "sheet/SheetGrid.h"

#include <QLocale>

namespace sheet {

QVariant SheetGrid::cell(int row, int column) const
{
    return cells_.value(key(row, column));
}

bool SheetGrid::isNumber(int row, int column) const
{
    return cell(row, column).typeId() == QMetaType::Double;
}

QString SheetGrid::text(int row, int column) const
{
    const QVariant v = cell(row, column);
    if (v.typeId() == QMetaType::Double)
        return QLocale::c().toString(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return v.toString();
}

void SheetGrid::setCell(int row, int column, const QVariant& value)
{
    if (row < 1 || column < 1)
        return;
    const bool empty =
        !value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
    if (empty) {
        cells_.remove(key(row, column));
        return;
    }
    cells_.insert(key(row, column), value);
    rows_ = std::max(rows_, row);
    columns_ = std::max(columns_, column);
}

void SheetGrid::clear()
{
    cells_.clear();
    rows_ = columns_ = 0;
}

} // namespace sheet
