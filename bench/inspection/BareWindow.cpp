// A bare Qt window of the station's size, started, timed and grabbed the way the stations are
// (MIREL_SCREENSHOT): the yardstick for the inspection window's start-up time. With "--text" the
// window shows one line of Chinese text, so that it pays the font system's start as every station
// window does.
#include "shell/Screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(1024, 768);
    if (app.arguments().contains(QStringLiteral("--text"))) {
        auto* line = new QLabel(QStringLiteral("卷号 001 数量 0.00 米"), &w);
        line->move(20, 20);
    }
    w.show();
    Screenshot::armFromEnvironment(&w);
    return app.exec();
}
