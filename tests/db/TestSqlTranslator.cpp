// The T-SQL rules of the embedded database, checked by running the statements the stations and
// customers' stored SQL send against a real SQLite database and comparing with SQL Server's
// answers; the same statements also through the SQLite ODBC driver when it is installed.
#include "DbTestUtil.h"

#include "db/DbProcedures.h"
#include "db/SqlShape.h"
#include "db/SqlTranslator.h"
#include "db/SqliteBackend.h"
#include "support/SqliteOdbc.h"
#include "support/ThrowsWith.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestSqlTranslator : public QObject {
    Q_OBJECT

private:
    TempDatabase m_db, m_shapeDb, m_odbcDb;
    Connection m_conn, m_shapeConn; // the second one keeps the rows as they are filled
    Connection m_odbc;              // through the SQLite ODBC driver; closed when not installed

private slots:
    void initTestCase()
    {
        const QString rows =
            u"insert checkinfo(billCode, billdetailId, itemid, checkCode, onCount, grade, remark, "
            u"createDate) "
            u"values('L05', 5, 1, '001', 60.5, 'A品', 'abc', '2026/1/5 8:03:00');"
            u"insert checkinfo(billCode, billdetailId, itemid, checkCode, onCount, grade, remark, "
            u"createDate) "
            u"values('L05', 5, 1, '002', 59, 'B品', NULL, '2026-01-06');"
            u"insert into checkinfo(billCode, billdetailId, itemid, checkCode, onCount, grade, remark, "
            u"createDate) "
            u"values('L06', 6, 2, '001', 12, 'A品', '破洞', '2026-01-07 17:30:00');"
            u"insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '55', '生产卡');"
            u"insert item(itemcode, itemname) values('T1', '涤棉府绸')"_s;
        m_db.open(m_conn);
        m_shapeDb.open(m_shapeConn);
        m_conn.execute(rows);
        m_shapeConn.execute(rows);
        if (!SqliteOdbc::driver().isEmpty()) {
            m_odbcDb.open(m_odbc);
            m_odbc.open(u"Driver="_s + SqliteOdbc::driver() + u";Database="_s + m_odbcDb.path());
            m_odbc.execute(rows);
        }
    }

    // Query -> rows as SQL Server returns them. Statements that change rows come last: the batch,
    // then a check query whose rows show the effect.
    void results_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const QString& sql, const QString& expected) {
            QTest::newRow(name) << sql << QString() << expected;
        };
        // TOP n
        row("top", u"select top 2 checkCode from checkinfo order by id"_s, u"001\n002"_s);
        row("top (n)", u"SELECT TOP (1) checkCode FROM checkinfo ORDER BY id DESC"_s, u"001"_s);
        row("top in subquery", u"select checkCode, billcode from checkinfo where id in (select top 1 id from checkinfo order by id desc)"_s, u"001|L06"_s);
        row("top in derived table", u"select count(*) from (select top 2 id from checkinfo order by id) t"_s, u"2"_s);
        row("top distinct", u"select distinct top 1 billcode from checkinfo order by billcode"_s, u"L05"_s);
        row("top with appended filter", u"SELECT top 200 a.id ,a.checkcode as 卷号 FROM  checkinfo a  where 1=1  and a.billcode like 'L06%' order by a.id desc"_s, u"3|001"_s);
        row("top 100 percent", u"select top 100 percent id from checkinfo order by id"_s, u"1\n2\n3"_s);
        row("top and union", u"select top 1 checkCode from checkinfo union all select 'x'"_s, u"001\nx"_s);
        row("top ends after parentheses", u"select top 1 checkCode from checkinfo where id in (2,3) and (grade='B品' or grade='A品') order by id"_s, u"002"_s);
        row("top ends before a trailing comment", u"select top 1 checkCode from checkinfo order by id desc -- newest roll"_s, u"001"_s);
        // isnull
        row("isnull number", u"select isnull(sum(onCount),0) from checkinfo where billcode='none'"_s, u"0"_s);
        row("isnull text default compares without case", u"select count(*) from checkinfo where isnull(remark,'')='ABC'"_s, u"1"_s);
        row("isnull default with quote", u"select count(*) from checkinfo where id=2 and isnull(remark,'it''s')='IT''S'"_s, u"1"_s);
        row("isnull null, mixed case", u"select isnull(remark,'无'), isNull(remark,'') from checkinfo where id=2"_s, u"无|"_s);
        // left / right
        row("left right", u"select left(checkCode,2), right(billcode,2), right('abc',0), left('中文字',2), right('ab', 5) from checkinfo where id=1"_s, u"00|05||中文|ab"_s);
        row("left join kept", u"select count(*) from checkinfo a left join Dictionary b on b.ItemValues=a.billcode"_s, u"3"_s);
        row("left compares without case", u"select count(*) from checkinfo where left(billcode,1)='l'"_s, u"3"_s);
        // convert / cast
        row("convert style 23", u"select convert(varchar, createDate, 23), CONVERT(  varchar ,createDate,23) from checkinfo where id=3"_s, u"2026-01-07|2026-01-07"_s);
        row("convert style 120", u"select convert(varchar(19), createDate, 120), convert(varchar, createDate, 120), convert(varchar(10), createDate, 120) from checkinfo where id=1"_s, u"2026-01-05 08:03:00|2026-01-05 08:03:00|2026-01-05"_s);
        row("cast without length keeps 30", u"select cast('abcdefghijklmno' as varchar), len(cast('abcdefghijklmnopqrstuvwxyz0123456789' as varchar))"_s, u"abcdefghijklmno|30"_s);
        row("convert between dates", u"select count(*) from checkinfo a where convert(varchar,a.createDate,23) between   '2026-01-05' and '2026-01-06'"_s, u"2"_s);
        row("day range keeps the last day", u"select count(*) from checkinfo a where convert(varchar,a.createdate,23) between   '2026-01-06' and '2026-01-07'"_s, u"2"_s);
        row("day range of one day", u"select a.id from checkinfo a where 1=1 and convert(varchar,a.createDate,23) between '2026-01-05' and '2026-01-05' ORDER BY a.id desc"_s, u"1"_s);
        row("convert style 23 cut to 7", u"select convert(varchar(7), createDate, 23), convert(varchar(13), createDate, 120) from checkinfo where id=3"_s, u"2026-01|2026-01-07 17"_s);
        row("isnumeric", u"select isnumeric('60'), isnumeric('1.'), isnumeric('.5'), isnumeric('R1'), isnumeric(' 60 '), isnumeric('门幅'), isnumeric('-1.5'), isnumeric('1e5'), isnumeric(''), isnumeric(12)"_s, u"1|1|1|0|1|0|1|1|0|1"_s);
        row("convert number", u"select convert(varchar, onCount) from checkinfo where id=1"_s, u"60.5"_s);
        row("convert and cast", u"select convert(varchar(3), 'abcdef'), cast('abcdef' as varchar(2)), convert(int, '42'), convert(decimal(18,2), 2.346)"_s, u"abc|ab|42|2.35"_s);
        row("cast datetime", u"select cast('2026/1/5' as datetime)"_s, u"2026-01-05 00:00:00"_s);
        row("convert null", u"select convert(varchar, remark) from checkinfo where id=2"_s, u"NULL"_s);
        // + between texts
        row("card id", u"SELECT  'B'+cast(b.billdetailId as varchar) +cast(b.id as varchar) as ID from checkinfo b where id=1"_s, u"B51"_s);
        row("roll id", u"SELECT  'check'+ convert(  varchar ,a.id ) as ID from checkinfo a where a.id=3"_s, u"check3"_s);
        row("text columns", u"select billcode+'-'+checkCode, billcode+checkCode+grade from checkinfo where id=1"_s, u"L05-001|L05001A品"_s);
        row("literal then two texts", u"select 'L' + a + b from (select '1' as a, '2' as b) t"_s, u"L12"_s);
        row("isnull texts", u"select isnull(remark,'')+'/'+isnull(grade,'') from checkinfo where id=2"_s, u"/B品"_s);
        row("numbers still add", u"select onCount+1, id+billdetailId, id + '1' from checkinfo where id=1"_s, u"61.5|6|2"_s);
        row("nested parentheses", u"select ('a'+(billcode+'-'))+checkCode from checkinfo where id=1"_s, u"aL05-001"_s);
        row("case result text", u"select case when id=1 then 'x' else 'y' end + billcode from checkinfo where id=1"_s, u"xL05"_s);
        // identity, dictionary
        row("getDictionary", u"select dbo.getDictionary('BillType', 55), dbo.getDictionary('BillType','99')"_s, u"生产卡|NULL"_s);
        row("[dbo] owner", u"select count(*) from [dbo].[checkinfo]"_s, u"3"_s);
        // functions with SQL Server meaning
        row("len ignores trailing blanks", u"select len('ab  '), len('中文'), len('')"_s, u"2|2|0"_s);
        row("charindex", u"select charindex('b','ABC'), charindex('z','abc'), charindex('a','abca',2), charindex('b','abcb',2)"_s, u"2|0|4|2"_s);
        row("substring", u"select substring('abcdef',2,3)"_s, u"bcd"_s);
        row("getdate is iso", u"select len(getdate()), substring(getdate(),5,1)"_s, u"19|-"_s);
        row("datediff dateadd", u"select datediff(day,'2026-01-05 23:59:00','2026-01-06 00:01:00'), datediff(mm, '2025-12-31', '2026-01-01'), dateadd(day, 1, '2026-01-31')"_s, u"1|1|2026-02-01 00:00:00"_s);
        row("datepart", u"select datepart(hour, createDate), year(createDate) from checkinfo where id=3"_s, u"17|2026"_s);
        // collation: letter case and trailing blanks ignored
        row("trailing blank and case", u"select count(*) from checkinfo where billcode='l05 '"_s, u"2"_s);
        row("group by ignores case", u"select count(distinct billcode) from checkinfo where billcode in ('L05','l05')"_s, u"1"_s);
        // dates stored as ISO and compared as dates
        row("stored date normalised", u"select createDate from checkinfo where id=1"_s, u"2026-01-05 08:03:00"_s);
        row("date-only literal means midnight", u"select count(*) from checkinfo where createDate >= '2026/1/6'"_s, u"2"_s);
        row("date between", u"select count(*) from checkinfo where createDate between '2026-01-05' and '2026/01/07 23:59:59'"_s, u"3"_s);
        row("date literal on the left", u"select count(*) from checkinfo where '2026-01-06' = createDate"_s, u"1"_s);
        // literals, comments and quoted names are not rewritten
        row("literal untouched", u"select 'left(a,1) + isnull(x,y) top 5' as t -- select top 5\n"_s, u"left(a,1) + isnull(x,y) top 5"_s);
        row("block comment untouched", u"select /* top 3 */ count(*) from checkinfo where /*billcode='x' and */ 1=1"_s, u"3"_s);
        row("N literal, doubled quotes", u"select N'中文' + N'字', 'it''s' + 'x'"_s, u"中文字|it'sx"_s);
        row("nolock hint", u"select count(*) from checkinfo with (nolock) where id>0"_s, u"3"_s);
        row("binary literal", u"select length(0x0A0B0C)"_s, u"3"_s);
        row("trailing semicolons", u"select 1; ;"_s, u"1"_s);
        row("duplicate names first wins", u"select a.*, b.* from checkinfo a left join checkinfo b on b.id=a.id+1 where a.id=1"_s, QString());
        // statements that change rows, each with its check query
        // "{result}" in a check query is the batch's own result.
        QTest::newRow("insert then SCOPE_IDENTITY in the batch")
            << u"Insert into checkInfo (billCode,checkCode,remark) values( 'L07','001','');select SCOPE_IDENTITY(); "_s
            << u"select billCode, (select max(id) from checkinfo) from checkinfo where id={result}"_s << u"L07|4"_s;
        QTest::newRow("@@IDENTITY")
            << u"insert checkDetail(checkId, bugName) values(1, '破洞'); select @@IDENTITY as id"_s
            << u"select bugName, (select count(*) from checkDetail) from checkDetail where id={result}"_s << u"破洞|1"_s;
        QTest::newRow("delete without FROM")
            << u"DELETE checkDetail where checkid=1"_s << u"select count(*) from checkDetail"_s << u"0"_s;
        QTest::newRow("delete alias FROM table alias")
            << u"insert checkDetail(checkId) values(9); delete a from checkDetail a where a.checkId=9"_s
            << u"select count(*) from checkDetail"_s << u"0"_s;
        // A queued job taken out and handed back in one statement; a foreign kind at the head stays.
        QTest::newRow("delete top output takes the head row")
            << u"insert printpool(PrintType,pid) values('箱唛','B1');insert printpool(PrintType,pid) values('匹唛','7');"
               u"delete top (1) from printPool output deleted.PrintType,deleted.PID where id=(select min(id) from printPool)"_s
            << QString() << u"箱唛|B1"_s;
        QTest::newRow("delete top output leaves a foreign head")
            << u"insert printpool(PrintType,pid) values('喷码打印','x');delete printpool where PrintType<>'喷码打印';"
               u"insert printpool(PrintType,pid) values('箱唛','B2');"
               u"delete top 1 printPool output deleted.PID where id=(select min(id) from printPool) and PrintType in ('箱唛')"_s
            << u"select PrintType from printpool order by id"_s << u"喷码打印\n箱唛"_s;
        QTest::newRow("delete output without top")
            << u"delete from printPool output deleted.PrintType where PrintType='箱唛'"_s << QString()
            << u"箱唛"_s;
        QTest::newRow("output into a table variable read back")
            << u"insert printpool(PrintType,pid) values('箱唛','B3');"
               u"declare @job table (ID int, PrintType nvarchar(200), PID nvarchar(200));"
               u"delete top (1) from printPool output deleted.PrintType,deleted.PID into @job where "
               u"pid='B3';"
               u"select PrintType,PID from @job"_s
            << QString() << u"箱唛|B3"_s;
        QTest::newRow("update with date")
            << u"update checkinfo set checkDate='2026/2/3 4:05:06' where id=1"_s
            << u"select checkDate from checkinfo where id=1"_s << u"2026-02-03 04:05:06"_s;
        QTest::newRow("update from with target repeated")
            << u"insert billStatus(billcode, amount, billstatus) values('L05', 100, '包装');"
               u"update checkinfo set checkcount=30 where id=1;"
               u" Update billStatus set amount = amount-checkinfo.checkcount  From billStatus left Join checkinfo  on BILLSTATUS.billcode=checkinfo.billcode where checkinfo.id=1 and billstatus='包装'"_s
            << u"select amount from billStatus"_s << u"70"_s;
        QTest::newRow("update set qualified target column")
            << u"update a set a.remark = 'q' from checkinfo a where a.id = 3"_s
            << u"select remark from checkinfo where id=3"_s << u"q"_s;
        QTest::newRow("remark with quote round trip")
            << u"update checkinfo set remark='O''Neil 的 ''卷''' where id=2"_s
            << u"select remark from checkinfo where id=2"_s << u"O'Neil 的 '卷'"_s;
        QTest::newRow("peibu batch is a no-op")
            << u"exec PeibuBatch "_s << u"select count(*) from checkinfo"_s << u"4"_s;
        QTest::newRow("quoted number into numeric column")
            << u"insert into checkinfo(billCode, onCount) values('L08', '12.50')"_s
            << u"select onCount + 1 from checkinfo where billcode='L08'"_s << u"13.5"_s;
    }

    void results()
    {
        QFETCH(QString, sql);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        QStringList columns; // as the embedded database names them; the same through ODBC, but for
                             // unnamed expressions ("isnumeric('1.')"), which SQL Server leaves unnamed
        for (Connection* conn : {&m_conn, &m_odbc}) {
            if (!conn->isOpen())
                continue;
            Recordset rs;
            try {
                // A query runs after one of the same shape with other values has been prepared.
                const SqlShape shape = SqlShape::of(sql);
                if (check.isEmpty() && shape.isShaped() &&
                    sql.startsWith(u"select"_s, Qt::CaseInsensitive)) {
                    QList<DbValue> other = shape.values();
                    for (DbValue& v : other)
                        v = v.type() == DbValue::Type::Text ? DbValue(v.toString() + u"~"_s)
                                                            : DbValue(v.toDouble() + 7);
                    conn->execute(shape.textWith(other));
                }
                rs = conn->execute(sql);
                if (!check.isEmpty())
                    rs = conn->execute(
                        QString(check).replace(u"{result}"_s, rs.isOpen() ? rowsText(rs) : QString()));
            } catch (const DbError& e) {
                QFAIL(qPrintable(e.message() + u"\n"_s + conn->translate(sql)));
            }
            if (conn == &m_conn)
                columns = rs.columns().filter(QRegularExpression(u"^[^.]*$"_s));
            for (const QString& name : columns)
                QVERIFY2(rs.columns().contains(name), qPrintable(name));
            if (QByteArray(QTest::currentDataTag()) == "duplicate names first wins") {
                QCOMPARE(rs.field(u"checkCode"_s).toString(), u"001"_s);
                QCOMPARE(rs.field(u"ID"_s).toLongLong(), 1);
            } else {
                QVERIFY2(rowsText(rs) == expected,
                         qPrintable((conn == &m_odbc ? u"ODBC: "_s : QString()) + rowsText(rs) +
                                    u" != "_s + expected));
            }
        }
    }

    void badSqlGivesTheDatabaseMessage_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("syntax") << u"select from where"_s << u"syntax error"_s;
        QTest::newRow("no such table") << u"select * from nosuchtable"_s << u"nosuchtable"_s;
        QTest::newRow("no such column") << u"select nosuchcolumn from checkinfo"_s << u"nosuchcolumn"_s;
        QTest::newRow("statement with its values")
            << u"select count(*) from checkinfo where billcode='L05' and nosuchcolumn=12.5"_s
            << u"billcode='L05' and nosuchcolumn=12.5"_s;
        QTest::newRow("unbalanced") << u"select (1"_s << u"incomplete input"_s;
        QTest::newRow("unterminated literal") << u"select 'abc"_s << u"unrecognized token"_s;
        QTest::newRow("unknown procedure") << u"exec NoSuchProc 1"_s << u"NoSuchProc"_s;
        QTest::newRow("bad date part") << u"select datediff(fortnight, '2026-01-01', '2026-01-02')"_s << u"datediff"_s;
    }

    void badSqlGivesTheDatabaseMessage()
    {
        QFETCH(QString, sql);
        QFETCH(QString, fragment);
        QVERIFY(throwsWith<DbError>([&] { m_conn.execute(sql); }, fragment, Qt::CaseInsensitive));
        // The connection stays usable.
        QCOMPARE(rowsText(m_conn.execute(u"select 1"_s)), u"1"_s);
    }

    void procedureRegistry()
    {
        DbProcedures::registerProcedure(u"CountRolls"_s, [](const QStringList& args,
                                                             const DbProcedures::Execute& exec) {
            return exec(u"select count(*) as n from checkinfo where billcode='"_s + args.value(0) + u"'"_s);
        });
        QCOMPARE(rowsText(m_conn.execute(u"exec CountRolls 'L05'"_s)), u"2"_s);
    }

    // A SQLite data source whose driver cannot load the program's functions is refused at once with
    // the module it lacks, not statement by statement with "no such function".
    void odbcWithoutTheModuleIsRefused()
    {
        if (!m_odbc.isOpen())
            QSKIP("the SQLite ODBC driver is not installed");
        qputenv("MIREL_SQLITE_MODULE", "/nowhere/libmirel_sqlite.so");
        Connection c;
        QVERIFY(throwsWith<DbError>(
            [&] { c.open(u"Driver="_s + SqliteOdbc::driver() + u";Database="_s + m_odbcDb.path()); },
            u"本程序的函数模块 /nowhere/libmirel_sqlite.so"_s));
        qunsetenv("MIREL_SQLITE_MODULE");
    }

    // The literals of a statement are bound to a statement prepared for an earlier text of the same
    // shape; those the translation or the result depends on stay in the text. %1 is first the one,
    // then the other literal; expected: the column names, then the rows of the second.
    void shapeReusedWithOtherLiterals_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* sql, const char* a, const char* b,
                      const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(sql) << QString::fromUtf8(a)
                                << QString::fromUtf8(b) << QString::fromUtf8(expected);
        };
        // clang-format off
        row("card number", "select count(*) from checkinfo where billcode=%1", "'L05'", "'L06'", "count(*)\n1");
        row("doubled quote", "select count(*) from checkinfo where 'a''b' = %1", "'x'", "'a''b'", "count(*)\n3");
        row("integer then decimal", "select count(*) from checkinfo where onCount > %1", "12", "11.5", "count(*)\n3");
        row("exponent", "select count(*) from checkinfo where onCount > %1", "1e1", "1.2e1", "count(*)\n2");
        row("beyond 64 bits", "select count(*) from checkinfo where id < %1", "99999999999999999999", "2", "count(*)\n1");
        row("negative", "select count(*) from checkinfo where -id < %1", "-1", "-2", "count(*)\n1");
        row("top n", "select top %1 checkCode from checkinfo order by id", "1", "2", "checkCode\n001\n002");
        row("top (n)", "select top (%1) checkCode from checkinfo order by id", "2", "1", "checkCode\n001");
        row("convert style", "select count(*) from checkinfo where convert(varchar, createDate, %1) = '2026-01-05'", "120", "23", "count(*)\n1");
        row("varchar length", "select count(*) from checkinfo where convert(varchar(%1), billcode) = 'L0'", "3", "2", "count(*)\n3");
        row("like pattern", "select count(*) from checkinfo where billcode like %1", "'L06%'", "'L0%'", "count(*)\n3");
        row("date text", "select count(*) from checkinfo where createDate >= %1", "'2026/1/7'", "'2026/1/6'", "count(*)\n2");
        row("day range", "select count(*) from checkinfo a where convert(varchar,a.createdate,23) between %1 and '2026-01-07'", "'2026-01-07'", "'2026-01-06'", "count(*)\n2");
        row("quoted name like a number", "select count(*) from (select id as [1] from checkinfo) t where [1] = %1", "2", "3", "count(*)\n1");
        row("double-quoted name like a number", "select count(*) from (select id as \"7\" from checkinfo) t where \"7\" > %1", "2", "1", "count(*)\n2");
        row("order by position", "select billcode, count(*) from checkinfo group by billcode order by %1 desc", "2", "1", "billCode|count(*)\nL06|1\nL05|2");
        row("select list names the column", "select %1 from checkinfo where id=1", "'a'", "'b'", "'b'\nb");
        row("subquery in the select list", "select (select count(*) from checkinfo where billcode=%1) from checkinfo where id=1", "'L05'", "'L06'", "(select count(*) from checkinfo where billcode='L06')\n1");
        row("isnull text default", "select count(*) from checkinfo where isnull(remark, %1) = '无'", "'x'", "'无'", "count(*)\n1");
        row("left", "select count(*) from checkinfo where left(billcode, %1) = 'L0'", "1", "2", "count(*)\n3");
        row("right", "select count(*) from checkinfo where right(billcode, %1) = '6'", "2", "1", "count(*)\n1");
        row("text joined to a value", "select count(*) from checkinfo where billcode + %1 = 'L05x'", "'y'", "'x'", "count(*)\n2");
        row("number plus quoted number", "select count(*) from checkinfo where id + %1 = 3", "'1'", "'2'", "count(*)\n1");
        row("dateadd", "select count(*) from checkinfo where createDate < dateadd(day, %1, '2026-01-05')", "1", "2", "count(*)\n2");
        row("insert values and identity", "insert printpool(PrintType,pid) values('箱唛',%1); select count(*) from printpool where pid=%1", "'P1'", "'P2'", "count(*)\n1");
        // clang-format on
    }

    void shapeReusedWithOtherLiterals()
    {
        QFETCH(QString, sql);
        QFETCH(QString, first);
        QFETCH(QString, second);
        try {
            m_shapeConn.execute(sql.arg(first));
            const Recordset rs = m_shapeConn.execute(sql.arg(second));
            QTEST(rs.columns().join(u'|') + u'\n' + rowsText(rs), "expected");
        } catch (const DbError& e) {
            QFAIL(qPrintable(e.message()));
        }
    }

    // Texts that differ in what stays in them (TOP n, the select list) are kept apart, but no more of
    // them than the cache holds: the kept batches and their prepared statements stay within it.
    void cacheIsCapped()
    {
        SqliteBackend db(m_db.path(), false);
        qint64 changed = 0;
        const int capacity = db.statementCache().capacity();
        for (int i = 0; i < 3 * capacity; ++i) {
            QCOMPARE(rowsText(db.execute(
                         u"select top %1 id from checkinfo where billcode='L05' order by id"_s.arg(
                             1 + i % 2),
                         changed)),
                     i % 2 ? u"1\n2"_s : u"1"_s);
            QCOMPARE(rowsText(db.execute(u"select %1 as n"_s.arg(i), changed)), QString::number(i));
            QVERIFY(db.statementCache().size() <= capacity);
            QVERIFY(db.preparedStatements() <= capacity);
        }
        QCOMPARE(db.statementCache().size(), capacity);
    }
};

QTEST_GUILESS_MAIN(TestSqlTranslator)
#include "TestSqlTranslator.moc"
