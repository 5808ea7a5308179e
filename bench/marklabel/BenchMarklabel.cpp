// The mark-label window's pallet list followed on a database of 50,000 packages: the quiet read
// of a full pallet of 200 packages when nothing changed (every tick), and when another station
// changed one package (the list and its summary shown again).
#include "db/Connection.h"
#include "shell/Database.h"
#include "stations/marklabel/frmMaitou.h"
#include "widgets/EditGrid.h"

#include "../common/BenchHome.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int packages = 50000;
constexpr int onPallet = 200;

using bench::home;
using bench::writeFile;

// Pallets of 200 packages; the station's latest pallet is the last one.
void fillDatabase(const QString& path)
{
    Connection c;
    c.openOrCreate(u"Provider=SQLite;Data Source="_s + path);
    c.beginTrans();
    for (int i = 0; i < packages; ++i)
        c.execute(
            u"insert into checkinfo(billcode,checkcode,oncount,cutcount,itemid,"
            "billdetailid,bagnumber,machineId,item2,item8) values('简单检验','%1',"
            "%2,%3,1,0,'P%4','001','200','涤棉府绸')"_s.arg(i % onPallet + 1, 3, 10, QChar(u'0'))
                .arg(18 + i % 7)
                .arg(19 + i % 7)
                .arg(i / onPallet, 4, 10, QChar(u'0')));
    c.commitTrans();
}

frmMaitou& form()
{
    static frmMaitou* f = [] {
        const QString db = home().path() + u"/packages.db"_s;
        fillDatabase(db);
        writeFile(u"config.ini"_s,
                  "[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" +
                      db.toUtf8() + "\n");
        writeFile(u"mirel.ini"_s, "[MIREL]\nmenchineId=001\n");
        auto* w = new frmMaitou;
        w->resize(1024, 768);
        w->Form_Load();
        w->show();
        return w;
    }();
    return *f;
}

// Another station changes the weight of the pallet's newest package.
void changeAPackage()
{
    static int weight = 0; // the framework runs a benchmark function more than once
    Database::conn().execute(
        u"update checkinfo set oncount=%1 where id=%2"_s.arg(++weight % 2 ? 30 : 31).arg(packages));
}

// The window read the change: a tick that reads nothing would look cheap.
bool follows(frmMaitou& f)
{
    const QString before = f.palletSummary()->text();
    changeAPackage();
    f.followPallet();
    return f.palletSummary()->text() != before;
}

void BM_FollowUnchanged(benchmark::State& state)
{
    frmMaitou& f = form();
    if (f.ppgCheckGrid2()->rows() != onPallet + 1 || !follows(f)) {
        state.SkipWithError("the pallet's list is not followed");
        return;
    }
    for (auto _ : state)
        f.followPallet();
}
BENCHMARK(BM_FollowUnchanged)->Unit(benchmark::kMillisecond);

void BM_FollowChanged(benchmark::State& state)
{
    frmMaitou& f = form();
    for (auto _ : state) {
        state.PauseTiming();
        changeAPackage();
        const QString before = f.palletSummary()->text();
        state.ResumeTiming();
        f.followPallet();
        if (f.palletSummary()->text() == before) {
            state.SkipWithError("the list was not read again");
            break;
        }
    }
}
BENCHMARK(BM_FollowChanged)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return bench::runInStation(argc, argv); }
