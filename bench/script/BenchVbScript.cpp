// How long the quantity formula takes from setting text to number, and a compiled re-run.
#include "script/VbScript.h"

#include <benchmark/benchmark.h>

namespace {

const QList<std::pair<QString, double>> fields = {
    {QStringLiteral("[重量]"), 25.37}, {QStringLiteral("[系数]"), 1.2},
    {QStringLiteral("[加减]"), -2},    {QStringLiteral("[备3]"), 0},
    {QStringLiteral("[备4]"), 0},      {QStringLiteral("[备5]"), 0},
    {QStringLiteral("[备6]"), 0},      {QStringLiteral("[备A]"), 0},
    {QStringLiteral("[备B]"), 0},      {QStringLiteral("[备C]"), 0},
    {QStringLiteral("[备D]"), 0}};

// What the weight field's change event does: fill the placeholders, evaluate.
void fillAndEvaluate(benchmark::State& state)
{
    const QString formula = QStringLiteral("Round([重量] * [系数] + [加减], 2)");
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
