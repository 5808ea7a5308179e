// Finds and loads the .xlsx module on the first .xlsx import or export. It lies next to the
// program (build/bin, or wherever mirel was copied with it), or for the installed program in its
// module folder (/usr/lib/<arch>/mirel); MIREL_XLSX_MODULE names another file.
#include "sheet/SheetReaders.h"

#include "module/ModuleFile.h"

using namespace Qt::StringLiterals;

namespace sheet::detail {

namespace {

QString modulePath()
{
    return module::path(u"libmirel_xlsx.so"_s, "MIREL_XLSX_MODULE");
}

} // namespace

QString xlsxModulePath()
{
    return modulePath();
}

QFunctionPointer xlsxEntry(const char* name, QString* why)
{
    return module::entry(modulePath(), name, why);
}

bool readXlsx(const QString& path, SheetGrid* grid, QString* error)
{
    QString why;
    const auto read = reinterpret_cast<ReadXlsxEntry>(xlsxEntry(readXlsxEntryName, &why));
    if (!read) {
        *error = unreadable(path, u"缺少 .xlsx 读取模块 %1：%2"_s.arg(modulePath(), why));
        return false;
    }
    return read(&path, grid, error);
}

} // namespace sheet::detail

namespace sheet {

bool writeXlsx(const QString& path, const SheetTable& table, QString* error)
{
    return writeXlsx(path, QList<NamedSheet>{{QString(), table}}, error);
}

bool writeXlsx(const QString& path, const QList<NamedSheet>& sheets, QString* error)
{
    QString why;
    const auto write = reinterpret_cast<detail::WriteXlsxEntry>(
        detail::xlsxEntry(detail::writeXlsxEntryName, &why));
    if (!write) {
        if (error)
            *error = detail::unwritable(
                path, u"缺少 .xlsx 模块 %1：%2"_s.arg(detail::xlsxModulePath(), why));
        return false;
    }
    return write(&path, &sheets, error);
}

} // namespace sheet
