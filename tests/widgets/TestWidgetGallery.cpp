// The widgets as an operator sees them: the roll progress bar (scale, point marks and their alarm
// and flashing, segments, resizing and the operator dragging the thumb), the colours that carry
// meaning at the places they must appear, the remark frame's caption (cut for the eye, whole in
// its tooltip) and the station window's full-screen switch.
#include "widgets/CaptionFrame.h"
#include "widgets/ScreenMode.h"
#include "widgets/VbColor.h"
#include "widgets/fProcessBar.h"

#include <QImage>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QColor Red = vbColor(0x0000FF);

// A point mark as drawn: its width in twips and "red" or "black".
QString look(const fProcessBar& bar, int i)
{
    return QString::number(bar.bug(i).widthTwips) +
           (bar.bug(i).color == Red ? u" red"_s : u" black"_s);
}

// A bar 1000 pixels wide with its scale and point marks.
struct Bar : fProcessBar {
    explicit Bar(double max = 100, const QList<int>& marks = {})
    {
        resize(1000, 80);
        setMax(max);
        for (int m : marks)
            addBug(m);
    }
};

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
    void maxIsAtLeastOne_data()
    {
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << 0.0 << 1;
        QTest::newRow("rounded") << 12.6 << 13;
        QTest::newRow("negative") << -5.0 << 1;
    }
    // A new card's length: marks and segments of the last card go, its alarm with them.
    void maxIsAtLeastOne()
    {
        QFETCH(double, max);
        QFETCH(int, expected);
        Bar bar(100, {20});
        bar.addMen(u"W"_s, 10);
        bar.setValue(18);
        bar.setMax(max);
        bar.tick();
        QCOMPARE(QList<int>({bar.maximum(), bar.bugCount(), bar.segmentCount(), bar.alarmIndex()}),
                 QList<int>({expected, 0, 0, -1}));
        bar.addBug(1);
        if (expected == 1) // a mark at 1 sits at the very end, not beyond it
            QCOMPARE(bar.markRect(0).center().x(), bar.trackRect().right());
    }

    void marksAndAlarm_data()
    {
        QTest::addColumn<QList<int>>("marks");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("alarm");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("17: first mark ahead")
            << QList<int>{20, 40} << 17 << 0 << QList<int>{30, 30};
        QTest::newRow("20: on the mark") << QList<int>{20, 40} << 20 << 0 << QList<int>{60, 30};
        QTest::newRow("15: too far") << QList<int>{20, 40} << 15 << -1 << QList<int>{30, 30};
        QTest::newRow("21: passed") << QList<int>{20, 40} << 21 << -1 << QList<int>{60, 30};
        QTest::newRow("36: second") << QList<int>{20, 40} << 36 << 1 << QList<int>{60, 30};
        QTest::newRow("last wins") << QList<int>{20, 22} << 18 << 1 << QList<int>{30, 30};
    }
    void marksAndAlarm()
    {
        QFETCH(QList<int>, marks);
        QFETCH(int, value);
        QFETCH(QList<int>, widths);
        Bar bar(100, marks);
        bar.setValue(value);
        QTEST(bar.alarmIndex(), "alarm");
        for (int i = 0; i < marks.size(); ++i) // a passed mark is wide and black
            QCOMPARE(look(bar, i), QString::number(widths.at(i)) +
                                       (widths.at(i) == 60 ? u" black"_s : u" red"_s));
    }

    // An alarm flashes its mark (narrow red, wide black) and the line under the track seven
    // times, also when a reading refreshes the bar meanwhile; then it drops, the other marks as
    // they were.
    void alarmFlashesSevenTimes()
    {
        Bar bar(100, {20, 40});
        bar.setValue(17);
        QSet<QString> looks;
        int flashes = 0;
        for (int i = 0; i < 10; ++i) {
            if (i == 3)
                bar.setValue(17);
            const int before = bar.flashCount();
            bar.tick();
            flashes += bar.flashCount() > before;
            if (bar.alarmIndex() == 0)
                looks << look(bar, 0) + u' ' + bar.lineColor().name();
        }
        QCOMPARE(flashes, 7);
        QCOMPARE(looks.size(), 2);
        QCOMPARE(look(bar, 1) + u'/' + QString::number(bar.alarmIndex()), u"30 red/-1"_s);
    }

    void operatorDragsTheThumb()
    {
        Bar bar(200, {150});
        QSignalSpy changed(&bar, &fProcessBar::valueChanged);
        const QRectF t = bar.trackRect();
        QTest::mousePress(&bar, Qt::LeftButton, {},
                          QPoint(int(t.left() + t.width() * 0.73), int(t.center().y())));
        QCOMPARE(QList<int>({bar.value(), int(changed.size()), bar.alarmIndex()}),
                 QList<int>({146, 1, 0}));
        QTest::mouseRelease(&bar, Qt::LeftButton);
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(5, 2)); // on the segments, not the track
        QCOMPARE(changed.size(), 1);
    }

    // Segments end to end along the track in their colours, a passed mark black, a mark ahead
    // red, each at its place, again after a resize.
    void segmentsAndMarksAsSeen()
    {
        fProcessBar bar;
        bar.setMax(1000);
        bar.addMen(u"W01"_s, 300);
        bar.addMen(u"W02"_s, 450);
        for (int m : {200, 500, 800})
            bar.addBug(m);
        bar.setValue(517);
        bar.show();
        QCOMPARE(bar.segment(1).caption, u"W02(450)"_s);
        for (int width : {400, 1000}) {
            bar.resize(width, 90);
            const QRectF t = bar.trackRect(), s0 = bar.segmentRect(0), s1 = bar.segmentRect(1);
            QCOMPARE(s0.width() / t.width(), 0.3);
            QCOMPARE(s1.width() / t.width(), 0.45);
            QCOMPARE(s1.left(), s0.right());
            QVERIFY(qAbs(s0.left() - t.left()) < 1.0);
            QCOMPARE(bar.markRect(1).center().x(), t.center().x());
            const QImage img = bar.grab().toImage();
            const QRectF passed = bar.markRect(0), ahead = bar.markRect(2);
            const std::pair<QPointF, QColor> seen[] = {
                {{s0.left() + 4, s0.center().y()}, QColor(255, 0, 255)},
                {{s1.right() - 4, s1.center().y()}, QColor(0, 255, 255)},
                {passed.center(), Qt::black},
                {{ahead.center().x(), ahead.bottom() - 2}, Qt::red}};
            for (const auto& [at, colour] : seen)
                QVERIFY(near(img.pixelColor(int(at.x()), int(at.y())), colour));
        }
    }

    // A remark cut for the frame is whole in its tooltip, which follows the frame when the panel
    // is resized or the type grows; a short remark, or none, has no tooltip.
    void followsSizeAndFont()
    {
        CaptionFrame frame;
        frame.resize(150, 80);
        frame.show(); // a hidden widget gets its resize events when it is shown
        for (const QString& fits : {u"加急"_s, QString()}) {
            frame.setCaption(fits);
            QCOMPARE(frame.title() + frame.toolTip(), fits);
        }
        frame.resize(2000, 80);
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
