// The packing window on the 1,000,000-roll database: a scanned roll looked up, a print-pool job
// (a bill number, so that nothing but the pool is measured) taken and committed, and the start
// of `mirel bag` to its painted window next to an empty Qt window.
#include "BenchData.h"

#include "shell/Database.h"
#include "stations/packing/BagPrintPool.h"
#include "stations/packing/frmBag.h"

#include "../common/BenchHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

using bench::home;
using bench::writeFile;

frmBag& form()
{
    static frmBag* f = [] {
        writeFile(u"config.ini"_s,
                  "[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" +
                      BenchData::database().toUtf8() + "\n");
        writeFile(u"mirel.ini"_s, "[MIREL]\nCHENCOM=COM9\n[SerialPorts]\nCOM9=/dev/null-scale\n"
                                  "[打包]\n是否要打包=1\nisSaveCheck=1\n");
        auto* w = new frmBag;
        w->resize(1024, 768);
        w->Form_Load();
        return w;
    }();
    return *f;
}

void BM_LookupRoll(benchmark::State& state)
{
    frmBag& f = form();
    for (auto _ : state) {
        f.barcode->setText(QString::number(1 + QRandomGenerator::global()->bounded(BenchData::rolls)));
        f.lookupMark();
        if (f.shownRoll() <= 0)
            state.SkipWithError("roll not found");
    }
}
BENCHMARK(BM_LookupRoll)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PoolJob(benchmark::State& state)
{
    frmBag& f = form();
    BagPrintPool* pool = f.printPool();
    pool->setEnabled(true);
    pool->PrintTimer().stop(); // ticks by hand
    for (auto _ : state) {
        state.PauseTiming();
        Database::conn().execute(u"insert into printpool(PrintType,pid) values('单据','42')"_s);
        state.ResumeTiming();
        if (!pool->tick())
            state.SkipWithError("no job taken");
    }
}
BENCHMARK(BM_PoolJob)->Unit(benchmark::kMillisecond)->UseRealTime();

// Wall time from process start to its "painted: …" line (MIREL_SCREENSHOT), as for the
// inspection window.
double startToPaint(const QString& program, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"MIREL_HOME"_s, home().path());
    env.insert(u"MIREL_SCREENSHOT"_s, home().path() + u"/shot.bmp"_s);
    env.insert(u"MIREL_SCREENSHOT_DELAY"_s, u"0"_s);
    env.insert(u"MIREL_WINDOW_SIZE"_s, u"1024x768"_s);
    env.insert(u"MIREL_NONINTERACTIVE"_s, u"1"_s);
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    double painted = -1;
    while (painted < 0 && p.waitForReadyRead(60000))
        if (p.readAllStandardOutput().contains("painted:"))
            painted = double(t.nsecsElapsed()) / 1e9;
    p.waitForFinished(60000);
    if (painted < 0)
        qFatal("%s did not paint its window", qPrintable(program));
    return painted;
}

QString binary(const char* name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name);
}

void BM_StartPackingWindow(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(binary("mirel"), {u"bag"_s}));
}
BENCHMARK(BM_StartPackingWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartBareWindowWithText(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(binary("bench_bare_window"), {u"--text"_s}));
}
BENCHMARK(BM_StartBareWindowWithText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartBareWindow(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(binary("bench_bare_window"), {}));
}
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) { return bench::runInStation(argc, argv); }
