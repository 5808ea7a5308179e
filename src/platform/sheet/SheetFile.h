// Spreadsheet files for the roll-label list: export of rows to .xlsx, import of the first
// worksheet of an .xls, .xlt or .xlsx file.
#pragma once

#include "sheet/SheetGrid.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

#include <utility>

namespace sheet {

/// A number written with an Excel number format ("0.0%", "0.00"), so that the sheet shows it as
/// the screen does while it stays a number to calculate with.
struct FormattedNumber {
    double value = 0;
    QString format;
};

/// Rows to export: a header line and the rows' cells. A cell that is a number (int, double,
/// bool ...) is written as a number, a FormattedNumber as a number in its format, a QDate or
/// QDateTime as a date cell, a null or invalid QVariant as an empty cell, anything else as its
/// text.
struct SheetTable {
    QStringList header;
    QList<QVariantList> rows;
};

/// A worksheet's name and its table.
using NamedSheet = std::pair<QString, SheetTable>;

/// Writes table as the only worksheet of a new .xlsx file at path (replacing an existing file),
/// the header in bold and frozen above the rows. Returns false with a message the operator can
/// read when the file cannot be written or the table does not fit a worksheet.
bool writeXlsx(const QString& path, const SheetTable& table, QString* error = nullptr);
/// As above, one worksheet per table in their order, under its name (at most 31 characters,
/// none of []:*?/\; "Sheet1" … when empty).
bool writeXlsx(const QString& path, const QList<NamedSheet>& sheets, QString* error = nullptr);

/// Reads the first worksheet of path into grid. The format is taken from the file's content,
/// not its name: an .xls or .xlt (Excel 97-2003) or an .xlsx. Returns false with a message for a
/// missing, unreadable, corrupt or unknown file; grid is then empty.
bool readFirstSheet(const QString& path, SheetGrid* grid, QString* error = nullptr);

} // namespace sheet

Q_DECLARE_METATYPE(sheet::FormattedNumber)
