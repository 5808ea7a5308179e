// A bare Qt window of the station's size, started and grabbed the way MIREL_SCREENSHOT does: the
// yardstick for the inspection window's start-up time.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(1024, 768);
    w.show();
    QTimer::singleShot(0, &w, [&] {
        const QString path = QString::fromLocal8Bit(qgetenv("MIREL_SCREENSHOT"));
        w.grab().save(path);
        std::printf("screenshot: %s\n", path.toLocal8Bit().constData());
        std::fflush(stdout);
        app.quit();
    });
    return app.exec();
}
