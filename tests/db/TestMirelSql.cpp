// mirel-sql as administrators and scripts call it: statements from -e, arguments or stdin, the
// printed table, exit codes, schema and demo creation, encoded settings.
#include "codec/TextCodec.h"
#include "support/SqliteOdbc.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestMirelSql : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir; // the demo database t.db, and config.ini naming it
    QString connection() const { return u"Provider=SQLite;Data Source="_s + m_dir.path() + u"/t.db"_s; }

    int run(const QStringList& args, const QByteArray& input, QString& out, QString& err)
    {
        QProcess p;
        p.start(qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel-sql"_s, args);
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000))
            return -1;
        out = QString::fromUtf8(p.readAllStandardOutput());
        err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    }

private slots:
    void initTestCase()
    {
        QString out, err;
        QVERIFY2(run({u"--connection"_s, connection(), u"--init-demo"_s}, {}, out, err) == 0, qPrintable(err));
        QFile ini(m_dir.path() + u"/config.ini"_s);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write((u"[CUSTOMER.SETTING]\nCONNECTIONSTRING="_s + TextCodec::encodeText(connection(), u"orvex"_s) + u"\n"_s).toUtf8());
    }

    // args: {db} is the demo database's connection, {dir} its folder; without --connection, --home
    // or --encode the connection comes first. err: empty for exit code 0, else a part of the error
    // output of a non-zero exit.
    void runs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const auto e = [](const QString& sql) { return QStringList{u"-e"_s, sql}; };
        QTest::newRow("demo card") << e(u"select billcode, billtype from bill where billcode='SC2611001'"_s)
                                   << QByteArray() << u"billcode\tbilltype\nSC2611001\t55\n"_s << QString();
        QTest::newRow("null, bytes, tab") << e(u"select NULL as n, 0x0102 as b, 'a' + char(9) + 'b' as t"_s) << QByteArray()
                                          << u"n\tb\tt\nNULL\t<2 bytes>\ta b\n"_s << QString();
        QTest::newRow("no result set") << e(u"update bill set remark=remark where 1=0"_s) << QByteArray() << QString() << QString();
        QTest::newRow("last result set of a batch") << e(u"select 1 as a; select 2 as b"_s) << QByteArray() << u"b\n2\n"_s << QString();
        QTest::newRow("stdin batches separated by go")
            << QStringList() << QByteArray("insert DBInfo(InfoCode, InfoValue) values('x', '一');\nselect count(*) as n from DBInfo"
                                           " where InfoValue='一'\ngo\nselect InfoValue from DBInfo where InfoCode='X'\n")
            << u"n\n1\nInfoValue\n一\n"_s << QString();
        QTest::newRow("the batch after an error does not run")
            << e(u"select 1 as a"_s) + e(u"select nosuch from bill"_s) + e(u"select 3 as c"_s) << QByteArray()
            << u"a\n1\n"_s << u"nosuch"_s;
        QTest::newRow("missing database is not created")
            << QStringList{u"--connection"_s, u"Provider=SQLite;Data Source={dir}/none.db"_s, u"-e"_s, u"select 1"_s}
            << QByteArray() << QString() << u"none.db"_s;
        const QString plain = u"Provider=SQLOLEDB.1;Data Source=srv;User ID=sa;Password=密码;"_s;
        QTest::newRow("encode as the stations decode") << QStringList{u"--encode"_s, plain} << QByteArray()
                                                       << TextCodec::encodeText(plain, u"orvex"_s) + u"\n"_s << QString();
        QTest::newRow("home folder setting")
            << QStringList{u"--home"_s, u"{dir}"_s, u"-e"_s, u"select count(*) as n from UserInfo"_s} << QByteArray()
            << u"n\n5\n"_s << QString();
    }

    void runs()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(QString, err);
        if (!args.contains(u"--connection"_s) && !args.contains(u"--home"_s) && !args.contains(u"--encode"_s))
            args = QStringList{u"--connection"_s, connection()} + args;
        args.replaceInStrings(u"{dir}"_s, m_dir.path());
        QString gotOut, gotErr;
        const int code = run(args, input, gotOut, gotErr);
        QVERIFY2(err.isEmpty() ? code == 0 : code > 0 && gotErr.contains(err), qPrintable(gotErr));
        QTEST(gotOut, "out");
        QVERIFY(!QFile::exists(m_dir.path() + u"/none.db"_s));
    }
    // A mill's migration script from stdin, twice: the table is made only the first time, rows are
    // copied, marked through a join, and the counts printed; on the embedded database and through
    // the SQLite ODBC driver.
    void migrationScript_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::newRow("embedded") << u"Provider=SQLite;Data Source={db}"_s;
        if (!SqliteOdbc::driver().isEmpty())
            QTest::newRow("odbc") << u"Driver="_s + SqliteOdbc::driver() + u";Database={db}"_s;
    }

    void migrationScript()
    {
        QFETCH(QString, connection);
        const QString db = m_dir.path() + u"/"_s + QString::fromLatin1(QTest::currentDataTag()) + u".db"_s;
        QString out, err;
        QVERIFY(QFile::copy(m_dir.path() + u"/t.db"_s, db));
        connection.replace(u"{db}"_s, db);
        QVERIFY2(run({u"--connection"_s, connection, u"-e"_s, u"select count(*) from bill where billtype = 55"_s}, {}, out, err) == 0, qPrintable(err));
        const int cards = out.section(u'\n', 1, 1).toInt();
        QVERIFY(cards > 1);
        const QByteArray script =
            "set nocount on\n"
            "if object_id('bill_archive') is null\n"
            "begin\n"
            "    create table bill_archive (billid int, billcode nvarchar(20), remark nvarchar(100))\n"
            "    print '已建表 bill_archive'\n"
            "end\n"
            "GO\n"
            "declare @copied int, @marked int\n"
            "begin tran\n"
            "insert into bill_archive (billid, billcode, remark)\n"
            "select billid, billcode, remark from bill where billtype = 55\n"
            "set @copied = @@rowcount\n"
            "update bill_archive set remark = (select UserName from UserInfo where UserID = b.TransactorId)\n"
            "  from bill_archive inner join bill b on b.billid = bill_archive.billid where b.billtype = 55\n"
            "set @marked = @@rowcount\n"
            "commit\n"
            "print '复制 ' + cast(@copied as varchar) + ' 张，标注 ' + cast(@marked as varchar) + ' 张'\n"
            "select count(*) as n, count(distinct billid) as cards from bill_archive where remark in (select UserName from UserInfo)\n"
            "go\n";
        for (int pass = 1; pass <= 2; ++pass) {
            QCOMPARE(run({u"--connection"_s, connection}, script, out, err), 0);
            QCOMPARE(out, u"n\tcards\n%1\t%2\n"_s.arg(pass * cards).arg(cards));
            QCOMPARE(err, (pass == 1 ? u"已建表 bill_archive\n"_s : QString()) +
                              u"复制 %1 张，标注 %2 张\n"_s.arg(cards).arg(pass * cards));
        }
    }
};

QTEST_GUILESS_MAIN(TestMirelSql)
#include "TestMirelSql.moc"
