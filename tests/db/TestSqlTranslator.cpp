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
        row("top (n)", u"SELECT TOP (1) checkCode FROM checkinfo ORDER BY id DESC"_s, u"001"_s);
        row("top in subquery", u"select checkCode, billcode from checkinfo where id in (select top 1 id from checkinfo order by id desc)"_s, u"001|L06"_s);
        row("top distinct", u"select distinct top 1 billcode from checkinfo order by billcode"_s, u"L05"_s);
        row("top with appended filter", u"SELECT top 200 a.id ,a.checkcode as 卷号 FROM  checkinfo a  where 1=1  and a.billcode like 'L06%' order by a.id desc"_s, u"3|001"_s);
        row("top 100 percent", u"select top 100 percent id from checkinfo order by id"_s, u"1\n2\n3"_s);
        // n per cent of the rows, rounded up: 3 rows * 34 % = 1.02 rows gives 2.
        row("top n percent", u"select top 50 percent id from checkinfo order by id desc"_s, u"3\n2"_s);
        row("top n percent rounded up", u"select top (34) percent id from checkinfo where grade like '%品' order by id"_s, u"1\n2"_s);
        row("top 0 percent", u"select top 0 percent id from checkinfo"_s, QString());
        row("top n percent and union", u"select top 50 percent checkCode from checkinfo where billcode='L05' order by id union all select 'x'"_s, u"001\nx"_s);
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
        // convert / cast
        row("convert style 23", u"select convert(varchar, createDate, 23), CONVERT(  varchar ,createDate,23) from checkinfo where id=3"_s, u"2026-01-07|2026-01-07"_s);
        row("convert style 120", u"select convert(varchar(19), createDate, 120), convert(varchar, createDate, 120), convert(varchar(10), createDate, 120) from checkinfo where id=1"_s, u"2026-01-05 08:03:00|2026-01-05 08:03:00|2026-01-05"_s);
        row("cast without length keeps 30", u"select cast('abcdefghijklmno' as varchar), len(cast('abcdefghijklmnopqrstuvwxyz0123456789' as varchar))"_s, u"abcdefghijklmno|30"_s);
        row("day range keeps the last day", u"select count(*) from checkinfo a where convert(varchar,a.createdate,23) between   '2026-01-06' and '2026-01-07'"_s, u"2"_s);
        row("convert style 23 cut to 7", u"select convert(varchar(7), createDate, 23), convert(varchar(13), createDate, 120) from checkinfo where id=3"_s, u"2026-01|2026-01-07 17"_s);
        row("isnumeric", u"select isnumeric('60'), isnumeric('1.'), isnumeric('.5'), isnumeric('R1'), isnumeric(' 60 '), isnumeric('门幅'), isnumeric('-1.5'), isnumeric('1e5'), isnumeric(''), isnumeric(12)"_s, u"1|1|1|0|1|0|1|1|0|1"_s);
        row("convert number", u"select convert(varchar, onCount) from checkinfo where id=1"_s, u"60.5"_s);
        row("convert and cast", u"select convert(varchar(3), 'abcdef'), cast('abcdef' as varchar(2)), convert(int, '42'), convert(decimal(18,2), 2.346)"_s, u"abc|ab|42|2.35"_s);
        row("cast datetime", u"select cast('2026/1/5' as datetime)"_s, u"2026-01-05 00:00:00"_s);
        row("convert null", u"select convert(varchar, remark) from checkinfo where id=2"_s, u"NULL"_s);
        // + between texts
        row("card id", u"SELECT  'B'+cast(b.billdetailId as varchar) +cast(b.id as varchar) as ID from checkinfo b where id=1"_s, u"B51"_s);
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
        // batches: a statement ends where the next one begins, ";" or not
        row("subqueries are no statements", u"select (select count(*) from checkinfo where billcode = 'L05')\nselect count(*) from checkinfo where id in (select id from checkinfo where grade = 'A品')"_s, u"2"_s);
        row("union select continues", u"select 1 as a\nselect 'x' union select 'y' order by 1"_s, u"x\ny"_s);
        row("cte with its select after a statement", u"select 1\nwith t as (select billcode, count(*) as n from checkinfo group by billcode) select n + 1 from t where billcode = 'L05'"_s, u"3"_s);
        row("case else end inside a statement", u"select case when 1=1 then 'a' else 'b' end\nselect case billcode when 'L06' then 'six' else 'other' end from checkinfo where id = 3"_s, u"six"_s);
        row("words in names, strings and comments", u"select 1 as [select] -- select 2\n/* insert */ select 'update' as x"_s, u"update"_s);
        row("set nocount on", u"set nocount on\nselect count(*) from checkinfo"_s, u"3"_s);
        // variables, bound as values
        row("declare with initial values", u"declare @n int = 3, @s nvarchar(10) = N'卷'\nselect @s + cast(@n as varchar)"_s, u"卷3"_s);
        row("select assigns the last row", u"declare @c varchar(10), @g nvarchar(10)\nselect @c = billcode, @g = grade from checkinfo order by id\nselect @c, @g"_s, u"L06|A品"_s);
        row("select without rows keeps the value", u"declare @c varchar(10) = 'none'\nselect @c = billcode from checkinfo where 1 = 0\nselect @c"_s, u"none"_s);
        row("set from a subquery without rows is null", u"declare @c varchar(10) = 'x'\nset @c = (select billcode from checkinfo where 1 = 0)\nselect isnull(@c, 'null')"_s, u"null"_s);
        row("varchar without length keeps one character", u"declare @s varchar\nset @s = 'abc'\nselect @s"_s, u"a"_s);
        row("varchar(n) truncates", u"declare @s varchar(3) = 'abcdef' select @s"_s, u"abc"_s);
        row("int truncates, decimal rounds", u"declare @n int = 7.9, @d decimal(10,2) = 2.346 select @n, @d"_s, u"7|2.35"_s);
        row("compound assignment", u"declare @n int = 10\nset @n += 5\nset @n *= 2\nselect @n"_s, u"30"_s);
        row("variable text is a value, not SQL", u"declare @code varchar(20) = 'L05'' or ''1''=''1'\nselect count(*) from checkinfo where billcode = @code"_s, u"0"_s);
        row("variable names ignore letter case", u"declare @Bill varchar(10) = 'l06'\nselect count(*) from checkinfo where billcode = @BILL"_s, u"1"_s);
        row("datetime variable compared with a date column", u"declare @d datetime = '2026/1/6'\nselect count(*) from checkinfo where createdate >= @d"_s, u"2"_s);
        row("@@rowcount of a select", u"select id from checkinfo where billcode='L05'\nselect @@rowcount"_s, u"2"_s);
        // control flow
        row("if not exists on lines", u"if not exists (select * from checkinfo where billcode='L99')\n    select 'missing'\nelse\n    select 'there'"_s, u"missing"_s);
        row("if with begin end", u"declare @n int = 0\nif @n = 0\nbegin\n  set @n = 1\n  set @n = @n + 10\nend\nselect @n"_s, u"11"_s);
        row("else if chain", u"declare @n int = 2\nif @n = 1 select 'one'\nelse if @n = 2 select 'two'\nelse select 'many'"_s, u"two"_s);
        row("null condition is false", u"declare @x int\nif @x = 1 select 'a' else select 'b'"_s, u"b"_s);
        row("while break", u"declare @i int = 0\nwhile 1 = 1\nbegin\n  set @i += 1\n  if @i >= 7 break\nend\nselect @i"_s, u"7"_s);
        row("while continue", u"declare @i int = 0, @odd int = 0\nwhile @i < 10\nbegin\n  set @i += 1\n  if @i % 2 = 0 continue\n  set @odd += 1\nend\nselect @odd"_s, u"5"_s);
        row("return ends the batch", u"select 1 as a\nreturn\nselect 2 as b"_s, u"1"_s);
        row("raiserror below 11 is a message", u"raiserror('note %d', 10, 1, 5)\nselect 2"_s, u"2"_s);
        row("nested transactions counted", u"declare @a int, @b int\nbegin tran\nbegin transaction\nset @a = @@trancount\ncommit\nset @b = @@trancount\ncommit tran\nselect @a, @b, @@trancount"_s, u"2|1|0"_s);
        // LIKE sets and ranges
        row("like negated set", u"select count(*) from checkinfo where billcode like 'L0[^5]'"_s, u"1"_s);
        row("like set of Chinese", u"select count(*) from checkinfo where grade like '[AB]品'"_s, u"3"_s);
        row("like bracketed wildcards", u"select case when '50%' like '50[%]' then 1 else 0 end, case when '50x' like '50[%]' then 1 else 0 end, case when 'a_c' like 'a[_]c' then 1 else 0 end, case when 'abc' like 'a[_]c' then 1 else 0 end"_s, u"1|0|1|0"_s);
        row("like set ignores case", u"select case when 'l05' like 'L0[5]' then 1 else 0 end, case when 'B' like '[a-c]' then 1 else 0 end, case when 'abc' like '[^a]%' then 1 else 0 end"_s, u"1|1|0"_s);
        row("like pattern in a variable", u"declare @p varchar(10) = 'L0[5]%'\nselect count(*) from checkinfo where billcode like @p"_s, u"2"_s);
        // date arithmetic
        row("date column plus half a day", u"select convert(varchar, createdate + 0.5, 120) from checkinfo where id = 1"_s, u"2026-01-05 20:03:00"_s);
        row("datetime minus days in a filter", u"select count(*) from checkinfo where createdate > cast('2026-01-07' as datetime) - 1"_s, u"1"_s);
        row("datetime minus datetime in days", u"select cast(cast('2026-01-07 12:00' as datetime) - cast('2026-01-05' as datetime) as float)"_s, u"2.5"_s);
        row("date difference compared with days", u"select count(*) from checkinfo where cast('2026-03-01' as datetime) - createdate > 54"_s, u"1"_s);
        row("getdate minus days", u"select datediff(day, getdate() - 7, getdate()), datediff(day, getdate(), getdate() + 1)"_s, u"7|1"_s);
        row("date variable minus a day and a half", u"declare @d datetime = '2026-01-05'\nset @d = @d - 1.5\nselect convert(varchar, @d, 120)"_s, u"2026-01-03 12:00:00"_s);
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
        QTest::newRow("peibu batch is a no-op")
            << u"exec PeibuBatch "_s << u"select count(*) from checkinfo"_s << u"4"_s;
        QTest::newRow("quoted number into numeric column")
            << u"insert into checkinfo(billCode, onCount) values('L08', '12.50')"_s
            << u"select onCount + 1 from checkinfo where billcode='L08'"_s << u"13.5"_s;
        auto batch = [](const char* name, const QString& sql, const QString& check, const QString& expected) {
            QTest::newRow(name) << sql << check << expected;
        };
        batch("updates on lines without semicolons", u"update checkinfo set remark='x' where id=1\nupdate checkinfo set remark='y' where id=2"_s,
              u"select remark from checkinfo where id in (1,2) order by id"_s, u"x\ny"_s);
        batch("insert select is one statement", u"create table roll_copy (id int, code nvarchar(10))\ninsert into roll_copy (id, code)\nselect id, checkcode from checkinfo where billcode = 'L05'\nupdate roll_copy set code = code + '-c' where id = 1"_s,
              u"select code from roll_copy order by id"_s, u"001-c\n002"_s);
        batch("if not exists insert", u"if not exists (select 1 from Dictionary where ITEMTYPE = 'BillType' and ItemValues = '57')\n  insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '57', '返修卡')\nif not exists (select 1 from Dictionary where ITEMTYPE='BillType' and ItemValues='55') insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType','55','重复')"_s,
              u"select ItemName from Dictionary where ITEMTYPE='BillType' order by ItemValues"_s, u"生产卡\n返修卡"_s);
        batch("update else insert by @@rowcount", u"update billStatus set amount = 5 where billcode = 'L99'\nif @@rowcount = 0\n  insert billStatus(billcode, amount, billstatus) values('L99', 5, '新')\nupdate billStatus set amount = amount + 1 where billcode = 'L99'\nif @@rowcount = 0 insert billStatus(billcode, amount, billstatus) values('L99', 100, '新')"_s,
              u"select count(*), sum(amount) from billStatus where billcode='L99'"_s, u"1|6"_s);
        batch("rollback undoes the batch's writes", u"begin tran\nupdate checkinfo set remark = 'gone' where id = 3\nrollback"_s,
              u"select count(*) from checkinfo where remark = 'gone'"_s, u"0"_s);
        batch("commit keeps them", u"begin transaction\n  update checkinfo set item1 = 'kept' where id = 1\ncommit transaction"_s,
              u"select item1 from checkinfo where id = 1"_s, u"kept"_s);
        batch("while inserts", u"declare @i int = 1\nwhile @i <= 3\nbegin\n  insert checkDetail(checkId, bugName) values(100 + @i, '油污')\n  set @i = @i + 1\nend"_s,
              u"select count(*), sum(checkId) from checkDetail where bugName = '油污'"_s, u"3|306"_s);
        batch("variables in an update", u"declare @r nvarchar(20) = N'复检', @id int\nselect @id = max(id) from checkinfo where billcode = 'L05'\nupdate checkinfo set remark = @r + '-' + cast(@id as varchar) where id = @id"_s,
              u"select remark from checkinfo where id = 2"_s, u"复检-2"_s);
        batch("names sort by pinyin", u"insert item(itemcode, itemname) values('T2', '中纺')\ninsert item(itemcode, itemname) values('T3', '北棉')\ninsert item(itemcode, itemname) values('T4', '安纶')\ninsert item(itemcode, itemname) values('T5', 'b棉')\ninsert item(itemcode, itemname) values('T6', 'A棉')"_s,
              u"select itemname from item where itemcode in ('T2','T3','T4','T5','T6') order by itemname"_s, u"A棉\nb棉\n安纶\n北棉\n中纺"_s);
        QTest::newRow("names compare by pinyin") << u"select count(*) from item where itemname < '北' and itemcode like 'T[2-4]'"_s << QString() << u"1"_s;
        batch("create a table only when missing", u"if object_id('roll_copy') is null create table roll_copy (id int)\nif object_id('roll_new', 'U') is null create table roll_new (id int)\ninsert roll_new (id) values (1)"_s,
              u"select (select count(*) from roll_copy), (select count(*) from roll_new)"_s, u"2|1"_s);
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
        QTest::newRow("no such column") << u"select nosuchcolumn from checkinfo"_s << u"nosuchcolumn"_s;
        QTest::newRow("statement with its values")
            << u"select count(*) from checkinfo where billcode='L05' and nosuchcolumn=12.5"_s
            << u"billcode='L05' and nosuchcolumn=12.5"_s;
        QTest::newRow("unbalanced") << u"select (1"_s << u"incomplete input"_s;
        QTest::newRow("unterminated literal") << u"select 'abc"_s << u"unrecognized token"_s;
        QTest::newRow("unknown procedure") << u"exec NoSuchProc 1"_s << u"NoSuchProc"_s;
        QTest::newRow("bad date part") << u"select datediff(fortnight, '2026-01-01', '2026-01-02')"_s << u"datediff"_s;
        QTest::newRow("raiserror") << u"declare @c varchar(10) = 'X9'\nraiserror('卷号 %s 不存在', 16, 1, @c)"_s << u"卷号 X9 不存在"_s;
        QTest::newRow("throw") << u"declare @m nvarchar(20) = N'库存' + N'不足'\nif 1 = 1\n  throw 50001, @m, 1"_s << u"库存不足"_s;
        QTest::newRow("undeclared variable") << u"select @nope"_s << u"@nope"_s;
        QTest::newRow("commit without begin") << u"commit"_s << u"COMMIT TRANSACTION"_s;
        QTest::newRow("begin without end") << u"if 1 = 1 begin\nselect 1"_s << u"END"_s;
    }

    void badSqlGivesTheDatabaseMessage()
    {
        QFETCH(QString, sql);
        QFETCH(QString, fragment);
        QVERIFY(throwsWith<DbError>([&] { m_conn.execute(sql); }, fragment, Qt::CaseInsensitive));
        // The connection stays usable.
        QCOMPARE(rowsText(m_conn.execute(u"select 1"_s)), u"1"_s);
    }

    // An endless loop ends the batch with an error once the limit is reached (a lower one here),
    // and what the loop wrote in the batch's transaction is rolled back.
    void endlessWhileStops()
    {
        SqliteBackend db(m_db.path(), false);
        db.session().whileLimit = 500;
        qint64 changed = 0;
        QVERIFY(throwsWith<DbError>([&] {
            db.execute(u"declare @i int = 0\nbegin tran\nwhile 1 = 1\nbegin\n  set @i += 1\n  "
                       u"insert checkDetail(checkId, bugName) values(@i, '死循环')\nend"_s, changed);
        }, u"500"_s));
        QCOMPARE(rowsText(db.execute(u"select count(*), @@trancount from checkDetail where bugName = '死循环'"_s, changed)), u"0|0"_s);
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
        row("beyond 64 bits", "select count(*) from checkinfo where id < %1", "99999999999999999999", "2", "count(*)\n1");
        row("negative", "select count(*) from checkinfo where -id < %1", "-1", "-2", "count(*)\n1");
        row("top n", "select top %1 checkCode from checkinfo order by id", "1", "2", "checkCode\n001\n002");
        row("convert style", "select count(*) from checkinfo where convert(varchar, createDate, %1) = '2026-01-05'", "120", "23", "count(*)\n1");
        row("varchar length", "select count(*) from checkinfo where convert(varchar(%1), billcode) = 'L0'", "3", "2", "count(*)\n3");
        row("like pattern", "select count(*) from checkinfo where billcode like %1", "'L06%'", "'L0%'", "count(*)\n3");
        row("date text", "select count(*) from checkinfo where createDate >= %1", "'2026/1/7'", "'2026/1/6'", "count(*)\n2");
        row("day range", "select count(*) from checkinfo a where convert(varchar,a.createdate,23) between %1 and '2026-01-07'", "'2026-01-07'", "'2026-01-06'", "count(*)\n2");
        row("quoted name like a number", "select count(*) from (select id as [1] from checkinfo) t where [1] = %1", "2", "3", "count(*)\n1");
        row("order by position", "select billcode, count(*) from checkinfo group by billcode order by %1 desc", "2", "1", "billCode|count(*)\nL06|1\nL05|2");
        row("select list names the column", "select %1 from checkinfo where id=1", "'a'", "'b'", "'b'\nb");
        row("subquery in the select list", "select (select count(*) from checkinfo where billcode=%1) from checkinfo where id=1", "'L05'", "'L06'", "(select count(*) from checkinfo where billcode='L06')\n1");
        row("isnull text default", "select count(*) from checkinfo where isnull(remark, %1) = '无'", "'x'", "'无'", "count(*)\n1");
        row("left", "select count(*) from checkinfo where left(billcode, %1) = 'L0'", "1", "2", "count(*)\n3");
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
