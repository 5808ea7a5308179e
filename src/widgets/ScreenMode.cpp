// Screen mode by window flags: dropping the frame hint re-creates the native window, which hides
// it, so the window is shown again in the state that belongs to the mode.
//
// "Maximised" is only a request to the window manager. Panel PCs often run the station straight
// on X without one, where nobody acts on the request and the window would stay at its design size
// in the corner; so the borderless window is also given its screen's geometry by hand, and gets
// its former geometry back when it returns to a normal window.
#include "widgets/ScreenMode.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace ScreenMode {

namespace {

const char NormalGeometry[] = "screenModeNormalGeometry";

} // namespace

bool isFullScreen(const QWidget* window)
{
    return window && window->windowFlags().testFlag(Qt::FramelessWindowHint)
        && window->windowState().testFlag(Qt::WindowMaximized);
}

void setFullScreen(QWidget* window, bool on)
{
    if (!window)
        return;
    window = window->window();
    const bool wasVisible = window->isVisible();
    if (on && !isFullScreen(window))
        window->setProperty(NormalGeometry, window->geometry());
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint) != on)
        window->setWindowFlag(Qt::FramelessWindowHint, on);
    if (on) {
        // The geometry first: a geometry set afterwards would end the maximised state.
        if (QScreen* screen = window->screen())
            window->setGeometry(screen->availableGeometry());
        window->setWindowState((window->windowState() & ~Qt::WindowFullScreen)
                               | Qt::WindowMaximized);
    } else {
        window->setWindowState(window->windowState()
                               & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        const QVariant normal = window->property(NormalGeometry);
        if (normal.isValid())
            window->setGeometry(normal.toRect());
    }
    if (wasVisible)
        window->show();
}

bool toggle(QWidget* window)
{
    const bool on = !isFullScreen(window);
    setFullScreen(window, on);
    return on;
}

} // namespace ScreenMode
