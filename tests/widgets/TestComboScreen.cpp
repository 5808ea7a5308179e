// The pick list bound to a recordset, and the full-screen switch of the station windows.
#include "db/Recordset.h"
#include "widgets/ComboEx.h"
#include "widgets/ScreenMode.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Recordset users()
{
    Recordset rs(QStringList{"userid", "usercode", "username"});
    rs.addRow({DbValue(1), DbValue(u"001"_s), DbValue(u"张三"_s)});
    rs.addRow({DbValue(2), DbValue(u"002"_s), DbValue(u"李四"_s)});
    rs.addRow({DbValue(3), DbValue(u"003"_s), DbValue()});
    return rs;
}

} // namespace

class TestComboScreen : public QObject {
    Q_OBJECT

private slots:
    void comboReportsTheSelectedEntry_data()
    {
        QTest::addColumn<int>("valueField");
        QTest::addColumn<int>("textField");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("id with code and name") << 0 << -1 << "2" << "002 李四";
        QTest::newRow("code with name") << 1 << 2 << "002" << "李四";
        QTest::newRow("last field alone") << 2 << -1 << "李四" << "李四";
    }
    void comboReportsTheSelectedEntry()
    {
        QFETCH(int, valueField);
        QFETCH(int, textField);
        QFETCH(QString, value);
        ComboEx c;
        QSignalSpy changed(&c, &ComboEx::selectionChanged);
        c.bindRecordset(users(), valueField, textField);
        QCOMPARE(c.count(), 3);
        QCOMPARE(c.selectedValue(), QString()); // nothing chosen until the operator picks
        QCOMPARE(changed.size(), 0);
        c.setCurrentIndex(1);
        QCOMPARE(c.selectedValue(), value);
        QTEST(c.selectedText(), "text");
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), value);
    }

    void comboSelectsByValue()
    {
        ComboEx c;
        c.bindRecordset(users());
        QVERIFY(c.selectValue(u"3"_s));
        QCOMPARE(c.selectedText(), u"003 "_s); // a null name stays empty
        QVERIFY(!c.selectValue(u"9"_s));
        QCOMPARE(c.selectedValue(), u"3"_s);
        c.addEntry(u"0"_s, u"全部"_s);
        QVERIFY(c.selectValue(u"0"_s));
        QCOMPARE(c.selectedText(), u"全部"_s);
        c.bindRecordset(Recordset());
        QCOMPARE(c.count(), 0);
        QCOMPARE(c.selectedValue(), QString());
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
        QVERIFY(!ScreenMode::isFullScreen(&w));
        ScreenMode::setFullScreen(&w, true);
        QVERIFY(ScreenMode::isFullScreen(&w));
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(w.isVisible(), shownFirst);
        QCOMPARE(w.geometry(), screen);
        w.show();
        QTRY_COMPARE(w.geometry(), screen);
        QVERIFY(!ScreenMode::toggle(&w));
        QVERIFY(!w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!w.windowState().testFlag(Qt::WindowMaximized));
        QVERIFY(w.isVisible());
        QTRY_COMPARE(w.geometry(), normal);
        QVERIFY(ScreenMode::toggle(&w));
        QVERIFY(ScreenMode::isFullScreen(&w));
        QTRY_COMPARE(w.geometry(), screen);
    }

    void screenModeFromAChildWidget()
    {
        QWidget w;
        auto* child = new QWidget(&w);
        ScreenMode::setFullScreen(child, true); // a menu or label asks for its window
        QVERIFY(ScreenMode::isFullScreen(&w));
        QVERIFY(!w.isVisible()); // a hidden window is not shown by the switch
    }
};

QTEST_MAIN(TestComboScreen)
#include "TestComboScreen.moc"
