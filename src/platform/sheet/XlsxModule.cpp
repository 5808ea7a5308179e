// Finds and loads the .xlsx module on the first .xlsx import or export. It lies next to the
// program (build/bin, or wherever mirel was copied with it), or for the installed program in its
// module folder (/usr/lib/<arch>/mirel); MIREL_XLSX_MODULE names another file.
#include "sheet/SheetReaders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace sheet::detail {

namespace {

QString modulePath()
{
    const QString chosen = qEnvironmentVariable("MIREL_XLSX_MODULE");
    if (!chosen.isEmpty())
        return chosen;
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.filePath(QStringLiteral("libmirel_xlsx.so"));
#ifdef MIREL_MODULE_DIR
    // Relative to the program's folder, so that the package's files work wherever they lie.
    const QString installed = bin.filePath(QStringLiteral(MIREL_MODULE_DIR "/libmirel_xlsx.so"));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
#endif
    return beside;
}

} // namespace

QString xlsxModulePath()
{
    return modulePath();
}

// Loaded once and kept for the life of the process; a failed load is retried at the next use,
// so a module copied in while the station runs is picked up.
QFunctionPointer xlsxEntry(const char* name, QString* why)
{
    static QLibrary* module = nullptr;
    if (!module) {
        auto* library = new QLibrary(modulePath());
        if (!library->load()) {
            *why = library->errorString();
            delete library;
            return nullptr;
        }
        module = library;
    }
    const QFunctionPointer entry = module->resolve(name);
    if (!entry)
        *why = module->errorString();
    return entry;
}

bool readXlsx(const QString& path, SheetGrid* grid, QString* error)
{
    QString why;
    const auto read = reinterpret_cast<ReadXlsxEntry>(xlsxEntry(readXlsxEntryName, &why));
    if (!read) {
        *error = unreadable(path, QStringLiteral("缺少 .xlsx 读取模块 %1：%2").arg(modulePath(), why));
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
                path, QStringLiteral("缺少 .xlsx 模块 %1：%2").arg(detail::xlsxModulePath(), why));
        return false;
    }
    return write(&path, &sheets, error);
}

} // namespace sheet
