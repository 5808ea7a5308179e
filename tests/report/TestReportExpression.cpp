// Filling box texts and detail queries: fields, parameters, pictures, expressions, and what a bad
// part does.
#include "report/ReportError.h"
#include "report/ReportExpression.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A roll row and the two parameters every label has.
std::optional<QVariant> lookup(const QString& name, bool parameterOnly)
{
    static const QList<QPair<QString, QVariant>> fields{
        {u"卷号"_s, u"007"_s},
        {u"数量"_s, 98.5},
        {u"ID"_s, qint64(42)},
        {u"日期"_s, QDateTime(QDate(2026, 12, 5), QTime(10, 31, 7))},
        {u"品名"_s, u"全棉斜纹布"_s},
        {u"空"_s, QString()},
        {u"箱号"_s, qint64(261205001)},
        {u"累计米数"_s, 1234567.0}};
    static const QList<QPair<QString, QVariant>> params{{u"单据ID"_s, 42.0},
        {u"箱ID"_s, 261205001.0}, {u"卷号"_s, u"param"_s}, {u"客户"_s, u"O'Neil"_s}};
    if (!parameterOnly) {
        for (const auto& [k, v] : fields)
            if (k.compare(name, Qt::CaseInsensitive) == 0)
                return v;
    }
    for (const auto& [k, v] : params)
        if (k == name)
            return v;
    return std::nullopt;
}

} // namespace

class TestReportExpression : public QObject {
    Q_OBJECT
private slots:
    void expand_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("problem"); // empty: the text fills without a problem
        const auto row = [](const char* name, const QString& pattern, const QString& expected,
                            const QString& problem = QString()) {
            QTest::newRow(name) << pattern << expected << problem;
        };
        row("static", u"产品标签"_s, u"产品标签"_s);
        row("field", u"卷号：[卷号]"_s, u"卷号：007"_s);
        row("blanks around a field name", u"[ 卷号 ]"_s, u"007"_s);
        row("parameter only", u"[#卷号#]"_s, u"param"_s);
        row("number shortest", u"[数量] 米"_s, u"98.5 米"_s);
        row("number picture", u"[数量|0.00]"_s, u"98.50"_s);
        row("padded id", u"[ID|00000000]"_s, u"00000042"_s);
        row("long id keeps its digits", u"[箱号]/[#箱ID#]/[=箱号]"_s,
            u"261205001/261205001/261205001"_s);
        row("large whole number keeps its digits", u"[累计米数] [=累计米数]"_s, u"1234567 1234567"_s);
        row("text picture leaves text", u"[品名|0.0]"_s, u"全棉斜纹布"_s);
        row("number text picture", u"[卷号|0000]"_s, u"0007"_s);
        row("date only at midnight", u"[=Format(日期, \"yyyy-mm-dd\")]"_s, u"2026-12-05"_s);
        row("date picture minutes", u"[日期|yyyy-mm-dd hh:nn]"_s, u"2026-12-05 10:31"_s);
        row("date picture mm after h", u"[日期|hh:mm]"_s, u"10:31"_s);
        row("chinese date", u"[日期|yyyy年m月d日]"_s, u"2026年12月5日"_s);
        row("plain date", u"[日期]"_s, u"2026-12-05 10:31:07"_s);
        row("null field", u"<[空]>"_s, u"<>"_s);
        row("escaped bracket", u"[[卷号]"_s, u"[卷号]"_s);
        row("arithmetic", u"[=数量 * 2 - 1]"_s, u"196"_s);
        row("precedence", u"[=1 + 2 * 3]"_s, u"7"_s);
        row("parentheses", u"[=(1 + 2) * 3]"_s, u"9"_s);
        row("unary minus", u"[=-数量 + 100]"_s, u"1.5"_s);
        row("plus joins text", u"[=卷号 + \"A\"]"_s, u"007A"_s);
        row("plus adds numeric text", u"[=卷号 + 1]"_s, u"8"_s);
        row("ampersand", u"[=\"No.\" & ID & \"/\" & 卷号]"_s, u"No.42/007"_s);
        row("quote in string", u"[=\"a\"\"b\"]"_s, u"a\"b"_s);
        row("left right mid", u"[=Left(品名,2)][=Right(品名,1)][=Mid(品名,3,2)]"_s, u"全棉布斜纹"_s);
        row("trim val", u"[=Trim(\"  x \")][=Val(\"12.5米\") * 2]"_s, u"x25"_s);
        row("parameter in expression", u"[=#单据ID# + 1]"_s, u"43"_s);
        row("format number", u"[=Format(数量 / 3, \"0.000\")]"_s, u"32.833"_s);
        // A bad part is left out, the rest of the text still fills, and the problem names it.
        row("unknown field", u"A[色号]B"_s, u"AB"_s, u"色号"_s);
        row("field asked as parameter", u"[#数量#]"_s, QString(), u"数量"_s);
        row("division by zero", u"x[=数量/0]"_s, u"x"_s, u"除数为 0"_s);
        row("unknown function", u"[=Upper(品名)]"_s, QString(), u"Upper"_s);
        row("unclosed string", u"[=\"abc]"_s, QString(), u"引号"_s);
        row("missing paren", u"[=(1+2]"_s, QString(), u")"_s);
        row("trailing junk", u"[=1 2]"_s, QString(), u"多余"_s);
        row("wrong arity", u"[=Left(品名)]"_s, QString(), u"参数个数"_s);
        row("unclosed bracket keeps text before", u"卷号 [卷号"_s, u"卷号 "_s, u"缺少 ]"_s);
        // "sql": a detail query, where only parameters are placeholders; a text parameter with a
        // quote cannot break out of the query's quotes.
        row("sql number", u"sql where id=[#单据ID#]"_s, u"where id=42"_s);
        row("sql text", u"sql where c='[#卷号#]'"_s, u"where c='param'"_s);
        row("sql fields are not placeholders", u"sql select [卷号] from t"_s, u"select [卷号] from t"_s);
        row("sql quote doubled", u"sql where c='[#客户#]'"_s, u"where c='O''Neil'"_s);
        row("sql unknown parameter", u"sql where id=[#箱号#] and 1=1"_s, u"where id= and 1=1"_s, u"箱号"_s);
    }

    void expand()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, problem);
        QStringList problems;
        QTEST(pattern.startsWith(u"sql "_s) ? ReportExpression::expandQuery(pattern.mid(4), lookup, &problems)
                                            : ReportExpression::expand(pattern, lookup, &problems),
              "expected");
        if (problem.isEmpty()) {
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        } else {
            QCOMPARE(problems.size(), 1);
            QVERIFY2(problems.first().contains(problem), qPrintable(problems.first()));
        }
    }
};

QTEST_GUILESS_MAIN(TestReportExpression)
#include "TestReportExpression.moc"
