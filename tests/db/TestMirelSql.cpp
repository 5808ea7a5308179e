// mirel-sql as administrators and scripts call it: statements from -e, arguments or stdin, the
// printed table, exit codes, schema and demo creation, encoded settings.
#include "codec/TextCodec.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestMirelSql : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString connection() const { return u"Provider=SQLite;Data Source="_s + m_dir.path() + u"/t.db"_s; }
    struct Result {
        int code;
        QString out;
        QString err;
    };
    Result run(const QStringList& args, const QByteArray& input = QByteArray());

private slots:
    void initTestCase();
    void printsTablesWithHeader_data();
    void printsTablesWithHeader();
    void stdinBatchesSeparatedByGo();
    void errorGoesToStderrWithNonZeroExit();
    void missingDatabaseIsAnError();
    void encodeGivesWhatTheStationsDecode();
    void homeFolderSettingIsTheDefault();
};

TestMirelSql::Result TestMirelSql::run(const QStringList& args, const QByteArray& input)
{
    QProcess p;
    p.setProgram(qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel-sql"_s);
    p.setArguments(args);
    p.start();
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return {-1, QString(), u"timeout"_s};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TestMirelSql::initTestCase()
{
    const Result r = run({u"--connection"_s, connection(), u"--init-demo"_s});
    QVERIFY2(r.code == 0, qPrintable(r.err));
}

void TestMirelSql::printsTablesWithHeader_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("demo card") << u"select billcode, billtype from bill where billcode='SC2611001'"_s
                               << u"billcode\tbilltype\nSC2611001\t55\n"_s;
    QTest::newRow("null and bytes") << u"select NULL as n, 0x0102 as b"_s << u"n\tb\nNULL\t<2 bytes>\n"_s;
    QTest::newRow("tab and newline flattened") << u"select 'a' + char(9) + 'b' as t"_s << u"t\na b\n"_s;
    QTest::newRow("no result set") << u"update bill set remark=remark where 1=0"_s << QString();
    QTest::newRow("last result set of a batch")
        << u"select 1 as a; select 2 as b"_s << u"b\n2\n"_s;
}

void TestMirelSql::printsTablesWithHeader()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    const Result r = run({u"--connection"_s, connection(), u"-e"_s, sql});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out, expected);
}

void TestMirelSql::stdinBatchesSeparatedByGo()
{
    const Result r = run({u"--connection"_s, connection()},
                         "insert DBInfo(InfoCode, InfoValue) values('x', '一');\n"
                         "select SCOPE_IDENTITY() as id\ngo\nselect InfoValue from DBInfo where InfoCode='X'\n");
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), u"id"_s);
    QCOMPARE(lines.at(3), u"一"_s);
}

void TestMirelSql::errorGoesToStderrWithNonZeroExit()
{
    const Result r = run({u"--connection"_s, connection(), u"-e"_s, u"select 1 as a"_s, u"-e"_s,
                          u"select nosuch from bill"_s, u"-e"_s, u"select 3 as c"_s});
    QVERIFY(r.code != 0);
    QVERIFY2(r.err.contains(u"nosuch"_s), qPrintable(r.err));
    QCOMPARE(r.out, u"a\n1\n"_s); // the batch after the error does not run
}

void TestMirelSql::missingDatabaseIsAnError()
{
    const Result r = run({u"--connection"_s, u"Provider=SQLite;Data Source="_s + m_dir.path() +
                                                 u"/none.db"_s, u"-e"_s, u"select 1"_s});
    QVERIFY(r.code != 0);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(!QFile::exists(m_dir.path() + u"/none.db"_s));
}

void TestMirelSql::encodeGivesWhatTheStationsDecode()
{
    const QString plain = u"Provider=SQLOLEDB.1;Data Source=srv;User ID=sa;Password=密码;"_s;
    const Result r = run({u"--encode"_s, plain});
    QCOMPARE(r.code, 0);
    QCOMPARE(TextCodec::decodeText(r.out.trimmed(), u"orvex"_s), plain);
}

void TestMirelSql::homeFolderSettingIsTheDefault()
{
    QTemporaryDir home;
    QFile ini(home.path() + u"/config.ini"_s);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write((u"[CUSTOMER.SETTING]\nCONNECTIONSTRING="_s + TextCodec::encodeText(connection(), u"orvex"_s) + u"\n"_s).toUtf8());
    ini.close();
    const Result r = run({u"--home"_s, home.path(), u"-e"_s, u"select count(*) as n from UserInfo"_s});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(r.out, u"n\n5\n"_s);
}

QTEST_GUILESS_MAIN(TestMirelSql)
#include "TestMirelSql.moc"
