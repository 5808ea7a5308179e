// The folder's access bits as the mask and as the access of a pre-made file.
#include "config/FolderMode.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace FolderMode {

#ifdef Q_OS_UNIX

void adopt(const QString& folder)
{
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return;
    ::umask((~st.st_mode & 0777) | S_IWOTH);
}

bool precreate(const QString& path, QString* error)
{
    struct stat dir {};
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::stat(folder.constData(), &dir) != 0)
        return true; // the folder is missing: the caller's open says so
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    if (fd < 0) {
        if (errno == EEXIST)
            return true;
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Without set-group-id on the folder the file takes the folder's group only when the user
    // may give it (a member of the group, or root); the access bits are the folder's either way.
    if (::fchown(fd, static_cast<uid_t>(-1), dir.st_gid) != 0) {
        // kept: the user's own group
    }
    const bool ok = ::fchmod(fd, dir.st_mode & 0666 & ~S_IWOTH) == 0;
    if (!ok && error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return ok;
}

bool canCreateIn(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

#else

bool canCreateIn(const QString& folder)
{
    return QFileInfo(folder).isWritable();
}

void adopt(const QString&) {}

bool precreate(const QString&, QString*)
{
    return true;
}

#endif

} // namespace FolderMode
