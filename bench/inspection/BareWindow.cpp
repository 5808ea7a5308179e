// A bare Qt window of the station's size, started and grabbed the way MIREL_SCREENSHOT does: the
// yardstick for the inspection window's start-up time.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(1024, 768);
    w.show();
    QTimer::singleShot(0, &w, [&] {
        w.grab().save(QString::fromLocal8Bit(qgetenv("MIREL_SCREENSHOT")), "PNG");
        app.quit();
    });
    return app.exec();
}
