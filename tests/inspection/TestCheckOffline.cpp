// The inspection frame through a database outage: cards seen before still fill the form, rolls
// with their defects go into the journal with numbers counted on from the frame's reservation,
// and after the replay every roll is in the database once, renumbered where another frame took
// its number meanwhile.
#include "CheckFixture.h"

#include "db/Transaction.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const char* childVariable = "MIREL_REPLAY_CHILD";

// Child process: one replay of the program folder's journal, as a station's retry thread does.
int childMain()
{
    JournalStore store;
    Connection conn;
    conn.open(Database::connectionSetting());
    JournalNumbers numbers;
    return JournalReplay(store, conn, &numbers).run().stopped ? 1 : 0;
}

} // namespace

class TestCheckOffline : public QObject {
    Q_OBJECT

private slots:
    void savesThroughAnOutage();
    void fiftyRollsThroughRandomOutages();
};

void TestCheckOffline::savesThroughAnOutage()
{
    CheckFixture fx;
    frmCheck& f = fx.open();
    CheckControls& c = f.controls();
    const QString db = fx.home().file(u"mirel.db"_s);
    const auto saveRoll = [&](const QString& metres) {
        c.TxtBox[7]->setText(metres);
        f.appendDefectRow({"", "破洞", "12.5", "1", "4", "001", ""});
        f.appendDefectRow({"", "油污", "30", "2", "2", "001", "边上"});
        f.runCommand(2);
    };
    fx.lookUp(u"K001"_s);
    saveRoll(u"50"_s);
    QCOMPARE(fx.scalar(u"select checkCode from checkinfo"_s), u"001"_s);

    QVERIFY(QFile::rename(db, db + u".away"_s));
    MessageBox::clearShown();
    fx.lookUp(u"K001"_s); // kept from the lookup before
    QCOMPARE(c.BillDetailId->text(), u"11"_s);
    QCOMPARE(c.TxtBox[18]->text(), u"002"_s); // the frame's reservation
    for (const QString& metres : {u"51"_s, u"52"_s, u"53"_s}) {
        saveRoll(metres);
        QVERIFY2(f.status().startsWith(u"离线保存：卷号 00"_s), qPrintable(f.status()));
    }
    QVERIFY(MessageBox::shown().isEmpty());
    QCOMPARE(c.TxtBox[18]->text(), u"005"_s);
    QCOMPARE(f.defectRows().size(), 0); // the form moved on
    QCOMPARE(Journal::status()->pending(), 3);
    fx.lookUp(u"K999"_s);
    QCOMPARE(MessageBox::lastShown().text, Journal::offlineLookupMessage());

    // Back; another frame of the card saved 003 meanwhile.
    QVERIFY(QFile::rename(db + u".away"_s, db));
    fx.exec(u"insert checkinfo(billcode, billdetailid, checkCode) values('K001', 11, '003')"_s);
    JournalNumbers numbers;
    const JournalReplayResult r = JournalReplay(Journal::store(), Database::conn(), &numbers).run();
    QCOMPARE(r.applied, 3);
    QCOMPARE(r.renumbered.size(), 2); // 003 and, pushed on by it, 004
    QCOMPARE(r.renumbered[0].newNumber, u"004"_s);
    QCOMPARE(fx.scalar(u"select group_concat(checkCode) from (select checkCode from checkinfo "
                       "where billdetailid=11 order by checkCode)"_s),
             u"001,002,003,004,005"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkDetail d join checkinfo c on c.id=d.checkId"_s),
             u"8"_s);
    QCOMPARE(fx.scalar(u"select sum(oncount) from checkinfo where checkCode in ('004', '005')"_s),
             u"105"_s); // the rolls saved as 003 and 004 (52 and 53 m) under their new numbers
}

// 50 rolls with defects saved through the station's own save while the database goes away and
// comes back at random moments; the replay runs between saves as the retry thread would, once in
// a child process killed in the middle. Every roll arrives once, no number twice.
void TestCheckOffline::fiftyRollsThroughRandomOutages()
{
    CheckFixture fx;
    frmCheck& f = fx.open();
    CheckControls& c = f.controls();
    const QString db = fx.home().file(u"mirel.db"_s);
    fx.lookUp(u"K001"_s);
    QRandomGenerator random(QRandomGenerator::global()->generate());
    bool away = false;
    JournalNumbers numbers;
    QProcess* killed = nullptr;
    for (int roll = 1; roll <= 50; ++roll) {
        if (random.bounded(4) == 0) { // the switch restarts, or comes back
            QVERIFY(away ? QFile::rename(db + u".away"_s, db) : QFile::rename(db, db + u".away"_s));
            away = !away;
        }
        if (!away && random.bounded(3) == 0) {
            if (!killed) { // once: a replay in another process, killed in the middle
                killed = new QProcess(this);
                qputenv(childVariable, "1");
                killed->start(QCoreApplication::applicationFilePath(), {});
                qunsetenv(childVariable);
                killed->waitForStarted();
                QThread::msleep(50 + random.bounded(200)); // before, during or after its replay
                killed->kill();
                killed->waitForFinished();
            }
            JournalReplay(Journal::store(), Database::conn(), &numbers).run();
            Journal::status()->refresh();
        }
        c.TxtBox[7]->setText(QString::number(100 + roll));
        f.appendDefectRow({"", "破洞", "12.5", "1", "4", "001", ""});
        f.appendDefectRow({"", "油污", "30", "2", "2", "001", QString::number(roll)});
        f.runCommand(2);
        QVERIFY2(f.defectRows().isEmpty(),
                 qPrintable(f.status() + u" / "_s + MessageBox::lastShown().text + u" roll "_s +
                            QString::number(roll) + (away ? u" away"_s : u" here"_s)));
    }
    if (away)
        QVERIFY(QFile::rename(db + u".away"_s, db));
    JournalReplay(Journal::store(), Database::conn(), &numbers).run();
    QCOMPARE(Journal::store().count(JournalStore::State::Pending), 0);
    QCOMPARE(fx.scalar(u"select count(*) || ' ' || count(distinct checkCode) || ' ' || "
                       "count(distinct oncount) from checkinfo"_s),
             u"50 50 50"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkDetail d join checkinfo c on c.id=d.checkId and "
                       "d.remark=cast(c.oncount-100 as text)"_s),
             u"50"_s); // each roll's own defect went with it
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childVariable))
        return childMain();
    TestCheckOffline t;
    return QTest::qExec(&t, argc, argv);
}
#include "TestCheckOffline.moc"
