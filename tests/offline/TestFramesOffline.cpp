// Two inspection frames on one card through a database outage, each with its own journal: a
// window here and a second station in a child process. Both save five rolls while the database
// is away, then both replay at once; every roll arrives once under a number no other roll has,
// and each renumbered roll is listed by its own station, with its own defects. The database is
// the file itself, or the same file through a data source of the SQLite ODBC driver. (Replays
// killed in the middle or run at once on one journal: TestJournal.)
#include "../inspection/CheckFixture.h"

#include "Outage.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"
#include "stations/OfflineBadge.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "support/SqliteOdbc.h"
#include "widgets/PanelStyle.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

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

// The child: the second frame (its own program folder, journal and frame id) on the parent's
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
    for (const QString& t : texts)
        for (const auto& m : pair.globalMatch(t.startsWith(u"卷号已改："_s) ? t : QString()))
            map.insert(m.captured(1), m.captured(2));
    return map;
}

} // namespace

class TestFramesOffline : public QObject {
    Q_OBJECT

private slots:
    void framesThroughOutages_data()
    {
        QTest::addColumn<bool>("odbc");
        QTest::newRow("database file") << false;
        QTest::newRow("ODBC data source") << true;
    }
    void framesThroughOutages()
    {
        QFETCH(bool, odbc);
        if (odbc && SqliteOdbc::driver().isEmpty())
            QSKIP("the SQLite ODBC driver is not installed");
        CheckFixture fx;
        const QString db = fx.home().file(u"mirel.db"_s);
        const Outage outage{db};
        if (odbc) { // the same file through a data source of the SQLite ODBC driver
            const QString dsn = SqliteOdbc::dataSource(fx.home().path(), u"mirel_frame"_s, db);
            fx.home().writeFile(u"config.ini"_s, "[CUSTOMER.SETTING]\nCONNECTIONSTRING=" + dsn.toUtf8());
            Database::openConnection();
        }
        frmCheck& f = fx.open();
        fx.lookUp(u"K001"_s);
        QTemporaryDir other;
        const QByteArray config = odbc ? fx.home().readFile(u"config.ini"_s)
                                       : "[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" + db.toUtf8();
        for (const auto& [name, text] : {std::pair{u"config.ini"_s, config}, {u"mirel.ini"_s, QByteArray("[MIREL]\ncodeLen=000\nmenchineId=002\n")}}) {
            QFile file(other.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        }
        QProcess station;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"MIREL_HOME"_s, other.path());
        env.insert(u"MIREL_CHILD"_s, u"station"_s);
        station.setProcessEnvironment(env);
        station.start(QCoreApplication::applicationFilePath(), {});
        const auto line = [&station] {
            while (!station.canReadLine() && station.waitForReadyRead(60000)) {
            }
            return QString::fromUtf8(station.readLine()).trimmed();
        };
        QCOMPARE(line(), u"ready 002"_s); // this frame holds 001

        QVERIFY(outage.away());
        station.write("away\n");
        fx.lookUp(u"K999"_s);
        QCOMPARE(MessageBox::lastShown().text, Journal::offlineLookupMessage());
        MessageBox::clearShown();
        fx.lookUp(u"K001"_s); // kept from the lookup before
        QCOMPARE(f.controls().BillDetailId->text() + u'/' + f.controls().TxtBox[CheckField::RollNumber]->text(), u"11/001"_s);
        QMap<int, QString> savedAs; // metres -> number saved under offline
        for (int metres = 201; metres <= 205; ++metres)
            savedAs[metres] = saveRoll(f, metres);
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), u"006"_s); // the frame's reservation, counted on
        QCOMPARE(f.defectGrid().rows().size(), 0); // the form moved on
        QCOMPARE(Journal::status()->pending(), 5);
        for (int i = 0; i < 5; ++i) {
            const QStringList saved = line().split(u' ');
            QCOMPARE(saved.value(0), u"saved"_s);
            savedAs[saved.value(1).toInt()] = saved.value(2);
        }
        QVERIFY2(!savedAs.values().contains(QString()), qPrintable(f.status()));

        QVERIFY(outage.back());
        station.write("back\n");
        JournalNumbers numbers;
        QStringList mine, theirs;
        JournalReplayResult first;
        for (int pass = 0; pass < 20 && Journal::store().count(JournalStore::State::Pending) > 0; ++pass) {
            const JournalReplayResult r = JournalReplay(Journal::store(), Database::conn(), &numbers).run();
            mine << OfflineBadge::renumberedText(r.renumbered);
            if (pass == 0)
                first = r;
        }
        QCOMPARE(Journal::store().count(JournalStore::State::Pending), 0);
        for (QString l = line(); l != u"end"_s && !l.isEmpty(); l = line())
            theirs << l;
        QVERIFY(station.waitForFinished());
        const QMap<QString, QString> ours = renumbered(mine), others = renumbered(theirs);
        QVERIFY2(ours.size() + others.size() >= 4, qPrintable((mine + theirs).join(u' ')));
        QStringList expected;
        for (auto it = savedAs.cbegin(); it != savedAs.cend(); ++it)
            expected << u"%1=%2"_s.arg(it.key()).arg((it.key() < 300 ? ours : others).value(it.value(), it.value()));
        QCOMPARE(fx.scalar(u"select group_concat(r, ' ') from (select cast(oncount as int)||'='||checkCode as r from checkinfo order by oncount)"_s),
                 expected.join(u' '));
        QCOMPARE(fx.scalar(u"select count(distinct checkCode)||' '||count(*) from checkinfo"_s), u"10 10"_s);
        // The number this frame counted on offline may be a roll's now: the next roll gets a free one.
        Journal::onReplayed(first, 0, 0);
        QCOMPARE(f.status(), u"离线保存的记录已上传"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where checkCode='%1'"_s.arg(f.controls().TxtBox[CheckField::RollNumber]->text())), u"0"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkDetail d join checkinfo c on c.id=d.checkId and d.remark=cast(c.oncount as text)"_s),
                 u"10"_s); // each roll's own defect went with it
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true); // as QTEST_MAIN has it
    if (qEnvironmentVariable("MIREL_CHILD") == u"station") // the second frame
        return stationMain();
    TestFramesOffline t;
    return QTest::qExec(&t, argc, argv);
}

#include "TestFramesOffline.moc"
