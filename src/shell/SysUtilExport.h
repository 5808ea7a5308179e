// Export of a recordset (the roll list) to a spreadsheet file the operator chooses.
#pragma once

#include "db/Recordset.h"
#include "sheet/SheetFile.h"

#include <QString>

class QWidget;

namespace SysUtil {

/// The recordset's columns as the header and every row (position untouched); numbers stay
/// numbers, dates become date cells, nulls empty cells.
sheet::SheetTable tableOf(const Recordset& rs);

/// Asks for a file name (save dialog of the message seam, .xlsx) and writes the rows there as
/// an Excel workbook. Returns the file written; empty when the operator cancelled or the file
/// could not be written (the reason is shown).
QString exportRecordset(const Recordset& rs, QWidget* parent = nullptr);

} // namespace SysUtil
