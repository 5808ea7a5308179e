// QLockFile records the holder's process id, so a lock of a crashed copy is recognised as stale.
#include "shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
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
    for (const QString& candidate :
         {qEnvironmentVariable("XDG_RUNTIME_DIR"), u"/run/user/"_s + uid}) {
        if (dir.isEmpty() && ownFolder(candidate))
            dir = candidate;
    }
    if (dir.isEmpty())
        dir = privateFolder(u"/tmp/mirel-"_s + uid);
    if (dir.isEmpty() && !QDir::homePath().isEmpty())
        dir = privateFolder(QDir::homePath() + u"/.mirel-run"_s);
    return dir + u"/mirel-"_s + uid + u".lock"_s;
#else
    if (dir.isEmpty())
        dir = QDir::tempPath(); // per user on Windows, whatever the caller's environment
    return dir + u"/mirel-"_s + qEnvironmentVariable("USERNAME") + u".lock"_s;
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
    return u"程序已经运作中..."_s + QChar(13) +
           u"快速关闭程序请执行dos命令 taskkill /f /im mirel.exe"_s;
#else
    if (pid <= 0)
        return u"程序已经运作中..."_s + QChar(u'\n') +
               u"关闭它请在终端执行 pkill -u $USER -x mirel"_s;
    return u"程序已经运作中（进程 %1）..."_s.arg(pid) + QChar(u'\n') +
           u"关闭它请在终端执行 kill %1"_s.arg(pid);
#endif
}
