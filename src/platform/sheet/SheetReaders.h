// The two file-format readers behind readFirstSheet, and the .xlsx module behind readXlsx and
// writeXlsx.
#pragma once

#include "sheet/SheetFile.h"
#include "sheet/SheetGrid.h"

using namespace Qt::StringLiterals;

namespace sheet::detail {

/// Reads the first worksheet of an Excel 97-2003 file with FreeXL.
bool readXls(const QString& path, SheetGrid* grid, QString* error);

/// Reads the first worksheet of an .xlsx file through liborcus's import interfaces, in the
/// module loaded on first use.
bool readXlsx(const QString& path, SheetGrid* grid, QString* error);

/// "文件已损坏或不完整"
inline QString damagedText()
{
    return u"文件已损坏或不完整"_s;
}

/// "无法读取 Excel 文件：<path>（<reason>）"
inline QString unreadable(const QString& path, const QString& reason)
{
    return u"无法读取 Excel 文件：%1（%2）"_s.arg(path, reason);
}

/// "无法写入文件：<path>（<reason>）"
inline QString unwritable(const QString& path, const QString& reason)
{
    return u"无法写入文件：%1（%2）"_s.arg(path, reason);
}

/// The entry points of the .xlsx module (libmirel_xlsx.so next to the program). liborcus with
/// its Boost and ICU libraries, and libxlsxwriter with its zip and crypto libraries, are large;
/// loading them only when an operator imports or exports an .xlsx file keeps them out of every
/// station's start-up.
using ReadXlsxEntry = bool (*)(const QString* path, SheetGrid* grid, QString* error);
inline constexpr char readXlsxEntryName[] = "mirel_read_xlsx";
using WriteXlsxEntry = bool (*)(const QString* path, const QList<NamedSheet>* sheets,
                                QString* error);
inline constexpr char writeXlsxEntryName[] = "mirel_write_xlsx";

/// Resolves an entry point of the .xlsx module, loading it on first use; nullptr with the
/// reason in why when the module or the entry is missing.
QFunctionPointer xlsxEntry(const char* name, QString* why);
/// Where the module is looked for.
QString xlsxModulePath();

} // namespace sheet::detail
