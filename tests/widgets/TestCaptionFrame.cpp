// The remark frame's caption: kept whole in title(), cut for the eye where the frame ends, and
// then shown whole in the tooltip.
#include "widgets/CaptionFrame.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCaptionFrame : public QObject {
    Q_OBJECT
private slots:
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

    // The tooltip follows the frame when the panel is resized or the type grows.
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
};

QTEST_MAIN(TestCaptionFrame)
#include "TestCaptionFrame.moc"
