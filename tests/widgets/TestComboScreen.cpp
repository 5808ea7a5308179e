// The pick list bound to a recordset, and the full-screen switch of the station windows.
#include "db/Recordset.h"
#include "widgets/ComboEx.h"
#include "widgets/ScreenMode.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

Recordset users()
{
    Recordset rs(QStringList{"userid", "usercode", "username"});
    rs.addRow({DbValue(1), DbValue(QStringLiteral("001")), DbValue(QStringLiteral("张三"))});
    rs.addRow({DbValue(2), DbValue(QStringLiteral("002")), DbValue(QStringLiteral("李四"))});
    rs.addRow({DbValue(3), DbValue(QStringLiteral("003")), DbValue()});
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
        QVERIFY(c.selectValue(QStringLiteral("3")));
        QCOMPARE(c.selectedText(), QStringLiteral("003 ")); // a null name stays empty
        QVERIFY(!c.selectValue(QStringLiteral("9")));
        QCOMPARE(c.selectedValue(), QStringLiteral("3"));
        c.addEntry(QStringLiteral("0"), QStringLiteral("全部"));
        QVERIFY(c.selectValue(QStringLiteral("0")));
        QCOMPARE(c.selectedText(), QStringLiteral("全部"));
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
        w.setWindowTitle(QStringLiteral("验布"));
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
