// QLockFile records the holder's process id, so a lock of a crashed copy is recognised as stale.
#include "shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

SingleInstance::SingleInstance() : SingleInstance(defaultLockPath()) {}

SingleInstance::SingleInstance(QString lockPath) : m_path(std::move(lockPath)) {}

SingleInstance::~SingleInstance() = default;

#ifdef Q_OS_UNIX
namespace {

// A folder only this user can write to: nobody else can put a lock there that keeps the
// station from starting.
bool ownFolder(const QString& dir)
{
    struct stat st {};
    return !dir.isEmpty() && ::lstat(QFile::encodeName(dir).constData(), &st) == 0 &&
           S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 0022) == 0;
}

// The folder made for the user when there is no runtime folder (a copy started without a
// login session): 0700, and refused when another user made it first.
QString privateFolder(const QString& dir)
{
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
    return ownFolder(dir) ? dir : QString();
}

} // namespace
#endif

QString SingleInstance::defaultLockPath()
{
    QString dir = qEnvironmentVariable("MIREL_LOCK_DIR");
#ifdef Q_OS_UNIX
    const QString uid = QString::number(::getuid());
    // The login session's runtime folder. A copy started from cron or a unit without the variable
    // finds the same folder under /run/user while the user is logged in.
    for (const QString& candidate : {qEnvironmentVariable("XDG_RUNTIME_DIR"),
                                     QStringLiteral("/run/user/") + uid}) {
        if (dir.isEmpty() && ownFolder(candidate))
            dir = candidate;
    }
    if (dir.isEmpty())
        dir = privateFolder(QStringLiteral("/tmp/mirel-") + uid);
    if (dir.isEmpty() && !QDir::homePath().isEmpty())
        dir = privateFolder(QDir::homePath() + QStringLiteral("/.mirel-run"));
    return dir + QStringLiteral("/mirel-") + uid + QStringLiteral(".lock");
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

qint64 SingleInstance::holder() const
{
    qint64 pid = 0;
    if (m_lock)
        m_lock->getLockInfo(&pid, nullptr, nullptr);
    return pid;
}

QString SingleInstance::refusalText(qint64 pid)
{
#ifdef Q_OS_WIN
    Q_UNUSED(pid);
    return QStringLiteral("程序已经运作中...") + QChar(13)
         + QStringLiteral("快速关闭程序请执行dos命令 taskkill /f /im mirel.exe");
#else
    if (pid <= 0)
        return QStringLiteral("程序已经运作中...") + QChar(u'\n')
             + QStringLiteral("关闭它请在终端执行 pkill -u $USER -x mirel");
    return QStringLiteral("程序已经运作中（进程 %1）...").arg(pid) + QChar(u'\n')
         + QStringLiteral("关闭它请在终端执行 kill %1").arg(pid);
#endif
}
