// A production card's texts without a window: the lines the colour box lists, what a chosen line
// shows, the fields a preset list fills, the history on the roll bar and the totals lines.
#include "stations/inspection/InspectionCard.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DbValue)

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
    return rows({u"品种"_s, u"颜色"_s, u"productionSN"_s, u"BillDetailId"_s, u"itemid"_s, u"billid"_s,
                 u"送检数量"_s, u"数量"_s, u"生产单号"_s, u"单据备注"_s, u"客户"_s, u"交货日期"_s, u"规格"_s,
                 u"备注"_s, u"款号"_s},
                {{u"涤棉府绸"_s, u"藏青"_s, u"01"_s, 11, 1, 1, inspect, 1000, order, u"加急"_s,
                  u"杭州锦华服饰"_s, u"2026-12-20"_s, u"45x45"_s, QString(), u"款A"_s}});
}

} // namespace

class TestInspectionCard : public QObject {
    Q_OBJECT

private slots:
    void cleanNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("card");
        QTest::newRow("scanner CR/LF") << u"K001\r\n"_s << u"K001"_s;
        QTest::newRow("LF only") << u"K001\n"_s << u"K001"_s;
        QTest::newRow("typed") << u"K001"_s << u"K001"_s;
        QTest::newRow("inner blank kept") << u"K 001\r"_s << u"K 001"_s;
    }
    void cleanNumber()
    {
        QFETCH(QString, typed);
        QTEST(InspectionCard::cleanNumber(typed), "card");
    }

    void lookupSql()
    {
        // The mill's stored lookup takes the card for every "?"; the built-in one filters the types.
        QCOMPARE(InspectionCard::lookupSql(u"select * from bill where billcode='?' or code='?'"_s, u"55"_s, u"K1"_s),
                 u"select * from bill where billcode='K1' or code='K1'"_s);
        const QString builtIn = InspectionCard::lookupSql(QString(), u"55,57"_s, u"K'1"_s);
        QVERIFY2(builtIn.contains(u"55,57"_s) && builtIn.contains(u"K''1"_s), qPrintable(builtIn));
    }

    void lineShown_data()
    {
        QTest::addColumn<DbValue>("inspect");
        QTest::addColumn<DbValue>("order");
        QTest::addColumn<QString>("shown"); // inspect / order / customer line
        QTest::newRow("quantities") << DbValue(900) << DbValue(u"P-88"_s)
                                    << u"900/P-88/客户：杭州锦华服饰  订单号：P-88  交期：2026-12-20"_s;
        QTest::newRow("a line without quantities shows 0") << DbValue() << DbValue()
                                                           << u"0/0/客户：杭州锦华服饰  订单号：  交期：2026-12-20"_s;
    }
    void lineShown()
    {
        QFETCH(DbValue, inspect);
        QFETCH(DbValue, order);
        const InspectionCard::Line l = InspectionCard::line(cardLine(inspect, order));
        QTEST(l.inspect + u'/' + l.order + u'/' + l.customer, "shown");
        QCOMPARE(l.article, u"品种：涤棉府绸  规格：45x45  颜色：藏青 数量:1000  备注："_s);
        QCOMPARE(l.id + u'/' + l.itemId + u'/' + l.billId + u'/' + l.quantity + u'/' + l.remark,
                 u"11/1/1/1000/加急"_s);
        Recordset three = rows({u"品种"_s, u"颜色"_s, u"productionSN"_s, u"BillDetailId"_s},
                               {{u"府绸"_s, u"藏青"_s, u"01"_s, 11}, {u"府绸"_s, u"大红"_s, u"03"_s, 13}});
        QCOMPARE(InspectionCard::lines(three),
                 (QList<std::pair<QString, QString>>{{u"府绸-藏青-01"_s, u"11"_s}, {u"府绸-大红-03"_s, u"13"_s}}));
    }

    void presets_data()
    {
        QTest::addColumn<QString>("fill");
        QTest::addColumn<int>("kept"); // a field the station keeps from card presets, -1 none
        QTest::addColumn<QString>("set");
        QTest::newRow("field and column") << u"3|备注,5|款号"_s << -1 << u"3=,5=款A"_s;
        QTest::newRow("no field, no column, no '|'") << u"99|款号,5|nothing,4,-1|款号"_s << -1 << QString();
        QTest::newRow("blanks around the column") << u"5| 款号 ,"_s << -1 << u"5=款A"_s;
        QTest::newRow("kept field left alone") << u"3|备注,5|款号"_s << 5 << u"3="_s;
    }
    void presets()
    {
        QFETCH(QString, fill);
        QFETCH(int, kept);
        QStringList set;
        const auto keep = [kept](int index) { return index == kept; };
        for (const auto& [index, text] : InspectionCard::presets(fill, cardLine(900, u"P"_s), 29, keep))
            set << QString::number(index) + u'=' + text;
        QTEST(set.join(u','), "set");
    }

    void historyOnTheBar()
    {
        Recordset rs = rows({u"usercode"_s, u"viewcount"_s, u"billstatus"_s},
                            {{u"007"_s, 200, u"22"_s}, {QString(), 350, u" 5"_s}, {u"008"_s, -150, u"33 "_s}});
        const InspectionCard::History h = InspectionCard::history(rs);
        QCOMPARE(h.workers, (QList<std::pair<QString, double>>{{u"007"_s, 200}, {u"008"_s, 150}}));
        QCOMPARE(h.marks, QList<double>{350});
        QCOMPARE(h.workerCodes, u"007,008,"_s);
        Recordset none = rows({u"usercode"_s, u"viewcount"_s, u"billstatus"_s}, {});
        QCOMPARE(InspectionCard::history(none).workerCodes, QString());
    }

    // Sums the database adds in binary floating point come back as typed.
    void totals_data()
    {
        QTest::addColumn<bool>("line");
        QTest::addColumn<bool>("byWeight");
        QTest::addColumn<DbValue>("sum");
        QTest::addColumn<QString>("text");
        const DbValue summed(149.85999999999999);
        QTest::newRow("line, what is left") << true << false << summed << u" 送检数量：900 已检A品数量：149.86/850.14 匹数：2"_s;
        QTest::newRow("line, weight") << true << true << summed << u" 送检数量：900 已检A品数量：149.86/36.6 匹数：2"_s;
        QTest::newRow("line, no rolls yet") << true << false << DbValue() << u" 送检数量：900 已检A品数量：0/1000 匹数：2"_s;
        QTest::newRow("card") << false << false << summed << u" 已检数量：149.86/36.6 匹数：2"_s;
    }
    void totals()
    {
        QFETCH(bool, line);
        QFETCH(bool, byWeight);
        QFETCH(DbValue, sum);
        const Recordset rs = rows({u"s"_s, u"n"_s, u"重量"_s}, {{sum, 2, 36.6}});
        QTEST(line ? InspectionCard::lineTotals(rs, u"900"_s, u"1000"_s, byWeight) : InspectionCard::cardTotals(rs),
              "text");
    }
};

QTEST_GUILESS_MAIN(TestInspectionCard)
#include "TestInspectionCard.moc"
