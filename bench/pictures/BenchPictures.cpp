// The thumbnail strip of a folder of 2,000 camera pictures (1600 x 1200 JPEG): the time until
// the last thumbnail is on the strip, and the longest the window's thread was kept from its
// events meanwhile; start-up of both browsers to the painted window.
#include "StartToPaint.h"

#include "shell/Database.h"
#include "stations/pictures/ThumbStrip.h"
#include "stations/pictures/frmThumbs.h"

#include "../common/BenchHome.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

constexpr int pictureCount = 2000;

using bench::home;

// MIREL_BENCH_PICTURES keeps the pictures in a folder of its own between runs (drawing them
// takes half a minute).
QString pictureFolder()
{
    const QString kept = qEnvironmentVariable("MIREL_BENCH_PICTURES");
    return kept.isEmpty() ? home().path() + u"/photos"_s : kept;
}

void preparePictures()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QDir().mkpath(pictureFolder());
    const bool drawn = QDir(pictureFolder()).entryList({u"*.jpg"_s}).size() == pictureCount;
    QDir().mkpath(home().path() + u"/3d"_s);
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int i = 0; i < pictureCount && !drawn; ++i) {
        photo.fill(QColor::fromHsv(i * 7 % 360, 120, 200));
        QPainter p(&photo);
        p.setPen(QPen(Qt::darkBlue, 9));
        for (int x = i % 40; x < 1600; x += 40)
            p.drawLine(x, 0, x + 300, 1200); // a twill line, so the JPEG has work to do
        p.end();
        photo.save(pictureFolder() + u"/IMG_%1.jpg"_s.arg(i, 4, 10, QLatin1Char('0')), "JPG", 85);
    }
    QFile ini(home().path() + u"/config.ini"_s);
    ini.open(QIODevice::WriteOnly);
    ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=缺省\n");
}

// CPU time of the calling thread: on a loaded machine a gap between two ticks is partly other
// programs' turn on the processor; this part of it is the window's own work.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void BM_ThumbnailStrip2000(benchmark::State& state)
{
    preparePictures();
    qputenv("MIREL_WINDOW_SIZE", "1024x768");
    frmThumbs f;
    f.resize(1024, 768);
    f.Form_Load();
    f.show();
    f.firstActivation();
    {
        // The window's first paint (fonts, every control) is not the strip's doing.
        QEventLoop settle;
        QTimer::singleShot(500, &settle, &QEventLoop::quit);
        settle.exec();
    }
    qint64 longestStall = 0;
    double longestBusy = 0;
    for (auto _ : state) {
        QElapsedTimer sinceTick;
        double cpuAtTick = threadCpuMs();
        QTimer probe;
        probe.setInterval(5);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longestStall = std::max(longestStall, sinceTick.restart());
            const double cpu = threadCpuMs();
            longestBusy = std::max(longestBusy, cpu - cpuAtTick);
            cpuAtTick = cpu;
        });
        QEventLoop loop;
        bool built = false;
        const QMetaObject::Connection done = QObject::connect(&f, &frmThumbs::thumbnailsBuilt, [&] {
            built = true;
            loop.quit();
        });
        QElapsedTimer t;
        t.start();
        sinceTick.start();
        cpuAtTick = threadCpuMs();
        probe.start();
        f.browseFolder(pictureFolder());
        QTimer::singleShot(600000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(done);
        if (!built)
            state.SkipWithError("thumbnails not built");
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        probe.stop();
        if (f.strip->count() != pictureCount)
            state.SkipWithError("thumbnails missing");
    }
    state.counters["thumbnails"] = f.strip->count();
    state.counters["longest_ui_stall_ms"] = double(longestStall);
    state.counters["longest_ui_busy_ms"] = longestBusy;
}
BENCHMARK(BM_ThumbnailStrip2000)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(3);

void BM_StartItemWindow(benchmark::State& state)
{
    preparePictures();
    for (auto _ : state)
        state.SetIterationTime(
            StartToPaint::seconds(StartToPaint::binary("mirel"), {u"item"_s}, home().path()));
}
BENCHMARK(BM_StartItemWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_StartOutlineWindow(benchmark::State& state)
{
    preparePictures();
    for (auto _ : state)
        state.SetIterationTime(
            StartToPaint::seconds(StartToPaint::binary("mirel"), {u"3d1"_s}, home().path()));
}
BENCHMARK(BM_StartOutlineWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) { return bench::runInStation(argc, argv); }
