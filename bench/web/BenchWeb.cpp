// The web view's answers on the 1,000,000-roll database: /quality for a random month and year
// (beside QualityData::load of as many days, the quality station's own reading), /board on the
// demo stock, and 50 clients refreshing /board and /quality every 5 s for a minute (and for five)
// against a running `mirel serve`: errors, p99 and the server's memory over the run.
#include "BenchData.h"

#include "db/Connection.h"
#include "db/EmbeddedSchema.h"
#include "stations/quality/QualityData.h"
#include "web/WebSite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QDate randomDay(int spare)
{
    return QDate(2023, 1, 2).addDays(qint64(QRandomGenerator::global()->bounded(1095 - spare)));
}

WebRequest quality(int days)
{
    const QDate from = randomDay(days);
    WebRequest r;
    r.path = u"/quality"_s;
    r.query.addQueryItem(u"from"_s, from.toString(Qt::ISODate));
    r.query.addQueryItem(u"to"_s, from.addDays(days - 1).toString(Qt::ISODate));
    return r;
}

WebSite& bigSite()
{
    // The server's way: a second connection reads the range before meanwhile.
    static WebSite site(BenchData::connection(),
                        u"Provider=SQLite;Data Source="_s + BenchData::database(), QString(),
                        false);
    return site;
}

void BM_QualityStation(benchmark::State& state)
{
    const auto grades = QualityData::parseGrades(u"A品^0,B品^20,C品^40"_s);
    const int days = int(state.range(0));
    for (auto _ : state) {
        QualitySql::Filter f;
        f.from = randomDay(days);
        f.to = f.from.addDays(days - 1);
        benchmark::DoNotOptimize(QualityData::load(BenchData::connection(), f, grades).now.rolls);
    }
}
BENCHMARK(BM_QualityStation)->Arg(31)->Arg(365)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WebQuality(benchmark::State& state)
{
    BenchData::connection();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const WebReply reply = bigSite().handle(quality(int(state.range(0))));
        if (reply.status != 200)
            state.SkipWithError("not 200");
        bytes = reply.body.size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_WebQuality)->Arg(31)->Arg(365)->Unit(benchmark::kMillisecond)->UseRealTime();

// The demo database with the default board query's 20 batches.
QString demoFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        Connection c;
        c.openOrCreate(u"Provider=SQLite;Data Source="_s + dir.filePath(u"mirel.db"_s));
        EmbeddedSchema::addDemoRows(c);
        for (int i = 0; i < 20; ++i)
            c.execute(u"insert into iteminBatch(itemid, storeroomid, itemcount, productionNumber, "
                      "ProductSN, productionColor, descrtion) values(1, 1, %1, 12, 'P%1', '漂白', "
                      "'')"_s.arg(100 + i));
        return true;
    }();
    Q_UNUSED(made);
    return dir.path();
}

void BM_WebBoard(benchmark::State& state)
{
    qputenv("MIREL_HOME", demoFolder().toUtf8());
    Connection c;
    WebSite site(c, u"Provider=SQLite;Data Source="_s + demoFolder() + u"/mirel.db"_s, QString(),
                 false);
    WebRequest r;
    r.path = u"/board"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(site.handle(r).body.size());
}
BENCHMARK(BM_WebBoard)->Unit(benchmark::kMillisecond)->UseRealTime();

// A field of /proc/<pid>/status: "VmRSS" (kB), "Threads".
double status(qint64 pid, const QByteArray& field)
{
    QFile f(u"/proc/%1/status"_s.arg(pid));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toDouble();
    return 0;
}

double rssMb(qint64 pid)
{
    return status(pid, "VmRSS") / 1024;
}

// 50 clients, half of them refreshing /board, half a month of /quality each, every 5 s for the
// argument's seconds; the server's memory read every 10 s.
void BM_Serve50Clients(benchmark::State& state)
{
    const int seconds = int(state.range(0));
    QTemporaryDir home;
    QFile ini(home.filePath(u"config.ini"_s));
    ini.open(QIODevice::WriteOnly);
    ini.write("[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" +
              BenchData::database().toUtf8() + "\n");
    ini.close();
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    QFile web(home.filePath(u"mirel.ini"_s));
    web.open(QIODevice::WriteOnly);
    web.write("[Web]\nListen=127.0.0.1:" + QByteArray::number(port) + "\n");
    web.close();
    QProcess serve;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"MIREL_HOME"_s, home.path());
    serve.setProcessEnvironment(env);
    serve.start(QCoreApplication::applicationDirPath() + u"/mirel"_s, {u"serve"_s});
    serve.waitForReadyRead(10000);
    QNetworkAccessManager net;
    for (auto _ : state) {
        QList<double> ms;
        int errors = 0;
        QList<double> rss{rssMb(serve.processId())};
        QList<double> threads{status(serve.processId(), "Threads")};
        QTimer sample;
        QObject::connect(&sample, &QTimer::timeout, &net, [&] {
            rss << rssMb(serve.processId());
            threads << status(serve.processId(), "Threads");
        });
        sample.start(10000);
        QList<QTimer*> clients;
        for (int i = 0; i < 50; ++i) {
            auto* t = new QTimer(&net);
            t->setInterval(5000);
            // Every client refreshes its own page: the board, or a month of its own.
            const QDate from = randomDay(31);
            const QString path =
                i % 2 ? u"/board"_s
                      : u"/quality?from=%1&to=%2"_s.arg(from.toString(Qt::ISODate),
                                                        from.addDays(30).toString(Qt::ISODate));
            QObject::connect(t, &QTimer::timeout, &net, [&, path] {
                auto* clock = new QElapsedTimer;
                clock->start();
                QNetworkReply* r =
                    net.get(QNetworkRequest(QUrl(u"http://127.0.0.1:%1"_s.arg(port) + path)));
                QObject::connect(r, &QNetworkReply::finished, r, [&, r, clock] {
                    ms << double(clock->nsecsElapsed()) / 1e6;
                    const int code = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                    errors += code != 200;
                    delete clock;
                    r->deleteLater();
                });
            });
            QTimer::singleShot(i * 100, t, qOverload<>(&QTimer::start));
            clients << t;
        }
        QEventLoop run;
        QTimer::singleShot(seconds * 1000, &run, &QEventLoop::quit);
        run.exec();
        sample.stop();
        qDeleteAll(clients);
        std::sort(ms.begin(), ms.end());
        state.counters["requests"] = double(ms.size());
        state.counters["errors"] = errors;
        state.counters["p99_ms"] = ms.isEmpty() ? 0 : ms[qsizetype(double(ms.size() - 1) * 0.99)];
        // Start, after the first minute (every overview read once and kept), highest, end.
        state.counters["rss_start_MB"] = rss.first();
        state.counters["rss_1min_MB"] = rss.value(6, rss.last());
        state.counters["rss_max_MB"] = *std::max_element(rss.cbegin(), rss.cend());
        state.counters["rss_end_MB"] = rssMb(serve.processId());
        for (qsizetype i = 0; i < rss.size(); i += 6) // every minute, for the log
            std::fprintf(stderr, "after %lld s: %.1f MB, %.0f threads\n", i * 10, rss[i],
                         threads[i]);
    }
    serve.kill();
    serve.waitForFinished();
}
BENCHMARK(BM_Serve50Clients)
    ->Arg(60)
    ->Arg(300)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
