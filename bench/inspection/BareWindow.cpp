// A bare Qt window of the station's size, started, timed and grabbed the way the stations are
// (MIREL_SCREENSHOT): the yardstick for the inspection window's start-up time. With "--text" the
// window shows one line of Chinese text, so that it pays the font system's start as every station
// window does; with "--controls" it holds as many controls as the inspection window (150 Chinese
// labels, 150 edits, 16 buttons), laid out in a grid.
#include "shell/Screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(1024, 768);
    if (app.arguments().contains(u"--text"_s)) {
        auto* line = new QLabel(u"卷号 001 数量 0.00 米"_s, &w);
        line->move(20, 20);
    }
    if (app.arguments().contains(u"--controls"_s)) {
        for (int i = 0; i < 150; ++i) {
            const int x = 4 + (i % 6) * 170;
            const int y = 4 + (i / 6) * 28;
            auto* label = new QLabel(u"卷号%1"_s.arg(i), &w);
            label->setGeometry(x, y, 60, 24);
            auto* edit = new QLineEdit(u"%1.00"_s.arg(i), &w);
            edit->setGeometry(x + 62, y, 100, 24);
        }
        for (int i = 0; i < 16; ++i) {
            auto* button = new QPushButton(u"保存%1"_s.arg(i), &w);
            button->setGeometry(4 + i * 63, 720, 60, 40);
        }
    }
    w.show();
    Screenshot::armFromEnvironment(&w);
    return app.exec();
}
