// The packing table draining the print pool: what each kind of job does, a foreign job blocking
// the head, errors that keep the job, and stations that share one pool (two at once, one killed
// in the middle of a job) on a real database file.
#include "BagFixture.h"

#include "report/PrintJob.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "stations/packing/BagPrintPool.h"
#include "widgets/EditGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A second packing station on the fixture's database, loaded and waiting for the "go" file. It
// is killed when the test function leaves, and by the kernel when the test itself dies (a failed
// test must not leave stations draining on after it).
std::unique_ptr<QProcess> startDrain(BagFixture& fx)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"MIREL_HOME"_s, fx.home().path());
    p->setProcessEnvironment(env);
    p->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    p->start(qEnvironmentVariable("MIREL_BIN_DIR") + u"/bag-pool-drain"_s, {});
    if (!p->waitForReadyRead(60000) || !p->readLine().startsWith("ready"))
        qWarning("the station did not load");
    return p;
}

// True while another connection holds the database's write lock (a station inside its job).
bool writeLocked(const QString& dbFile)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(dbFile.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_BUSY;
}

} // namespace

class TestBagPrintPool : public QObject {
    Q_OBJECT
private slots:
    void eachKind_data();
    void eachKind();
    void databaseErrorKeepsTheJob();
    void untickingStopsDraining();
    void twoStationsPrintEachJobOnce();
    void killedStationLeavesItsJob();
    void printErrorHoldsNoLock_data();
    void printErrorHoldsNoLock();
};

namespace {

// What the packer sees: his roll with its fields, his box, its list and where his cursor is.
QStringList formOf(const frmBag& f)
{
    QStringList form{f.barcode->text(), f.barcode->property("Tag").toString()};
    for (const QLineEdit* box : f.txtUser)
        form << (box ? box->text() : QString());
    for (const QLineEdit* box : f.bagNumber)
        form << box->text();
    for (int r = 0; r < f.ximaGrid->rows(); ++r)
        form << f.ximaGrid->textMatrix(r, 1);
    const QWidget* focus = QApplication::focusWidget();
    return form << (focus ? focus->objectName() : QString());
}

} // namespace

void TestBagPrintPool::eachKind_data()
{
    QTest::addColumn<QStringList>("jobs"); // kind=pid, oldest first
    QTest::addColumn<QString>("printed");  // "box", "mark" or ""
    QTest::addColumn<QString>("left");     // kinds still queued
    QTest::addColumn<QString>("message");  // the box template is gone: its error
    QTest::addColumn<QString>("packing");  // the operator's box, his roll 44 on screen with addend 2
    QTest::addColumn<QString>("ticked");   // 自动加入细码, 唛头自动打印, 打印自动保存, 打印预览
    const QString none;
    QTest::newRow("empty pool") << QStringList() << none << none << none << none << none;
    QTest::newRow("box label") << QStringList{u"箱唛=B9"_s, u"单据=5"_s} << u"box"_s << none << none << none << none;
    QTest::newRow("box label without box number") << QStringList{u"箱唛="_s} << none << none << none << none << none;
    QTest::newRow("box template gone: error shown, job gone") << QStringList{u"箱唛=B9"_s} << none << none
                                                              << u"PrintBag发生错误"_s << none << none;
    QTest::newRow("mark label") << QStringList{u"匹唛=00042"_s} << u"mark"_s << none << none << none << none;
    QTest::newRow("mark label, every option ticked") << QStringList{u"匹唛=42"_s} << u"mark"_s << none << none << none << u"1111"_s;
    QTest::newRow("mark label of an unknown roll") << QStringList{u"匹唛=99"_s} << none << none << none << none << none;
    QTest::newRow("bill number") << QStringList{u"单据=77"_s} << none << none << none << none << none;
    QTest::newRow("foreign kind blocks the head") << QStringList{u"喷码打印=001"_s, u"箱唛=B9"_s} << none
                                                  << u"喷码打印,箱唛"_s << none << none << none;
    QTest::newRow("box label while packing") << QStringList{u"箱唛=B9"_s} << u"box"_s << none << none << u"B5"_s << none;
    QTest::newRow("mark label while packing") << QStringList{u"匹唛=42"_s, u"单据=7"_s} << u"mark"_s << none << none << u"B5"_s << u"1111"_s;
}

void TestBagPrintPool::eachKind()
{
    QFETCH(QStringList, jobs);
    QFETCH(QString, printed);
    QFETCH(QString, message);
    QFETCH(QString, packing);
    QFETCH(QString, ticked);
    BagFixture fx("是否要打包=1\n唛头打印=1\nPDAautoPrint=1\n");
    if (!message.isEmpty())
        QFile::remove(fx.home().file(u"打印/箱唛/箱唛.grf"_s));
    fx.exec(u"update checkinfo set bagnumber='B9' where id in (42,43)"_s);
    for (const QString& job : jobs)
        fx.exec(u"insert into printpool(PrintType,pid,createtime) values('%1','%2','2026-12-06 08:00:00')"_s
                    .arg(job.section(u'=', 0, 0), job.section(u'=', 1)));
    frmBag& f = fx.open();
    f.printPool()->PrintTimer().stop(); // ticks by hand
    if (!packing.isEmpty()) {
        f.bagNumber[BagBoxField::Number]->setText(packing);
        fx.scan(u"44"_s);
        f.txtUser[BagField::Addend]->setText(u"2"_s);
    }
    const QList<QCheckBox*> options{f.autoAdd, f.MaitouAutoPrint, f.autoSave, f.isPrintreview};
    for (int i = 0; i < ticked.size(); ++i)
        options[i]->setChecked(ticked[i] == u'1');
    const QStringList before = formOf(f);
    MessageBox::clearShown();
    f.printPool()->tick();
    f.printPool()->tick();
    QCOMPARE(QFileInfo(fx.boxPdf()).size() > 0, printed == u"box"_s);
    QCOMPARE(QFileInfo(fx.markPdf()).size() > 0, printed == u"mark"_s);
    QTEST(fx.scalar(u"select group_concat(PrintType) from (select PrintType from printpool order by id)"_s), "left");
    // The job never takes over the packer's form, empty or not.
    QCOMPARE(formOf(f), before);
    QCOMPARE(fx.scalar(u"select sum(oncount) from checkinfo where id in (42,44)"_s), u"40"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='B9'"_s), u"2"_s);
    const bool shown = !MessageBox::shown().isEmpty();
    QCOMPARE(shown, !message.isEmpty());
    if (shown)
        QVERIFY(MessageBox::lastShown().text.startsWith(message));
    if (jobs.value(0) == u"匹唛=99"_s)
        QCOMPARE(f.LabMsg->text(), u"打印池：没有这个唛头条码 99"_s);
}

void TestBagPrintPool::databaseErrorKeepsTheJob()
{
    BagFixture fx("是否要打包=1\n");
    fx.exec(u"insert into printpool(PrintType,pid) values('单据','5')"_s);
    fx.execNative(u"create trigger pool_locked before delete on printpool begin select raise(abort,'locked'); end"_s);
    frmBag& f = fx.open();
    f.printPool()->setEnabled(true);
    QVERIFY(!f.printPool()->tick());
    QCOMPARE(fx.scalar(u"select count(*) from printpool"_s), u"1"_s);
    QVERIFY(!Database::conn().inTransaction());
    fx.exec(u"drop trigger pool_locked"_s);
    QVERIFY(f.printPool()->tick());
    QCOMPARE(fx.scalar(u"select count(*) from printpool"_s), u"0"_s);
}

void TestBagPrintPool::untickingStopsDraining()
{
    BagFixture fx("是否要打包=1\n");
    frmBag& f = fx.open();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mouseClick(f.PDAautoPrint, Qt::LeftButton, {}, QPoint(8, f.PDAautoPrint->height() / 2));
    QVERIFY(f.PDAautoPrint->isChecked());
    fx.exec(u"insert into printpool(PrintType,pid) values('单据','1')"_s);
    QTRY_COMPARE_WITH_TIMEOUT(fx.scalar(u"select count(*) from printpool"_s), u"0"_s, 10000);
    QTest::mouseClick(f.PDAautoPrint, Qt::LeftButton, {}, QPoint(8, f.PDAautoPrint->height() / 2));
    QVERIFY(!f.PDAautoPrint->isChecked() && !f.printPool()->PrintTimer().isActive());
    fx.exec(u"insert into printpool(PrintType,pid) values('单据','2')"_s);
    QVERIFY(!f.printPool()->tick()); // a tick already due takes nothing
    QCOMPARE(fx.scalar(u"select count(*) from printpool"_s), u"1"_s);
}

void TestBagPrintPool::twoStationsPrintEachJobOnce()
{
    BagFixture fx("是否要打包=1\n");
    fx.exec(u"update checkinfo set bagnumber='B9' where id in (42,43)"_s);
    for (int i = 0; i < 200; ++i)
        fx.exec(i % 2 ? u"insert into printpool(PrintType,pid) values('箱唛','B9')"_s
                      : u"insert into printpool(PrintType,pid) values('单据','%1')"_s.arg(i));
    const QString first = fx.scalar(u"select min(id) from printpool"_s);
    Database::conn().close(); // the stations have the file to themselves
    const auto a = startDrain(fx);
    const auto b = startDrain(fx);
    fx.home().writeFile(u"go"_s, "");
    QVERIFY(a->waitForFinished(300000));
    QVERIFY(b->waitForFinished(300000));
    QMap<qint64, int> printed;
    int perStation[2] = {0, 0};
    int station = 0;
    for (QProcess* p : {a.get(), b.get()}) {
        for (const QByteArray& line : p->readAllStandardOutput().split('\n')) {
            if (line.startsWith("done ")) {
                ++printed[line.mid(5).toLongLong()];
                ++perStation[station];
            }
        }
        ++station;
    }
    QCOMPARE(printed.size(), 200);
    QCOMPARE(printed.firstKey(), first.toLongLong());
    for (auto it = printed.cbegin(); it != printed.cend(); ++it)
        QVERIFY2(it.value() == 1, qPrintable(u"job %1 printed %2 times"_s.arg(it.key()).arg(it.value())));
    qInfo("jobs per station: %d and %d", perStation[0], perStation[1]);
    QVERIFY(QFileInfo(fx.boxPdf()).size() > 0);
    Database::openConnection();
    QCOMPARE(fx.scalar(u"select count(*) from printpool"_s), u"0"_s);
}

void TestBagPrintPool::killedStationLeavesItsJob()
{
    BagFixture fx("是否要打包=1\n");
    fx.exec(u"update checkinfo set bagnumber='B9' where id=42"_s);
    fx.exec(u"insert into printpool(PrintType,pid) values('箱唛','B9')"_s);
    Database::conn().close();
    // The box label "printer" is a pipe nobody reads: the station hangs inside its job.
    QCOMPARE(mkfifo(fx.boxPdf().toUtf8().constData(), 0600), 0);
    const auto p = startDrain(fx);
    fx.home().writeFile(u"go"_s, "");
    const QString db = fx.home().file(u"mirel.db"_s);
    QTRY_VERIFY_WITH_TIMEOUT(writeLocked(db), 60000);
    QTest::qWait(500);
    QVERIFY(writeLocked(db));
    p->kill();
    QVERIFY(p->waitForFinished());
    Database::openConnection();
    QCOMPARE(fx.scalar(u"select PrintType + '=' + pid from printpool"_s), u"箱唛=B9"_s);
    // The next station prints it.
    Database::conn().close();
    QFile::remove(fx.boxPdf());
    const auto again = startDrain(fx);
    fx.home().writeFile(u"go"_s, "");
    QVERIFY(again->waitForFinished(120000));
    QVERIFY(again->readAllStandardOutput().startsWith("done "));
    QVERIFY(QFileInfo(fx.boxPdf()).size() > 0);
}

void TestBagPrintPool::printErrorHoldsNoLock_data()
{
    QTest::addColumn<bool>("hangs");
    QTest::newRow("box template gone") << false;
    QTest::newRow("printer does not answer") << true; // a pipe nobody reads
}

// Table A's box label fails. While its error box stands open nothing of the database is held:
// an inspection station saves a roll and table B drains every other job.
void TestBagPrintPool::printErrorHoldsNoLock()
{
    QFETCH(bool, hangs);
    BagFixture fx("是否要打包=1\n");
    fx.exec(u"update checkinfo set bagnumber='B9' where id=42"_s);
    fx.exec(u"insert into printpool(PrintType,pid) values('箱唛','B9')"_s);
    for (int i = 1; i <= 5; ++i)
        fx.exec(u"insert into printpool(PrintType,pid) values('单据','%1')"_s.arg(i));
    if (hangs)
        QCOMPARE(mkfifo(fx.boxPdf().toUtf8().constData(), 0600), 0);
    else
        QVERIFY(QFile::remove(fx.home().file(u"打印/箱唛/箱唛.grf"_s)));
    PrintJob::setTimeoutMs(1000);
    frmBag& a = fx.open();
    a.printPool()->setEnabled(true);
    a.printPool()->PrintTimer().stop(); // ticks by hand
    const auto b = startDrain(fx);
    const QString db = fx.home().file(u"mirel.db"_s);
    QString saveError = u"no box"_s;
    bool locked = true;
    int drained = 0;
    MessageBox::setOnShow([&](const MessageBox::Shown& s) {
        if (!s.text.startsWith(u"PrintBag发生错误"_s))
            return;
        locked = writeLocked(db);
        Connection inspection;
        inspection.open(u"Data Source="_s + db);
        inspection.setCommandTimeout(1);
        QElapsedTimer t;
        t.start();
        try {
            inspection.execute(
                u"insert into checkinfo(billcode,checkcode,oncount) values('K001','009',50)"_s);
            saveError.clear();
        } catch (const DbError& e) {
            saveError = e.message();
        }
        qInfo("inspection save while the print error stands open: %lld ms", t.elapsed());
        fx.home().writeFile(u"go"_s, "");
        b->waitForFinished(20000);
        drained = int(b->readAllStandardOutput().count("done "));
    });
    a.printPool()->tick();
    MessageBox::setOnShow(nullptr);
    PrintJob::setTimeoutMs(10000);
    QVERIFY(!locked);
    QCOMPARE(saveError, QString());
    QCOMPARE(drained, 5);
    QVERIFY(MessageBox::lastShown().text.contains(hangs ? u"没有应答"_s : u"箱唛.grf"_s));
    QCOMPARE(fx.scalar(u"select count(*) from printpool"_s), u"0"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where checkcode='009'"_s), u"1"_s);
}

QTEST_MAIN(TestBagPrintPool)
#include "TestBagPrintPool.moc"
