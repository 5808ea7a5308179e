// The two file-format readers behind readFirstSheet.
#pragma once

#include "sheet/SheetGrid.h"

namespace sheet::detail {

/// Reads the first worksheet of an Excel 97-2003 file with FreeXL.
bool readXls(const QString& path, SheetGrid* grid, QString* error);

/// Reads the first worksheet of an .xlsx file through liborcus's import interfaces, in the
/// module loaded on first use.
bool readXlsx(const QString& path, SheetGrid* grid, QString* error);

/// "文件已损坏或不完整"
inline QString damagedText()
{
    return QStringLiteral("文件已损坏或不完整");
}

/// "无法读取 Excel 文件：<path>（<reason>）"
inline QString unreadable(const QString& path, const QString& reason)
{
    return QStringLiteral("无法读取 Excel 文件：%1（%2）").arg(path, reason);
}

/// The entry point of the .xlsx reading module (libmirel_xlsx.so next to the program). liborcus
/// and its Boost and ICU libraries are large; loading them only when an operator imports an
/// .xlsx file keeps them out of every station's start-up.
using ReadXlsxEntry = bool (*)(const QString* path, SheetGrid* grid, QString* error);
inline constexpr char readXlsxEntryName[] = "mirel_read_xlsx";

} // namespace sheet::detail
