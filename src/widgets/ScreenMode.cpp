// Screen mode by window flags: dropping the frame hint re-creates the native window, which hides
// it, so the window is shown again in the state that belongs to the mode.
#include "widgets/ScreenMode.h"

#include <QWidget>

namespace ScreenMode {

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
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint) != on)
        window->setWindowFlag(Qt::FramelessWindowHint, on);
    if (on)
        window->setWindowState((window->windowState() & ~Qt::WindowFullScreen)
                               | Qt::WindowMaximized);
    else
        window->setWindowState(window->windowState()
                               & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
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
