// Frame building and parsing of the counters and scales, as one tick does them.
#include "devices/FrameMath.h"
#include "devices/LengthDisplay.h"
#include "devices/MeterFrames.h"
#include "devices/MeterReplies.h"
#include "devices/ScaleReadings.h"
#include "devices/WeightSettling.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

using namespace devices;

static void modbusRequest(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(requestModbusLength(1));
}
BENCHMARK(modbusRequest);

static void modbusReplyWithStrayBytes(benchmark::State& state)
{
    // An echo of a zero command, the reply, and half of a further reply.
    const QByteArray reply = withCrc(QByteArray::fromHex("01030430390000"));
    const QByteArray received = QByteArray::fromHex("01050000FF008C3A") + reply + reply.left(4);
    for (auto _ : state)
        benchmark::DoNotOptimize(latestReading(CounterModel::Modbus, received, 1));
}
BENCHMARK(modbusReplyWithStrayBytes);

static void garbageBuffer(benchmark::State& state)
{
    // A full port buffer of noise: the worst a tick can be handed.
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 97 + 13) & 0xFF);
    for (auto _ : state)
        benchmark::DoNotOptimize(latestReading(CounterModel::Modbus, noise, 1));
}
BENCHMARK(garbageBuffer);

static void scaleStream(benchmark::State& state)
{
    QString stream;
    for (int i = 0; i < 8; ++i)
        stream += u"=05.0100"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(scaleWeightFromText(stream, ScaleTextRules::ReversedFirst));
}
BENCHMARK(scaleStream);

static void scaleFallbackRules(benchmark::State& state)
{
    const QString text = u"ST,GS,wn0012.50kg\r\n"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(scaleWeightFromText(text, ScaleTextRules::ReversedFirst));
}
BENCHMARK(scaleFallbackRules);

static void scaleTickWithSettling(benchmark::State& state)
{
    // A second's worth of a scale streaming ten flagless lines, through the assembler and the
    // settling rule, as the packing table's tick takes them.
    QByteArray second;
    for (int i = 0; i < 10; ++i)
        second += "wn0025.4" + QByteArray::number(i % 2) + "kg\r\n";
    qint64 now = 0;
    WeightSettling settling(SettlingSettings{}, [&] { return now; });
    ScaleReadingAssembler readings;
    readings.takeReadings("\r\n", ScaleTextRules::LeadingNumberFirst);
    for (auto _ : state) {
        now += 1000;
        const auto tick = readings.takeReadings(second, ScaleTextRules::LeadingNumberFirst);
        for (const ScaleReading& r : tick)
            settling.add(r);
        benchmark::DoNotOptimize(settling.look());
    }
}
BENCHMARK(scaleTickWithSettling);

static void lengthText(benchmark::State& state)
{
    const QString format = u"0.00"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(formatLength(correctedLength(123.45, 1005, 1000, true), format));
}
BENCHMARK(lengthText);
