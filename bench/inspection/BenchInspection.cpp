// Card lookup and roll save through the inspection window on the 1,000,000-roll database, and
// the start-up of the station to its painted window compared with a bare Qt window.
#include "BenchData.h"
#include "StartToPaint.h"

#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "stations/inspection/frmCheck.h"

#include "../common/BenchHome.h"
#include "stations/inspection/CheckSavePanel.h"

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

frmCheck& form()
{
    static frmCheck* f = [] {
        const QString db = BenchData::database();
        QFile ini(home().path() + u"/config.ini"_s);
        ini.open(QIODevice::WriteOnly);
        ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" + db.toUtf8() + "\n");
        ini.close();
        QFile mirel(home().path() + u"/mirel.ini"_s);
        mirel.open(QIODevice::WriteOnly);
        mirel.write("[MIREL]\ncodeLen=000\n");
        mirel.close();
        auto* w = new frmCheck;
        w->resize(1024, 768);
        w->Form_Load();
        return w;
    }();
    return *f;
}

void BM_LoadCard(benchmark::State& state)
{
    frmCheck& f = form();
    for (auto _ : state) {
        const int n = 1 + int(QRandomGenerator::global()->bounded(BenchData::cards));
        f.controls().TxtBox[6]->setText(BenchData::cardCode(n));
        f.runCommand(0);
    }
}
BENCHMARK(BM_LoadCard)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveRoll(benchmark::State& state)
{
    frmCheck& f = form();
    f.controls().TxtBox[6]->setText(BenchData::cardCode(7));
    f.runCommand(0);
    for (auto _ : state) {
        f.controls().checkId->setText(u"0"_s);
        f.controls().TxtBox[7]->setText(u"98.5"_s);
        if (f.savePanel().saveRoll(false) <= 0)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveRoll)->Unit(benchmark::kMillisecond)->UseRealTime();

QString binary(const char* name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name);
}

void BM_StartInspectionWindow(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(home().path(), binary("mirel"), {u"check"_s}));
}
BENCHMARK(BM_StartInspectionWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartMarkLabelWindow(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(home().path(), binary("mirel"), {u"maitou"_s}));
}
BENCHMARK(BM_StartMarkLabelWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartFiberBoxWindow(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(home().path(), binary("mirel"), {u"huaxian"_s}));
}
BENCHMARK(BM_StartFiberBoxWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartBareWindow(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(startToPaint(home().path(), binary("bench_bare_window"), {}));
}
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartBareWindowWithText(benchmark::State& state)
{
    form();
    for (auto _ : state)
        state.SetIterationTime(
            startToPaint(home().path(), binary("bench_bare_window"), {u"--text"_s}));
}
BENCHMARK(BM_StartBareWindowWithText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) { return bench::runInStation(argc, argv); }
