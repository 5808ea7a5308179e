// A production card's texts without a window: the lines the colour box lists, what a chosen line
// shows, the fields a preset list fills, the history on the roll bar and the totals lines.
#include "stations/inspection/InspectionCard.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Recordset rows(const QStringList& columns, const QList<QList<DbValue>>& values)
{
    Recordset rs(columns);
    for (const QList<DbValue>& row : values)
        rs.addRow(row);
    rs.moveFirst();
    return rs;
}

// Card K001's line 11 as the built-in lookup returns it.
Recordset cardLine(const DbValue& inspect, const DbValue& order)
{
    return rows(u"品种,颜色,productionSN,BillDetailId,itemid,billid,送检数量,数量,生产单号,单据备注,客户,交货日期,规格,备注,款号"_s.split(u','),
                {{u"涤棉府绸"_s, u"藏青"_s, u"01"_s, 11, 1, 1, inspect, 1000, order, u"加急"_s, u"杭州锦华服饰"_s, u"2026-12-20"_s,
                  u"45x45"_s, QString(), u"款A"_s}});
}

// A line's totals or the card's, by weight or not, on the sum the database gave: the text.
struct Totals { bool line, byWeight; DbValue sum; QString text; };
// The cases of lineShown and presets.
struct Shown { DbValue inspect, order; QString shown; };
struct Preset { QString fill; int kept; QString expected; };
} // namespace

class TestInspectionCard : public QObject {
    Q_OBJECT

private slots:
    // The card number as scanned or typed, in the mill's stored lookup (the card for every "?").
    void lookup_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("card");
        QTest::newRow("scanner CR/LF") << "K001\r\n" << "K001";
        QTest::newRow("LF only") << "K001\n" << "K001";
        QTest::newRow("typed") << "K001" << "K001";
        QTest::newRow("inner blank kept") << "K 001\r" << "K 001";
    }
    void lookup()
    {
        QFETCH(QString, typed);
        QFETCH(QString, card);
        const QString number = InspectionCard::cleanNumber(typed);
        QCOMPARE(InspectionCard::lookupSql("select * from bill where billcode='?' or code='?'", "55", number),
                 "select * from bill where billcode='" + card + "' or code='" + card + "'");
        // The built-in lookup filters the card types, the card quoted.
        const QString builtIn = InspectionCard::lookupSql(QString(), "55,57", number + "'");
        QVERIFY2(builtIn.contains("55,57") && builtIn.contains(card + "''"), qPrintable(builtIn));
    }

    // What a chosen line shows (inspect / order / customer line), and the colour box's lines.
    void lineShown_data()
    {
        QTest::addColumn<Shown>("c");
        QTest::newRow("quantities") << Shown{DbValue(900), DbValue(u"P-88"_s), "900/P-88/客户：杭州锦华服饰  订单号：P-88  交期：2026-12-20"};
        QTest::newRow("a line without quantities shows 0") << Shown{DbValue(), DbValue(), "0/0/客户：杭州锦华服饰  订单号：  交期：2026-12-20"};
    }
    void lineShown()
    {
        QFETCH(Shown, c);
        const auto& [inspect, order, shown] = c;
        const InspectionCard::Line l = InspectionCard::line(cardLine(inspect, order));
        QCOMPARE(l.inspect + u'/' + l.order + u'/' + l.customer, shown);
        QCOMPARE(l.article, "品种：涤棉府绸  规格：45x45  颜色：藏青 数量:1000  备注：");
        QCOMPARE(l.id + u'/' + l.itemId + u'/' + l.billId + u'/' + l.quantity + u'/' + l.remark, "11/1/1/1000/加急");
        Recordset three = rows({"品种", "颜色", "productionSN", "BillDetailId"}, {{u"府绸"_s, u"藏青"_s, u"01"_s, 11}, {u"府绸"_s, u"大红"_s, u"03"_s, 13}});
        QCOMPARE(InspectionCard::lines(three), (QList<std::pair<QString, QString>>{{"府绸-藏青-01", "11"}, {"府绸-大红-03", "13"}}));
    }

    // A preset list ("field|column,…") over the card line, a field the station keeps (-1 none):
    // the fields set (field=text).
    void presets_data()
    {
        QTest::addColumn<Preset>("c");
        QTest::newRow("field and column") << Preset{"3|备注,5|款号", -1, "3=,5=款A"};
        QTest::newRow("no field, no column, no '|'") << Preset{"99|款号,5|nothing,4,-1|款号", -1, ""};
        QTest::newRow("blanks around the column") << Preset{"5| 款号 ,", -1, "5=款A"};
        QTest::newRow("kept field left alone") << Preset{"3|备注,5|款号", 5, "3="};
    }
    void presets()
    {
        QFETCH(Preset, c);
        const auto& [fill, kept, expected] = c;
        QStringList set;
        const auto keep = [kept](int index) { return index == kept; };
        for (const auto& [index, text] : InspectionCard::presets(fill, cardLine(900, u"P"_s), 29, keep))
            set << QString::number(index) + u'=' + text;
        QCOMPARE(set.join(u','), expected);
    }

    void historyOnTheBar()
    {
        const QStringList columns{"usercode", "viewcount", "billstatus"};
        Recordset rs = rows(columns, {{u"007"_s, 200, u"22"_s}, {QString(), 350, u" 5"_s}, {u"008"_s, -150, u"33 "_s}});
        const InspectionCard::History h = InspectionCard::history(rs);
        QCOMPARE(h.workers, (QList<std::pair<QString, double>>{{"007", 200}, {"008", 150}}));
        QCOMPARE(h.marks, QList<double>{350});
        QCOMPARE(h.workerCodes, "007,008,");
        Recordset none = rows(columns, {});
        QCOMPARE(InspectionCard::history(none).workerCodes, QString());
    }

    // Sums the database adds in binary floating point come back as typed.
    void totals_data()
    {
        QTest::addColumn<Totals>("c");
        const DbValue summed(149.85999999999999);
        QTest::newRow("line, what is left") << Totals{true, false, summed, " 送检数量：900 已检A品数量：149.86/850.14 匹数：2"};
        QTest::newRow("line, weight") << Totals{true, true, summed, " 送检数量：900 已检A品数量：149.86/36.6 匹数：2"};
        QTest::newRow("line, no rolls yet") << Totals{true, false, DbValue(), " 送检数量：900 已检A品数量：0/1000 匹数：2"};
        QTest::newRow("card") << Totals{false, false, summed, " 已检数量：149.86/36.6 匹数：2"};
    }
    void totals()
    {
        QFETCH(Totals, c);
        const auto& [line, byWeight, sum, text] = c;
        const Recordset rs = rows({"s", "n", "重量"}, {{sum, 2, 36.6}});
        QCOMPARE(line ? InspectionCard::lineTotals(rs, "900", "1000", byWeight) : InspectionCard::cardTotals(rs), text);
    }
};

QTEST_GUILESS_MAIN(TestInspectionCard)
#include "TestInspectionCard.moc"
