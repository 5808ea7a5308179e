// Renders the widgets as an operator sees them and checks the colours that carry meaning at the
// places they must appear.
#include "widgets/UserControl1.h"
#include "widgets/fProcessBar.h"

#include <QImage>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool near(QColor a, QColor b, int tolerance = 40)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <=
           tolerance;
}

} // namespace

class TestWidgetGallery : public QObject {
    Q_OBJECT

private slots:
    void progressBar()
    {
        fProcessBar bar;
        bar.resize(1000, 90);
        bar.setMax(1000);
        bar.addMen(u"W01"_s, 300);
        bar.addMen(u"W02"_s, 450);
        for (int m : {200, 520, 800})
            bar.addBug(m);
        bar.setValue(517);
        bar.tick();
        bar.show();
        const QImage img = bar.grab().toImage();
        const QRectF s0 = bar.segmentRect(0), s1 = bar.segmentRect(1);
        QVERIFY(
            near(img.pixelColor(int(s0.left() + 4), int(s0.center().y())), QColor(255, 0, 255)));
        QVERIFY(
            near(img.pixelColor(int(s1.right() - 4), int(s1.center().y())), QColor(0, 255, 255)));
        const QRectF passed = bar.markRect(0);
        QVERIFY(
            near(img.pixelColor(int(passed.center().x()), int(passed.center().y())), Qt::black));
        const QRectF ahead = bar.markRect(2);
        QVERIFY(near(img.pixelColor(int(ahead.center().x()), int(ahead.bottom() - 2)), Qt::red));
    }

    void keypads()
    {
        QWidget station;
        station.resize(1024, 768);
        auto* box = new QLineEdit(u"12"_s, &station);
        box->setGeometry(20, 20, 200, 40);
        auto* pad = new UserControl1(&station);
        pad->move(20, 70);
        pad->setTextBox(box);
        station.show();
        pad->keys().at(4)->setDown(true); // "4" under the finger
        const QImage img = pad->grab().toImage();
        const QRect pressed = pad->keys().at(4)->geometry();
        QVERIFY(
            near(img.pixelColor(pressed.left() + 6, pressed.top() + 6), QColor(0x1f, 0x5f, 0xbf)));
        const QRect idle = pad->keys().at(0)->geometry();
        QVERIFY(near(img.pixelColor(idle.left() + 6, idle.top() + 6), QColor(0xfb, 0xfb, 0xfb)));
        QVERIFY(pressed.width() >= 80 && pressed.height() >= 80); // a fingertip fits
    }
};

QTEST_MAIN(TestWidgetGallery)
#include "TestWidgetGallery.moc"
