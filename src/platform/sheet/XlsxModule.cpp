// Finds and loads the .xlsx reading module on the first .xlsx import. It lies next to the
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

// Loaded once and kept for the life of the process; a failed load is retried at the next import,
// so a module copied in while the station runs is picked up.
ReadXlsxEntry entry(QString* why)
{
    static ReadXlsxEntry loaded = nullptr;
    if (loaded)
        return loaded;
    QLibrary module(modulePath());
    if (!module.load()) {
        *why = module.errorString();
        return nullptr;
    }
    loaded = reinterpret_cast<ReadXlsxEntry>(module.resolve(readXlsxEntryName));
    if (!loaded)
        *why = module.errorString();
    return loaded;
}

} // namespace

bool readXlsx(const QString& path, SheetGrid* grid, QString* error)
{
    QString why;
    const ReadXlsxEntry read = entry(&why);
    if (!read) {
        *error = unreadable(path, QStringLiteral("缺少 .xlsx 读取模块 %1：%2").arg(modulePath(), why));
        return false;
    }
    return read(&path, grid, error);
}

} // namespace sheet::detail
