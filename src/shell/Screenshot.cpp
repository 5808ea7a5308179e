// The delay lets a station finish its load-time queries and the first device tick.
#include "shell/Screenshot.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace Screenshot {

void armFromEnvironment(QWidget* window)
{
    const QString path = qEnvironmentVariable("MIREL_SCREENSHOT");
    if (path.isEmpty())
        return;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("MIREL_SCREENSHOT_DELAY", &ok);
    if (!ok)
        delay = 1000;
    QTimer::singleShot(delay, window, [window, path] {
        // The suffix picks the format; PNG for a name without a known one.
        const QPixmap picture = window->grab();
        const bool saved = picture.save(path) || picture.save(path, "PNG");
        std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "screenshot:" : "screenshot failed:",
                     path.toLocal8Bit().constData());
        std::fflush(stdout);
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

} // namespace Screenshot
