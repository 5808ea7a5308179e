// How every station window comes up on a panel.
#include "stations/StationWindow.h"

#include "widgets/ScreenMode.h"

#include <QRegularExpression>
#include <QWidget>

using namespace Qt::StringLiterals;

void showStationWindow(QWidget* window)
{
    const QString size = qEnvironmentVariable("MIREL_WINDOW_SIZE");
    const QRegularExpressionMatch m = QRegularExpression(u"^(\\d+)x(\\d+)$"_s).match(size);
    if (m.hasMatch()) {
        window->resize(m.captured(1).toInt(), m.captured(2).toInt());
        window->show();
        return;
    }
    ScreenMode::setFullScreen(window, true);
}
