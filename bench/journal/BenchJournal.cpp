// What the operator waits for when a roll is saved while the database is away (one durable
// journal record) and before its label prints, and how long a station needs to send 1,000 such
// rolls once it is back.
#include "db/Connection.h"
#include "journal/JournalReplay.h"
#include "shell/JournalLabel.h"
#include "shell/JournalNumbers.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// A roll with five defects, as the inspection station journals it.
JournalRecord roll(int n)
{
    const QString number = u"%1"_s.arg(n, 4, 10, QChar(u'0'));
    JournalRecord r = JournalRecord::create(u"check 001"_s, u"卷号 "_s + number);
    r.number = {u"checkInfo"_s, u"checkCode"_s, u"billcode='K1'"_s, u"check 001"_s, 4, number};
    r.steps.append({u"Insert into checkInfo (billcode,checkCode,onCount,grade,checkUsercode,"
                    "machineId,checkDate) values('K1','"_s +
                        JournalRecord::numberMark() +
                        u"',52.3,'一等品','0012','001','2026-12-06')"_s,
                    true});
    for (int d = 0; d < 5; ++d)
        r.steps.append({u"Insert into checkDetail (checkId,checkCode,bugName,bugPosition,bugCount,"
                        "bugScore) values("_s +
                        JournalRecord::identityMark(0) + u",'"_s + JournalRecord::numberMark() +
                        u"','破洞',%1,1,4)"_s.arg(d * 10 + 3)});
    return r;
}

void offlineSave(benchmark::State& state)
{
    QTemporaryDir dir;
    JournalStore store(dir.filePath(u"journal.db"_s));
    int n = 0;
    for (auto _ : state)
        store.add(roll(++n));
}
BENCHMARK(offlineSave)->UseRealTime()->Unit(benchmark::kMillisecond);

// What a label printed offline costs before it is drawn: the small database it is filled from,
// with the program's tables, the rows kept for the card (its line, bill, customer and article)
// and the roll with its defects.
void offlineLabelRows(benchmark::State& state)
{
    const auto table = [](const QStringList& columns, const QList<DbValue>& row) {
        Recordset rs(columns);
        rs.addRow(row);
        return rs;
    };
    const QList<JournalLabelRows::Table> kept{
        {u"billdetail"_s, table({u"billdetailid"_s, u"billid"_s, u"itemid"_s, u"productionColor"_s},
                                {DbValue(11), DbValue(1), DbValue(1), DbValue(u"藏青"_s)})},
        {u"bill"_s, table({u"billid"_s, u"billcode"_s, u"companyid"_s, u"relateorder"_s},
                          {DbValue(1), DbValue(u"K1"_s), DbValue(1), DbValue(u"PO-7"_s)})},
        {u"company"_s,
         table({u"companyid"_s, u"companyname"_s}, {DbValue(1), DbValue(u"杭州锦华服饰"_s)})},
        {u"item"_s, table({u"itemid"_s, u"itemname"_s}, {DbValue(1), DbValue(u"涤棉府绸"_s)})}};
    for (auto _ : state) {
        JournalLabelRows rows(roll(1), kept);
        if (rows.id() != 0)
            state.SkipWithError("the roll was not written");
    }
}
BENCHMARK(offlineLabelRows)->UseRealTime()->Unit(benchmark::kMillisecond);

void replay1000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString db = u"Provider=SQLite;Data Source="_s + dir.filePath(u"mill.db"_s);
        Connection conn;
        conn.openOrCreate(db);
        JournalStore store(dir.filePath(u"journal.db"_s));
        for (int i = 1; i <= 1000; ++i)
            store.add(roll(i));
        JournalNumbers numbers;
        state.ResumeTiming();
        const JournalReplayResult r = JournalReplay(store, conn, &numbers).run();
        if (r.applied != 1000)
            state.SkipWithError("not every record was applied");
    }
}
BENCHMARK(replay1000)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
