// How long one roll label takes: load the template, run its detail query on a SQLite mill
// database, and render to PDF or to a thermal-printer raster. Labels print while the next roll
// runs, so a label must take well under the operator's next touch.
#include "report/LabelReport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

QTemporaryDir* g_dir = nullptr;
QString g_conn;
QString g_template;

void createDatabase()
{
    const QString path = g_dir->filePath(u"mill.db"_s);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    const char* sql =
        "begin;"
        "create table billdetail(billdetailid integer primary key, billid int, itemid int,"
        " productionColor text);"
        "create table item(itemid integer primary key, itemcode text, itemname text, itemspec text,"
        " item1 text, item2 text, item3 text);"
        "create table checkinfo(id integer primary key autoincrement, billcode text,"
        " billdetailid int, itemid int, checkcode text, oncount real, grade text, taskno text,"
        " checkusercode text, createdate text);"
        "insert into item values(1,'ML-2045','全棉斜纹布','21S/2','100%棉','220g','150cm');"
        "insert into billdetail values(1,1,1,'藏青');"
        "with recursive n(i) as (select 1 union all select i+1 from n where i < 5000)"
        " insert into checkinfo(billcode,billdetailid,itemid,checkcode,oncount,grade,taskno,"
        " checkusercode,createdate) select 'SC2026-0158',1,1,printf('%03d',i),98.5,'一等品',"
        " 'L2611','012','2026-12-05 10:31:00' from n;"
        "commit;";
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    g_conn = u"Provider=SQLite;Data Source="_s + path;
}

LabelReport freshLabel(int64_t id)
{
    LabelReport r;
    r.load(g_template);
    r.setParameter(u"单据ID"_s, double(id));
    r.setConnectionString(g_conn);
    return r;
}

void BM_RollLabelToPdf(benchmark::State& state)
{
    const QString pdf = g_dir->filePath(u"label.pdf"_s);
    int64_t id = 0;
    for (auto _ : state) {
        LabelReport r = freshLabel(id++ % 5000 + 1);
        r.setPrinterName(pdf);
        r.print();
    }
}
BENCHMARK(BM_RollLabelToPdf)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_RollLabelTo203DpiRaster(benchmark::State& state)
{
    int64_t id = 0;
    for (auto _ : state) {
        LabelReport r = freshLabel(id++ % 5000 + 1);
        benchmark::DoNotOptimize(r.renderImage(0, 203));
    }
}
BENCHMARK(BM_RollLabelTo203DpiRaster)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_RollLabelTo600DpiRaster(benchmark::State& state)
{
    int64_t id = 0;
    for (auto _ : state) {
        LabelReport r = freshLabel(id++ % 5000 + 1);
        benchmark::DoNotOptimize(r.renderImage(0, 600));
    }
}
BENCHMARK(BM_RollLabelTo600DpiRaster)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_RollLabelJsonExport(benchmark::State& state)
{
    int64_t id = 0;
    for (auto _ : state) {
        LabelReport r = freshLabel(id++ % 5000 + 1);
        benchmark::DoNotOptimize(r.exportJson());
    }
}
BENCHMARK(BM_RollLabelJsonExport)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    g_template = u"" MIREL_SOURCE_DIR "/templates/唛头/唛头.grf"_s;
    createDatabase();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
