// Station statements on a large embedded database (1,000,000 rolls, 100,000 cards, 300,000
// lines) through the whole layer, and the translator's overhead against plain sqlite3.
#include "BenchData.h"

#include "db/Connection.h"
#include "db/SqlTranslator.h"
#include "db/SqliteFunctions.h"
#include "db/Transaction.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

Connection& conn() { return BenchData::connection(); }

QString randomCard()
{
    return BenchData::cardCode(1 + int(QRandomGenerator::global()->bounded(BenchData::cards)));
}

// The inspection station's card lookup, as it sends it.
QString cardLookup(const QString& card)
{
    return u"SELECT cast(b.billid as varchar) as ID,b.billid, CONVERT(varchar,b.transactdate,23) "
           u"as "
           "开卡日期,CONVERT(varchar,b.contractEndDate,23) as 交货日期,b.BillCode as "
           "凭证号,b.relateorder "
           "as 订单号, dbo.getDictionary('BillType',b.BillType) as 凭证类型,b.remark as 单据备注, "
           "a.productionDateId as 生产单号,  d.companyName 客户,isnull(a.productionSN,'') as "
           "productionSN,a.productionJarNo,a.productionProcess, f.itemName as 品种,f.itemspec as "
           "规格,a.productionColor as 颜色,a.viewCount as 数量,a.TaxPercent as 送检数量,  "
           "g.UserName as "
           "开卡人,a.remark as 备注,BillDetailId,a.itemid,isNull(backItem1,'') as "
           "款号,a.productionJarno "
           "as 染号,f.*,a.*   FROM BillDetail a left join Bill b on a.billId=b.BillId left join "
           "Company d on d.companyId=b.companyId left join item f on a.itemid=f.itemid left join "
           "UserInfo g on b.transactorId=g.UserID Where b.billtype in(55,57,99) /*And b.AssessorID "
           "> 0 "
           "*/ and b.BillCode='"_s +
           card + u'\'';
}

QString totals(const QString& card)
{
    return u"SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where billCode ='"_s +
           card + u"' and grade='A品'"_s;
}

QString rollList(const QString& day)
{
    return u"SELECT top 200 a.id ,a.checkcode as 卷号,a.billcode as 生产单号,d.itemname as 品名,"
           "c.productionColor as 颜色,d.item3 as 门幅, a.taskno as 色号,a.item1 as 克重,a.item2 as "
           "缸号,a.oncount as 数量,a.grade as 等级,a.checkuserCode as 工号,a.remark as 备注   FROM "
           " "
           "checkinfo a  left join billdetail c on c.billdetailid=a.billdetailid  left join item d "
           "on "
           "d.itemid=c.itemid where 1=1  and convert(varchar,a.createdate,23) between   '"_s +
           day + u"' and '"_s + day + u"' ORDER BY a.id desc "_s;
}

void BM_CardLookup(benchmark::State& state)
{
    Connection& c = conn();
    for (auto _ : state) {
        const Recordset rs = c.execute(cardLookup(randomCard()));
        benchmark::DoNotOptimize(rs.recordCount());
    }
}

// The same card again and again: the translation comes from the cache.
void BM_CardLookupSameCard(benchmark::State& state)
{
    Connection& c = conn();
    const QString sql = cardLookup(u"SC0050000"_s);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.execute(sql).recordCount());
}

void BM_ShowTotals(benchmark::State& state)
{
    Connection& c = conn();
    for (auto _ : state)
        benchmark::DoNotOptimize(c.execute(totals(randomCard())).recordCount());
}

void BM_RollListOneDay(benchmark::State& state)
{
    Connection& c = conn();
    for (auto _ : state) {
        const QDate day = QDate(2023, 2, 1).addDays(QRandomGenerator::global()->bounded(900));
        benchmark::DoNotOptimize(c.execute(rollList(day.toString(u"yyyy-MM-dd"_s))).recordCount());
    }
}

// A roll save: the roll row with its id read back, then its ten defects, in one transaction.
void BM_RollSaveTenDefects(benchmark::State& state)
{
    Connection& c = conn();
    for (auto _ : state) {
        Transaction t(c);
        const Recordset id = c.execute(
            u"Insert into checkInfo "
            u"(billCode,billdetailId,itemid,checkCode,onCount,checkcount,cutcount,"
            "patchcount,grade,machineId,checkUsercode,taskno,remark,item1,item2,item3,item4,item6,"
            "item7,"
            "item8,item9,item10,item11,item12,item13, item5,createDate) values( "
            "'SC0000001',1,2,'999',60.5,"
            "60.5,18.2,0,'A品','001','002','C-01','','115','R1','','','','','','','','','','','',"
            "'2026-12-05');select SCOPE_IDENTITY(); "_s);
        const QString rollId = id.field(0).toString();
        c.execute(u"DELETE checkDetail where checkid="_s + rollId);
        for (int d = 0; d < 10; ++d)
            c.execute(u"Insert into checkDetail (checkId,checkCode,remark,bugName,bugPosition,"
                      "bugCount,bugScore,createDate) values( %1,'999','','破洞','%2','1',4,"
                      "'2026-12-05')"_s.arg(rollId)
                          .arg(d * 6));
        t.commit();
    }
    c.execute(
        u"delete checkDetail where checkCode='999'; delete checkinfo where checkCode='999'"_s);
}

// Runs one statement through plain sqlite3 and reads every column of every row.
void stepAll(sqlite3* db, const QByteArray& utf8)
{
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st, nullptr);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            benchmark::DoNotOptimize(sqlite3_column_text(st, i));
        ++rows;
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(rows);
}

// The same card lookup straight through sqlite3 on the translated text, for the overhead ratio.
void BM_CardLookupRawSqlite(benchmark::State& state)
{
    const bool sameCard = state.range(0) != 0;
    const QString translated = conn().translate(cardLookup(u"SC0000001"_s));
    sqlite3* db = nullptr;
    sqlite3_open_v2(BenchData::database().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    SqliteFunctions::registerAll(db); // the translation calls getDictionary and tsql_text
    for (auto _ : state) {
        QString sql = translated;
        sql.replace(u"SC0000001"_s, sameCard ? u"SC0050000"_s : randomCard());
        const QByteArray utf8 = sql.toUtf8();
        stepAll(db, utf8);
    }
    sqlite3_close(db);
}

void BM_TranslateCardLookupUncached(benchmark::State& state)
{
    const SqlTranslator translator;
    const QString sql = cardLookup(u"SC0000001"_s);
    for (auto _ : state)
        benchmark::DoNotOptimize(translator.translate(sql));
}


// The collation the embedded database had before Chinese sorted by pinyin: ASCII letter case and
// trailing blanks ignored, every other character by its UTF-8 bytes (code point order).
int compareCodePoints(void*, int n1, const void* p1, int n2, const void* p2)
{
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    while (n1 > 0 && a[n1 - 1] == ' ')
        --n1;
    while (n2 > 0 && b[n2 - 1] == ' ')
        --n2;
    const int n = n1 < n2 ? n1 : n2;
    for (int i = 0; i < n; ++i) {
        int x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y)
            return x - y;
    }
    return n1 - n2;
}

// A statement through plain sqlite3 with the program's functions and, for range(1) == 0, the
// code point collation instead of the pinyin one; %1 in the text takes a random card or day.
void runRaw(benchmark::State& state, const QString& translated, bool byDay)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(BenchData::database().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    SqliteFunctions::registerAll(db);
    if (state.range(0) == 0)
        sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compareCodePoints, nullptr);
    for (auto _ : state) {
        const QString arg = byDay ? QDate(2023, 2, 1)
                                        .addDays(QRandomGenerator::global()->bounded(900))
                                        .toString(u"yyyy-MM-dd"_s)
                                  : randomCard();
        const QByteArray utf8 = QString(translated).replace(u"%1"_s, arg).toUtf8();
        stepAll(db, utf8);
    }
    sqlite3_close(db);
}

// Arg 0: code point collation (before), 1: pinyin collation (now).
void BM_CollationCardLookup(benchmark::State& state)
{
    runRaw(state, conn().translate(cardLookup(u"%1"_s)), false);
}

// The roll list of a day sorted by item name and colour (Chinese texts).
void BM_CollationRollListByName(benchmark::State& state)
{
    QString sql = rollList(u"%1"_s);
    sql.replace(u"ORDER BY a.id desc"_s, u"ORDER BY d.itemname, c.productionColor, a.id desc"_s);
    runRaw(state, conn().translate(sql), true);
}

// The item dialog's list sorted by name: every item, by name.
void BM_CollationItemListByName(benchmark::State& state)
{
    runRaw(state,
           conn().translate(u"select itemid, itemcode as 编号, itemname as 品名, itemspec as 规格 "
                            "from item order by itemname"_s),
           false);
}
} // namespace

BENCHMARK(BM_CardLookup)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CardLookupSameCard)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CardLookupRawSqlite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ShowTotals)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RollListOneDay)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_RollSaveTenDefects)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TranslateCardLookupUncached)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CollationCardLookup)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CollationRollListByName)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CollationItemListByName)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
