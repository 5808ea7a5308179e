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

using namespace Qt::StringLiterals;

namespace {

using bench::home;

QString databasePath()
{
    return home().path() + u"/stock.db"_s;
}

void prepareFolder()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Connection c;
    c.openOrCreate(u"Provider=SQLite;Data Source="_s + databasePath());
    c.execute(
        u"insert into item(itemid,itemcode,itemname,isstop) values(1,'T2101','涤棉府绸',0)"_s);
    for (int i = 1; i <= 30; ++i)
        c.execute(
            u"insert into "
            u"iteminBatch(itemid,itemcount,productionNumber,ProductSN,productionColor,descrtion)"
            " values(1,%1,%2,'P26120%3','藏青','A区%3架')"_s.arg(100 * i)
                .arg(i)
                .arg(i));
    c.close();
    QFile::copy(databasePath(), databasePath() + u".spare"_s);
    QFile ini(home().path() + u"/config.ini"_s);
    ini.open(QIODevice::WriteOnly);
    ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" + databasePath().toUtf8() + "\n");
    ini.close();
    QFile kanban(home().path() + u"/kanban.ini"_s);
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
                QFile::copy(databasePath() + u".spare"_s, databasePath());
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
        state.SetIterationTime(
            StartToPaint::seconds(StartToPaint::binary("mirel"), {u"kanban"_s}, home().path()));
}
BENCHMARK(BM_StartKanbanWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) { return bench::runInStation(argc, argv); }
