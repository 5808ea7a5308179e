// How every station window comes up on a panel.
#include "stations/StationWindow.h"

#include "widgets/ScreenMode.h"

#include <QRegularExpression>
#include <QWidget>

void showStationWindow(QWidget* window)
{
    const QString size = qEnvironmentVariable("MIREL_WINDOW_SIZE");
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(size);
    if (m.hasMatch()) {
        window->resize(m.captured(1).toInt(), m.captured(2).toInt());
        window->show();
        return;
    }
    ScreenMode::setFullScreen(window, true);
}
