// The delay lets a station finish its load-time queries and the first device tick. It counts from
// the window's first paint, which is also reported ("painted"), so that start-up can be timed.
#include "shell/Screenshot.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace Screenshot {

namespace {

void grabAndQuit(QWidget* window, const QString& path)
{
    // The suffix picks the format; PNG for a name without a known one.
    const QPixmap picture = window->grab();
    const bool saved = picture.save(path) || picture.save(path, "PNG");
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "screenshot:" : "screenshot failed:",
                 path.toLocal8Bit().constData());
    std::fflush(stdout);
    QCoreApplication::exit(saved ? 0 : 1);
}

// Waits for the window's first paint; the zero timer runs once the whole window (its children
// are painted in the same pass) is on screen.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, QString path, int delay)
        : QObject(window), m_window(window), m_path(std::move(path)), m_delay(delay)
    {
        window->installEventFilter(this);
        // A window that is never exposed (no screen) is grabbed all the same, a while later.
        QTimer::singleShot(10000, this, [this] { painted(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, [this] { painted(); });
        return false;
    }

private:
    void painted()
    {
        if (m_done)
            return;
        m_done = true;
        m_window->removeEventFilter(this);
        std::printf("painted: %s\n", qPrintable(m_window->objectName()));
        std::fflush(stdout);
        QTimer::singleShot(m_delay, m_window, [w = m_window, p = m_path] { grabAndQuit(w, p); });
    }

    bool m_done = false;
    QWidget* m_window;
    QString m_path;
    int m_delay;
};

} // namespace

void armFromEnvironment(QWidget* window)
{
    const QString path = qEnvironmentVariable("MIREL_SCREENSHOT");
    if (path.isEmpty())
        return;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("MIREL_SCREENSHOT_DELAY", &ok);
    if (!ok)
        delay = 1000;
    new FirstPaint(window, path, delay);
}

} // namespace Screenshot
