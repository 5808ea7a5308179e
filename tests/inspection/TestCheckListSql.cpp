// Statement texts of the roll list, roll deletion and the roll/card stepping lookups.
#include "shell/Navigation.h"
#include "stations/inspection/CheckListSql.h"

#include <QTest>

namespace {

const QString Base = QStringLiteral(
    "SELECT top 200 a.id ,a.checkcode as 卷号,a.billcode as 生产单号,d.itemname as 品名,c.productionColor as 颜色,d.item3 as 门幅,"
    " a.taskno as 色号,a.item1 as 克重,a.item2 as 缸号,a.oncount as 数量,a.grade as 等级,a.checkuserCode as 工号,a.remark as 备注 "
    " FROM  checkinfo a  left join billdetail c on c.billdetailid=a.billdetailid  left join item d on d.itemid=c.itemid where 1=1 ");
const QString Dates = QStringLiteral(" and convert(varchar,a.createdate,23) between   '2026-11-30' and '2026-12-05'");

} // namespace

class TestCheckListSql : public QObject {
    Q_OBJECT
private slots:
    void listQuery_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("fields"); // card, colour, dye lot, roll, remark, worker
        QTest::addColumn<QString>("expected");
        const QStringList none(6);
        QTest::newRow("no filter") << QString() << none << Base + Dates + " ORDER BY a.id desc ";
        QTest::newRow("card contains") << QString() << QStringList{"12", "", "", "", "", ""}
                                       << Base + " and a.billcode  like '%12%'" + Dates + " ORDER BY a.billcode ";
        QTest::newRow("roll starts with") << QString() << QStringList{"", "", "", "00", "", ""}
                                          << Base + " and a.checkcode  like '00%'" + Dates + " ORDER BY a.checkcode ";
        QTest::newRow("card and dye lot: dye lot orders")
            << QString() << QStringList{"K0", "", "J1", "", "", ""}
            << Base + " and a.billcode  like '%K0%' and a.item2  like '%J1%'" + Dates + " ORDER BY a.item2 ";
        QTest::newRow("worker after roll, remark keeps the order")
            << QString() << QStringList{"", "", "", "0", "边", "00"}
            << Base + " and a.checkcode  like '0%' and a.checkuserCode  like '00%' and a.remark  like '%边%'" + Dates
                   + " ORDER BY a.checkuserCode ";
        QTest::newRow("remark alone") << QString() << QStringList{"", "", "", "", "破", ""}
                                      << Base + " and a.remark  like '%破%'" + Dates + " ORDER BY a.id desc ";
        QTest::newRow("colour, quote doubled") << QString() << QStringList{"", "O'B", "", "", "", ""}
                                               << Base + " and a.taskno  like '%O''B%'" + Dates + " ORDER BY a.taskno ";
        const QString stored = "select a.id from checkinfo a where a.machineId='{machineId}' or '{machineId}'='' and 1=1 ";
        QTest::newRow("stored text with machine")
            << stored << none
            << "select a.id from checkinfo a where a.machineId='007' or '007'='' and 1=1 " + Dates + " ORDER BY a.id desc ";
    }
    void listQuery()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, fields);
        QFETCH(QString, expected);
        CheckListSql::Filters f{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5],
                                QDate(2026, 11, 30), QDate(2026, 12, 5)};
        QCOMPARE(CheckListSql::listQuery(stored, f, "007"), expected);
    }

    void deletion()
    {
        QCOMPARE(CheckListSql::rollForStock(42), QString("select itemid,batchId,oncount from checkinfo where id=42"));
        QCOMPARE(CheckListSql::packingCorrection(42),
                 QString(" Update billStatus set amount = amount-checkinfo.checkcount  From billStatus left Join checkinfo "
                         " on BILLSTATUS.billcode=checkinfo.billcode where checkinfo.id=42 and billstatus='包装'"));
        QCOMPARE(CheckListSql::deleteDefects(42), QString("delete CheckDetail where checkid=42"));
        QCOMPARE(CheckListSql::deleteRoll(42), QString("delete CheckInfo where id=42"));
        QCOMPARE(CheckListSql::reverseStock(7, -2.5),
                 QString("update iteminBatch set itemcount=itemcount-(-2.5),productionNumber=productionNumber-1 where id=7"));
    }

    void neighbourRoll_data()
    {
        QTest::addColumn<qlonglong>("id");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("expected");
        QTest::newRow("previous") << 5LL << true << ""
                                  << " select isnull(max(id),0) from checkinfo where /*billcode='' and */ id< 5 and machineId='002'";
        QTest::newRow("next on a card")
            << 5LL << false << "K001"
            << " select isnull(min(id),0) from checkinfo where /*billcode='K001'and*/ id> 5 and billcode='K001' and machineId='002'";
        QTest::newRow("previous from none: newest")
            << 0LL << true << "K001" << " select isnull(max(id),0) from checkinfo where 1=1  and billcode='K001' and machineId='002'";
        QTest::newRow("next from none: nothing run") << 0LL << false << "K001" << "";
        QTest::newRow("comment end in the card")
            << 9LL << true << "A*/B"
            << " select isnull(max(id),0) from checkinfo where /*billcode='A* /B' and */ id< 9 and billcode='A*/B' and machineId='002'";
    }
    void neighbourRoll()
    {
        QFETCH(qlonglong, id);
        QFETCH(bool, backwards);
        QFETCH(QString, card);
        QFETCH(QString, expected);
        QCOMPARE(Navigation::neighbourRollSql(id, backwards, card, "002"), expected);
    }

    void cards_data()
    {
        QTest::addColumn<qlonglong>("id");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QString>("expected");
        QTest::newRow("previous from none") << 0LL << true << " select isnull(max(billid),0) from bill where billtype in (55,57,99)  ";
        QTest::newRow("previous") << 3LL << true << " select isnull(max(billid),0) from bill where billtype in (55,57,99)  and billid< 3";
        QTest::newRow("next") << 3LL << false << " select isnull(min(billid),0) from bill where billtype in (55,57,99)  and  billid> 3";
        QTest::newRow("next from none") << 0LL << false << "";
    }
    void cards()
    {
        QFETCH(qlonglong, id);
        QFETCH(bool, backwards);
        QFETCH(QString, expected);
        QCOMPARE(Navigation::neighbourCardSql(id, backwards, "55,57,99"), expected);
    }

    void lookups()
    {
        QCOMPARE(Navigation::latestCardSql("55,57,99"),
                 QString(" select top 1 billcode from bill where billtype in (55,57,99)  order by billid desc"));
        QCOMPARE(Navigation::rollIdSql("17"), QString(" select id  from checkinfo where id=17"));
        QCOMPARE(Navigation::rollIdSql("17 or 1=1"), QString(" select id  from checkinfo where id=17"));
        QCOMPARE(Navigation::cardProcessRowsSql("K001"),
                 QString(" select a.checkinfoid,a.billprocount,c.invoice from billprodetail a left join billdetail b on "
                         "a.billdetailid=b.billdetailid left join  bill c on c.billid=b.billid   where c.billcode='K001'"));
    }
};

QTEST_GUILESS_MAIN(TestCheckListSql)
#include "TestCheckListSql.moc"
