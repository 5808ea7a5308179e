// The progress station's rules without a window, on a real embedded database: the steps and
// options of mirel.ini, the card as looked up, the order and repeat rules, worker cards, what
// stops a submit, the report with its allotment row in one transaction, the offline record, and
// the record list with its deletion and stored widths.
#include "ProgressRows.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/DbProcedures.h"
#include "stations/progress/WorkloadRecords.h"
#include "stations/progress/WorkloadReport.h"
#include "support/RuleDatabase.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList Steps = {u"织造"_s, u"配布"_s, u"染色"_s, u"全部配布"_s};

// Card K002 looked up, step 染色, worker 001 with his shift, on 2026-03-04 07:15:30.
ReportForm typedForm()
{
    return {u"K002"_s, u"K002"_s, u"染色"_s, u"001"_s, u"12.50"_s, u"3"_s, u"早班"_s,
            QDate(2026, 3, 4), QTime(7, 15, 30)};
}

using Edit = std::function<void(ReportForm&)>;

// Step `press` with reports of the card ("step=total;..."; "offline": none known): the outcome,
// message line and frame caption.
struct Choice { bool order, repeat; QString card; int steps, press; QString totals; int outcome; QString message, frame = {}; };
// A report as edited, after `before` ran: "statement=expected" checks, the notice, the error.
struct Saving { Edit edit; QString before; QStringList checks; QString notice = {}; QString error = {}; };
// A worker card's text on a team, registered to a worker or not: the worker field and the step.
struct Card { QString team, text, registered, worker; int step = -1; };
// The list's period and filters: the ids listed.
struct Listing { QDate from, to; QString card, worker, ids; };

} // namespace

class TestWorkloadRules : public QObject {
    Q_OBJECT

    std::unique_ptr<RuleDatabase> m_db;
    ProgressSettings m_cfg;

    QString scalar(const QString& sql) { return m_db->scalar(sql); }

private slots:
    void init()
    {
        m_db = std::make_unique<RuleDatabase>(ProgressRows);
        m_cfg = ProgressSettings();
        m_cfg.machineId = u"001"_s;
    }
    void cleanup() { m_db.reset(); }

    void settings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("read"); // order repeat keypad machine reader 工号 长度 | the steps (caption:tag)
        QTest::newRow("defaults, no step") << QByteArray() << "0 0 0 % 0  |";
        QTest::newRow("order true, repeats as a number; final comma")
            << QByteArray("OrderInGroup=true\nkeyPolicy=1\nProjects=A,B,C,\n") << "1 1 0 % 0  |A:0 B:0 C:0";
        QTest::newRow("TRUE is not true, keyPolicy 0; no final comma loses the last")
            << QByteArray("OrderInGroup=TRUE\nkeyPolicy=0\nProjects=A,B,C\n") << "0 0 0 % 0  |A:0 B:0";
        QTest::newRow("keypad, machine, presets, reader; a tag after _")
            << QByteArray("KeyBoardValidate=1\nmenchineId=007\n工号=001,002,\n长度=50,\nProjects=织造_7,配布,\n[MES]\nRFID=0\n")
            << "0 0 1 007 1 001,002, 50,|织造:7 配布:0";
    }
    void settings()
    {
        QFETCH(QByteArray, ini);
        m_db->home.writeFile(u"mirel.ini"_s, "[MIREL]\n" + ini);
        m_db->home.writeFile(u"班别.ini"_s, "[MIREL]\n王建国=早班\n");
        const ProgressSettings s = ProgressSettings::read();
        const auto n = [](bool b) { return QString::number(b); };
        QStringList steps;
        for (const WorkloadSql::Step& step : s.steps())
            steps << step.caption + u':' + step.tag;
        QTEST(QStringList({n(s.orderInGroup), n(s.allowRepeat), n(s.keypadOnFocus), s.machineId, n(s.rfidReader),
                           s.presets(u"工号"_s), s.presets(u"长度"_s)}).join(u' ') + u'|' + steps.join(u' '), "read");
        QCOMPARE(ProgressSettings::shiftOf(u"王建国"_s) + ProgressSettings::shiftOf(u"李红"_s), u"早班"_s);
        // Step buttons: eight on a row, the ninth under the first, 75 twips apart.
        const WorkloadSql::Offset eighth = WorkloadSql::stepOffset(7, 1570, 615), ninth = WorkloadSql::stepOffset(8, 1570, 615);
        QCOMPARE(QList<int>({eighth.left, eighth.top, ninth.left, ninth.top}), QList<int>({7 * (1570 + 75), 0, 0, 615 + 75}));
    }

    void cardView_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("view"); // status|metres|pieces|customer|work, "" not found
        QTest::newRow("no status yet") << "K001" << "状态：|12.5|3|客户：杭州锦华服饰  订单号：K001  交期：|加工方式：  备注：加急";
        QTest::newRow("status") << "K002" << "状态：织造|0|0|客户：绍兴恒远纺织  订单号：K002  交期：|加工方式：  备注：";
        QTest::newRow("line end from a scanner") << "K002\r\n" << "";
    }
    void cardView()
    {
        QFETCH(QString, card);
        m_db->conn.execute(u"insert into BillStatusDetail(barcode,billstatus,viewcount,viewnumber) values"
                       "('K001','配布',10,2),('K001','配布',2.5,1),('K001','织造',99,9)"_s);
        Recordset rs = m_db->conn.execute(WorkloadSql::cardQuery(card));
        const CardView v = WorkloadReport::cardView(rs);
        QTEST(v.found ? QStringList({v.status, v.metres, v.pieces, v.customer, v.work}).join(u'|') : QString(), "view");
    }

    void chooseStep_data()
    {
        QTest::addColumn<Choice>("c");
        const int chosen = StepChoice::Chosen, refused = StepChoice::Refused;
        const QString unchecked = WorkloadReport::uncheckedMessage();
        QTest::newRow("order: step before missing") << Choice{true, false, "K002", 4, 2, "织造=12.5", refused, "前面工艺[配布]还没有输入"};
        QTest::newRow("order: first step always") << Choice{true, false, "K002", 4, 0, "", chosen, ""};
        QTest::newRow("order: step before reported") << Choice{true, false, "K002", 4, 2, "配布=1", chosen, ""};
        QTest::newRow("no order rule") << Choice{false, false, "K002", 4, 2, "", chosen, ""};
        QTest::newRow("repeat refused, the card's reports summed") << Choice{false, false, "K002", 4, 1, "配布=10;配布=2.5", refused, "这个工艺已经输入过", "配布工艺 已经输入 12.5"};
        QTest::newRow("repeat allowed") << Choice{false, true, "K002", 4, 1, "配布=12.5", chosen, ""};
        QTest::newRow("a total below 0.005 is none") << Choice{false, false, "K002", 4, 1, "配布=0.004", chosen, ""};
        QTest::newRow("offline: unchecked") << Choice{true, false, "K002", 4, 2, "offline", chosen, unchecked};
        QTest::newRow("empty card") << Choice{false, false, "", 4, 1, "", StepChoice::EmptyCard, ""};
        QTest::newRow("empty card, one step") << Choice{false, false, "", 1, 0, "", chosen, ""};
        QTest::newRow("beyond the steps") << Choice{false, false, "K002", 2, 2, "", StepChoice::Ignored, ""};
    }
    void chooseStep()
    {
        QFETCH(Choice, c);
        m_cfg.orderInGroup = c.order;
        // Another card's report never counts for K002.
        m_db->conn.execute(u"insert into BillStatusDetail(barcode,billstatus,viewcount) values('K0021','配布',1)"_s);
        for (const QString& t : c.totals.split(u';', Qt::SkipEmptyParts))
            if (t != u"offline")
                m_db->conn.execute(u"insert into BillStatusDetail(barcode,billstatus,viewcount) values('K002','%1',%2)"_s
                                   .arg(t.section(u'=', 0, 0), t.section(u'=', 1)));
        const auto totalOf = [&](const QString& step) {
            return c.totals == u"offline" ? QString() : WorkloadReport::reportedTotal(m_db->conn, c.card, step);
        };
        const StepChoice got = WorkloadReport(m_cfg).chooseStep(Steps.mid(0, c.steps), c.press, c.card, c.repeat, totalOf);
        QCOMPARE(int(got.outcome), c.outcome);
        QCOMPARE(got.message, c.message);
        QCOMPARE(got.frameTitle, c.frame);
    }

    // The re-save question goes by the exact card and step.
    void reportedBefore()
    {
        m_db->conn.execute(u"insert into BillStatusDetail(barcode,billstatus,viewcount) values('K002','全部配布',1),('K0021','染色',1)"_s);
        QVERIFY(WorkloadReport::reportedBefore(m_db->conn, u"K002"_s, u"全部配布"_s));
        QVERIFY(!WorkloadReport::reportedBefore(m_db->conn, u"K002"_s, u"配布"_s)); // not 全部配布
        QVERIFY(!WorkloadReport::reportedBefore(m_db->conn, u"K002"_s, u"染色"_s)); // not K0021's
    }

    void workerCard_data()
    {
        QTest::addColumn<Card>("c");
        QTest::newRow("ends in 2 of four steps") << Card{"", "0012", "", "001", 1};
        QTest::newRow("ends in 0") << Card{"", "0010", "", "0010"};
        QTest::newRow("ends in a letter") << Card{"", "001A", "", "001A"};
        QTest::newRow("digit beyond the steps") << Card{"", "0015", "", "0015"};
        QTest::newRow("full block") << Card{"", "0012345678901234", "", "001234567890123", 3};
        QTest::newRow("registered: its worker, no step") << Card{"", "0012", "001", "001"};
        QTest::newRow("a team") << Card{"A07X", "B07", "", "A07X,B07"};
        QTest::newRow("each worker once") << Card{"A07X,B07", "A07X", "", "A07X,B07"};
        QTest::newRow("blank card") << Card{"A07X", "  ", "", "A07X"};
    }
    void workerCard()
    {
        QFETCH(Card, c);
        const WorkerCardEntry e = WorkloadReport::workerCard(c.team, c.text, c.registered, 4);
        QCOMPARE(e.worker + u'/' + QString::number(e.step), c.worker + u'/' + QString::number(c.step));
    }

    void validate_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        const int card = WorkloadField::Card;
        QTest::newRow("complete") << Edit([](ReportForm&) {}) << "" << -1;
        QTest::newRow("no card") << Edit([](ReportForm& f) { f.card.clear(); }) << "请扫描\\输入卡号" << card;
        QTest::newRow("card typed over, not looked up") << Edit([](ReportForm& f) { f.card = "K001"; }) << "卡号已改，请先查询" << card;
        QTest::newRow("no step") << Edit([](ReportForm& f) { f.step.clear(); }) << "请点选其中一个工艺..." << -1;
        QTest::newRow("no worker") << Edit([](ReportForm& f) { f.worker.clear(); }) << "请扫描\\输入工号或班组号" << int(WorkloadField::Worker);
    }
    void validate()
    {
        QFETCH(Edit, edit);
        ReportForm f = typedForm();
        edit(f);
        const std::optional<ReportProblem> p = WorkloadReport(m_cfg).validate(f);
        QTEST(p ? p->message : QString(), "message");
        QTEST(p ? p->field : -1, "field");
    }

    void save_data()
    {
        QTest::addColumn<Saving>("c");
        const QString stored = "select viewcount||'/'||viewnumber from BillStatusDetail=";
        const QString rows = "select group_concat(billstatus||' '||viewcount||' '||viewnumber||' '||remark,';') from BillStatusDetail=";
        const QString nothing = "select count(*) from BillStatusDetail=0", statusKept = "select billstatus from bill where billcode='K002'=织造";
        const auto allotAll = [](const QString& card) { return Edit([card](ReportForm& f) { f.card = f.lookedUp = card; f.step = "全部配布"; f.metres.clear(); f.pieces.clear(); }); };
        QTest::newRow("empty quantities") << Saving{[](ReportForm& f) { f.metres.clear(); f.pieces.clear(); }, "", {stored + "0/0"}};
        QTest::newRow("12.50 and leading numbers") << Saving{[](ReportForm& f) { f.pieces = "2匹"; }, "", {stored + "12.5/2"}};
        QTest::newRow("the row and the card's status")
            << Saving{[](ReportForm&) {}, "insert into bill(billid,billcode,billtype,companyid,billstatus) values(3,'K0021',57,2,'织造')",
                      {"select billstatus||'|'||usercode||'|'||address||'|'||endUser||'|'||remark from BillStatusDetail=染色|001|001|001|早班",
                       "select convert(varchar,createdate,120) from BillStatusDetail=2026-03-04 07:15:30",
                       "select billstatus||'|'||notprintremark from bill where billcode='K002'=染色|2026/03/04",
                       "select billstatus from bill where billcode='K0021'=织造"}};
        QTest::newRow("allot all, storeroom 0") << Saving{allotAll("K001"), "", {rows + "全部配布 0 0 早班"},
                                                          "公司的默认仓库没有设置,系统没有自动全部配完"};
        QTest::newRow("allot all, storeroom 3, first line's item")
            << Saving{allotAll("K002"), "", {rows + "全部配布 0 0 早班;全部配布 150.5 3 全部用完，系统自动新增"}};
        QTest::newRow("allotment procedure fails") << Saving{allotAll("K002"), "PeibuBatch", {nothing, statusKept}, "", "库存批次被锁定"};
        QTest::newRow("card deleted meanwhile") << Saving{[](ReportForm&) {}, "delete from bill where billcode='K002'", {nothing},
                                                          "", "row missing"};
    }
    void save()
    {
        QFETCH(Saving, c);
        ReportForm f = typedForm();
        c.edit(f);
        if (c.before == u"PeibuBatch")
            DbProcedures::registerProcedure(c.before, [](const QStringList&, const DbProcedures::Execute&) -> Recordset {
                throw DbError(u"PeibuBatch: 库存批次被锁定"_s);
            });
        else if (!c.before.isEmpty())
            m_db->conn.execute(c.before);
        QString notice, error;
        try {
            notice = WorkloadReport(m_cfg).save(m_db->conn, f);
        } catch (const DbError& e) {
            error = e.isRowMissing() ? u"row missing"_s : e.message();
        }
        DbProcedures::registerProcedure(u"PeibuBatch"_s, [](const QStringList&, const DbProcedures::Execute&) { return Recordset(); });
        QVERIFY2(error.contains(c.error) && error.isEmpty() == c.error.isEmpty(), qPrintable(error));
        QCOMPARE(notice, c.notice);
        for (const QString& check : c.checks)
            QCOMPARE(scalar(check.section(u'=', 0, -2)), check.section(u'=', -1));
    }

    // Offline: the same statements for the journal (the card's status must touch its row); an
    // allot-all step waits for the database.
    void keep()
    {
        const WorkloadReport rules(m_cfg);
        const std::optional<JournalRecord> r = rules.keep(typedForm(), u"load 001"_s).record;
        QVERIFY(r && r->steps.size() == 2 && r->steps[0].mustTouch);
        QCOMPARE(QStringList({r->summary, r->steps[0].sql, r->steps[1].sql}),
                 QStringList({u"进度 染色  卡号 K002"_s, WorkloadSql::updateBillStatus(u"K002"_s, u"染色"_s, QDate(2026, 3, 4)),
                              WorkloadSql::insertReport(rules.values(typedForm()))}));
        ReportForm all = typedForm();
        all.step = u"全部配布"_s;
        const WorkloadReport::Kept refused = rules.keep(all, u"load 001"_s);
        QVERIFY(!refused.record && refused.refusal.startsWith(u"数据库离线：「全部配布」要按库存自动配布"_s));
    }

    void list_data()
    {
        QTest::addColumn<Listing>("c");
        const QDate d30(2026, 11, 30), d01(2026, 12, 1);
        QTest::newRow("one day, to its last second, this machine") << Listing{d30, d30, "", "", "1,2,4"};
        QTest::newRow("two days") << Listing{d30, d01, "", "", "1,2,3,4"};
        QTest::newRow("first day after last") << Listing{d01, d30, "", "", ""};
        QTest::newRow("exact card") << Listing{d30, d01, "K002", "", "1,2"};
        QTest::newRow("part of a card") << Listing{d30, d01, "K00", "", ""};
        QTest::newRow("worker") << Listing{d30, d01, "", "002", "2"};
    }
    void list()
    {
        QFETCH(Listing, c);
        m_db->conn.execute(u"insert into BillStatusDetail(id,barcode,billstatus,viewcount,usercode,createdate,endUser) values"
                       "(1,'K002','织造',10,'001','2026-11-30 00:00:00','001'),(2,'K002','配布',11,'002','2026-11-30 23:59:59','001'),"
                       "(3,'K001','配布',12,'001','2026-12-01 00:00:00','001'),(4,'K0021','染色',13,'001','2026-11-30 12:00:00','001'),"
                       "(5,'K002','染色',14,'001','2026-11-30 12:00:00','002')"_s);
        Recordset rs = WorkloadRecords::load(m_db->conn, {c.from, c.to, u"001"_s, c.card, c.worker});
        QCOMPARE(rs.columns().mid(1).join(u','), u"卡号,颜色,状态,日期,数量,匹数,工号,备注"_s);
        QStringList ids;
        for (; !rs.eof(); rs.moveNext())
            ids << rs.text(0);
        QCOMPARE(ids.join(u','), c.ids);
    }

    // A deleted record's card gets the step of its latest remaining report, or none.
    void remove_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("after"); // ids left | K002's status | K0021's status
        QTest::newRow("the latest remaining step") << 2 << "1,3|染色|染色";
        QTest::newRow("the card's only report: no step") << 3 << "1,2|织造|";
        QTest::newRow("gone meanwhile") << 9 << "row missing";
    }
    void remove()
    {
        QFETCH(int, id);
        m_db->conn.execute(u"insert into bill(billid,billcode,billtype,billstatus) values(3,'K0021',55,'染色')"_s);
        m_db->conn.execute(u"insert into BillStatusDetail(id,barcode,billstatus,createdate) values"
                       "(1,'K002','染色','2026-11-30 10:00'),(2,'K002','配布','2026-11-30 12:00'),(3,'K0021','染色','2026-11-30')"_s);
        QString after = u"row missing"_s;
        try {
            WorkloadRecords::remove(m_db->conn, id);
            after = scalar(u"select group_concat(id,',') from BillStatusDetail"_s) + u'|'
                + scalar(u"select billstatus from bill where billcode='K002'"_s) + u'|'
                + scalar(u"select isnull(billstatus,'') from bill where billcode='K0021'"_s);
        } catch (const DbError& e) {
            QVERIFY2(e.isRowMissing(), qPrintable(e.message()));
        }
        QTEST(after, "after");
    }

    // The stored widths count with one for every column; column 0, the record id, keeps its own.
    void widths()
    {
        QCOMPARE(WorkloadRecords::storedWidths(u"1,2,3,4,5,6,7,8"_s, 9), QList<int>());
        QCOMPARE(WorkloadRecords::storedWidths(u"1,2,3,4,5,6,7,8,9,10"_s, 9), QList<int>());
        QCOMPARE(WorkloadRecords::storedWidths(u"500,2500,3,4,5,6,7,8,9"_s, 9), QList<int>({2500, 3, 4, 5, 6, 7, 8, 9}));
    }
};

QTEST_MAIN(TestWorkloadRules)
#include "TestWorkloadRules.moc"
