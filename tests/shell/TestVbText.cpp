// The text/number conversions every station depends on, with their tricky cases.
#include "text/Vb.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestVbText : public QObject {
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("leading blanks") << "  7.5m" << 7.5;
        QTest::newRow("sign") << "-3.25" << -3.25;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("no number") << "abc12" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("inner blank") << "1 2" << 12.0;
        QTest::newRow("full-width digits are text") << "１２" << 0.0;
        QTest::newRow("counter text") << "00123.40M" << 123.4;
    }
    void val()
    {
        QFETCH(QString, text);
        QTEST(vb::Val(text), "value");
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("int") << "12" << true;
        QTest::newRow("blanks") << " 12 " << true;
        QTest::newRow("decimal") << "-0.5" << true;
        QTest::newRow("letters after") << "12a" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("point") << "." << false;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QTEST(vb::IsNumeric(text), "numeric");
    }

    void strAndCStr_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("str");
        QTest::addColumn<QString>("cstr");
        QTest::newRow("half") << 0.5 << " .5" << ".5";
        QTest::newRow("minus half") << -0.5 << "-.5" << "-.5";
        QTest::newRow("zero") << 0.0 << " 0" << "0";
        QTest::newRow("whole") << 12.0 << " 12" << "12";
        QTest::newRow("binary noise hidden") << 0.1 + 0.2 << " .3" << ".3";
        QTest::newRow("third") << 1.0 / 3 << " .333333333333333" << ".333333333333333";
        QTest::newRow("large, no exponent") << 1e16 << " 10000000000000000" << "10000000000000000";
        QTest::newRow("small, no exponent") << 0.000012 << " .000012" << ".000012";
        QTest::newRow("negative") << -1234.5 << "-1234.5" << "-1234.5";
    }
    void strAndCStr()
    {
        QFETCH(double, x);
        QTEST(vb::Str(x), "str");
        QTEST(vb::CStr(x), "cstr");
    }

    void sqlNumber_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 0.5 << "0.5";
        QTest::newRow("negative half") << -0.5 << "-0.5";
        QTest::newRow("whole") << 100.0 << "100";
        QTest::newRow("big") << 123456789012.25 << "123456789012.25";
    }
    void sqlNumber()
    {
        QFETCH(double, x);
        QTEST(vb::sqlNumber(x), "text");
    }

    void format_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("text");
        QTest::newRow("two decimals") << 12.3 << "0.00" << "12.30";
        QTest::newRow("half up at 2") << 2.675 << "0.00" << "2.68"; // 2.67499999... in binary
        QTest::newRow("half up at 0") << 2.5 << "0" << "3";
        QTest::newRow("half away from zero") << -2.5 << "0" << "-3";
        QTest::newRow("not half-even") << 0.125 << "0.00" << "0.13";
        QTest::newRow("below half") << 1.004999 << "0.00" << "1.00";
        QTest::newRow("carry") << 9.995 << "0.00" << "10.00";
        QTest::newRow("roll number") << 7.0 << "000" << "007";
        QTest::newRow("roll number wide") << 1234.0 << "000" << "1234";
        QTest::newRow("zero") << 0.0 << "0.00" << "0.00";
        QTest::newRow("less than one") << 0.5 << "0.0" << "0.5";
        QTest::newRow("optional digits") << 1.5 << "0.##" << "1.5";
        QTest::newRow("grouping") << 1234567.891 << "#,##0.00" << "1,234,567.89";
        QTest::newRow("hash only zero") << 0.0 << "#" << "0";
    }
    void format()
    {
        QFETCH(double, x);
        QFETCH(QString, picture);
        QTEST(vb::Format(x, picture), "text");
    }

    void fixAndCInt()
    {
        QCOMPARE(vb::Fix(2.9), 2.0);
        QCOMPARE(vb::Fix(-2.9), -2.0);
        QCOMPARE(vb::CInt(2.7), 3LL);
        QCOMPARE(vb::CInt(2.5), 2LL); // halves go to even
        QCOMPARE(vb::CInt(3.5), 4LL);
        QCOMPARE(vb::CInt(-2.5), -2LL);
    }

    void stringFunctions_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mid") << vb::Mid(u"ABCDEF"_s, 2, 3) << "BCD";
        QTest::newRow("mid rest") << vb::Mid(u"ABCDEF"_s, 4) << "DEF";
        QTest::newRow("mid past end") << vb::Mid(u"ABC"_s, 5, 2) << "";
        QTest::newRow("mid chinese") << vb::Mid(u"检验单颜色"_s, 4, 2) << "颜色";
        QTest::newRow("right") << vb::Right(u"ABCDEF"_s, 2) << "EF";
        QTest::newRow("right too many") << vb::Right(u"AB"_s, 5) << "AB";
        QTest::newRow("left") << vb::Left(u"ABCDEF"_s, 2) << "AB";
        QTest::newRow("reverse") << vb::StrReverse(u"=0012.5"_s) << "5.2100=";
    }
    void stringFunctions()
    {
        QFETCH(QString, got);
        QTEST(got, "expected");
    }

    void inStr_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("pos");
        QTest::newRow("found") << 1 << "wn12.5kg" << "kg" << 7;
        QTest::newRow("absent") << 1 << "abc" << "x" << 0;
        QTest::newRow("from start") << 3 << "a,b,c" << "," << 4;
        QTest::newRow("empty what") << 2 << "abc" << "" << 2;
        QTest::newRow("start past end") << 9 << "abc" << "a" << 0;
    }
    void inStr()
    {
        QFETCH(int, start);
        QFETCH(QString, s);
        QFETCH(QString, what);
        QFETCH(int, pos);
        QCOMPARE(vb::InStr(start, s, what), qsizetype(pos));
    }

    void lists()
    {
        QCOMPARE(vb::arrayUpperBound(u"a,b,c,d,e,f"_s), 5);
        QCOMPARE(vb::arrayUpperBound(u"a,b,"_s), 2);
        QCOMPARE(vb::arrayUpperBound(QString()), 0);
        QCOMPARE(vb::listItems(u"疵点,破洞,"_s), QStringList({"疵点", "破洞"}));
        QCOMPARE(vb::listItems(u"a,,b"_s), QStringList({"a", "", "b"}));
    }
};

QTEST_APPLESS_MAIN(TestVbText)
#include "TestVbText.moc"
