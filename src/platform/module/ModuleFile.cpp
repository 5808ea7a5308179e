// Modules are found beside the program first, so that a build runs without being installed.
#include "module/ModuleFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

namespace module {

QString path(const QString& fileName, const char* env)
{
    const QString chosen = qEnvironmentVariable(env);
    if (!chosen.isEmpty())
        return chosen;
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.filePath(fileName);
#ifdef MIREL_MODULE_DIR
    // Relative to the program's folder, so that the package's files work wherever they lie.
    const QString installed = bin.filePath(QStringLiteral(MIREL_MODULE_DIR "/") + fileName);
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
#endif
    return beside;
}

QFunctionPointer entry(const QString& path, const char* name, QString* why)
{
    static QHash<QString, QLibrary*> loaded;
    QLibrary* module = loaded.value(path);
    if (!module) {
        auto* library = new QLibrary(path);
        if (!library->load()) {
            *why = library->errorString();
            delete library;
            return nullptr;
        }
        module = library;
        loaded.insert(path, module);
    }
    const QFunctionPointer found = module->resolve(name);
    if (!found)
        *why = module->errorString();
    return found;
}

} // namespace module
