// The quality overview on the 1,000,000-roll database: everything the window reads for one month
// (figures of the month and the month before, Pareto, grades and points per day, machines,
// inspectors), and `mirel quality` from start to its painted window beside the empty window.
#include "BenchData.h"
#include "StartToPaint.h"

#include "db/Connection.h"
#include "stations/quality/QualityData.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

Connection& conn() { return BenchData::connection(); }

// A month (31 days) starting on a random day of the database's three years.
QualitySql::Filter randomMonth()
{
    QualitySql::Filter f;
    f.from = QDate(2023, 1, 2).addDays(qint64(QRandomGenerator::global()->bounded(1000)));
    f.to = f.from.addDays(30);
    return f;
}

const QualityData::Grades grades = QualityData::parseGrades(u"A品^0,B品^20,C品^40"_s);

void BM_QualityMonth(benchmark::State& state)
{
    Connection& c = conn();
    qint64 rolls = 0;
    for (auto _ : state) {
        const QualityData::Overview o = QualityData::load(c, randomMonth(), grades);
        rolls = o.now.rolls;
        benchmark::DoNotOptimize(o.pareto.size());
    }
    state.counters["rolls"] = double(rolls);
}
BENCHMARK(BM_QualityMonth)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same month with a card and a touched defect: the narrowed statements.
void BM_QualityMonthNarrowed(benchmark::State& state)
{
    Connection& c = conn();
    for (auto _ : state) {
        QualitySql::Filter f = randomMonth();
        f.defect = u"破洞"_s;
        f.inspector = u"002"_s;
        benchmark::DoNotOptimize(QualityData::load(c, f, grades).now.rolls);
    }
}
BENCHMARK(BM_QualityMonthNarrowed)->Unit(benchmark::kMillisecond)->UseRealTime();

QString home()
{
    static QTemporaryDir dir;
    static const bool written = [] {
        QFile ini(dir.path() + u"/config.ini"_s);
        ini.open(QIODevice::WriteOnly);
        ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
        return true;
    }();
    Q_UNUSED(written);
    return dir.path();
}

void startUp(benchmark::State& state, const char* program, const QStringList& args)
{
    StartToPaint::seconds(StartToPaint::binary(program), args, home()); // creates the database
    for (auto _ : state)
        state.SetIterationTime(StartToPaint::seconds(StartToPaint::binary(program), args, home()));
}

void BM_StartQualityWindow(benchmark::State& state)
{
    startUp(state, "mirel", {u"quality"_s});
}
BENCHMARK(BM_StartQualityWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartBareWindow(benchmark::State& state)
{
    startUp(state, "bench_bare_window", {});
}
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
