// Roll, box and dye-lot numbers: the next free code, and never the same number twice, also when
// several station processes ask at the same moment on one database file.
#include "db/Connection.h"
#include "shell/SysUtilDb.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const char* childVariable = "MIREL_NUMBERS_CHILD";

// Child process: MIREL_NUMBERS_CHILD="db path|what|count"; prints one number per line.
int childMain()
{
    const QStringList args = qEnvironmentVariable(childVariable).split(u'|');
    Connection conn;
    conn.open(u"Provider=SQLite;Data Source="_s + args.at(0));
    QTextStream out(stdout);
    for (int i = 0; i < args.at(2).toInt(); ++i) {
        try {
            if (args.at(1) == u"daily")
                out << SysUtil::nextDailyNumber(conn, u"箱号"_s, QDate(2026, 12, 5)) << '\n';
            else
                out << SysUtil::nextCode(conn, u"checkInfo"_s, u"checkCode"_s, 4,
                                         u"billcode='SC1'"_s)
                    << '\n';
        } catch (const DbError& e) {
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
    void init();
    void nextCode_data();
    void nextCode();
    void codesHandedOutAreNotGivenAgain();
    void dailyNumbersPerKindAndDay();
    void severalProcessesNeverShareANumber_data();
    void severalProcessesNeverShareANumber();
    void insideCallersTransaction();
};

void TestRunningNumbers::init()
{
    static int n = 0;
    m_path = m_dir.path() + u"/n%1.db"_s.arg(++n);
    m_conn.openOrCreate(u"Provider=SQLite;Data Source="_s + m_path);
}

void TestRunningNumbers::nextCode_data()
{
    QTest::addColumn<QString>("existing"); // billcode:checkCode,...
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty table") << QString() << 3 << u"billcode='SC1'"_s << u"001"_s;
    QTest::newRow("after highest") << u"SC1:001,SC1:007,SC1:003"_s << 3 << u"billcode='SC1'"_s << u"008"_s;
    QTest::newRow("filter limits") << u"SC1:001,SC2:050"_s << 3 << u"billcode='SC1'"_s << u"002"_s;
    QTest::newRow("no filter") << u"SC1:001,SC2:050"_s << 3 << QString() << u"051"_s;
    QTest::newRow("other lengths ignored") << u"SC1:0005,SC1:12"_s << 4 << u"billcode='SC1'"_s << u"0006"_s;
    QTest::newRow("codes with letters ignored") << u"SC1:004,SC1:A01"_s << 3 << u"billcode='SC1'"_s << u"005"_s;
    QTest::newRow("full width grows") << u"SC1:99"_s << 2 << u"billcode='SC1'"_s << u"100"_s;
    QTest::newRow("filter with quote") << u"O'B:004"_s << 3 << u"billcode='O''B'"_s << u"005"_s;
}

void TestRunningNumbers::nextCode()
{
    QFETCH(QString, existing);
    QFETCH(int, length);
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    for (const QString& pair : existing.split(u',', Qt::SkipEmptyParts)) {
        const QStringList p = pair.split(u':');
        QString card = p.at(0);
        m_conn.execute(u"insert checkinfo(billcode, checkCode) values('%1', '%2')"_s.arg(
            card.replace(u"'"_s, u"''"_s), p.at(1)));
    }
    QCOMPARE(SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, length, filter), expected);
}

void TestRunningNumbers::codesHandedOutAreNotGivenAgain()
{
    const QString a = SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, 3, u"billcode='X'"_s);
    const QString b = SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, 3, u"billcode='X'"_s);
    QCOMPARE(a, u"001"_s);
    QCOMPARE(b, u"002"_s);
    // A roll saved by hand with a higher number moves the sequence on.
    m_conn.execute(u"insert checkinfo(billcode, checkCode) values('X', '010')"_s);
    QCOMPARE(SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, 3, u"billcode='X'"_s), u"011"_s);
    // Another card has its own sequence.
    QCOMPARE(SysUtil::nextCode(m_conn, u"checkInfo"_s, u"checkCode"_s, 3, u"billcode='Y'"_s), u"001"_s);
}

void TestRunningNumbers::dailyNumbersPerKindAndDay()
{
    const QDate d(2026, 12, 5);
    QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"箱号"_s, d), u"261205001"_s);
    QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"箱号"_s, d), u"261205002"_s);
    QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"缸号"_s, d), u"261205001"_s);
    QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"箱号"_s, d.addDays(1)), u"261206001"_s);
    QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"箱号"_s, d), u"261205003"_s);
}

void TestRunningNumbers::severalProcessesNeverShareANumber_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("daily") << u"daily"_s;
    QTest::newRow("code") << u"code"_s;
}

void TestRunningNumbers::severalProcessesNeverShareANumber()
{
    QFETCH(QString, what);
    const int processes = 4, each = 25;
    QList<QProcess*> children;
    for (int i = 0; i < processes; ++i) {
        auto* p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(childVariable), u"%1|%2|%3"_s.arg(m_path, what).arg(each));
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
    QCOMPARE(numbers.size(), processes * each);
    for (const QString& n : numbers)
        QVERIFY2(!n.startsWith(u"ERROR"_s), qPrintable(n));
    const QSet<QString> unique(numbers.begin(), numbers.end());
    QCOMPARE(unique.size(), numbers.size());
    // No gaps either: every call took the next number.
    numbers.sort();
    QCOMPARE(numbers.last().right(3).toInt(), processes * each);
}

void TestRunningNumbers::insideCallersTransaction()
{
    m_conn.beginTrans();
    const QString n = SysUtil::nextDailyNumber(m_conn, u"缸号"_s, QDate(2026, 1, 1));
    QVERIFY(m_conn.inTransaction());
    m_conn.rollbackTrans();
    // The caller rolled back: the number is free again.
    QCOMPARE(SysUtil::nextDailyNumber(m_conn, u"缸号"_s, QDate(2026, 1, 1)), n);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(childVariable))
        return childMain();
    TestRunningNumbers t;
    return QTest::qExec(&t, argc, argv);
}

#include "TestRunningNumbers.moc"
