// The VBScript evaluator behind the quantity formula and the length ratios: results, precedence,
// conversions, functions, and the errors a badly typed setting must produce instead of a crash.
#include "script/VbScript.h"

#include <QTest>

using namespace Qt::StringLiterals;

using script::ScriptError;
using script::Value;

class TestVbScript : public QObject {
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<double>("expected");
        QTest::newRow("yard ratio") << "1 / 0.9144" << 1 / 0.9144;
        QTest::newRow("blanks and tabs") << " \t2 *\t3 " << 6.0;
        QTest::newRow("point first") << ".5 + 1." << 1.5;
        QTest::newRow("exponent literal") << "1E3/4" << 250.0;
        QTest::newRow("hex literal") << "&H10 + 1" << 17.0;
        QTest::newRow("hex integer is signed") << "&HFFFF" << -1.0;
        QTest::newRow("division left to right") << "12 / 3 / 2" << 2.0;
        QTest::newRow("parentheses") << "(1 + 2) * 3" << 9.0;
        QTest::newRow("plus of a negative") << "25+-2" << 23.0;
        QTest::newRow("power before negation") << "-2^2" << -4.0;
        QTest::newRow("negative exponent") << "2^-1" << 0.5;
        QTest::newRow("power left to right") << "2^3^2" << 64.0;
        QTest::newRow("power before multiply") << "3*2^2" << 12.0;
        QTest::newRow("integer division") << "7 \\ 2" << 3.0;
        QTest::newRow("integer division truncates") << "-7 \\ 2" << -3.0;
        QTest::newRow("operand half to even") << "6.5 \\ 1 + 7.5 \\ 1" << 14.0;
        QTest::newRow("mul before int division") << "10 \\ 3 * 2" << 1.0;
        QTest::newRow("mod") << "7 Mod 3" << 1.0;
        QTest::newRow("mod keeps dividend sign") << "-7 mod 3" << -1.0;
        QTest::newRow("mod rounds operands") << "5.5 MOD 2" << 0.0;
        QTest::newRow("int division before mod") << "7 Mod 4 \\ 2" << 1.0;
        QTest::newRow("mod before add") << "1 + 7 Mod 4" << 4.0;
        QTest::newRow("Int floors") << "Int(-2.5)" << -3.0;
        QTest::newRow("Fix truncates") << "Fix(-2.5)" << -2.0;
        QTest::newRow("Round half to even down") << "Round(2.5)" << 2.0;
        QTest::newRow("Round negative half") << "Round(-2.5)" << -2.0;
        QTest::newRow("Round digits half") << "Round(1.25, 1)" << 1.2;
        QTest::newRow("Round digits half after scaling")
            << "Round(2.665, 2) + Round(2.675, 2)" << 2.66 + 2.68;
        QTest::newRow("Round digits binary") << "Round(0.285, 2)" << 0.28;
        QTest::newRow("CInt half to even") << "CInt(2.5) + CInt(3.5)" << 6.0;
        QTest::newRow("CLng half to even") << "CLng(-2.5)" << -2.0;
        QTest::newRow("Abs") << "Abs(-3)" << 3.0;
        QTest::newRow("Sgn") << "Sgn(-0.1)" << -1.0;
        QTest::newRow("Exp and Log") << "Log(Exp(2))" << 2.0;
        QTest::newRow("names any case") << "int(2.7) + ROUND(1.5)" << 4.0;
        QTest::newRow("CDbl of text") << "CDbl(\" 2.5 \")" << 2.5;
        QTest::newRow("text plus number adds") << "\"12\" + 2" << 14.0;
        QTest::newRow("texts plus joins") << "\"1\" + \"2\"" << 12.0;
        QTest::newRow("True is minus one") << "(2 > 1) * 5" << -5.0;
        QTest::newRow("comparison after arithmetic") << "1 + 1 = 2" << -1.0;
        QTest::newRow("not equal") << "1 <> 1" << 0.0;
        QTest::newRow("Not of number") << "Not 0" << -1.0;
        QTest::newRow("And of numbers is bitwise") << "5 And 3" << 1.0;
        QTest::newRow("Or binds looser than And") << "1 Or 2 And 0" << 1.0;
        QTest::newRow("Xor") << "6 Xor 3" << 5.0;
    }
    void numbers()
    {
        QFETCH(QString, expression);
        double value = -12345;
        QString error;
        QVERIFY2(script::evalNumber(expression, &value, &error), qPrintable(error));
        QTEST(value, "expected");
    }

    void types_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        const int number = int(Value::Type::Number), text = int(Value::Type::Text),
                  boolean = int(Value::Type::Boolean);
        QTest::newRow("number") << "0.5 * 1" << number << ".5";
        QTest::newRow("negative zero shows as 0") << "-0" << number << "0";
        QTest::newRow("string with quotes") << "\"a\"\"b\"" << text << "a\"b";
        QTest::newRow("joined") << "\"卷\" & 7" << text << "卷7";
        QTest::newRow("comparison") << "3 >= 3" << boolean << "True";
        QTest::newRow("texts compare") << "\"a\" < \"b\"" << boolean << "True";
        QTest::newRow("And of Booleans") << "True And False" << boolean << "False";
        QTest::newRow("Not of Boolean") << "Not True" << boolean << "False";
    }
    void types()
    {
        QFETCH(QString, expression);
        Value v;
        ScriptError e;
        QVERIFY2(script::eval(expression, &v, &e), qPrintable(e.message()));
        QTEST(int(v.type()), "type");
        QTEST(v.toText(), "text");
    }

    void errors_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("position");
        QTest::newRow("division by zero") << "1/0" << 11 << "被零除" << -1;
        QTest::newRow("zero by zero") << "0/0" << 6 << "溢出" << -1;
        QTest::newRow("mod by zero") << "5 Mod 0" << 11 << "被零除" << -1;
        QTest::newRow("zero to negative power") << "0^-1" << 11 << "被零除" << -1;
        QTest::newRow("text in arithmetic") << "\"abc\" * 2" << 13 << "类型不匹配: 'abc'" << -1;
        QTest::newRow("empty text") << "\"\" + 1" << 13 << "类型不匹配: ''" << -1;
        QTest::newRow("root of negative") << "Sqr(-1)" << 5 << "无效的过程调用或参数" << -1;
        QTest::newRow("log of zero") << "Log(0)" << 5 << "无效的过程调用或参数" << -1;
        QTest::newRow("odd root of negative") << "(-8)^(1/3)" << 5 << "无效的过程调用或参数" << -1;
        QTest::newRow("Round negative digits")
            << "Round(2.5, -1)" << 5 << "无效的过程调用或参数" << -1;
        QTest::newRow("CInt range") << "CInt(40000)" << 6 << "溢出" << -1;
        QTest::newRow("Long range in mod") << "3E9 Mod 2" << 6 << "溢出" << -1;
        QTest::newRow("power overflow") << "10^400" << 6 << "溢出" << -1;
        QTest::newRow("literal overflow") << "3E999" << 6 << "溢出" << 0;
        QTest::newRow("unfilled placeholder")
            << "[重量] * 1.2" << 500 << "变量未定义: '[重量]'" << -1;
        QTest::newRow("bare name") << "weight * 2" << 500 << "变量未定义: 'weight'" << -1;
        QTest::newRow("unknown function") << "Foo(1)" << 13 << "类型不匹配: 'Foo'" << -1;
        QTest::newRow("too many arguments")
            << "Round(1, 2, 3)" << 450 << "错误的参数个数或无效的参数属性值: 'Round'" << -1;
        QTest::newRow("no arguments")
            << "Int()" << 450 << "错误的参数个数或无效的参数属性值: 'Int'" << -1;
        QTest::newRow("function without parentheses")
            << "Sqr + 1" << 450 << "错误的参数个数或无效的参数属性值: 'Sqr'" << -1;
        QTest::newRow("empty") << "" << 1002 << "缺少表达式" << 0;
        QTest::newRow("dangling operator") << "1 +" << 1002 << "缺少表达式" << 3;
        QTest::newRow("two numbers") << "1 2" << 1002 << "语法错误" << 2;
        QTest::newRow("open parenthesis") << "(1 + 2" << 1006 << "缺少 ')'" << 6;
        QTest::newRow("stray close") << "1 + 2)" << 1002 << "语法错误" << 5;
        QTest::newRow("open bracket") << "[重量 * 2" << 1002 << "缺少 ']'" << 0;
        QTest::newRow("open string") << "\"abc" << 1033 << "未结束的字符串常量" << 0;
        QTest::newRow("full-width star") << "25 ＊ 2" << 1032 << "无效字符" << 3;
        QTest::newRow("comma outside call") << "1,5" << 1002 << "语法错误" << 1;
        QTest::newRow("bad exponent") << "1E+" << 1002 << "语法错误" << 1;
        QTest::newRow("keyword as operand") << "Mod 2" << 1002 << "语法错误" << 0;
        // Compiled before it runs: the syntax error wins over the division by zero.
        QTest::newRow("syntax before run time") << "1/0 +" << 1002 << "缺少表达式" << 5;
        QTest::newRow("deep parentheses")
            << QString(5000, u'(') + u'1' << 1002 << "表达式太复杂" << -2;
        QTest::newRow("long negation chain")
            << QString(5000, u'-') + u'1' << 1002 << "表达式太复杂" << -2;
    }
    void errors()
    {
        QFETCH(QString, expression);
        QFETCH(int, position);
        Value v;
        ScriptError e;
        QVERIFY(!script::eval(expression, &v, &e));
        QTEST(e.number, "number");
        QTEST(e.description, "description");
        if (position != -2) // -2: somewhere inside
            QCOMPARE(int(e.position), position);
        else
            QVERIFY(e.position > 0);
    }

    void evalNumberReportsAndKeepsValue_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("message");
        QTest::newRow("syntax error with position") << "2 *"
                                                    << "缺少表达式（第 4 个字符）";
        QTest::newRow("run-time error") << "2 / (1 - 1)"
                                        << "被零除";
        QTest::newRow("text result") << "\"a\" & \"b\""
                                     << "类型不匹配: 'ab'";
    }
    void evalNumberReportsAndKeepsValue()
    {
        QFETCH(QString, expression);
        double value = 42;
        QString error;
        QVERIFY(!script::evalNumber(expression, &value, &error));
        QTEST(error, "message");
        QCOMPARE(value, 42.0);
    }

    void fillPlaceholders_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<double>("weight");
        QTest::addColumn<double>("plusMinus");
        QTest::addColumn<QString>("filled");
        QTest::addColumn<double>("value");
        // "[系数]" is 1.2 in every row.
        QTest::newRow("default formula") << "[重量] * [系数]" << 25.0 << 0.0 << "25 * 1.2" << 30.0;
        QTest::newRow("every occurrence")
            << "[重量]+[重量]*[系数]" << 3.0 << 0.0 << "3+3*1.2" << 6.6;
        QTest::newRow("negative plus-minus") << "[重量]-[加减]" << 25.0 << -2.0 << "25--2" << 27.0;
        QTest::newRow("fraction without zero") << "[重量]*2" << 0.25 << 0.0 << ".25*2" << 0.5;
        QTest::newRow("rounded formula") << "Round([重量] * [系数] + [加减], 1)" << 10.04 << 0.0
                                         << "Round(10.04 * 1.2 + 0, 1)" << 12.0;
    }
    void fillPlaceholders()
    {
        QFETCH(QString, formula);
        QFETCH(double, weight);
        QFETCH(double, plusMinus);
        const QString text = script::fillPlaceholders(
            formula, {{u"[重量]"_s, weight}, {u"[系数]"_s, 1.2}, {u"[加减]"_s, plusMinus}});
        QTEST(text, "filled");
        double result = 0;
        QString error;
        QVERIFY2(script::evalNumber(text, &result, &error), qPrintable(error));
        QTEST(result, "value");
    }

    void compiledExpressionEvaluatesRepeatedly()
    {
        script::Expression e;
        QVERIFY(!e.isValid());
        Value v;
        ScriptError err;
        QVERIFY(!e.evaluate(&v, &err));
        QCOMPARE(err.number, 1002);

        QVERIFY(e.compile(u"Round(10 / 3, 2)"));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(e.evaluate(&v));
            QCOMPARE(v.toText(), u"3.33"_s);
        }
        QVERIFY(!e.compile(u"10 /", &err));
        QVERIFY(!e.isValid());
        QCOMPARE(err.position, 4);
    }
};

QTEST_GUILESS_MAIN(TestVbScript)
#include "TestVbScript.moc"
