// Start-up of the stations against a bare Qt window holding as many controls as the inspection
// window (150 Chinese labels, 150 edits, 16 buttons): each round starts every program once, one
// after the other, so that the machine's load falls on all of them alike. Counters: the median
// wall time from process start to the painted window, its ratio to the bare window, and the
// peak resident memory at that moment and its ratio.
#include "StartToPaint.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

QTemporaryDir& home()
{
    static QTemporaryDir dir;
    return dir;
}

struct Program {
    std::string name;
    QString binary;
    QStringList args;
};

// MIREL_BENCH_BEFORE names another mirel (an earlier build): its stations are started in the
// same rounds as "<word>_before", so that a change is measured side by side.
const std::vector<Program>& programs()
{
    static const std::vector<Program> list = [] {
        std::vector<Program> l{
            {"bare", StartToPaint::binary("bench_bare_window"), {u"--controls"_s}}};
        const QString before = qEnvironmentVariable("MIREL_BENCH_BEFORE");
        for (const char* word : {"check", "maitou", "bag", "kanban"}) {
            l.push_back({word, StartToPaint::binary("mirel"), {QString::fromLatin1(word)}});
            if (!before.isEmpty())
                l.push_back({std::string(word) + "_before", before, {QString::fromLatin1(word)}});
        }
        return l;
    }();
    return list;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_StartToPaintRounds(benchmark::State& state)
{
    // A fresh install on the embedded database; the first round creates it and is not counted.
    QFile ini(home().path() + u"/config.ini"_s);
    ini.open(QIODevice::WriteOnly);
    ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
    ini.close();
    for (const Program& p : programs())
        StartToPaint::run(p.binary, p.args, home().path());
    std::map<std::string, std::vector<double>> ms, mib;
    for (auto _ : state)
        for (int round = 0; round < state.range(0); ++round)
            for (const Program& p : programs()) {
                const StartToPaint::Run r = StartToPaint::run(p.binary, p.args, home().path());
                ms[p.name].push_back(r.seconds * 1000);
                mib[p.name].push_back(double(r.peakKiB) / 1024);
            }
    const double bareMs = median(ms["bare"]);
    const double bareMib = median(mib["bare"]);
    for (const Program& p : programs()) {
        const std::string& n = p.name;
        state.counters[n + "_ms"] = median(ms[n]);
        state.counters[n + "_MiB"] = median(mib[n]);
        if (n != "bare") {
            state.counters[n + "_x_wall"] = median(ms[n]) / bareMs;
            state.counters[n + "_x_mem"] = median(mib[n]) / bareMib;
        }
    }
}
BENCHMARK(BM_StartToPaintRounds)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
