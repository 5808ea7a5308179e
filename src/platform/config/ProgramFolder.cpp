// Program folder resolution and the mapping of the stations' Windows paths.
#include "config/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ProgramFolder {

namespace {

QString executablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
#ifdef Q_OS_LINUX
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
#else
    return QString();
#endif
}

} // namespace

QString path()
{
    const QString home = qEnvironmentVariable("MIREL_HOME");
    QString dir = home.isEmpty() ? QFileInfo(executablePath()).absolutePath() : home;
    while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'\\')))
        dir.chop(1);
    return dir;
}

QString file(const QString& relative)
{
    QString rel = relative;
    rel.replace(u'\\', u'/');
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    return QDir::cleanPath(path() + u'/' + rel) + (rel.endsWith(u'/') ? QStringLiteral("/") : QString());
}

QString systemPath(const QString& windowsPath)
{
#ifdef Q_OS_WIN
    return windowsPath;
#else
    QString p = windowsPath;
    p.replace(u'\\', u'/');
    if (p.size() >= 2 && p[1] == u':')
        p = p.left(1).toLower() + p.mid(2);
    return file(p);
#endif
}

QString executableName()
{
    const QString exe = executablePath();
    return exe.isEmpty() ? QStringLiteral("mirel") : QFileInfo(exe).completeBaseName();
}

} // namespace ProgramFolder
