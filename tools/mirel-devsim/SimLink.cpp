// pty creation, raw mode and the unplug/replug of the simulated device.
#include "SimLink.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace devsim {

SimLink::SimLink(QString devicePath, QString link, QObject* parent)
    : QObject(parent), m_device(std::move(devicePath)), m_link(std::move(link))
{
}

SimLink::~SimLink()
{
    closeFds();
    if (!m_link.isEmpty())
        QFile::remove(m_link);
}

bool SimLink::open(QString* error)
{
    termios raw {};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    if (m_device.isEmpty()) {
        char name[256] = {};
        // The simulator keeps the slave open too, so the station may close and reopen its port
        // without the pty going away.
        if (openpty(&m_fd, &m_slaveFd, name, &raw, nullptr) != 0) {
            *error = u"openpty: %1"_s.arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        m_slavePath = QString::fromLocal8Bit(name);
        if (!m_link.isEmpty()) {
            QFile::remove(m_link);
            if (!QFile::link(m_slavePath, m_link)) {
                *error = u"cannot create the link %1"_s.arg(m_link);
                return false;
            }
        }
    } else {
        m_fd = ::open(m_device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) {
            *error = u"%1: %2"_s.arg(m_device, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        tcsetattr(m_fd, TCSANOW, &raw);
    }
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimLink::onReadable);
    return true;
}

QString SimLink::stationPath() const
{
    if (!m_device.isEmpty())
        return m_device;
    return m_link.isEmpty() ? m_slavePath : m_link;
}

void SimLink::onReadable()
{
    char buf[512];
    const ssize_t n = ::read(m_fd, buf, sizeof buf);
    if (n > 0)
        emit received(QByteArray(buf, n));
    else if (n < 0 && errno != EAGAIN && errno != EINTR && m_notifier)
        m_notifier->setEnabled(false);
}

void SimLink::write(const QByteArray& bytes)
{
    if (m_fd < 0 || bytes.isEmpty())
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return; // a full line buffer drops the rest, like a real line without a listener
        done += n;
    }
}

void SimLink::closeFds()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_slaveFd >= 0)
        ::close(m_slaveFd);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = m_slaveFd = -1;
}

void SimLink::unplug()
{
    closeFds();
    // udev takes a device's link away with the device: a station trying its port meanwhile must
    // not open whatever pty the system hands out next under the old number.
    if (!m_link.isEmpty())
        QFile::remove(m_link);
}

bool SimLink::replug(QString* error)
{
    closeFds();
    return open(error);
}

} // namespace devsim
