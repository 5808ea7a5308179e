// The embedded database as the stations meet it: opening and creating files, bad files,
// transactions, values of every type, and the connection strings a mill writes.
#include "DbTestUtil.h"

#include "config/ProgramFolder.h"
#include "db/ConnectionString.h"
#include "db/EmbeddedSchema.h"
#include "db/SqliteBackend.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "support/TempProgramFolder.h"
#include "support/ThrowsWith.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <memory>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

class TestConnection : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempDatabase> m_db; // a fresh database for every test, open on m_conn
    Connection m_conn;

private slots:
    void init()
    {
        m_conn.close();
        m_db = std::make_unique<TempDatabase>();
        m_db->open(m_conn);
    }

    void defaultWordCreatesTheEmbeddedDatabase()
    {
        TempProgramFolder folder;
        Connection conn;
        QVERIFY_THROWS_EXCEPTION(DbError, conn.open(u"缺省"_s)); // only start-up creates it
        QVERIFY(!QFile::exists(folder.file(u"mirel.db"_s)));
        conn.openOrCreate(u"缺省"_s);
        QVERIFY(QFile::exists(folder.file(u"mirel.db"_s)));
        QCOMPARE(conn.dialect(), SqlDialect::Sqlite);
        // Every table is there, without demo rows.
        for (const QString& table : {u"bill"_s, u"BillDetail"_s, u"checkinfo"_s, u"checkDetail"_s,
                                     u"BillStatusDetail"_s, u"item"_s, u"Dictionary"_s, u"DBInfo"_s,
                                     u"printpool"_s, u"billFiles"_s, u"RFID_CARDINFO"_s, u"UserInfo"_s})
            QCOMPARE(rowsText(conn.execute(u"select count(*) from "_s + table)), u"0"_s);
        // Opening again keeps what was written.
        conn.execute(u"insert bill(billcode) values('SC1')"_s);
        conn.open(u"缺省"_s);
        QCOMPARE(rowsText(conn.execute(u"select billcode from bill"_s)), u"SC1"_s);
    }

    // A fresh mill database on SQL Server must hold every table and column the embedded one has.
    void sqlServerScriptHasTheSameColumns()
    {
        QMap<QString, QStringList> server, embedded;
        static const QRegularExpression table(u"CREATE TABLE (\\S+) \\((.*?)\\n\\);"_s,
                                              QRegularExpression::DotMatchesEverythingOption);
        for (auto it = table.globalMatch(EmbeddedSchema::sqlServerSchema()); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            QStringList& columns = server[m.captured(1).toLower()];
            for (const QString& line : m.captured(2).split(u'\n', Qt::SkipEmptyParts)) {
                const QString name = line.trimmed().section(u' ', 0, 0).remove(u'[').remove(u']').toLower();
                if (!name.isEmpty() && name != u"primary" && name != u"constraint" && name != u"--")
                    columns << name;
            }
        }
        Recordset tables = m_conn.execute(u"select name from sqlite_master where type='table' and name not like 'sqlite%'"_s);
        for (tables.moveFirst(); !tables.eof(); tables.moveNext()) {
            Recordset cols = m_conn.execute(u"pragma table_info('%1')"_s.arg(tables.text(0)));
            QStringList& columns = embedded[tables.text(0).toLower()];
            for (cols.moveFirst(); !cols.eof(); cols.moveNext())
                columns << cols.text(u"name"_s).toLower();
        }
        QCOMPARE(server.keys(), embedded.keys());
        for (auto it = embedded.cbegin(); it != embedded.cend(); ++it) {
            QStringList a = server.value(it.key()), b = it.value();
            a.sort();
            b.sort();
            QVERIFY2(a == b, qPrintable(it.key() + u": "_s + a.join(u',') + u" / "_s + b.join(u',')));
        }
    }

    // A file that is no database is an error and is left as it is (a missing file, not created:
    // the default word's and mirel-sql's tests).
    void corruptFileIsAnErrorAndLeftAlone()
    {
        TempProgramFolder folder;
        const QByteArray bytes(8192, 'x');
        folder.writeFile(u"none.db"_s, bytes);
        Connection conn;
        QVERIFY(throwsWith<DbError>([&] { conn.open(u"Data Source="_s + folder.file(u"none.db"_s)); }, u"not a database"_s));
        QVERIFY(!conn.isOpen());
        QCOMPARE(folder.readFile(u"none.db"_s), bytes);
        QVERIFY_THROWS_EXCEPTION(DbError, conn.execute(u"select 1"_s));
    }

    void lostFileIsOfflineNeverCreated_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("event");
        for (const QString& c : {u"缺省"_s, u"Data Source=named.db"_s})
            for (const QString& e : {u"moved away and back"_s, u"deleted"_s, u"replaced"_s})
                QTest::newRow(qPrintable(c + u", "_s + e)) << c << e;
    }

    // The database file goes away under an open connection: every statement fails as offline, no
    // file is made in its place (an empty one would later wipe the real one through its journal),
    // and the connection comes back by itself to the file that returns.
    void lostFileIsOfflineNeverCreated()
    {
        QFETCH(QString, connection);
        QFETCH(QString, event);
        TempProgramFolder folder;
        const QString path = folder.file(connection == u"缺省"_s ? u"mirel.db"_s : u"named.db"_s);
        const QString aside = folder.file(u"aside.db"_s);
        auto make = [](const QString& cs, const QString& bill) {
            Connection c;
            c.openOrCreate(cs);
            c.execute(u"insert bill(billcode) values('%1')"_s.arg(bill));
        };
        make(connection, u"SC1"_s);
        Connection conn;
        conn.open(connection);
        conn.execute(u"insert bill(billcode) values('SC1b')"_s); // still in the journal (-wal)
        auto bills = [](Connection& c) {
            return rowsText(c.execute(u"select billcode from bill order by billcode"_s));
        };
        auto offline = [&] {
            try {
                conn.execute(u"select count(*) from bill"_s);
            } catch (const DbError& e) {
                return e.connectionLost();
            }
            return false;
        };
        if (event == u"replaced") { // in one step, as a restore from a backup does
            make(u"Data Source="_s + aside, u"SC2"_s);
            QCOMPARE(std::rename(aside.toUtf8().constData(), path.toUtf8().constData()), 0);
            QVERIFY(offline());
            QCOMPARE(bills(conn), u"SC2"_s); // not read through the old file's journal
            return;
        }
        if (event == u"deleted")
            QVERIFY(QFile::remove(path));
        else
            QVERIFY(QFile::rename(path, aside));
        QVERIFY(offline());
        QVERIFY(offline()); // the re-open finds nothing and creates nothing
        QVERIFY(!QFile::exists(path));
        QCOMPARE(QFileInfo(path + u"-wal"_s).size(), 0); // no journal left to read another file through
        if (event == u"deleted")
            return;
        {
            Connection away; // the file that left holds every save
            away.open(u"Data Source="_s + aside);
            QCOMPARE(bills(away), u"SC1\nSC1b"_s);
        }
        QVERIFY(QFile::rename(aside, path));
        QCOMPARE(bills(conn), u"SC1\nSC1b"_s);
        QVERIFY(conn.isOpen());
    }

    // Rolled back unless committed; a failed statement loses nothing committed before; a nested begin
    // is refused; a COMMIT that fails (here a deferred constraint) is rolled back, never left open.
    // A configured query reads and never writes: each row is one attempt; the bill rows count
    // afterwards. "engine" rows go past the statement check, to the embedded connection itself.
    void configuredQueriesOnlyRead_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("engine");
        QTest::addColumn<bool>("runs");
        const auto row = [](const char* name, const char* sql, bool runs, bool engine = false) {
            QTest::newRow(name) << QString::fromUtf8(sql) << engine << runs;
        };
        row("select", "select billcode from bill where billcode like 'SC%'", true);
        row("with select", "with b as (select billcode from bill) select * from b;", true);
        row("union and sub-query", "select 1 union all select (select count(*) from bill)", true);
        row("words in strings and names", "select 'delete' as [update] from bill -- drop", true);
        row("delete", "delete from bill where billcode = 'SC2611001'", false);
        row("second statement", "select 1; delete from bill", false);
        row("second statement without ;", "select 1 delete from bill", false);
        row("comment before", "/* board */ delete bill", false);
        row("with delete", "with b as (select 1 a) delete from bill", false);
        row("select into", "select * into bill2 from bill", false);
        row("procedure", "exec sp_who", false);
        row("drop", "drop table bill", false);
        row("two selects", "select 1 select 2", false);
        row("engine delete", "delete from bill", false, true);
        row("engine insert", "insert into bill(billcode) values('X')", false, true);
    }
    void configuredQueriesOnlyRead()
    {
        QFETCH(QString, sql);
        QFETCH(bool, engine);
        QFETCH(bool, runs);
        m_conn.execute(u"insert bill(billcode) values('SC2611001'); insert bill(billcode) values('SC2611002')"_s);
        std::optional<DbError> error;
        try {
            qint64 changed = 0;
            const Recordset rs = engine ? SqliteBackend(m_db->path(), false).executeReadOnly(sql, changed)
                                        : m_conn.query(sql);
            QVERIFY(rs.isOpen());
        } catch (const DbError& e) {
            error = e;
        }
        QVERIFY2(runs != error.has_value(), error ? qPrintable(error->message()) : "ran");
        QVERIFY(runs || error->isReadOnlyRefusal());
        QCOMPARE(rowsText(m_conn.execute(u"select count(*) from bill"_s)), u"2"_s);
        m_conn.execute(u"insert bill(billcode) values('SC3')"_s); // writable again after
    }

    void transactions()
    {
        m_conn.execute(u"pragma foreign_keys=on"_s);
        m_conn.execute(u"insert checkinfo(billcode) values('kept'); create table p(id integer primary key);"
                       u"create table c(pid integer references p(id) deferrable initially deferred)"_s);
        {
            Transaction t(m_conn);
            m_conn.execute(u"insert checkinfo(billcode) values('A')"_s);
            QVERIFY_THROWS_EXCEPTION(DbError, m_conn.beginTrans());
            QVERIFY(m_conn.inTransaction());
        }
        QVERIFY(!m_conn.inTransaction());
        try {
            Transaction t(m_conn);
            m_conn.execute(u"insert checkinfo(billcode) values('B')"_s);
            m_conn.execute(u"insert checkDetail(nosuchcolumn) values(1)"_s);
            QFAIL("no error");
        } catch (const DbError&) {
        }
        {
            Transaction t(m_conn);
            m_conn.execute(u"insert checkinfo(billcode) values('C')"_s);
            t.commit();
        }
        {
            Transaction t(m_conn);
            m_conn.execute(u"insert checkinfo(billcode) values('D'); insert into c(pid) values(9)"_s);
            QVERIFY_THROWS_EXCEPTION(DbError, t.commit());
        }
        QVERIFY(!m_conn.inTransaction());
        QCOMPARE(rowsText(m_conn.execute(u"select billcode from checkinfo order by id"_s)), u"kept\nC"_s);
    }

    void writesThatMustTouchTheirRow_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("param"); // bound to the one "?" when not empty
        QTest::addColumn<int>("touched");   // 0: the row is gone, the call throws
        QTest::newRow("update one") << u"update checkinfo set remark='x' where id=1"_s << QString() << 1;
        QTest::newRow("update two") << u"Update CheckInfo set remark='x' where billcode='A'"_s << QString() << 2;
        QTest::newRow("update deleted") << u"update checkinfo set remark='x' where id=9"_s << QString() << 0;
        QTest::newRow("delete without from") << u"delete CheckInfo where id=2"_s << QString() << 1;
        QTest::newRow("marker") << u"update checkinfo set remark=? where id=2"_s << u"y"_s << 1;
        QTest::newRow("marker deleted") << u"update checkinfo set remark=? where id=3"_s << u"y"_s << 0;
    }

    // A save or delete whose row another station deleted meanwhile is an error, not a silent no-op.
    void writesThatMustTouchTheirRow()
    {
        QFETCH(QString, statement);
        QFETCH(QString, param);
        QFETCH(int, touched);
        m_conn.execute(
            u"insert checkinfo(billcode) values('A'); insert checkinfo(billcode) values('A')"_s);
        auto run = [&] {
            return param.isEmpty() ? m_conn.executeOnRow(statement)
                                   : m_conn.executeOnRow(statement, {DbValue(param)});
        };
        if (touched > 0) {
            QCOMPARE(run(), touched);
            return;
        }
        try {
            run();
            QFAIL("no error for a write that touched no row");
        } catch (const DbError& e) {
            QVERIFY(e.isRowMissing());
            QVERIFY2(e.message().contains(u"已被删除"_s), qPrintable(e.message()));
        }
    }

    void valuesOfEveryType()
    {
        m_conn.execute(u"insert item(itemcode, Price, isstop, pic, picName) values('T1', 12.5, 0, 0x00FF10, '图.png')"_s);
        m_conn.execute(u"insert checkinfo(billcode, createDate) values('A', '2026/3/4 5:06:07')"_s);
        Recordset rs = m_conn.execute(u"select itemcode, Price, isstop, pic, picName, NULL as n from item"_s);
        QCOMPARE(rs.field(u"itemcode"_s).type(), DbValue::Type::Text);
        QCOMPARE(rs.field(u"PRICE"_s).type(), DbValue::Type::Decimal);
        QCOMPARE(rs.field(u"Price"_s).toString(), u"12.5"_s);
        QCOMPARE(rs.field(u"isstop"_s).type(), DbValue::Type::Integer);
        QCOMPARE(rs.field(u"pic"_s).toBytes(), QByteArray("\x00\xff\x10", 3));
        QVERIFY(rs.field(u"n"_s).isNull());
        QCOMPARE(rs.field(u"n"_s).toString(), QString());
        QCOMPARE(rs.field(u"n"_s).toDouble(), 0.0);
        rs = m_conn.execute(u"select createDate from checkinfo"_s);
        QCOMPARE(rs.field(0).type(), DbValue::Type::DateTime);
        QCOMPARE(rs.field(0).toDateTime(), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.field(u"nosuch"_s));
        // Quotes, SQL and trailing blanks in a text come back as they were written.
        for (const QString& text : {u"it's"_s, u"''"_s, u"客户'王'说：“边中色差”"_s, u"x'); delete item; --"_s, u"破洞  "_s}) {
            m_conn.execute(u"update item set picName="_s + SqlText::quoted(text));
            rs = m_conn.execute(u"select picName, count(*) over () from item"_s);
            QCOMPARE(rs.recordCount(), 1);
            QCOMPARE(rs.field(0).toString(), text);
        }
        // A text read as a number takes its leading number, as the mill's quantities are typed.
        for (const auto& [text, value] : {std::pair{u"12.5"_s, 12.5}, {u"60米"_s, 60.0}, {QString(), 0.0},
                                          {u"abc"_s, 0.0}, {u"-3.5kg"_s, -3.5}})
            QCOMPARE(DbValue(text).toDouble(), value);
    }

    // Rows handed over one by one read as the recordset holds them: more distinct texts in a
    // column than are kept converted, each twice and out of order, numbers, nulls and dates; a
    // handler that throws ends the statement, which runs again afterwards.
    void rowsOneByOne()
    {
        for (int i = 0; i < 40; ++i)
            m_conn.execute(u"insert checkinfo(billcode, onCount, grade, createDate) values(?, ?, ?, ?)"_s,
                           {u"卡%1"_s.arg(i / 2 * 5 % 13), i % 3 ? DbValue(i * 0.5) : DbValue(),
                            i % 5 ? DbValue(u"%1 品"_s.arg(i % 11)) : DbValue(qint64(i)),
                            QDateTime(QDate(2026, 1, 1 + i % 28), QTime(8, i))});
        const QString select = u"select id, billcode, onCount, grade, createDate from checkinfo where id > ?"_s;
        const Recordset all = m_conn.execute(select, {DbValue(0)});
        QCOMPARE(all.recordCount(), 40);
        int n = 0;
        m_conn.forEachRow(select, {DbValue(0)}, [&](const DbRow& row) {
            const QList<DbValue>& want = all.rows().at(n++);
            QCOMPARE(row.size(), int(want.size()));
            for (int i = 0; i < row.size(); ++i) {
                QCOMPARE(row.value(i), want[i]);
                QCOMPARE(row.text(i), want[i].toString());
                QCOMPARE(row.number(i), want[i].toDouble());
                QCOMPARE(row.integer(i), want[i].toLongLong());
            }
        });
        QCOMPARE(n, 40);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_conn.forEachRow(select, {DbValue(0)}, [](const DbRow&) {
            throw std::runtime_error("stop");
        }));
        n = 0;
        m_conn.forEachRow(select, {DbValue(38)}, [&](const DbRow&) { ++n; });
        QCOMPARE(n, 2);
    }

    void connectionStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("detail"); // {home}: the program folder
        QTest::addColumn<QByteArray>("mirelIni");
        const auto row = [](const char* name, const QString& text, ConnectionTarget::Kind kind,
                            const QString& detail, const QByteArray& ini = {}) {
            QTest::newRow(name) << text << int(kind) << detail << ini;
        };
        const auto sqlite = ConnectionTarget::Sqlite, odbc = ConnectionTarget::Odbc;
        const QString server = u"Provider=SQLOLEDB.1;Data Source=srv;Initial Catalog=erp;User ID=sa;Password=p;"_s;
        row("relative file", u"Provider=SQLite;Data Source=mirel.db"_s, sqlite, u"{home}/mirel.db"_s);
        row("relative sub-folder", u"Data Source=./data/../data/mill.db"_s, sqlite, u"{home}/data/mill.db"_s);
        row("data source file", u"Data Source=/data/mill.sqlite"_s, sqlite, u"/data/mill.sqlite"_s);
        row("protocol version default", server, odbc, u"PWD=p;ClientCharset=UTF-8;TDS_Version=7.4;"_s);
        row("protocol version of an older server", server, odbc, u"PWD=p;ClientCharset=UTF-8;TDS_Version=7.1;"_s,
            "[Database]\nTdsVersion= 7.1\n");
        row("sql login", u"Provider=SQLOLEDB.1;Persist Security Info=False;Data Source=srv;Initial Catalog=erp;User ID=sa;Password=p;w;"_s,
            odbc, u"Driver={FreeTDS};Server=srv;Database=erp;UID=sa;PWD=p;"_s);
        row("integrated", u"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Data Source=srv;Initial Catalog=erp;User ID=;Password=;"_s,
            odbc, u"Trusted_Connection=Yes"_s);
        row("odbc unchanged", u"Driver=SQLite3;Database=/tmp/x.db"_s, odbc, u"Driver=SQLite3;Database=/tmp/x.db"_s);
        row("dsn", u"DSN=mill;UID=a"_s, odbc, u"DSN=mill;UID=a"_s);
        row("nonsense", u"hello"_s, ConnectionTarget::Invalid, QString());
    }

    void connectionStrings()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, detail);
        QFETCH(QByteArray, mirelIni);
        TempProgramFolder folder;
        folder.writeFile(u"mirel.ini"_s, mirelIni);
        detail.replace(u"{home}"_s, ProgramFolder::path());
        // A shortcut may start the program in any folder.
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        const ConnectionTarget t = ConnectionString::resolve(text);
        QDir::setCurrent(cwd);
        QCOMPARE(int(t.kind), kind);
        if (t.kind == ConnectionTarget::Sqlite)
            QCOMPARE(t.path, detail);
        else if (t.kind == ConnectionTarget::Odbc)
            QVERIFY2(t.odbc.contains(detail), qPrintable(t.odbc));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "TestConnection.moc"
