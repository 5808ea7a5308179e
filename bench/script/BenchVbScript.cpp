// How long the quantity formula takes from setting text to number, and a compiled re-run.
#include "script/VbScript.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const QList<std::pair<QString, double>> fields = {
    {u"[重量]"_s, 25.37}, {u"[系数]"_s, 1.2}, {u"[加减]"_s, -2}, {u"[备3]"_s, 0},
    {u"[备4]"_s, 0},      {u"[备5]"_s, 0},    {u"[备6]"_s, 0},   {u"[备A]"_s, 0},
    {u"[备B]"_s, 0},      {u"[备C]"_s, 0},    {u"[备D]"_s, 0}};

// What the weight field's change event does: fill the placeholders, evaluate.
void fillAndEvaluate(benchmark::State& state)
{
    const QString formula = u"Round([重量] * [系数] + [加减], 2)"_s;
    for (auto _ : state) {
        double value = 0;
        script::evalNumber(script::fillPlaceholders(formula, fields), &value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(fillAndEvaluate);

void evaluateCompiled(benchmark::State& state)
{
    script::Expression e;
    e.compile(u"Round(25.37 * 1.2 + -2, 2)");
    for (auto _ : state) {
        script::Value v;
        e.evaluate(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(evaluateCompiled);

} // namespace
