// The stock board on the wall for months, compressed: a million ticks at full speed on a
// database of 20 batches, with the database gone for a tenth of them, and the memory, open
// files and objects of the process before and after; start-up to the painted board.
#include "StartToPaint.h"

#include "db/Connection.h"
#include "shell/Database.h"
#include "stations/kanban/frmKanban.h"
#include "widgets/EditGrid.h"

#include "../common/BenchHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

using bench::home;

QString databasePath() { return home().path() + QStringLiteral("/stock.db"); }

void prepareFolder()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Connection c;
    c.openOrCreate(QStringLiteral("Provider=SQLite;Data Source=") + databasePath());
    c.execute(QStringLiteral("insert into item(itemid,itemcode,itemname,isstop) values(1,'T2101','涤棉府绸',0)"));
    for (int i = 1; i <= 30; ++i)
        c.execute(QStringLiteral("insert into iteminBatch(itemid,itemcount,productionNumber,ProductSN,productionColor,descrtion)"
                                 " values(1,%1,%2,'P26120%3','藏青','A区%3架')").arg(100 * i).arg(i).arg(i));
    c.close();
    QFile::copy(databasePath(), databasePath() + QStringLiteral(".spare"));
    QFile ini(home().path() + QStringLiteral("/config.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" + databasePath().toUtf8() + "\n");
    ini.close();
    QFile kanban(home().path() + QStringLiteral("/kanban.ini"));
    kanban.open(QIODevice::WriteOnly);
    kanban.write("[看板配置]\n跑马灯内容=今日到货请及时入库，出库请先登记\nfontsize=32\n");
    kanban.close();
}

int objectsUnder(const QObject* o) { return int(o->findChildren<QObject*>().size()); }

void BM_KanbanMillionTicks(benchmark::State& state)
{
    prepareFolder();
    const int ticks = int(state.range(0));
    auto* f = new frmKanban;
    f->resize(1024, 768);
    f->Form_Load();
    f->show();
    f->Timer1->stop();
    // Warm-up: the first reloads fill caches that are meant to stay.
    for (int i = 0; i < 2000; ++i)
        f->tick();
    QCoreApplication::processEvents();
    const long rssStart = StartToPaint::residentKiB();
    const int filesStart = StartToPaint::openFiles();
    const int objectsStart = objectsUnder(f);
    int offlineTicks = 0;
    for (auto _ : state) {
        for (int i = 0; i < ticks; ++i) {
            // The database is away from 40 % to 50 % of the run, then back.
            if (i == ticks * 4 / 10)
                for (const char* suffix : {"", "-wal", "-shm"})
                    QFile::remove(databasePath() + QString::fromLatin1(suffix));
            if (i == ticks / 2)
                QFile::copy(databasePath() + QStringLiteral(".spare"), databasePath());
            f->tick();
            offlineTicks += f->offlineSince().isValid() ? 1 : 0;
            if (i % 1000 == 0)
                QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
    state.counters["ticks"] = ticks;
    state.counters["offline_ticks"] = offlineTicks;
    state.counters["rss_start_KiB"] = double(rssStart);
    state.counters["rss_end_KiB"] = double(StartToPaint::residentKiB());
    state.counters["fds_start"] = filesStart;
    state.counters["fds_end"] = StartToPaint::openFiles();
    state.counters["objects_start"] = objectsStart;
    state.counters["objects_end"] = objectsUnder(f);
    state.counters["rows_end"] = f->pGrid->rows();
    if (f->offlineSince().isValid())
        state.SkipWithError("the board did not come back online");
    delete f;
}
BENCHMARK(BM_KanbanMillionTicks)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_StartKanbanWindow(benchmark::State& state)
{
    prepareFolder();
    for (auto _ : state)
        state.SetIterationTime(StartToPaint::seconds(StartToPaint::binary("mirel"), {QStringLiteral("kanban")},
                                                     home().path()));
}
BENCHMARK(BM_StartKanbanWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) { return bench::runInStation(argc, argv); }
