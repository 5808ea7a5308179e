// Roll, box and dye-lot numbers: the next free code, and never the same number twice, also when
// several station processes ask at the same moment on one database file.
#include "db/Connection.h"
#include "shell/SysUtilDb.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const char* childVariable = "MIREL_NUMBERS_CHILD";

// Child process: MIREL_NUMBERS_CHILD="db path|what|count|station"; prints one number per line.
// A "code" child is a station: it asks for the roll number twice (a second look-up of the card),
// then saves the roll under it.
QString childStep(Connection& conn, const QStringList& args)
{
    if (args.at(1) == u"daily")
        return SysUtil::nextDailyNumber(conn, u"箱号"_s, QDate(2026, 12, 5));
    const QString filter = u"billcode='SC1'"_s;
    const QString code = SysUtil::nextCode(conn, u"checkInfo"_s, u"checkCode"_s, 4, filter, args.at(3));
    if (SysUtil::nextCode(conn, u"checkInfo"_s, u"checkCode"_s, 4, filter, args.at(3)) != code)
        return u"ERROR asked again, got another number"_s;
    conn.beginTrans();
    conn.execute(u"insert checkinfo(billcode, checkCode) values('SC1', '%1')"_s.arg(code));
    SysUtil::codeSaved(conn, u"checkInfo"_s, u"checkCode"_s, filter, code, args.at(3));
    conn.commitTrans();
    return code;
}

int childMain()
{
    const QStringList args = qEnvironmentVariable(childVariable).split(u'|');
    Connection conn;
    conn.open(u"Provider=SQLite;Data Source="_s + args.at(0));
    QTextStream out(stdout);
    for (int i = 0; i < args.at(2).toInt(); ++i) {
        try {
            out << childStep(conn, args) << '\n';
        } catch (const DbError& e) {
            if (conn.inTransaction())
                conn.rollbackTrans();
            out << "ERROR " << e.message() << '\n';
        }
    }
    return 0;
}

} // namespace

class TestRunningNumbers : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    Connection m_conn;

private slots:
    void init()
    {
        static int n = 0;
        m_path = m_dir.path() + u"/n%1.db"_s.arg(++n);
        m_conn.openOrCreate(u"Provider=SQLite;Data Source="_s + m_path);
    }

    void nextCode_data()
    {
        QTest::addColumn<QString>("existing"); // billcode:checkCode,...
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no filter") << u"SC1:001,SC2:050"_s << 3 << QString() << u"051"_s;
        QTest::newRow("other lengths ignored") << u"SC1:0005,SC1:12"_s << 4 << u"billcode='SC1'"_s << u"0006"_s;
        QTest::newRow("codes with letters ignored") << u"SC1:004,SC1:A01"_s << 3 << u"billcode='SC1'"_s << u"005"_s;
        QTest::newRow("full width grows") << u"SC1:99"_s << 2 << u"billcode='SC1'"_s << u"100"_s;
        QTest::newRow("filter with quote") << u"O'B:004"_s << 3 << u"billcode='O''B'"_s << u"005"_s;
    }

    void nextCode()
    {
        QFETCH(QString, existing);
        QFETCH(int, length);
        QFETCH(QString, filter);
        for (const QString& pair : existing.split(u',', Qt::SkipEmptyParts)) {
            const QStringList p = pair.split(u':');
            QString card = p.at(0);
            m_conn.execute(u"insert checkinfo(billcode, checkCode) values('%1', '%2')"_s.arg(
                card.replace(u"'"_s, u"''"_s), p.at(1)));
        }
        QTEST(SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, length, filter), "expected");
    }

    void proposals_data()
    {
        // Steps: "A" station A asks for card X's number, "A:Y" for card Y's, "sA" A saves the roll
        // under its last number, "h010" roll 010 of X saved by hand, "d002" roll 002 of X deleted,
        // "r" the stations restart.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("look-ups and restart") << u"A A A r A sA A"_s << u"001 001 001 001 002"_s;
        QTest::newRow("other station meanwhile") << u"A B sB A sA A B"_s << u"001 002 001 003 004"_s;
        QTest::newRow("two stations hold the next numbers") << u"B C A"_s << u"001 002 003"_s;
        QTest::newRow("other card releases") << u"A A:Y B A"_s << u"001 001 001 002"_s;
        QTest::newRow("deleted roll leaves its gap") << u"A sA A sA d002 A"_s << u"001 002 003"_s;
        QTest::newRow("saved by hand meanwhile") << u"A h001 A"_s << u"001 002"_s;
        QTest::newRow("higher roll saved by hand") << u"A h010 A sA A"_s << u"001 001 011"_s;
    }

    void proposals()
    {
        QFETCH(QString, steps);
        QMap<QString, std::pair<QString, QString>> last; // station -> (filter, number)
        QStringList seen;
        for (const QString& step : steps.split(u' ')) {
            const QString arg = step.mid(1);
            if (step == u"r") {
                m_conn.close();
                m_conn.open(u"Provider=SQLite;Data Source="_s + m_path);
            } else if (step.startsWith(u'h') || step.startsWith(u'd')) {
                m_conn.execute((step.startsWith(u'h') ? u"insert checkinfo(billcode, checkCode) values('X', '%1')"_s
                                                      : u"delete checkinfo where billcode='X' and checkCode='%1'"_s)
                                   .arg(arg));
            } else if (step.startsWith(u's')) {
                const auto [filter, code] = last.value(arg);
                m_conn.beginTrans();
                m_conn.execute(u"insert checkinfo(billcode, checkCode) values('X', '%1')"_s.arg(code));
                SysUtil::codeSaved(m_conn, u"checkInfo"_s, u"checkCode"_s, filter, code, arg);
                m_conn.commitTrans();
            } else {
                const QString filter = u"billcode='%1'"_s.arg(step.section(u':', 1).isEmpty() ? u"X"_s : step.section(u':', 1));
                const QString station = step.section(u':', 0, 0);
                last[station] = {filter, SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, 3, filter, station)};
                seen << last[station].second;
            }
        }
        QTEST(seen.join(u' '), "proposed");
    }

    // Per kind and day, inside the caller's transaction: its rollback frees the number again.
    void dailyNumbers()
    {
        const QDate d(2026, 12, 5);
        m_conn.beginTrans();
        QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"缸号"_s, d), u"261205001"_s);
        QVERIFY(m_conn.inTransaction());
        m_conn.rollbackTrans();
        QStringList got;
        for (const auto& [kind, day] : {std::pair(u"箱号"_s, 0), {u"箱号"_s, 0}, {u"缸号"_s, 0}, {u"箱号"_s, 1}, {u"箱号"_s, 0}})
            got << SysUtil::nextDailyNumber(m_conn, kind, d.addDays(day));
        QCOMPARE(got, QStringList({"261205001", "261205002", "261205001", "261206001", "261205003"}));
    }

    void severalProcessesNeverShareANumber_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("daily") << u"daily"_s;
        QTest::newRow("code") << u"code"_s;
    }

    void severalProcessesNeverShareANumber()
    {
        QFETCH(QString, what);
        const int processes = 4, each = 25;
        QList<QProcess*> children;
        for (int i = 0; i < processes; ++i) {
            auto* p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(childVariable),
                       u"%1|%2|%3|station%4"_s.arg(m_path, what).arg(each).arg(i));
            p->setProcessEnvironment(env);
            p->start(QCoreApplication::applicationFilePath(), {});
            children << p;
        }
        QStringList numbers;
        for (QProcess* p : children) {
            QVERIFY(p->waitForFinished(120000));
            numbers += QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
            delete p;
        }
        // Every number once and none left out: each one handed out (daily) or saved (rolls) was the next.
        numbers.sort();
        QStringList expected;
        for (int i = 1; i <= processes * each; ++i)
            expected << (what == u"daily" ? u"261205%1"_s.arg(i, 3, 10, QLatin1Char('0'))
                                          : u"%1"_s.arg(i, 4, 10, QLatin1Char('0')));
        QCOMPARE(numbers, expected);
    }

    // The counter is read, raised and the number written in one transaction: when the last
    // statement fails (a full disk, a lost server), the earlier ones are undone too.
    void failedAllocationLeavesNothing_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("failing"); // the statement the trigger refuses
        QTest::newRow("daily number raised") << u"daily"_s << u"UPDATE"_s;
        QTest::newRow("roll number reserved") << u"code"_s << u"INSERT"_s;
    }

    void failedAllocationLeavesNothing()
    {
        QFETCH(QString, what);
        QFETCH(QString, failing);
        m_conn.execute(u"insert checkinfo(billcode, checkCode) values('X', '004')"_s);
        // A trigger body holds a ";", which the T-SQL layer would take for two statements.
        const auto native = [&](const QString& sql) {
            sqlite3* db = nullptr;
            sqlite3_open(m_path.toUtf8().constData(), &db);
            const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
            sqlite3_close(db);
            return rc;
        };
        QCOMPARE(native(u"create trigger refuse before %1 on mirelNumbers when new.value > 0 "
                        u"begin select raise(abort, 'disk full'); end"_s.arg(failing)), SQLITE_OK);
        const auto take = [&] {
            return what == u"daily" ? SysUtil::nextDailyNumber(m_conn, u"箱号"_s, QDate(2026, 12, 5))
                                    : SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, 3, u"billcode='X'"_s, u"A"_s);
        };
        QVERIFY_THROWS_EXCEPTION(DbError, take());
        QVERIFY(!m_conn.inTransaction());
        QCOMPARE(m_conn.execute(u"select count(*) from mirelNumbers"_s).field(0).toInt(), 0);
        QCOMPARE(native(u"drop trigger refuse"_s), SQLITE_OK);
        QCOMPARE(take(), what == u"daily" ? u"261205001"_s : u"005"_s);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childVariable))
        return childMain();
    TestRunningNumbers t;
    return QTest::qExec(&t, argc, argv);
}

#include "TestRunningNumbers.moc"
