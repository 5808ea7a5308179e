// The loom-event import on two embedded databases: cards, lines, progress records and MES marks;
// and the unattended run as a scheduler starts it: exit code, the ini values and the imported rows.
#include "MesFixture.h"

#include "../db/DbTestUtil.h"

#include "config/IniFile.h"
#include "db/Transaction.h"
#include "shell/MesImport.h"
#include "support/ThrowsWith.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Rows joined by ";", cells by "|".
QString rows(Connection& c, const QString& sql) { return rowsText(c.execute(sql)).replace(u'\n', u';'); }

// The unattended run as a scheduler starts it: its exit code, its stderr in *err.
int runMirel(const QString& home, QString* err)
{
    QTemporaryDir runtime;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(u"MIREL_HOME"_s, home);
    e.insert(u"MIREL_LOCK_DIR"_s, runtime.path());
    e.insert(u"MIREL_NONINTERACTIVE"_s, u"1"_s);
    // A scheduler has no display.
    e.remove(u"DISPLAY"_s);
    e.remove(u"QT_QPA_PLATFORM"_s);
    QProcess p;
    p.setProcessEnvironment(e);
    p.start(qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel"_s, {u"mesrun"_s});
    if (!p.waitForFinished(60000))
        return -1;
    *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

} // namespace

class TestMesImport : public QObject {
    Q_OBJECT

private slots:
    // Events from midnight of the start day on are new; with nothing new no transaction starts
    // (another station holding the mill's write lock does not matter then).
    void sinceMeansMidnight_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("time");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one second after midnight") << 33 << "2026-03-05 00:00:01" << false << "1";
        QTest::newRow("only a stop") << 12 << "2026-03-10 08:00:00" << false << "0";
        QTest::newRow("doff already imported") << 33 << "2026-03-10 08:00:00" << true << "0";
        QTest::newRow("doff late the day before") << 33 << "2026-03-04 23:59:59" << false << "0";
        QTest::newRow("doff at midnight of the start")
            << 33 << "2026-03-05 00:00:00" << false << "0";
    }
    void sinceMeansMidnight()
    {
        QFETCH(int, type);
        QFETCH(QString, time);
        QFETCH(bool, marked);
        QFETCH(QString, expected);
        MesFixture fx;
        fx.addMasterDataAndBeam();
        const int id = fx.addEvent(type, 1, u"1"_s, u"A01"_s, 500, time);
        if (marked)
            fx.mes().execute(u"update 织机事件表 set 是否检验=1 where id=%1"_s.arg(id));
        Connection other;
        other.open(u"Provider=SQLite;Data Source="_s + fx.millFile());
        std::optional<Transaction> held;
        if (expected == u"0") { // a transaction could not begin
            held.emplace(other);
            fx.mill().setCommandTimeout(1);
        }
        QCOMPARE(fx.sync(u"2026-03-05"_s), expected);
        QCOMPARE(MesFixture::count(fx.mill(), u"bill"_s), expected.toInt());
    }

    void quantitiesAreRollLengths_data()
    {
        QTest::addColumn<QList<int>>("types");
        QTest::addColumn<QList<double>>("lengths");
        QTest::addColumn<QString>("expected");
        QTest::newRow("doff, hand-over, doff") << QList<int>{33, 22, 33} << QList<double>{1000, 1500, 2300}
                                               << "33:100;22:50;33:80";
        QTest::newRow("a stop keeps its own length") << QList<int>{33, 12, 33} << QList<double>{1000, 400, 1800}
                                                     << "33:100;12:40;33:80";
        QTest::newRow("decimetres") << QList<int>{33} << QList<double>{555} << "33:55.5";
        QTest::newRow("stop before the first doff") << QList<int>{16, 33} << QList<double>{250, 900}
                                                     << "16:25;33:90";
    }
    void quantitiesAreRollLengths()
    {
        QFETCH(QList<int>, types);
        QFETCH(QList<double>, lengths);
        QFETCH(QString, expected);
        MesFixture fx;
        fx.addMasterDataAndBeam();
        // Entered out of time order: the import goes by event time.
        for (qsizetype i = types.size() - 1; i >= 0; --i)
            fx.addA01Event(types[i], 1, lengths[i], int(i) + 1);
        QCOMPARE(fx.sync(), u"1"_s);
        QCOMPARE(rows(fx.mill(),
                      u"select billstatus||':'||viewcount from BillStatusDetail order by id"_s),
                 expected);
    }

    void workers_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("worker");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("expected");
        QTest::newRow("doff: the weaver on the loom") << 33 << "E01" << "E02" << "张秀英";
        QTest::newRow("doff without weaver: the next one") << 33 << "" << "E02" << "李春梅";
        QTest::newRow("doff, unknown weaver: the next one") << 33 << "X9" << "E03" << "王海燕";
        QTest::newRow("doff, nobody known") << 33 << "X9" << "" << "";
        QTest::newRow("stop without weaver: empty") << 12 << "" << "E02" << "";
        QTest::newRow("hand-over: the one leaving") << 22 << "E03" << "E01" << "王海燕";
    }
    void workers()
    {
        QFETCH(int, type);
        QFETCH(QString, worker);
        QFETCH(QString, next);
        QFETCH(QString, expected);
        MesFixture fx;
        fx.addMasterDataAndBeam();
        fx.addA01Event(33, 1, 100, 1);
        const int id = fx.addA01Event(type, 1, 300, 2, worker, next);
        fx.sync();
        QCOMPARE(MesFixture::scalar(
                     fx.mill(),
                     u"select usercode from BillStatusDetail where remark='EMS同步-%1'"_s.arg(id)),
                 expected);
    }

    void cardsAndLines()
    {
        MesFixture fx;
        fx.addMasterData();
        // A product the mill already has keeps its item.
        fx.mill().execute(u"insert into item(itemcode,itemname) values ('PB-3005','斜纹坯布')"_s);
        fx.addBeam(1, u"PB-2001"_s, 3000);
        fx.addBeam(2, u"PB-3005"_s, 2500);
        fx.addBeam(3, u"PB-2001"_s, 2800);
        fx.addA01Event(33, 1, 1200, 1);
        fx.addA01Event(33, 1, 2400, 2);
        fx.addA01Event(33, 2, 1000, 3);
        fx.addEvent(33, 3, u"1"_s, u"B07"_s, 800, u"2026-03-10 04:00:00"_s);
        fx.addEvent(33, 3, u"2"_s, u"B07"_s, 900, u"2026-03-10 05:00:00"_s);
        QCOMPARE(fx.sync(u"2026-03-09"_s), u"4"_s);
        // One card per loom, dated the start of the run, entered today.
        QCOMPARE(
            rows(
                fx.mill(),
                u"select billcode,billtype,companyid,TransactDate,OperatorDate,remark from bill order by billcode"_s),
            u"260314-A01|55|1|2026-03-09|2026-03-14|1-MES同步;"
            "260314-B07|55|1|2026-03-09|2026-03-14|3-MES同步"_s);
        QCOMPARE(
            rows(
                fx.mill(),
                u"select "
                u"b.billcode,i.itemcode,d.productionsn,d.productionJarno,d.backItem1,d.ItemCount,d."
                u"StoreRoomId "
                "from BillDetail d join bill b on b.billid=d.BillId join item i on i.itemid=d.itemId order by d.BillDetailId"_s),
            u"260314-A01|PB-2001|1|1|A01 |3000|16;260314-A01|PB-3005|1|2|A01 |2500|16;"
            "260314-B07|PB-2001|1|3|B07 |2800|16;260314-B07|PB-2001|2|3|B07 |2800|16"_s);
        QCOMPARE(rows(fx.mill(),
                      u"select itemcode,itemname,itemspec,item5,item6 from item order by itemid"_s),
                 u"PB-3005|斜纹坯布|NULL|NULL|NULL;PB-2001|涤棉平纹坯布|T/C 45x45|160cm|115g"_s);
        // Every event is on the line of its beam and roll, under the card number.
        QCOMPARE(
            rows(fx.mill(), u"select s.barcode,d.productionsn,s.viewcount,s.billstatusid from "
                            u"BillStatusDetail s "
                            "join BillDetail d on d.BillDetailId=s.billdetailid order by s.id"_s),
            u"260314-A01|1|120|0;260314-A01|1|120|0;260314-A01|1|100|0;260314-B07|1|80|0;260314-B07|2|90|0"_s);
    }

    void secondRunImportsNothing()
    {
        MesFixture fx;
        fx.addMasterDataAndBeam();
        fx.addA01Event(33, 1, 1000, 1);
        fx.addA01Event(22, 1, 1500, 2);
        const auto counts = [&fx] {
            return rows(
                fx.mill(),
                u"select count(*) from bill union all select count(*) from BillDetail union all "
                "select count(*) from BillStatusDetail union all select count(*) from item"_s);
        };
        QCOMPARE(fx.sync(), u"1"_s);
        QCOMPARE(counts(), u"1;1;2;1"_s);
        QCOMPARE(fx.sync(), u"0"_s);
        QCOMPARE(counts(), u"1;1;2;1"_s);
        // A later doff of the same roll goes onto the same line, which is not counted again.
        fx.addA01Event(33, 1, 2300, 3);
        QCOMPARE(fx.sync(), u"0"_s);
        QCOMPARE(counts(), u"1;1;3;1"_s);
    }

    void failureLeavesBothUnchanged_data()
    {
        QTest::addColumn<QString>("side");
        QTest::addColumn<QByteArray>("trigger");
        QTest::addColumn<QString>("message");
        const QString full = u"磁盘已满"_s;
        QTest::newRow("progress record of the second beam")
            << "mill" << QByteArray("CREATE TRIGGER boom BEFORE INSERT ON BillStatusDetail WHEN NEW.remark='EMS同步-3' "
                                    "BEGIN SELECT RAISE(ABORT,'磁盘已满'); END;") << full;
        QTest::newRow("mark of the last event")
            << "mes" << QByteArray("CREATE TRIGGER boom BEFORE UPDATE ON 织机事件表 WHEN NEW.id=4 "
                                   "BEGIN SELECT RAISE(ABORT,'磁盘已满'); END;") << full;
        // A scheduled run and an operator's 同 at once: the other run marks event 4 after this
        // one read it.
        QTest::newRow("event imported by another run meanwhile")
            << "mes"
            << QByteArray("CREATE TRIGGER boom AFTER UPDATE ON 织机事件表 WHEN NEW.id=3 "
                          "BEGIN UPDATE 织机事件表 SET 是否检验=1 WHERE id=4; END;")
            << u"织机事件 4 已被另一次同步导入"_s;
    }
    void failureLeavesBothUnchanged()
    {
        QFETCH(QString, side);
        QFETCH(QByteArray, trigger);
        QFETCH(QString, message);
        MesFixture fx;
        fx.addMasterDataAndBeam();
        fx.addBeam(2, u"PB-3005"_s);
        fx.addA01Event(33, 1, 1000, 1);
        fx.addA01Event(33, 1, 1700, 2);
        fx.addA01Event(33, 2, 600, 3);
        fx.addA01Event(12, 2, 200, 4);
        const QString file = side == u"mill" ? fx.millFile() : fx.mesFile();
        MesFixture::native(file, trigger.constData());
        QVERIFY(throwsWith<DbError>([&] { fx.sync(); }, message));
        QVERIFY(!fx.mill().inTransaction());
        QVERIFY(!fx.mes().inTransaction());
        for (const char* table : {"bill", "BillDetail", "BillStatusDetail", "item"})
            QCOMPARE(MesFixture::count(fx.mill(), QString::fromLatin1(table)), 0);
        QCOMPARE(fx.markedEvents(), 0);
        // Once the fault is gone, the next run imports every event once.
        MesFixture::native(file, "DROP TRIGGER boom;");
        QCOMPARE(fx.sync(), u"2"_s);
        QCOMPARE(
            rows(fx.mill(), u"select remark||'='||viewcount from BillStatusDetail order by id"_s),
            u"EMS同步-1=100;EMS同步-2=70;EMS同步-3=60;EMS同步-4=20"_s);
        QCOMPARE(fx.markedEvents(), 4);
    }

    void oneFileHoldingBoth()
    {
        MesFixture fx;
        // The MES tables in the mill's own database: one connection, one transaction.
        fx.mill().execute(
            u"insert into 生产卡(id,写卡时间,总经长,产品编号) values (1,'2026-03-01',900,'PB-9')"_s);
        fx.mill().execute(
            u"insert into 织机事件表(事件类型,上轴ID,卷号,织机编号,当前布长,事件时间) "
            "values (33,1,'5','C02',450,'2026-03-10 09:00:00')"_s);
        QCOMPARE(
            MesImport::syncMesEvents(fx.mill(), fx.mill(), u"2026-03-01"_s, MesFixture::today()),
            u"1"_s);
        QCOMPARE(rows(fx.mill(), u"select barcode,viewcount,billstatus from BillStatusDetail"_s),
                 u"260314-C02|45|33"_s);
        QCOMPARE(MesFixture::scalar(fx.mill(), u"select 是否检验 from 织机事件表"_s), u"1"_s);
    }

    // A MES on a server: its login from mirel.ini (a file beside the program and a missing
    // host go through the run and the inspection window's button).
    void serverFromSettings()
    {
        MesFixture fx;
        fx.home().writeFile(u"mirel.ini"_s, "[MES]\nMES_HOST=10.0.0.5\nMES_DB=MesDb\nMES_SA=sa\nMES_PASS=pw\n");
        QCOMPARE(MesImport::connectionString(),
                 u"Provider=SQLOLEDB.1;Persist Security Info=False;Data Source=10.0.0.5;Initial Catalog=MesDb;User ID=sa;Password=pw;"_s);
    }

    void run_data()
    {
        QTest::addColumn<QByteArray>("mesIni");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("stderrHas");
        QTest::addColumn<QString>("blocked"); // an ini file whose lock is a folder: not writable
        const QByteArray all("MES_HOST=mes.db\nSynDays=-36500\n");
        QTest::newRow("imports") << all << 0 << "2" << "" << "";
        QTest::newRow("nothing within the days") << QByteArray("MES_HOST=mes.db\nSynDays=1\n") << 0 << "0" << "" << "";
        QTest::newRow("MES file missing") << QByteArray("MES_HOST=other.db\nSynDays=-36500\n") << 1 << ""
                                          << "other.db" << "";
        QTest::newRow("times not recordable") << all << 1 << "2" << "不能记录开始同步时间（config.ini）" << "config.ini";
        QTest::newRow("count not recordable") << all << 1 << "" << "不能记录同步记录数（mirel.ini）" << "mirel.ini";
    }
    void run()
    {
        QFETCH(QByteArray, mesIni);
        QFETCH(int, exitCode);
        QFETCH(QString, count);
        QFETCH(QString, stderrHas);
        QFETCH(QString, blocked);
        std::unique_ptr<MesFixture> fx = std::make_unique<MesFixture>();
        fx->addMasterDataAndBeam();
        fx->addBeam(2, u"PB-3005"_s);
        fx->addA01Event(33, 1, 1000, 1);
        fx->addA01Event(33, 2, 700, 2);
        fx->mill().close();
        fx->mes().close();
        fx->home().writeFile(u"mirel.ini"_s, "[MES]\n" + mesIni);
        const QString home = fx->home().path();
        if (!blocked.isEmpty())
            QVERIFY(QDir(home).mkdir(blocked + u".lock"_s));

        QString err;
        QCOMPARE(runMirel(home, &err), exitCode);
        if (!stderrHas.isEmpty())
            QVERIFY2(err.contains(stderrHas), qPrintable(err));
        const IniFile mirelIni(fx->home().file(u"mirel.ini"_s));
        const IniFile configIni(fx->home().file(u"config.ini"_s));
        QCOMPARE(mirelIni.read(u"MES"_s, u"同步记录数"_s, QString()), count);
        QCOMPARE(configIni.read(u"MES"_s, u"开始同步时间"_s, QString()).isEmpty(),
                 blocked == u"config.ini");
        QCOMPARE(configIni.read(u"MES"_s, u"完成同步时间"_s, QString()).isEmpty(),
                 exitCode != 0 && blocked != u"mirel.ini");
        fx->mill().open(u"Provider=SQLite;Data Source="_s + fx->millFile());
        fx->mes().open(u"Provider=SQLite;Data Source="_s + fx->mesFile());
        const int imported = blocked.isEmpty() ? count.toInt() : 2; // the import runs all the same
        QCOMPARE(MesFixture::count(fx->mill(), u"BillDetail"_s), imported);
        QCOMPARE(fx->markedEvents(), imported == 2 ? 2 : 0);
    }
};

QTEST_GUILESS_MAIN(TestMesImport)
#include "TestMesImport.moc"
