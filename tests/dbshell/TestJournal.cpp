// The offline journal: records kept durably, replayed in order exactly once (also when the
// replaying process is killed or two replay at once), refused records kept with their reason and
// the background retry. (Numbers another station took meanwhile: the offline frames' walk.)
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/EmbeddedSchema.h"
#include "journal/JournalRetry.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "support/SqliteOdbc.h"
#include "support/TempProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const char* childVariable = "MIREL_JOURNAL_CHILD";

// Child process: MIREL_JOURNAL_CHILD="journal|connection string": one replay pass.
int childMain()
{
    const QStringList args = qEnvironmentVariable(childVariable).split(u'|');
    JournalStore store(args.at(0));
    Connection conn;
    conn.open(args.at(1));
    JournalNumbers numbers;
    const JournalReplayResult r = JournalReplay(store, conn, &numbers).run();
    return r.stopped ? 1 : 0;
}

// A roll of card K1 with its defects, numbered in the card's scope.
JournalRecord roll(const QString& number, int defects, const QString& station = u"check 001"_s)
{
    JournalRecord r = JournalRecord::create(station, u"卷号 "_s + number);
    r.number = {u"checkInfo"_s, u"checkCode"_s, u"billcode='K1'"_s, station, 3, number};
    r.steps.append({u"insert into checkinfo(billcode, checkCode) values('K1', '"_s +
                        JournalRecord::numberMark() + u"')"_s,
                    true});
    for (int d = 0; d < defects; ++d)
        r.steps.append({u"insert into checkDetail(checkId, checkCode, bugName) values("_s +
                        JournalRecord::identityMark(0) + u", '"_s + JournalRecord::numberMark() +
                        u"', '破洞')"_s});
    return r;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir; // fresh for every test
    QString dbPath() const { return m_dir->filePath(u"mill.db"_s); }
    QString connectionString() const { return u"Provider=SQLite;Data Source="_s + dbPath(); }
    // The embedded database, or the same file through the SQLite ODBC driver (the "odbc" column).
    QString connectionOfRow() const
    {
        return QTest::currentDataTag() == QByteArray("odbc")
                   ? u"Driver="_s + SqliteOdbc::driver() + u";Database="_s + dbPath()
                   : connectionString();
    }
    QString journalPath() const { return m_dir->filePath(u"journal.db"_s); }
    static QString column(Connection& conn, const QString& sql)
    {
        QStringList out;
        Recordset rs = conn.execute(sql);
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            out << rs.text(0);
        return out.join(u' ');
    }
    // Rolls, defects that belong to their roll (id and number), distinct numbers, claims.
    static QString serverCounts(Connection& conn)
    {
        return column(conn, u"select count(*) from checkinfo union all select count(*) from "
                            "checkDetail d join checkinfo c on c.id=d.checkId and "
                            "c.checkCode=d.checkCode union all select count(distinct checkCode) "
                            "from checkinfo union all select count(*) from mirelJournal"_s);
    }
    // One replay pass, and what it did and left: "applied 3, again 0, refused 0; 0 pending, 0
    // refused", ", stopped" after the counts of a pass that stopped.
    static QString pass(JournalStore& store, Connection& conn, JournalNumbering* numbering = nullptr,
                        JournalReplayResult* result = nullptr)
    {
        const JournalReplayResult r = JournalReplay(store, conn, numbering).run();
        if (result)
            *result = r;
        return u"applied %1, again %2, refused %3; %4 pending, %5 refused%6"_s.arg(r.applied)
            .arg(r.alreadyApplied).arg(r.refused).arg(store.count(JournalStore::State::Pending))
            .arg(store.count(JournalStore::State::Refused)).arg(r.stopped ? u", stopped"_s : u""_s);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Connection conn;
        conn.openOrCreate(connectionString());
    }

    void storeKeepsRecordsAndStates()
    {
        const QList<JournalRecord> records{roll(u"004"_s, 2), roll(u"006"_s, 0), roll(u"005"_s, 1)};
        for (const JournalRecord& r : records)
            JournalStore(journalPath()).add(r); // each kept across a restart
        JournalStore store(journalPath());
        QList<JournalRecord> pending;
        for (const JournalStore::Entry& e : store.entries(JournalStore::State::Pending))
            pending << e.record;
        QCOMPARE(pending, records);
        QCOMPARE(store.lastNumber(records[0].number), 6); // the highest counted, not the last
        QCOMPARE(store.lastNumber({u"checkInfo"_s, u"checkCode"_s, u"billcode='K2'"_s, {}, 3, {}}), 0);
        // Only a refused record is dropped (the operator's list retries one); a dropped one never
        // comes back.
        store.drop(records[0].id);
        store.markRefused(records[0].id, u"约束"_s);
        store.drop(records[0].id);
        store.retry(records[0].id);
        const auto dropped = store.entry(records[0].id);
        QCOMPARE(std::pair(dropped->state, dropped->reason), std::pair(JournalStore::State::Dropped, u"约束"_s));
        QCOMPARE(store.count(JournalStore::State::Pending), 2);
        QVERIFY(!store.entry(u"nothing"_s));
    }

    void lookupsKeepTheirValues()
    {
        Recordset rs({u"billcode"_s, u"qty"_s, u"price"_s, u"made"_s, u"note"_s, u"pic"_s});
        rs.addRow({u"K1"_s, qint64(12), 3.25, QDateTime(QDate(2026, 12, 6), QTime(8, 30)),
                   DbValue(), QByteArray("\x00\x01", 2)});
        JournalStore store(journalPath());
        store.putLookup(u"card"_s, u"K1"_s, rs);
        const std::optional<Recordset> kept = store.lookup(u"card"_s, u"K1"_s);
        QVERIFY(kept);
        QCOMPARE(std::pair(kept->columns(), kept->rows()), std::pair(rs.columns(), rs.rows()));
        QVERIFY(!store.lookup(u"card"_s, u"K2"_s));
        QVERIFY(!store.lookup(u"card"_s, u"K1"_s, -1)); // older than allowed
    }

    void replayIsInOrderAndExactlyOnce_data()
    {
        QTest::addColumn<bool>("odbc");
        QTest::newRow("embedded") << false;
        QTest::newRow("odbc") << true;
    }
    void replayIsInOrderAndExactlyOnce()
    {
        QFETCH(bool, odbc);
        if (odbc && SqliteOdbc::driver().isEmpty())
            QSKIP("the SQLite ODBC driver is not installed");
        JournalStore store(journalPath());
        for (const QString& n : {u"003"_s, u"001"_s, u"002"_s})
            store.add(roll(n, 2));
        Connection conn;
        conn.open(connectionOfRow());
        JournalNumbers numbers;
        QCOMPARE(pass(store, conn, &numbers), u"applied 3, again 0, refused 0; 0 pending, 0 refused"_s);
        QCOMPARE(column(conn, u"select checkCode from checkinfo order by id"_s), u"003 001 002"_s);
        QCOMPARE(serverCounts(conn), u"3 6 3 3"_s);
        // Killed after the server's commit, before the journal knew: the record is found claimed.
        const QString id = store.entries(JournalStore::State::Done)[1].record.id;
        store.markRefused(id, QString()); // not pending: untouched
        QCOMPARE(store.entry(id)->state, JournalStore::State::Done);
        sqlite3* db = nullptr;
        sqlite3_open(journalPath().toUtf8().constData(), &db);
        sqlite3_exec(db, u"update records set state=0 where id='%1'"_s.arg(id).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(pass(store, conn, &numbers), u"applied 0, again 1, refused 0; 0 pending, 0 refused"_s);
        QCOMPARE(serverCounts(conn), u"3 6 3 3"_s);
    }

    // A record the server refuses (its card deleted meanwhile) waits with the server's reason until
    // the operator retries it; the records around it go on. A record that meets a database another
    // station holds locked stops the pass and stays pending.
    void refusedAndBusyRecords()
    {
        JournalStore store(journalPath());
        JournalRecord cardUpdate = JournalRecord::create(u"load 001"_s, u"卡号 K9"_s);
        cardUpdate.steps.append({u"update bill set billtype='染色' where billcode='K9'"_s, false, true});
        store.add(roll(u"001"_s, 1));
        store.add(cardUpdate);
        store.add(roll(u"002"_s, 1));
        Connection conn;
        conn.open(connectionString());
        QCOMPARE(pass(store, conn), u"applied 2, again 0, refused 1; 0 pending, 1 refused"_s);
        const QString reason = store.entries(JournalStore::State::Refused).value(0).reason;
        QVERIFY2(reason.contains(u"已被删除"_s), qPrintable(reason));
        QCOMPARE(serverCounts(conn), u"2 2 2 2"_s); // nothing of the refused record remains
        conn.execute(u"insert bill(billcode, billtype) values('K9', '织造')"_s);
        store.retry(cardUpdate.id);
        sqlite3* other = nullptr;
        sqlite3_open(dbPath().toUtf8().constData(), &other);
        QCOMPARE(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
        conn.setCommandTimeout(1);
        QCOMPARE(pass(store, conn), u"applied 0, again 0, refused 0; 1 pending, 0 refused, stopped"_s);
        sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(pass(store, conn), u"applied 1, again 0, refused 0; 0 pending, 0 refused"_s);
        QCOMPARE(column(conn, u"select billtype from bill where billcode='K9'"_s), u"染色"_s);
    }

    // Errors that say nothing about the record (the connection lost, any kind of busy, a deadlock
    // victim by its native code) leave it for the next pass; what the server says about the
    // record refuses it.
    void transientErrors_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("native");
        QTest::addColumn<bool>("lost");
        QTest::addColumn<bool>("transient");
        QTest::newRow("embedded busy snapshot") << u"SQLITE_BUSY_SNAPSHOT"_s << 517 << false << true;
        QTest::newRow("deadlock victim") << u"40001"_s << 1205 << false << true;
        QTest::newRow("connection lost") << u"08S01"_s << 10054 << true << true;
        QTest::newRow("embedded constraint") << u"SQLITE_CONSTRAINT"_s << 19 << false << false;
    }
    void transientErrors()
    {
        QFETCH(QString, code);
        QFETCH(int, native);
        QFETCH(bool, lost);
        DbError e(u"服务器的消息"_s, code, native);
        if (lost)
            e.markConnectionLost();
        QTEST(JournalReplay::isTransient(e), "transient");
    }

    // Two frames offline on the same card, each with its own journal: replayed by child processes
    // that are killed in the middle, two at once on one journal and both journals at once. Every
    // roll arrives exactly once with all its defects, and no number is saved twice.
    void killedAndConcurrentReplaysApplyEachRecordOnce()
    {
        const int rolls = 300, defects = 8;
        const QString journals[2] = {journalPath(), m_dir->filePath(u"journal-b.db"_s)};
        for (int j = 0; j < 2; ++j) {
            JournalStore store(journals[j]);
            for (int i = 1; i <= rolls; ++i)
                store.add(roll(u"%1"_s.arg(i, 3, 10, QChar(u'0')), defects, u"check 00%1"_s.arg(j)));
        }
        Connection conn;
        conn.open(connectionString());
        const auto replayer = [&](int j) {
            auto* p = new QProcess(this);
            qputenv(childVariable, (journals[j] + u'|' + connectionString()).toUtf8());
            p->start(QCoreApplication::applicationFilePath(), {}); // inherits the variable
            qunsetenv(childVariable);
            p->waitForStarted();
            return p;
        };
        const auto claims = [&] {
            return conn.execute(u"select count(*) from mirelJournal"_s).field(0).toInt();
        };
        // Killed three times while replaying journal A, at a random moment after some progress.
        for (int kill = 1; kill <= 3; ++kill) {
            QProcess* p = replayer(0);
            const int before = claims();
            for (QDeadlineTimer d(20000); claims() < before + 5 && !d.hasExpired();)
                QThread::msleep(1);
            QThread::msleep(QRandomGenerator::global()->bounded(5));
            QVERIFY2(p->state() == QProcess::Running, "the replay ended before it could be killed");
            p->kill();
            p->waitForFinished();
        }
        QVERIFY(claims() < rolls);
        QList<QProcess*> running{replayer(0), replayer(0), replayer(1)};
        for (QProcess* p : running)
            QVERIFY(p->waitForFinished(60000));
        for (const QString& path : journals) {
            JournalStore store(path);
            JournalNumbers numbers;
            JournalReplay(store, conn, &numbers).run();
            QCOMPARE(store.count(JournalStore::State::Done), rolls);
        }
        const QString all = QString::number(2 * rolls);
        QCOMPARE(serverCounts(conn), u"%1 %2 %1 %1"_s.arg(all).arg(2 * rolls * defects));
    }

    void backgroundRetryComesBackByItself_data()
    {
        replayIsInOrderAndExactlyOnce_data();
        QTest::newRow("nothing journaled, a station waits") << false;
    }
    void backgroundRetryComesBackByItself()
    {
        QFETCH(bool, odbc);
        if (odbc && SqliteOdbc::driver().isEmpty())
            QSKIP("the SQLite ODBC driver is not installed");
        const bool journaled = QTest::currentDataTag() != QByteArray("nothing journaled, a station waits");
        QVERIFY(QFile::rename(dbPath(), dbPath() + u".away"_s));
        if (journaled)
            JournalStore(journalPath()).add(roll(u"001"_s, 3));
        JournalRetry retry(journalPath(), connectionOfRow(), [] { return std::make_unique<JournalNumbers>(); }, 50);
        QSignalSpy spy(&retry, &JournalRetry::replayed);
        retry.start();
        if (!journaled)
            retry.watch(); // a new pallet number was asked for offline
        QVERIFY(spy.wait(5000));
        const auto reached = [&spy] { // by a pass that left nothing pending
            return std::any_of(spy.cbegin(), spy.cend(), [](const QList<QVariant>& pass) {
                return pass.at(0).value<JournalReplayResult>().reached && pass.at(1).toInt() == 0;
            });
        };
        QVERIFY(spy.last().at(0).value<JournalReplayResult>().stopped && !reached());
        // Pending, none refused, no database file made.
        QCOMPARE(std::pair(spy.last().at(1).toInt(), spy.last().at(2).toInt()), std::pair(journaled ? 1 : 0, 0));
        QVERIFY(!QFile::exists(dbPath()));
        QVERIFY(QFile::rename(dbPath() + u".away"_s, dbPath()));
        QTRY_VERIFY_WITH_TIMEOUT(reached(), 5000);
        QCOMPARE(QFile::exists(journalPath()), journaled);
        if (!journaled)
            return;
        Connection conn;
        conn.open(connectionString());
        QCOMPARE(serverCounts(conn), u"1 3 1 1"_s);
    }

    // The journal and the embedded database made in a folder take its access (0770 shared with
    // the group gives 0660 files), whatever the creating user's mask.
    void filesTakeTheFolderAccess_data()
    {
        QTest::addColumn<int>("folderMode");
        for (int mode : {0770, 0775, 0750})
            QTest::addRow("%o", mode) << mode;
    }
    void filesTakeTheFolderAccess()
    {
        QFETCH(int, folderMode);
        const QString folder = m_dir->filePath(u"home"_s);
        QVERIFY(QDir().mkdir(folder) && ::chmod(QFile::encodeName(folder), folderMode) == 0);
        const mode_t mask = ::umask(0022);
        const auto restore = qScopeGuard([mask] { ::umask(mask); });
        JournalStore store(folder + u"/journal.db"_s);
        store.add(roll(u"001"_s, 0));
        Connection conn;
        conn.openOrCreate(u"Provider=SQLite;Data Source="_s + folder + u"/mill.db"_s);
        for (const QString& name : {u"journal.db"_s, u"journal.db-wal"_s, u"mill.db"_s}) {
            struct stat st {};
            QVERIFY2(::stat(QFile::encodeName(folder + u'/' + name), &st) == 0, qPrintable(name));
            QCOMPARE(int(st.st_mode & 0777), folderMode & 0664);
        }
    }

    // A journal the station cannot write is named at the start, before a save needs it.
    void unwritableJournalIsReported_data()
    {
        QTest::addColumn<QString>("inItsPlace"); // "": nothing yet
        QTest::addColumn<bool>("reported");
        QTest::newRow("nothing") << u""_s << false;
        QTest::newRow("a journal") << u"journal"_s << false;
        QTest::newRow("a folder") << u"folder"_s << true;
    }
    void unwritableJournalIsReported()
    {
        QFETCH(QString, inItsPlace);
        QFETCH(bool, reported);
        TempProgramFolder home;
        const QString path = JournalStore::defaultPath();
        if (inItsPlace == u"folder")
            QVERIFY(QDir().mkdir(path));
        else if (!inItsPlace.isEmpty())
            JournalStore(path).add(roll(u"001"_s, 0));
        const QString problem = Journal::writeProblem();
        QCOMPARE(problem.startsWith(u"离线记录文件不能写入："_s + QDir::toNativeSeparators(path)), reported);
        QCOMPARE(problem.isEmpty(), !reported);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childVariable))
        return childMain();
    TestJournal t;
    return QTest::qExec(&t, argc, argv);
}

#include "TestJournal.moc"
