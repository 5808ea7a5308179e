// The two file-format readers behind readFirstSheet.
#pragma once

#include "sheet/SheetGrid.h"

namespace sheet::detail {

/// Reads the first worksheet of an Excel 97-2003 file with FreeXL.
bool readXls(const QString& path, SheetGrid* grid, QString* error);

/// Reads the first worksheet of an .xlsx file through liborcus's import interfaces.
bool readXlsx(const QString& path, SheetGrid* grid, QString* error);

/// "文件已损坏或不完整"
inline QString damagedText()
{
    return QStringLiteral("文件已损坏或不完整");
}

/// "无法读取 Excel 文件：<path>（<reason>）"
QString unreadable(const QString& path, const QString& reason);

} // namespace sheet::detail
