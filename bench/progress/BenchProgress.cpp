// Start-up of `mirel load` and `mirel rfid` to their painted windows, beside the empty Qt window,
// on a program folder with the embedded database and nine process steps.
#include "StartToPaint.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString home()
{
    static QTemporaryDir dir;
    static const bool written = [] {
        const auto write = [](const char* name, const QByteArray& text) {
            QFile f(dir.path() + u'/' + QString::fromLatin1(name));
            f.open(QIODevice::WriteOnly);
            f.write(text);
        };
        write("config.ini", "[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
        write("mirel.ini", "[MIREL]\nProjects=织造,配布,染色,定型,复检,包装,验布,打卷,全部配布,\nCommBarcode=\n[MES]\nRFID=1\n");
        return true;
    }();
    Q_UNUSED(written);
    return dir.path();
}

QString binary(const char* name)
{
    return QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name);
}

void startStation(benchmark::State& state, const char* word)
{
    const QStringList args{QString::fromLatin1(word)};
    startToPaint(home(), binary("mirel"), args); // the first start creates the database
    for (auto _ : state)
        state.SetIterationTime(startToPaint(home(), binary("mirel"), args));
}

void BM_StartProgressWindow(benchmark::State& state) { startStation(state, "load"); }
BENCHMARK(BM_StartProgressWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartRfidWindow(benchmark::State& state) { startStation(state, "rfid"); }
BENCHMARK(BM_StartRfidWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartBareWindow(benchmark::State& state)
{
    for (auto _ : state)
        state.SetIterationTime(startToPaint(home(), binary("bench_bare_window"), {}));
}
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
