// QLockFile records the holder's process id, so a lock of a crashed copy is recognised as stale.
#include "shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

SingleInstance::SingleInstance() : SingleInstance(defaultLockPath()) {}

SingleInstance::SingleInstance(QString lockPath) : m_path(std::move(lockPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockPath()
{
    // Not in XDG_RUNTIME_DIR or TMPDIR: a copy started from cron, a systemd unit or another
    // shell sees other variables and would run beside this one, both polling one serial port.
    QString dir = qEnvironmentVariable("MIREL_LOCK_DIR");
#ifdef Q_OS_UNIX
    if (dir.isEmpty())
        dir = QFileInfo(QStringLiteral("/run/lock")).isWritable() ? QStringLiteral("/run/lock")
                                                                  : QStringLiteral("/tmp");
    return dir + QStringLiteral("/mirel-") + QString::number(::getuid()) + QStringLiteral(".lock");
#else
    if (dir.isEmpty())
        dir = QDir::tempPath(); // per user on Windows, whatever the caller's environment
    return dir + QStringLiteral("/mirel-") + qEnvironmentVariable("USERNAME") + QStringLiteral(".lock");
#endif
}

bool SingleInstance::acquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // only a dead holder makes a lock stale, never its age
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        return m_lock->tryLock(0);
    return false;
}

QString SingleInstance::refusalText()
{
    return QStringLiteral("程序已经运作中...") + QChar(13)
         + QStringLiteral("快速关闭程序请执行dos命令 taskkill /f /im mirel.exe");
}
