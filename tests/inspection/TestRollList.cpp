// The roll list without a window, on an embedded database: the filters, dates and stored text
// of the list and its total, the roll and card steps, and a roll deleted with what was booked.
#include "stations/inspection/DefectPhotos.h"
#include "stations/inspection/RollList.h"
#include "support/RuleDatabase.h"
#include "time/Clock.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Db : RuleDatabase {
    InspectionSettings settings;
    // A roll of card K001, line 11, saved now on a machine; returns its id.
    QString roll(const QString& code, const QString& machine = u"001"_s, const QString& more = {})
    {
        conn.execute(u"insert into checkinfo(billCode,billdetailId,itemid,checkCode,onCount,checkcount,grade,"
                     "machineId,checkUsercode,taskno,remark,item2,createDate) values('K001',11,1,'%1',100,1,'A',"
                     "'%2','001','T1','','J1','%3')"_s.arg(code, machine, Clock::nowText()));
        const QString id = scalar(u"select max(id) from checkinfo"_s);
        if (!more.isEmpty())
            conn.execute(u"update checkinfo set "_s + more + u" where id="_s + id);
        return id;
    }
};

// Filters (card, colour, dye lot, roll, remark, worker), dates (null: today), a machine with the
// mill's stored list ("": built in): the rolls listed top to bottom and the total.
struct Listing { QStringList filters; QDate from, to; QString machine; QStringList rolls; QString sum; };
// A step from roll from, backwards or not, on a card or all, at a machine: the roll reached, the message.
struct RollStep { QString from; bool backwards; QString card, machine, to, message; };
// A step among the card types from bill id from (-1: the newest card): the card reached.
struct CardStep { QString types; int from; bool backwards; QString card; };
// Roll "a", "b" or "gone" (deleted elsewhere meanwhile) deleted, stock posting on or off, the stock batches
// writable or not: gone, the error, then rolls/defects/pictures/packing, dyeing, other card's packing/batch.
struct Removal { QString roll; bool postToStock, noStock, gone; QString error, after; };

} // namespace

class TestRollList : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30))); }
    void cleanup() { Clock::set(QDateTime()); }

    void list_data()
    {
        QTest::addColumn<Listing>("c");
        const QStringList none(6);
        const auto only = [](int i, const char* text) { QStringList f(6); f[i] = QString::fromUtf8(text); return f; };
        const QDate old(2020, 1, 1), next(2020, 1, 2);
        // A12 is counted in yards: its length is summed apart from the metres.
        QTest::newRow("no filter: newest first, old rolls outside the dates")
            << Listing{none, {}, {}, "", {"B03", "A12", "100", "001"}, "数量:130米 30码"};
        QTest::newRow("roll number starts with") << Listing{only(3, "00"), {}, {}, "", {"001"}, "数量:10"};
        QTest::newRow("card anywhere") << Listing{only(0, "12"), {}, {}, "", {"A12"}, "数量:30码"};
        QTest::newRow("card and dye lot, by dye lot")
            << Listing{{"K", "", "J", "", "", ""}, {}, {}, "", {"100", "001", "A12", "B03"}, "数量:130米 30码"};
        QTest::newRow("worker starts with") << Listing{only(5, "7"), {}, {}, "", {"100"}, "数量:20"};
        QTest::newRow("remark contains") << Listing{only(4, "边"), {}, {}, "", {"001"}, "数量:10"};
        QTest::newRow("colour, nothing found") << Listing{only(1, "无"), {}, {}, "", {}, "数量:0"};
        QTest::newRow("from a date") << Listing{only(3, "0"), old, {}, "", {"001", "0011"}, "数量:109"};
        QTest::newRow("stored list of this machine") << Listing{none, old, {}, "002", {"B03", "B02"}, "数量:0"};
        QTest::newRow("stored list up to a date") << Listing{none, old, next, "002", {"B02"}, "数量:0"};
    }
    void list()
    {
        QFETCH(Listing, c);
        const auto& [filters, from, to, machine, rolls, sum] = c;
        Db db;
        db.roll(u"001"_s, u"001"_s, u"onCount=10,item2='J2',remark='靠边破洞'"_s);
        db.roll(u"100"_s, u"001"_s, u"onCount=20,checkUsercode='700'"_s);
        db.roll(u"A12"_s, u"001"_s, u"onCount=30,billCode='KA12B',item2='J3',checkcount=0.9144"_s);
        db.roll(u"0011"_s, u"001"_s, u"onCount=99,createDate='2020-01-01 08:00:00'"_s);
        db.roll(u"B02"_s, u"002"_s, u"item2='J4',createDate='2020-01-02 08:00:00'"_s);
        db.roll(u"B03"_s, u"002"_s, u"item2='J4'"_s);
        if (!machine.isEmpty()) {
            db.settings.machineId = machine;
            db.conn.execute(u"insert into Dictionary(ITEMTYPE,ItemValues,ReportSQL) values('listSQL','MirelQueryCheck',"
                            "'select a.id,a.checkcode as 卷号 from checkinfo a where a.machineId=''{machineId}'' and 1=1 ')"_s);
        }
        const CheckListSql::Filters f{filters[0], filters[1], filters[2], filters[3], filters[4], filters[5],
                                      from.isNull() ? Clock::today() : from, to.isNull() ? Clock::today() : to};
        RollList list(db.conn, db.settings);
        Recordset rs = db.conn.query(list.statement(CheckListSql::builtInBase(), f));
        const int quantity = int(rs.columns().indexOf(u"数量"_s));
        QCOMPARE(quantity, machine.isEmpty() ? 9 : -1);
        QStringList shown;
        QList<RollList::Listed> listed;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            shown << rs.text(1);
            listed.append({rs.field(0).toLongLong(), quantity < 0 ? 0 : rs.number(u"数量"_s)});
        }
        QCOMPARE(shown, rolls);
        QCOMPARE(list.total(listed), sum);
    }

    // Rolls a, x (another machine), k (another card) and b, saved in this order.
    void rollSteps_data()
    {
        QTest::addColumn<RollStep>("c");
        QTest::newRow("a new roll steps back to the newest") << RollStep{"0", true, "", "001", "b", ""};
        QTest::newRow("back over another card's roll") << RollStep{"b", true, "", "001", "k", ""};
        QTest::newRow("back over another machine's roll") << RollStep{"k", true, "", "001", "a", ""};
        QTest::newRow("nothing before the first") << RollStep{"a", true, "", "001", "0", "已经是第一卷了"};
        QTest::newRow("forwards") << RollStep{"a", false, "", "001", "k", ""};
        QTest::newRow("nothing after the last") << RollStep{"b", false, "", "001", "0", "已经是最后卷了"};
        QTest::newRow("nothing after a new roll") << RollStep{"0", false, "", "001", "0", "已经是最后卷了"};
        QTest::newRow("back on the card") << RollStep{"b", true, "K001", "001", "a", ""};
        QTest::newRow("forwards on the card") << RollStep{"a", false, "K001", "001", "b", ""};
        QTest::newRow("a new roll of the card") << RollStep{"0", true, "K001", "001", "b", ""};
        QTest::newRow("a comment end in the card is text") << RollStep{"b", true, "A*/B", "001", "0", "已经是第一卷了"};
        QTest::newRow("another machine has no rolls") << RollStep{"0", true, "", "009", "0", "已经是第一卷了"};
    }
    void rollSteps()
    {
        QFETCH(RollStep, c);
        Db db;
        QMap<QString, QString> ids{{u"0"_s, u"0"_s}};
        ids[u"a"_s] = db.roll(u"001"_s);
        ids[u"x"_s] = db.roll(u"900"_s, u"002"_s);
        ids[u"k"_s] = db.roll(u"001"_s, u"001"_s, u"billCode='K777'"_s);
        ids[u"b"_s] = db.roll(u"002"_s);
        db.settings.machineId = c.machine;
        RollList list(db.conn, db.settings);
        const RollList::Step step = list.neighbourRoll(ids[c.from].toLongLong(), c.backwards, c.card);
        QCOMPARE(ids.key(QString::number(step.id)), c.to);
        QCOMPARE(step.message, c.message);
        QCOMPARE(list.existing(ids[u"b"_s]), ids[u"b"_s].toLongLong());
        QCOMPARE(list.existing(u"99999"_s), 0);
    }

    void cardSteps_data()
    {
        QTest::addColumn<CardStep>("c");
        QTest::newRow("newest of the shown types") << CardStep{"55,57,99", -1, false, "K003"};
        QTest::newRow("a broken type list finds nothing") << CardStep{"55,57,", -1, false, ""};
        QTest::newRow("back over another type") << CardStep{"55,57,99", 3, true, "K001"};
        QTest::newRow("nothing before the first") << CardStep{"55,57,99", 1, true, ""};
        QTest::newRow("forwards") << CardStep{"55,57,99", 1, false, "K003"};
        QTest::newRow("nothing after the newest") << CardStep{"55,57,99", 3, false, ""};
        QTest::newRow("forwards from no card") << CardStep{"55,57,99", 0, false, "0"};
        QTest::newRow("back from no card") << CardStep{"55,57,99", 0, true, "K003"};
    }
    void cardSteps()
    {
        QFETCH(CardStep, c);
        Db db;
        for (const char* bill : {"1,'K001',55", "2,'K060',60", "3,'K003',57", "4,'K004',60"})
            db.conn.execute(u"insert into bill(billid,billcode,billtype,companyid) values(%1,1)"_s.arg(QString::fromUtf8(bill)));
        db.settings.billTypes = c.types;
        RollList list(db.conn, db.settings);
        QCOMPARE(c.from < 0 ? list.latestCard() : list.neighbourCard(c.from, c.backwards), c.card);
    }

    // Rolls a and b of card K001 with a defect and its picture each; b booked into a stock batch of 120 m.
    void remove_data()
    {
        QTest::addColumn<Removal>("c");
        QTest::newRow("stock given back") << Removal{"b", true, false, true, "", "1/1/1/9,10,10/0:0"};
        QTest::newRow("stock posting off") << Removal{"b", false, false, true, "", "1/1/1/9,10,10/120:1"};
        QTest::newRow("a roll without a batch") << Removal{"a", true, false, true, "", "1/1/1/9,10,10/120:1"};
        QTest::newRow("stock cannot be given back: nothing deleted") << Removal{"b", true, true, false, "error", "2/2/2/10,10,10/-"};
        QTest::newRow("deleted at another station") << Removal{"gone", true, false, true, "这卷已被其他工位删除", "2/2/2/10,10,10/120:1"};
    }
    void remove()
    {
        QFETCH(Removal, c);
        const auto& [roll, postToStock, noStock, gone, error, after] = c;
        Db db;
        db.settings.postToStock = postToStock;
        db.conn.execute(u"insert into iteminBatch(itemid,itemcount,productionNumber) values(1,120,1)"_s);
        const QString batch = db.scalar(u"select max(id) from iteminBatch"_s);
        const QString a = db.roll(u"001"_s);
        const QString b = db.roll(u"002"_s, u"001"_s, u"onCount=120,batchId="_s + batch);
        DefectPhotos photos;
        QVERIFY(photos.prepare(db.conn));
        for (const QString& id : {a, b}) {
            db.conn.execute(u"insert into checkDetail(checkId,bugName) values(%1,'破洞')"_s.arg(id));
            photos.addRow(db.conn, db.scalar(u"select max(id) from checkDetail"_s).toLongLong(), u"a'.jpg"_s, Clock::now());
        }
        for (const char* status : {"'K001',10,'包装'", "'K001',10,'染色'", "'K060',10,'包装'"})
            db.conn.execute(u"insert into billStatus(billcode,amount,billstatus) values(%1)"_s.arg(QString::fromUtf8(status)));
        if (noStock)
            db.conn.execute(u"drop table iteminBatch"_s);
        RollList list(db.conn, db.settings);
        list.setPhotos(&photos);
        const RollList::Removal done = list.remove(roll == u"a" ? a.toLongLong() : roll == u"b" ? b.toLongLong() : 999);
        QCOMPARE(done.gone, gone);
        QCOMPARE(done.error, error);
        QCOMPARE(db.scalar(u"select (select count(*) from checkinfo)||'/'||(select count(*) from checkDetail)||'/'||"
                        "(select count(*) from checkDetailPhoto)||'/'||"
                        "(select group_concat(amount) from (select amount from billStatus order by id))"_s)
                  + u'/' + (noStock ? u"-"_s : db.scalar(u"select itemcount||':'||productionNumber from iteminBatch"_s)),
                 after);
    }
};

QTEST_GUILESS_MAIN(TestRollList)
#include "TestRollList.moc"
