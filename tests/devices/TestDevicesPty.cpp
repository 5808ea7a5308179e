// The stations' devices over real ptys, for what needs a port: polling, silence, cables pulled
// and plugged in again. mirel-devsim plays counter, scale and scanner; the packing table's scale
// is polled the way the packing station polls it.
#include "DevSim.h"
#include "devices/BarcodeScanner.h"
#include "devices/InspectionDevices.h"
#include "devices/MeterFrames.h"
#include "devices/PackingScale.h"
#include "support/TempProgramFolder.h"
#include "time/Clock.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>

using namespace devices;
using namespace Qt::StringLiterals;

namespace {

// What the inspection window's fields and captions would show: the devices' signals kept.
struct Fields {
    QString quantity, weight, raw, card, tip, counterStatus, scaleStatus, unit;
    QStringList quantities; // every text the counter put into the quantity field
    int lookups = 0;        // find commands run by scans
    int weightWrites = 0;

    explicit Fields(InspectionDevices& d)
    {
        using D = InspectionDevices;
        QObject::connect(&d, &D::quantityText, [this](int index, const QString& t) {
            (index == fields::kWeight ? weight : quantity) = t;
            quantities << t;
        });
        QObject::connect(&d, &D::weightText, [this](const QString& t, const QString& r) {
            std::tie(weight, raw) = std::pair(t, r);
            ++weightWrites;
        });
        QObject::connect(&d, &D::counterStatus, [this](const QString& t) { counterStatus = t; });
        QObject::connect(&d, &D::scaleStatus, [this](const QString& t) { scaleStatus = t; });
        QObject::connect(&d, &D::unitCaption, [this](const QString& t) { unit = t; });
        QObject::connect(&d, &D::cardScanned, [this](const QString& t) {
            std::tie(card, tip) = std::pair(t, scannerToolTip());
            ++lookups;
        });
    }
};

QByteArray ini(const QByteArray& mirel, const QByteArray& ports)
{
    return "[MIREL]\n" + mirel + "\n[MES]\nRFID=1\n[SerialPorts]\n" + ports;
}

QByteArray com(int n, const DevSim& sim)
{
    return "COM" + QByteArray::number(n) + "=" + sim.path().toLocal8Bit() + "\n";
}

// A station with only the counter on COM1 = a simulator standing still at `length`; `mirel` adds
// keys of its own. start() ticks "接入码表" and sets the devices up.
struct CounterStation {
    TempProgramFolder folder;
    DevSim sim;
    InspectionDevices devs;
    Fields f{devs};

    explicit CounterStation(const char* length, const QStringList& more = {},
                            const QByteArray& mirel = "InputMode=1\n")
        : sim(DevSim::args("--speed 0 --length", QStringList{QString::fromLatin1(length)} + more))
    {
        writeIni(mirel);
    }
    void writeIni(const QByteArray& mirel)
    {
        folder.writeFile(u"mirel.ini"_s, ini(mirel + "COM=COM1\nCommBarcode=\n", com(1, sim)));
    }
    ~CounterStation() { devs.releaseDevices(); }
    bool start() // false: the simulator did not start
    {
        devs.setCounterConnected(true);
        devs.setupDevices();
        return sim.ok();
    }
};

// The packing table's scale on COM3 = a simulator started with `line` (under a link of its own,
// kept over a replug); `keys` follow CHENCOM in mirel.ini. open() opens it and switches it on;
// poll(ms) ticks it faster than the station does.
struct PackingStation {
    TempProgramFolder folder;
    DevSim sim;
    PackingScale s;
    QSignalSpy status{&s, &PackingScale::status}, weights{&s, &PackingScale::weightText};
    QTimer ticks;

    explicit PackingStation(const char* line, const QByteArray& keys = {})
        : sim(DevSim::args(line, {u"--link"_s, folder.file(u"ttyScale"_s)}))
    {
        folder.writeFile(u"mirel.ini"_s,
                         "[MIREL]\nCHENCOM=COM3\n" + keys + "[SerialPorts]\n" + com(3, sim));
        QObject::connect(&ticks, &QTimer::timeout, &s, &PackingScale::poll);
    }
    bool open()
    {
        if (!sim.ok() || !s.openScalePort())
            return false;
        s.setEnabled(true);
        return true;
    }
    void poll(int ms) { ticks.start(ms); }
    QString lastStatus() const { return status.last().at(0).toString(); }
    QString lastWeight() const
    {
        return weights.isEmpty() ? QString() : weights.last().at(0).toString();
    }
    int look() const { return int(s.settling().look()); }
};

} // namespace

class TestDevicesPty : public QObject {
    Q_OBJECT
private slots:
    void counterFollowsSimulator_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("length");
        QTest::newRow("text") << u"0"_s << QByteArray("123.45");
        // The reply at 103 m also adds up like a sum-checked frame.
        QTest::newRow("modbus 103") << u"1"_s << QByteArray("103");
        QTest::newRow("sum frame") << u"3"_s << QByteArray("123.45");
        QTest::newRow("five registers") << u"4"_s << QByteArray("123.45");
    }

    void counterFollowsSimulator()
    {
        QFETCH(QString, model);
        QFETCH(QByteArray, length);
        CounterStation st(length.constData(), {u"--model"_s, model},
                          "InputMode=" + model.toLatin1() + "\n");
        QVERIFY(st.start());
        QCOMPARE(st.f.counterStatus, u"码表准备好"_s);
        const QString shown = QString::number(length.toDouble(), 'f', 2);
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, shown, 10000);
        QCOMPARE(st.f.quantities.count(shown), st.f.quantities.size());
        QCOMPARE(st.f.counterStatus, u"码表%1通讯中..."_s.arg(model));
        st.sim.command("length 200.5");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u"200.50"_s, 10000);
        if (model == u"0")
            QCOMPARE(st.f.unit, u"米"_s);
        QCOMPARE(st.devs.lastRawReading(), u" 200.5"_s);
        if (model == u"4") {
            // A reading of exactly 0 leaves a dated line in the diagnostic file.
            Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30)));
            const auto realClock = qScopeGuard([] { Clock::set({}); });
            st.sim.command("length 0");
            QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u"0.00"_s, 10000);
            QCOMPARE(st.folder.readFile(u"c/DispPV4.log"_s).split('\n').value(0),
                     QByteArray("2026-03-14")); // the station's day
        }
    }

    // The scale's text stream and the scanner, configured under the old key as on the older
    // stations (the packed format is read through the same wiring in test_split_readings).
    void scaleAndScanner()
    {
        TempProgramFolder folder;
        DevSim scale(DevSim::args("--device scale --weight 10.5 --format text --link",
                                  {folder.file(u"ttyScale"_s)}));
        DevSim scanner(DevSim::args("--device scanner --link", {folder.file(u"ttyScanner"_s)}));
        QVERIFY(scale.ok() && scanner.ok());
        folder.writeFile(u"mirel.ini"_s,
                         ini("CHENCOM=COM3\nchenInputMode=0\nCommBarcode=COM3\nBARCODECOM=COM5\n",
                             com(3, scale) + com(5, scanner)));
        InspectionDevices devs;
        Fields f(devs);
        QSignalSpy colours(&devs, &InspectionDevices::labelColour);
        const auto caption = [&](quint32 colour) {
            return colours.contains(
                QList<QVariant>{fields::kCardCaption, QVariant::fromValue(colour)});
        };
        devs.setScaleConnected(true);
        devs.setupDevices();
        QCOMPARE(f.scaleStatus, u"台称准备好"_s);
        QVERIFY(caption(colours::kScannerOpen));
        QTRY_COMPARE_WITH_TIMEOUT(f.weight, u"10.50"_s, 10000);
        QCOMPARE(f.raw, u" 10.5"_s);
        // The scale keeps sending the same weight: the field is not rewritten, the operator's text stays.
        f.weight = u"11"_s;
        const int writes = f.weightWrites;
        scale.command("weight 10.5");
        QTest::qWait(1300); // a few ticks of the same weight
        QCOMPARE(f.weightWrites, writes);
        QCOMPARE(f.weight, u"11"_s);
        scale.command("weight 25.4");
        QTRY_COMPARE_WITH_TIMEOUT(f.weight, u"25.40"_s, 10000);
        // Its cable pulled and plugged in again: paused, then weighing on by itself.
        scale.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(f.scaleStatus, u"台称暂停中"_s, 10000);
        QVERIFY(!scale.replug().isEmpty());
        scale.command("weight 30.1");
        QTRY_COMPARE_WITH_TIMEOUT(f.weight, u"30.10"_s, 10000);

        scanner.command("scan K2405-001");
        QTRY_COMPARE_WITH_TIMEOUT(f.lookups, 1, 10000);
        QCOMPARE(f.card, u"K2405-001"_s);
        QCOMPARE(f.tip, u" 串口扫描枪启动"_s);
        // Pulled out and plugged in again (the same name): the caption says so, scans come again.
        colours.clear();
        scanner.command("unplug");
        QTRY_VERIFY_WITH_TIMEOUT(caption(colours::kScannerClosed), 10000);
        QVERIFY(!scanner.replug().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(caption(colours::kScannerOpen), 10000);
        scanner.command("scan K2405-002");
        QTRY_COMPARE_WITH_TIMEOUT(f.lookups, 2, 10000);
        devs.releaseDevices();
    }

    // One modbus counter's day. Zeroed: the zero, 500 ms later the first limit write, 500 ms
    // after it the second, no read request in between, and the station's event loop runs all
    // the while. Then a counter that stops answering, or answers what is no length of its own,
    // leaves its last length on screen (never a wrong one) and says so after a few ticks.
    // Unplugged (under a name of its own, a udev link, kept when it is plugged in again) it
    // pauses, and the station finds it back by itself: nobody ticks "接入码表" again.
    void modbusCounterWalk()
    {
        TempProgramFolder records;
        const QString record = records.file(u"received"_s), link = records.file(u"ttyCounter"_s);
        CounterStation st("87.6", {u"--record"_s, record, u"--link"_s, link});
        QVERIFY(st.start());
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u"87.60"_s, 10000);
        int beats = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&] { ++beats; });
        beat.start(100);
        const QByteArrayList frames{zeroMeterCoil(1), alterResetFirst(1), alterResetSecond(1)};
        st.devs.zeroCounter();
        QTRY_VERIFY_WITH_TIMEOUT(DevSimRecord(record).bytes.contains(frames.join()), 10000);
        QVERIFY2(beats >= 3, qPrintable(QString::number(beats))); // the window was not held
        const DevSimRecord got(record);
        const qsizetype coil = got.bytes.indexOf(frames.join()), limit1 = coil + frames[0].size(),
                        limit2 = limit1 + frames[1].size();
        QVERIFY2(
            got.at[limit1] - got.at[coil] >= 450 && got.at[limit2] - got.at[limit1] >= 450,
            qPrintable(u"%1 %2 %3"_s.arg(got.at[coil]).arg(got.at[limit1]).arg(got.at[limit2])));
        st.f.quantities.clear();
        QTRY_VERIFY_WITH_TIMEOUT(st.f.quantities.count(u"0.00"_s) >= 3, 10000);
        // The echoes of the zero and limit writes never show as a length.
        QCOMPARE(st.f.quantities.count(u"0.00"_s), st.f.quantities.size());

        st.sim.command("length 150");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u"150.00"_s, 10000);
        st.f.quantities.clear();
        for (const QByteArray fault : {"silent", "short", "badcrc", "wrongaddr", "garbage"}) {
            QVERIFY(st.devs.counterAnswering());
            st.sim.command("fault " + fault);
            QTRY_COMPARE_WITH_TIMEOUT(st.f.counterStatus, counterSilentCaption(), 10000);
            QVERIFY2(!st.devs.counterAnswering(), fault.constData());
            st.sim.command("fault none");
            QTRY_COMPARE_WITH_TIMEOUT(st.f.counterStatus, u"码表1通讯中..."_s, 10000);
        }
        QVERIFY(st.devs.counterAnswering());
        QCOMPARE(st.f.quantities.count(u"150.00"_s), st.f.quantities.size());
        st.sim.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.counterStatus, u"码表暂停中"_s, 10000);
        const qsizetype shown = st.f.quantities.size();
        QTest::qWait(900);
        QCOMPARE(st.f.quantities.size(), shown); // nothing written while the counter is gone
        QVERIFY(!st.sim.replug().isEmpty());
        st.sim.command("length 43");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u"43.00"_s, 10000);
    }

    // Ports that do not open: the inspection frame and the packing table say so, poll nothing
    // and fail on nothing.
    void portsThatDoNotOpen_data()
    {
        QTest::addColumn<QByteArray>("mirel");
        QTest::addColumn<QString>("status");
        QTest::newRow("no such device") << QByteArray("InputMode=1\nCOM=COM1\n") << u"没有找到串口"_s;
        QTest::newRow("bad settings")
            << QByteArray("InputMode=1\nInputSet=9600,x,8,1\nCOM=COM2\n") << u"没有找到串口"_s;
        QTest::newRow("usb without library") << QByteArray("InputMode=2\n") << u"没有找到码表驱动"_s;
    }

    void portsThatDoNotOpen()
    {
        QFETCH(QByteArray, mirel);
        TempProgramFolder folder;
        DevSim sim(DevSim::args("--length 1"));
        folder.writeFile(u"mirel.ini"_s, ini(mirel + "CommBarcode=COM9\nCHENCOM=COM8\n",
                                             "COM8=/dev/no-such-tty\nCOM1=/dev/no-such-tty\n" +
                                                 com(2, sim) + "COM9=/dev/no-such-tty\n"));
        InspectionDevices devs;
        Fields f(devs);
        QSignalSpy faults(&devs, &InspectionDevices::deviceFault);
        devs.setCounterConnected(true);
        devs.setScaleConnected(true);
        devs.setupDevices();
        QTEST(f.counterStatus, "status");
        QCOMPARE(f.scaleStatus, u"台称没找到"_s);
        QVERIFY(faults.count() >= 3); // counter, scale, scanner
        for (int i = 0; i < 5; ++i)
            devs.pollDevices();
        QVERIFY(f.quantities.isEmpty());
        QCOMPARE(f.scaleStatus, u"台称暂停中"_s);
        devs.zeroCounter(); // nothing to send to: must not fail

        PackingScale packing;
        QSignalSpy status(&packing, &PackingScale::status);
        QVERIFY(!packing.openScalePort());
        QCOMPARE(status.last().at(0).toString(), u"台称没找到"_s);
        packing.setEnabled(true);
        packing.poll();
        QCOMPARE(status.last().at(0).toString(), u"台称暂停中"_s);
    }

    void ratioYardsAndGuama()
    {
        CounterStation st("100", {}, "InputMode=1\ndispFormat=00\n");
        st.devs.setLengthRatio(1005, 1000);
        QVERIFY(st.start());
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u" 101"_s, 10000); // 100.5 started metre
        QCOMPARE(st.devs.toggleUnit(u"米"_s), true);
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity, u" 110"_s, 10000); // 109.9068 yd
        st.writeIni("InputMode=1\ndispFormat=0\nisguama=1\n");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.weight, u" 109"_s, 10000);
    }

    // The packing table asks its scale for the weight; pulled and plugged in again under the
    // same name, weighing goes on.
    void packingScaleAsksForTheWeight()
    {
        PackingStation p("--device scale --format packing --weight 25.4", "dispFormat=0.0\n");
        QVERIFY(p.open());
        QCOMPARE(p.status.first().at(0).toString(), u"台称准备好"_s);
        QTRY_COMPARE_WITH_TIMEOUT(p.lastWeight(), u"25.4"_s, 10000);
        QCOMPARE(p.lastStatus(), u"台称通讯中..."_s);
        p.sim.command("weight 31.26");
        QTRY_COMPARE_WITH_TIMEOUT(p.lastWeight(), u"31.3"_s, 10000);
        p.sim.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(p.lastStatus(), u"台称暂停中"_s, 10000);
        QVERIFY(!p.sim.replug().isEmpty());
        p.sim.command("weight 12.0");
        QTRY_COMPARE_WITH_TIMEOUT(p.lastWeight(), u"12.0"_s, 10000);
    }

    // A SICS scale: its "S D" readings move, "S +" is over range, and 归零 zeroes it.
    void sicsScaleFlagsAndZero()
    {
        PackingStation p("--device scale --format sics --interval 100 --weight 3.2");
        QVERIFY(p.open());
        QVERIFY(!p.s.zeroScale());
        p.poll(100);
        QTRY_COMPARE_WITH_TIMEOUT(p.look(), int(WeightLook::Settled), 10000);
        QVERIFY(p.s.zeroTareSupported());
        QVERIFY(p.s.zeroScale());
        QTRY_COMPARE_WITH_TIMEOUT(p.look(), int(WeightLook::Empty), 10000);
        p.sim.command("overload on");
        QTRY_COMPARE_WITH_TIMEOUT(p.look(), int(WeightLook::OverRange), 10000);
        QCOMPARE(int(p.s.settling().decideSave(0).kind), int(SaveDecision::Refuse));
        p.sim.command("overload off");
        p.sim.command("settle 2000");
        p.sim.command("weight 10");
        QTRY_COMPARE_WITH_TIMEOUT(p.look(), int(WeightLook::Moving), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(p.look(), int(WeightLook::Settled), 10000);
        QCOMPARE(*p.s.settling().settled(), 6.8); // zeroed with 3.2 kg on it
    }
};

QTEST_MAIN(TestDevicesPty)
#include "TestDevicesPty.moc"
