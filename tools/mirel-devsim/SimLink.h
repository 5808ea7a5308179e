// The simulator's end of the line: a pty it creates (the station opens the other side), or a
// real serial device given by path.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace devsim {

class SimLink : public QObject {
    Q_OBJECT
public:
    /// devicePath empty: create a pty; link, when given, is a symlink kept pointing at it.
    SimLink(QString devicePath, QString link, QObject* parent = nullptr);
    ~SimLink() override;

    /// Opens the line; false with error.
    bool open(QString* error);
    /// What the station opens: the pty's slave path (or the symlink), or the device.
    QString stationPath() const;
    void write(const QByteArray& bytes);
    /// Unplug: the pty goes away, the station's port sees an I/O error. Replug: a new pty.
    void unplug();
    bool replug(QString* error);
    bool isPlugged() const { return m_fd >= 0; }

signals:
    void received(const QByteArray& bytes);

private:
    void onReadable();
    void closeFds();

    QString m_device, m_link, m_slavePath;
    int m_fd = -1;
    int m_slaveFd = -1;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace devsim
