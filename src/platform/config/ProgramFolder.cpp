// Program folder resolution and the mapping of the stations' Windows paths.
#include "config/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ProgramFolder {

namespace {

QString executablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
#ifdef Q_OS_LINUX
    return QFileInfo(u"/proc/self/exe"_s).canonicalFilePath();
#else
    return QString();
#endif
}

QString trimmed(QString dir)
{
    while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'\\')))
        dir.chop(1);
    return dir;
}

Layout currentLayout()
{
    const QString home = qEnvironmentVariable("MIREL_HOME");
    if (!home.isEmpty())
        return {trimmed(home), trimmed(home)};
    return layoutFor(QFileInfo(executablePath()).absolutePath());
}

} // namespace

Layout layoutFor(const QString& executableDir)
{
    // The package puts the programs into /usr/bin and the mill's ini files into /etc/mirel; the
    // prefix before usr/bin is kept, so that the package's files unpacked into any folder (a
    // test, a look before installing) find their own etc and var beside them.
    const QString dir = trimmed(QDir::cleanPath(executableDir));
    const QString bin = u"/usr/bin"_s;
    if (dir.endsWith(bin)) {
        const QString root = dir.left(dir.size() - bin.size());
        if (QFileInfo(root + u"/etc/mirel"_s).isDir())
            return {root + u"/etc/mirel"_s, root + u"/var/lib/mirel"_s};
    }
    return {dir, dir};
}

QString path()
{
    return currentLayout().data;
}

QString configPath()
{
    return currentLayout().config;
}

QString file(const QString& relative)
{
    QString rel = relative;
    rel.replace(u'\\', u'/');
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    const Layout layout = currentLayout();
    const bool ini = !rel.contains(u'/') && rel.endsWith(u".ini"_s, Qt::CaseInsensitive);
    const QString& base = ini ? layout.config : layout.data;
    return QDir::cleanPath(base + u'/' + rel) + (rel.endsWith(u'/') ? u"/"_s : QString());
}

QString stateFileFor(const QString& iniPath)
{
    const Layout layout = currentLayout();
    const QFileInfo ini(iniPath);
    if (layout.config == layout.data || QDir::cleanPath(ini.absolutePath()) != layout.config)
        return QString();
    return layout.data + u"/state/"_s + ini.fileName();
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

QString fileNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return u"文件名是空的"_s;
    if (name.contains(u'/') || name.contains(u'\\'))
        return u"文件名中不能有文件夹"_s;
    if (name.contains(u':'))
        return u"文件名中不能有盘符"_s;
    if (name.trimmed() == u"." || name.trimmed() == u"..")
        return u"不是文件名"_s;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return u"文件名中有控制字符"_s;
    return QString();
}

QString executableName()
{
    const QString exe = executablePath();
    return exe.isEmpty() ? u"mirel"_s : QFileInfo(exe).completeBaseName();
}

} // namespace ProgramFolder
