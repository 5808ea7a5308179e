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
        QTest::newRow("leading blanks") << "  7.5m" << 7.5;
        QTest::newRow("sign") << "-3.25" << -3.25;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("no number") << "abc12" << 0.0;
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

    // Numbers as text (Str keeps a blank for the sign, CStr not; neither writes an exponent) and
    // the string functions.
    void texts_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        const auto str = [](const char* name, double x, const char* text, const char* cstr) {
            QTest::addRow("Str %s", name) << vb::Str(x) << QString::fromUtf8(text);
            QTest::addRow("CStr %s", name) << vb::CStr(x) << QString::fromUtf8(cstr);
        };
        str("half", 0.5, " .5", ".5");
        str("minus half", -0.5, "-.5", "-.5");
        str("zero", 0.0, " 0", "0");
        str("binary noise hidden", 0.1 + 0.2, " .3", ".3");
        str("third", 1.0 / 3, " .333333333333333", ".333333333333333");
        str("large, no exponent", 1e16, " 10000000000000000", "10000000000000000");
        str("small, no exponent", 0.000012, " .000012", ".000012");
        str("negative", -1234.5, "-1234.5", "-1234.5");
        QTest::newRow("sql half") << vb::sqlNumber(0.5) << "0.5";
        QTest::newRow("sql whole") << vb::sqlNumber(100.0) << "100";
        QTest::newRow("sql big") << vb::sqlNumber(123456789012.25) << "123456789012.25";
        const auto format = [](const char* name, double x, const char* picture, const char* text) {
            QTest::addRow("Format %s", name) << vb::Format(x, QString::fromUtf8(picture))
                                             << QString::fromUtf8(text);
        };
        format("half up at 2", 2.675, "0.00", "2.68"); // 2.67499999... in binary
        format("half away from zero", -2.5, "0", "-3");
        format("not half-even", 0.125, "0.00", "0.13");
        format("carry", 9.995, "0.00", "10.00");
        format("roll number", 7.0, "000", "007");
        format("roll number wide", 1234.0, "000", "1234");
        format("less than one", 0.5, "0.0", "0.5");
        format("optional digits", 1.5, "0.##", "1.5");
        format("grouping", 1234567.891, "#,##0.00", "1,234,567.89");
        format("hash only zero", 0.0, "#", "0");
        QTest::newRow("mid") << vb::Mid(u"ABCDEF"_s, 2, 3) << "BCD";
        QTest::newRow("mid past end") << vb::Mid(u"ABC"_s, 5, 2) << "";
        QTest::newRow("mid chinese") << vb::Mid(u"检验单颜色"_s, 4, 2) << "颜色";
        QTest::newRow("right too many") << vb::Right(u"AB"_s, 5) << "AB";
        QTest::newRow("reverse") << vb::StrReverse(u"=0012.5"_s) << "5.2100=";
    }
    void texts()
    {
        QFETCH(QString, got);
        QTEST(got, "expected");
    }

    void values_data()
    {
        QTest::addColumn<QVariant>("got");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char* name, const QVariant& got, const QVariant& expected) {
            QTest::newRow(name) << got << expected;
        };
        row("numeric with blanks", vb::IsNumeric(u" 12 "), true);
        row("numeric decimal", vb::IsNumeric(u"-0.5"), true);
        row("letters after no number", vb::IsNumeric(u"12a"), false);
        row("empty no number", vb::IsNumeric(u""), false);
        row("point no number", vb::IsNumeric(u"."), false);
        row("InStr found", qint64(vb::InStr(1, u"wn12.5kg"_s, u"kg"_s)), qint64(7));
        row("InStr from start", qint64(vb::InStr(3, u"a,b,c"_s, u","_s)), qint64(4));
        row("InStr empty what", qint64(vb::InStr(2, u"abc"_s, QString())), qint64(2));
        row("InStr start past end", qint64(vb::InStr(9, u"abc"_s, u"a"_s)), qint64(0));
        row("Fix negative", vb::Fix(-2.9), -2.0);
        row("CInt", vb::CInt(2.7), 3LL);
        row("CInt half to even", vb::CInt(2.5), 2LL);
        row("CInt negative half", vb::CInt(-2.5), -2LL);
        row("upper bound trailing comma", vb::arrayUpperBound(u"a,b,"_s), 2);
        row("upper bound of nothing", vb::arrayUpperBound(QString()), 0);
        row("list items", vb::listItems(u"疵点,破洞,"_s), QStringList({"疵点", "破洞"}));
        row("list items empty one", vb::listItems(u"a,,b"_s), QStringList({"a", "", "b"}));
    }
    void values()
    {
        QFETCH(QVariant, got);
        QFETCH(QVariant, expected);
        QCOMPARE(got.typeId(), expected.typeId());
        QCOMPARE(got, expected);
    }
};

QTEST_APPLESS_MAIN(TestVbText)
#include "TestVbText.moc"
