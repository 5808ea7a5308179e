// The packing table draining the print pool: what each kind of job does, a foreign job blocking
// the head, errors that keep the job or hold no lock, and stations that share one pool (one
// killed in the middle of a job, two at once) on a real database file.
#include "BagFixture.h"

#include "report/PrintJob.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "stations/packing/BagPrintPool.h"
#include "widgets/EditGrid.h"

#include <QCheckBox>
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
// is killed when the test function leaves, and by the kernel when the test itself dies.
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

// The jobs (kind=pid, oldest first): the label printed ("box", "mark"), the kinds still queued,
// the error shown ("|" between its parts: the box template gone, or its printer a pipe nobody
// reads), the operator's box (his roll 44 on screen with addend 2) and the options ticked
// (自动加入细码, 唛头自动打印, 打印自动保存, 打印预览, and 打印池 itself: unticked, the pool takes
// nothing more).
struct Pool { QStringList jobs; QString printed = {}, left = {}, message = {}, packing = {}, ticked = {}; };

} // namespace

class TestBagPrintPool : public QObject {
    Q_OBJECT
private slots:
    void eachKind_data()
    {
        QTest::addColumn<Pool>("c");
        QTest::newRow("empty pool") << Pool{{}};
        QTest::newRow("box label") << Pool{{u"箱唛=B9"_s, u"单据=5"_s}, u"box"_s};
        QTest::newRow("box label without box number") << Pool{{u"箱唛="_s}};
        QTest::newRow("box template gone: error shown, job gone") << Pool{{u"箱唛=B9"_s}, {}, {}, u"PrintBag发生错误|箱唛.grf"_s};
        QTest::newRow("box printer does not answer") << Pool{{u"箱唛=B9"_s}, {}, {}, u"PrintBag发生错误|没有应答"_s};
        QTest::newRow("mark label") << Pool{{u"匹唛=00042"_s}, u"mark"_s};
        QTest::newRow("mark label, every option ticked") << Pool{{u"匹唛=42"_s}, u"mark"_s, {}, {}, {}, u"1111"_s};
        QTest::newRow("mark label of an unknown roll") << Pool{{u"匹唛=99"_s}};
        QTest::newRow("bill number") << Pool{{u"单据=77"_s}};
        QTest::newRow("foreign kind blocks the head") << Pool{{u"喷码打印=001"_s, u"箱唛=B9"_s}, {}, u"喷码打印,箱唛"_s};
        QTest::newRow("box label while packing") << Pool{{u"箱唛=B9"_s}, u"box"_s, {}, {}, u"B5"_s};
        QTest::newRow("mark label while packing") << Pool{{u"匹唛=42"_s, u"单据=7"_s}, u"mark"_s, {}, {}, u"B5"_s, u"1111"_s};
        QTest::newRow("pool unticked") << Pool{{u"单据=1"_s}, {}, u"单据"_s, {}, {}, u"00000"_s};
        QTest::newRow("pool locked: the job waits for the next tick") << Pool{{u"单据=1"_s}, {}, u"单据"_s};
    }

    void eachKind()
    {
        QFETCH(Pool, c);
        BagFixture fx("是否要打包=1\n唛头打印=1\nPDAautoPrint=1\n");
        if (c.message.endsWith(u"没有应答"_s)) {
            QCOMPARE(mkfifo(fx.boxPdf().toUtf8().constData(), 0600), 0);
            PrintJob::setTimeoutMs(1000);
        } else if (!c.message.isEmpty()) {
            QVERIFY(QFile::remove(fx.home().file(u"打印/箱唛/箱唛.grf"_s)));
        }
        fx.exec(u"update checkinfo set bagnumber='B9' where id in (42,43)"_s);
        for (const QString& job : c.jobs)
            fx.exec(u"insert into printpool(PrintType,pid,createtime) values('%1','%2','2026-12-06 08:00:00')"_s
                        .arg(job.section(u'=', 0, 0), job.section(u'=', 1)));
        frmBag& f = fx.open();
        f.printPool()->PrintTimer().stop(); // ticks by hand
        if (!c.packing.isEmpty()) {
            f.bagNumber[BagBoxField::Number]->setText(c.packing);
            fx.scan(u"44"_s);
            f.txtUser[BagField::Addend]->setText(u"2"_s);
        }
        const QList<QCheckBox*> options{f.autoAdd, f.MaitouAutoPrint, f.autoSave, f.isPrintreview, f.PDAautoPrint};
        for (int i = 0; i < c.ticked.size(); ++i)
            options[i]->setChecked(c.ticked[i] == u'1');
        if (QByteArray(QTest::currentDataTag()).startsWith("pool locked"))
            fx.execNative(u"create trigger pool_locked before delete on printpool begin select raise(abort,'locked'); end"_s);
        const QStringList before = formOf(f);
        MessageBox::clearShown();
        // While an error box stands open nothing of the database is held: another station (an
        // inspection table saving a roll, another packing table at the pool) can write.
        bool locked = false;
        MessageBox::setOnShow([&](const MessageBox::Shown&) { locked = locked || writeLocked(fx.home().file(u"mirel.db"_s)); });
        f.printPool()->tick();
        f.printPool()->tick();
        MessageBox::setOnShow(nullptr);
        PrintJob::setTimeoutMs(10000);
        QVERIFY(!locked && !Database::conn().inTransaction());
        QCOMPARE(QFileInfo(fx.boxPdf()).size() > 0, c.printed == u"box"_s);
        QCOMPARE(QFileInfo(fx.markPdf()).size() > 0, c.printed == u"mark"_s);
        QCOMPARE(fx.scalar(u"select group_concat(PrintType) from (select PrintType from printpool order by id)"_s), c.left);
        // The job never takes over the packer's form, empty or not.
        QCOMPARE(formOf(f), before);
        QCOMPARE(fx.scalar(u"select sum(oncount) from checkinfo where id in (42,44)"_s)
                     + fx.scalar(u"select count(*) from checkinfo where bagnumber='B9'"_s), u"402"_s);
        const QString shown = MessageBox::shown().isEmpty() ? QString() : MessageBox::lastShown().text;
        QCOMPARE(shown.isEmpty(), c.message.isEmpty());
        for (const QString& part : c.message.split(u'|', Qt::SkipEmptyParts))
            QVERIFY2(shown.contains(part), qPrintable(shown));
        if (c.jobs.value(0) == u"匹唛=99"_s)
            QCOMPARE(f.LabMsg->text(), u"打印池：没有这个唛头条码 99"_s);
    }

    // Stations sharing one pool on a database file: one killed inside its job (its box label
    // "printer" a pipe nobody reads) leaves the job; then two at once print every job once.
    void sharedPool()
    {
        BagFixture fx("是否要打包=1\n");
        fx.exec(u"update checkinfo set bagnumber='B9' where id in (42,43)"_s);
        fx.exec(u"insert into printpool(PrintType,pid) values('箱唛','B9')"_s);
        const QString first = fx.scalar(u"select min(id) from printpool"_s), db = fx.home().file(u"mirel.db"_s);
        Database::conn().close(); // the stations have the file to themselves
        QCOMPARE(mkfifo(fx.boxPdf().toUtf8().constData(), 0600), 0);
        const auto killed = startDrain(fx);
        fx.home().writeFile(u"go"_s, "");
        QTRY_VERIFY_WITH_TIMEOUT(writeLocked(db), 60000);
        QTest::qWait(500);
        QVERIFY(writeLocked(db));
        killed->kill();
        QVERIFY(killed->waitForFinished());
        QVERIFY(QFile::remove(fx.boxPdf()) && QFile::remove(fx.home().file(u"go"_s)));
        Database::openConnection();
        QCOMPARE(fx.scalar(u"select PrintType + '=' + pid from printpool"_s), u"箱唛=B9"_s);
        for (int i = 1; i < 200; ++i)
            fx.exec(i % 2 ? u"insert into printpool(PrintType,pid) values('单据','%1')"_s.arg(i)
                          : u"insert into printpool(PrintType,pid) values('箱唛','B9')"_s);
        Database::conn().close();
        const auto a = startDrain(fx), b = startDrain(fx);
        fx.home().writeFile(u"go"_s, "");
        QMap<qint64, int> printed;
        for (QProcess* p : {a.get(), b.get()}) {
            QVERIFY(p->waitForFinished(300000));
            const QList<QByteArray> lines = p->readAllStandardOutput().split('\n');
            qInfo("jobs of a station: %lld", lines.size() - 1);
            for (const QByteArray& line : lines)
                if (line.startsWith("done "))
                    ++printed[line.mid(5).toLongLong()];
        }
        QCOMPARE(printed.size(), 200);
        QCOMPARE(printed.firstKey(), first.toLongLong());
        for (auto it = printed.cbegin(); it != printed.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(u"job %1 printed %2 times"_s.arg(it.key()).arg(it.value())));
        QVERIFY(QFileInfo(fx.boxPdf()).size() > 0);
        Database::openConnection();
        QCOMPARE(fx.scalar(u"select count(*) from printpool"_s), u"0"_s);
    }
};

QTEST_MAIN(TestBagPrintPool)
#include "TestBagPrintPool.moc"
