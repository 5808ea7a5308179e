// Temporary program folder fixture.
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

TempProgramFolder::TempProgramFolder() : m_oldHome(qgetenv("MIREL_HOME"))
{
    qputenv("MIREL_HOME", m_dir.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    // Per-user settings of this test live and die with the folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path() + u"/user"_s);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path() + u"/user"_s);
}

TempProgramFolder::~TempProgramFolder()
{
    if (m_oldHome.isEmpty())
        qunsetenv("MIREL_HOME");
    else
        qputenv("MIREL_HOME", m_oldHome);
}

void TempProgramFolder::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString p = file(name);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray TempProgramFolder::readFile(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
