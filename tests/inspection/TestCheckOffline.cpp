// The inspection frame through a database outage: cards seen before still fill the form, rolls
// with their defects go into the journal with numbers counted on from the frame's reservation,
// and after the replay every roll is in the database once, renumbered where another frame took
// its number meanwhile. The database is the program folder's file, or the same file through a
// data source of the SQLite ODBC driver.
#include "CheckFixture.h"

#include "db/Transaction.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"
#include "support/SqliteOdbc.h"
#include "widgets/OfflineBadge.h"
#include "widgets/PanelStyle.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const char* childVariable = "MIREL_REPLAY_CHILD";
const char* stationVariable = "MIREL_STATION_CHILD";

// Child process: one replay of the program folder's journal, as a station's retry thread does.
int childMain()
{
    JournalStore store;
    Connection conn;
    conn.open(Database::connectionSetting());
    JournalNumbers numbers;
    return JournalReplay(store, conn, &numbers).run().stopped ? 1 : 0;
}

// Saves a roll of the given metres with two defects, the second one marked with the metres; the
// number it was saved under offline ("" when it reached the database).
QString saveRoll(frmCheck& f, int metres)
{
    f.controls().TxtBox[CheckField::Quantity]->setText(QString::number(metres));
    f.defectGrid().append({"", "破洞", "12.5", "1", "4", "001", ""});
    f.defectGrid().append({"", "油污", "30", "2", "2", "001", QString::number(metres)});
    f.runCommand(CheckCmd::Save);
    return QRegularExpression(u"离线保存：卷号 (\\d+)"_s).match(f.status()).captured(1);
}

// The frame's window with card K001 looked up; its database the program folder's file, or (odbc)
// the same file through a data source of the SQLite ODBC driver.
frmCheck& openFrame(CheckFixture& fx, bool odbc)
{
    if (odbc) {
        const QString dsn = SqliteOdbc::dataSource(fx.home().path(), u"mirel_frame"_s,
                                                   fx.home().file(u"mirel.db"_s));
        fx.home().writeFile(u"config.ini"_s,
                            "[CUSTOMER.SETTING]\nCONNECTIONSTRING=" + dsn.toUtf8());
        Database::openConnection();
    }
    frmCheck& f = fx.open();
    fx.lookUp(u"K001"_s);
    return f;
}

// Child process: a second frame (its own program folder, journal and frame id) on the parent's
// card. Saves five rolls when told the database is away, then waits for it to come back and
// lists what its background replay renumbered.
int stationMain()
{
    QStandardPaths::setTestModeEnabled(true);
    QTextStream in(stdin), out(stdout);
    Database::openConnection();
    PanelStyle::install();
    frmCheck f;
    f.Form_Load();
    OfflineBadge::attach(&f, f.findChild<QWidget*>(u"LabBox_0"_s)); // as the station starts
    f.controls().TxtBox[CheckField::Card]->setText(u"K001"_s);
    f.runCommand(CheckCmd::FindCard);
    out << "ready " << f.controls().TxtBox[CheckField::RollNumber]->text() << Qt::endl;
    in.readLine(); // away
    for (int metres = 301; metres <= 305; ++metres)
        out << "saved " << metres << ' ' << saveRoll(f, metres) << Qt::endl;
    in.readLine(); // back
    Journal::retryNow();
    QDeadlineTimer deadline(60000); // the count drops with the retry's report to the window
    while (Journal::status()->pending() > 0 && !deadline.hasExpired())
        QTest::qWait(50);
    for (const MessageBox::Shown& m : MessageBox::shown())
        out << m.text.section(u'\n', 0, 0) << Qt::endl;
    out << "end" << Qt::endl;
    return 0;
}

// "卷号已改：004 → 007，005 → 008" texts -> old number -> new number.
QMap<QString, QString> renumbered(const QStringList& texts)
{
    QMap<QString, QString> map;
    static const QRegularExpression pair(u"(\\d+) → (\\d+)"_s);
    for (const QString& t : texts) {
        if (t.startsWith(u"卷号已改："_s)) {
            for (const auto& m : pair.globalMatch(t))
                map.insert(m.captured(1), m.captured(2));
        }
    }
    return map;
}

} // namespace

class TestCheckOffline : public QObject {
    Q_OBJECT

private slots:
    void init();
    void savesThroughAnOutage();
    void fiftyRollsThroughRandomOutages_data();
    void fiftyRollsThroughRandomOutages();
    void twoFramesOfflineOnOneCard_data() { fiftyRollsThroughRandomOutages_data(); }
    void twoFramesOfflineOnOneCard();
};

void TestCheckOffline::init()
{
    if (QTest::currentDataTag() == QByteArray("ODBC data source") && SqliteOdbc::driver().isEmpty())
        QSKIP("the SQLite ODBC driver is not installed");
}

void TestCheckOffline::savesThroughAnOutage()
{
    CheckFixture fx;
    frmCheck& f = fx.open();
    CheckControls& c = f.controls();
    const QString db = fx.home().file(u"mirel.db"_s);
    fx.lookUp(u"K001"_s);
    saveRoll(f, 50);
    QCOMPARE(fx.scalar(u"select checkCode from checkinfo"_s), u"001"_s);

    QVERIFY(QFile::rename(db, db + u".away"_s));
    fx.lookUp(u"K999"_s);
    QCOMPARE(MessageBox::lastShown().text, Journal::offlineLookupMessage());
    MessageBox::clearShown();
    fx.lookUp(u"K001"_s); // kept from the lookup before
    QCOMPARE(c.BillDetailId->text(), u"11"_s);
    QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), u"002"_s); // the frame's reservation
    for (int metres : {51, 52, 53})
        QVERIFY2(saveRoll(f, metres).startsWith(u"00"_s), qPrintable(f.status()));
    QVERIFY(MessageBox::shown().isEmpty());
    QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), u"005"_s);
    QCOMPARE(f.defectGrid().rows().size(), 0); // the form moved on
    QCOMPARE(Journal::status()->pending(), 3);

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
    Journal::onReplayed(r, 0, 0);
    // 005, counted offline, is a roll's now; the line no longer names a roll saved offline.
    QCOMPARE(c.TxtBox[CheckField::RollNumber]->text() + u' ' + f.status(), u"006 离线保存的记录已上传"_s);
}

void TestCheckOffline::fiftyRollsThroughRandomOutages_data()
{
    QTest::addColumn<bool>("odbc");
    QTest::newRow("database file") << false;
    QTest::newRow("ODBC data source") << true;
}

// 50 rolls with defects saved through the station's own save while the database goes away and
// comes back at random moments; the replay runs between saves as the retry thread would, once in
// a child process killed in the middle. Every roll arrives once, no number twice.
void TestCheckOffline::fiftyRollsThroughRandomOutages()
{
    QFETCH(bool, odbc);
    CheckFixture fx;
    frmCheck& f = openFrame(fx, odbc);
    const QString db = fx.home().file(u"mirel.db"_s);
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
        saveRoll(f, 100 + roll);
        QVERIFY2(f.defectGrid().rows().isEmpty(),
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
                       "d.remark=cast(c.oncount as text)"_s),
             u"50"_s); // each roll's own defect went with it
}

// Two frames on one card offline at once, each with its own journal: this window and a second
// station in a child process. Both save five rolls while the database is away, then both replay at
// once; every roll arrives once under a number no other roll has, and each renumbered roll is
// listed by its own station.
void TestCheckOffline::twoFramesOfflineOnOneCard()
{
    QFETCH(bool, odbc);
    CheckFixture fx;
    frmCheck& f = openFrame(fx, odbc);
    const QString db = fx.home().file(u"mirel.db"_s);
    QTemporaryDir other;
    const auto write = [&other](const QString& name, const QByteArray& text) {
        QFile file(other.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    QVERIFY(write(u"config.ini"_s,
                  odbc ? fx.home().readFile(u"config.ini"_s)
                       : "[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" +
                             db.toUtf8()));
    QVERIFY(write(u"mirel.ini"_s, "[MIREL]\ncodeLen=000\nmenchineId=002\n"));
    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"MIREL_HOME"_s, other.path());
    env.insert(QString::fromLatin1(stationVariable), u"1"_s);
    station.setProcessEnvironment(env);
    station.start(QCoreApplication::applicationFilePath(), {});
    const auto line = [&station] {
        while (!station.canReadLine() && station.waitForReadyRead(60000)) {
        }
        return QString::fromUtf8(station.readLine()).trimmed();
    };
    QCOMPARE(line(), u"ready 002"_s); // this frame holds 001

    QVERIFY(QFile::rename(db, db + u".away"_s));
    station.write("away\n");
    QMap<int, QString> savedAs; // metres -> number saved under offline
    for (int metres = 201; metres <= 205; ++metres)
        savedAs[metres] = saveRoll(f, metres);
    for (int i = 0; i < 5; ++i) {
        const QStringList saved = line().split(u' ');
        QCOMPARE(saved.value(0), u"saved"_s);
        savedAs[saved.value(1).toInt()] = saved.value(2);
    }
    QVERIFY2(!savedAs.values().contains(QString()), qPrintable(f.status()));

    QVERIFY(QFile::rename(db + u".away"_s, db));
    station.write("back\n");
    JournalNumbers numbers;
    QStringList mine;
    for (int pass = 0; pass < 20 && Journal::store().count(JournalStore::State::Pending) > 0;
         ++pass)
        mine << OfflineBadge::renumberedText(
            JournalReplay(Journal::store(), Database::conn(), &numbers).run().renumbered);
    QCOMPARE(Journal::store().count(JournalStore::State::Pending), 0);
    QStringList theirs;
    for (QString l = line(); l != u"end"_s && !l.isEmpty(); l = line())
        theirs << l;
    QVERIFY(station.waitForFinished());
    const QMap<QString, QString> ours = renumbered(mine), others = renumbered(theirs);
    QVERIFY2(ours.size() + others.size() >= 4, qPrintable((mine + theirs).join(u' ')));
    QStringList expected;
    for (auto it = savedAs.cbegin(); it != savedAs.cend(); ++it)
        expected << QString::number(it.key()) + u'=' +
                        (it.key() < 300 ? ours : others).value(it.value(), it.value());
    QCOMPARE(fx.scalar(u"select group_concat(r, ' ') from (select cast(oncount as int) || '=' || "
                       u"checkCode as r "
                       "from checkinfo order by oncount)"_s),
             expected.join(u' '));
    QCOMPARE(fx.scalar(u"select count(distinct checkCode) || ' ' || count(*) from checkinfo"_s),
             u"10 10"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkDetail d join checkinfo c on c.id=d.checkId and "
                       "d.remark=cast(c.oncount as text)"_s),
             u"10"_s);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childVariable))
        return childMain();
    if (qEnvironmentVariableIsSet(stationVariable))
        return stationMain();
    TestCheckOffline t;
    return QTest::qExec(&t, argc, argv);
}
#include "TestCheckOffline.moc"
