// The widgets as an operator sees them: the colours that carry meaning at the places they must
// appear, the remark frame's caption (cut for the eye, whole in its tooltip) and the station
// window's full-screen switch.
#include "widgets/CaptionFrame.h"
#include "widgets/ScreenMode.h"
#include "widgets/UserControl1.h"
#include "widgets/fProcessBar.h"

#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool near(QColor a, QColor b, int tolerance = 40)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <=
           tolerance;
}

// Full screen as the station sees it, then the window's frame and state: "1 1 1" when full.
QString screenMode(QWidget& w)
{
    return u"%1 %2 %3"_s.arg(ScreenMode::isFullScreen(&w))
        .arg(w.windowFlags().testFlag(Qt::FramelessWindowHint))
        .arg(w.windowState().testFlag(Qt::WindowMaximized));
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
        const QRectF passed = bar.markRect(0), ahead = bar.markRect(2);
        // The segments in their colours, a passed mark black, a mark ahead red.
        const std::pair<QPointF, QColor> seen[] = {
            {{s0.left() + 4, s0.center().y()}, QColor(255, 0, 255)},
            {{s1.right() - 4, s1.center().y()}, QColor(0, 255, 255)},
            {passed.center(), Qt::black}, {{ahead.center().x(), ahead.bottom() - 2}, Qt::red}};
        for (const auto& [at, colour] : seen)
            QVERIFY(near(img.pixelColor(int(at.x()), int(at.y())), colour));
    }

    void keypads()
    {
        QWidget station;
        station.resize(1024, 768);
        auto* pad = new UserControl1(&station);
        pad->setTextBox(new QLineEdit(u"12"_s, &station));
        station.show();
        pad->keys().at(4)->setDown(true); // "4" under the finger
        const QImage img = pad->grab().toImage();
        const QRect pressed = pad->keys().at(4)->geometry(), idle = pad->keys().at(0)->geometry();
        QVERIFY(near(img.pixelColor(pressed.topLeft() + QPoint(6, 6)), QColor(0x1f, 0x5f, 0xbf)));
        QVERIFY(near(img.pixelColor(idle.topLeft() + QPoint(6, 6)), QColor(0xfb, 0xfb, 0xfb)));
        QVERIFY(pressed.width() >= 80 && pressed.height() >= 80); // a fingertip fits
    }

    void toolTipWhenCut_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("cut");
        const QString remark = u"加急，注意色差，成品要求幅宽150cm以上，卷装不得折痕"_s;
        QTest::newRow("long remark, narrow frame") << remark << 200 << true;
        QTest::newRow("long remark, wide frame") << remark << 2000 << false;
        QTest::newRow("short remark, narrow frame") << u"加急"_s << 200 << false;
        QTest::newRow("no remark") << QString() << 200 << false;
    }
    void toolTipWhenCut()
    {
        QFETCH(QString, caption);
        QFETCH(int, width);
        QFETCH(bool, cut);
        CaptionFrame frame;
        frame.resize(width, 80);
        frame.setCaption(caption);
        QCOMPARE(frame.title(), caption);
        QCOMPARE(frame.toolTip(), cut ? caption : QString());
    }

    // The caption's tooltip follows the frame when the panel is resized or the type grows.
    void followsSizeAndFont()
    {
        CaptionFrame frame;
        frame.resize(2000, 80);
        frame.show(); // a hidden widget gets its resize events when it is shown
        frame.setCaption(u"加急，注意色差，成品要求幅宽150cm以上"_s);
        QVERIFY(frame.toolTip().isEmpty());
        frame.resize(150, 80);
        QCOMPARE(frame.toolTip(), frame.title());
        frame.resize(2000, 80);
        QVERIFY(frame.toolTip().isEmpty());
        QFont big = frame.font();
        big.setPixelSize(200);
        frame.setFont(big);
        QCOMPARE(frame.toolTip(), frame.title());
    }

    // The station is made full screen before it is first shown, or by a double tap later. Without
    // a window manager nobody honours "maximised", so the window must carry the screen's
    // geometry itself, and get its own back when it leaves full screen.
    void screenModeToggles_data()
    {
        QTest::addColumn<bool>("shownFirst");
        QTest::newRow("switched while shown") << true;
        QTest::newRow("switched before the first show") << false;
    }
    void screenModeToggles()
    {
        QFETCH(bool, shownFirst);
        QWidget w;
        w.setWindowTitle(u"验布"_s);
        w.setGeometry(40, 30, 640, 480);
        if (shownFirst)
            w.show();
        const QRect normal = w.geometry();
        const QRect screen = w.screen()->availableGeometry();
        QVERIFY(normal != screen);
        QCOMPARE(screenMode(w), u"0 0 0"_s);
        ScreenMode::setFullScreen(&w, true);
        QCOMPARE(screenMode(w), u"1 1 1"_s);
        QCOMPARE(w.isVisible(), shownFirst);
        QCOMPARE(w.geometry(), screen);
        w.show();
        QTRY_COMPARE(w.geometry(), screen);
        QVERIFY(!ScreenMode::toggle(&w));
        QCOMPARE(screenMode(w), u"0 0 0"_s);
        QVERIFY(w.isVisible());
        QTRY_COMPARE(w.geometry(), normal);
        QVERIFY(ScreenMode::toggle(&w));
        QCOMPARE(screenMode(w), u"1 1 1"_s);
        QTRY_COMPARE(w.geometry(), screen);
    }
};

QTEST_MAIN(TestWidgetGallery)
#include "TestWidgetGallery.moc"
