// Modules are found beside the program first, so that a build runs without being installed.
#include "module/ModuleFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

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
    const QString installed = bin.filePath(u"" MIREL_MODULE_DIR "/"_s + fileName);
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
#endif
    return beside;
}

QFunctionPointer entry(const QString& path, const char* name, QString* why)
{
    // Each module is loaded once and stays loaded until the process ends (destroying a QLibrary
    // does not unload it): its functions may still be in use by anything that resolved them.
    static std::map<QString, std::unique_ptr<QLibrary>> loaded;
    auto it = loaded.find(path);
    if (it == loaded.end()) {
        auto library = std::make_unique<QLibrary>(path);
        if (!library->load()) {
            *why = library->errorString();
            return nullptr;
        }
        it = loaded.emplace(path, std::move(library)).first;
    }
    const QFunctionPointer found = it->second->resolve(name);
    if (!found)
        *why = it->second->errorString();
    return found;
}

} // namespace module
