// The inspection frame's devices over real ptys: mirel-devsim plays counter, scale and scanner,
// and the fields are wired the way the inspection window wires them.
#include "DevSim.h"
#include "devices/BarcodeScanner.h"
#include "devices/InspectionDevices.h"
#include "devices/MeterFrames.h"
#include "support/TempProgramFolder.h"
#include "time/Clock.h"

#include <QScopeGuard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace devices;

namespace {

// The few controls of the inspection window that the devices fill.
struct Fields {
    QLineEdit quantity, weight, card, worker;
    QLabel counterStatus, scaleStatus, unit;
    QStringList quantities; // every text the counter put into the quantity field
    int lookups = 0;        // find commands run by scans
    int weightWrites = 0;

    explicit Fields(InspectionDevices& d)
    {
        QObject::connect(&d, &InspectionDevices::quantityText, [this](int index, const QString& t) {
            (index == fields::kWeight ? weight : quantity).setText(t);
            quantities << t;
        });
        QObject::connect(&d, &InspectionDevices::weightText, [this](const QString& t, const QString& raw) {
            weight.setText(t);
            weight.setToolTip(raw);
            ++weightWrites;
        });
        QObject::connect(&d, &InspectionDevices::counterStatus, &counterStatus, &QLabel::setText);
        QObject::connect(&d, &InspectionDevices::scaleStatus, &scaleStatus, &QLabel::setText);
        QObject::connect(&d, &InspectionDevices::unitCaption, &unit, &QLabel::setText);
        QObject::connect(&d, &InspectionDevices::cardScanned, [this](const QString& t) {
            card.setText(t);
            card.setToolTip(scannerToolTip());
            ++lookups;
        });
    }
};

QByteArray ini(const QByteArray& mirel, const QByteArray& ports)
{
    return "[MIREL]\n" + mirel + "\n[MES]\nRFID=1\n[SerialPorts]\n" + ports;
}

// A counter standing still at the given length (model 1 unless more arguments say otherwise).
QStringList counterArgs(const char* length, const QStringList& more = {})
{
    return more + QStringList{QStringLiteral("--length"), QString::fromLatin1(length),
                              QStringLiteral("--speed"), QStringLiteral("0")};
}

// A station with only the counter, on COM1 = the simulator; `mirel` adds keys of its own.
QByteArray counterIni(const DevSim& sim, const QByteArray& mirel = "InputMode=1\n")
{
    return ini(mirel + "COM=COM1\nCommBarcode=\n", "COM1=" + sim.path().toLocal8Bit() + "\n");
}

// That station with its devices and fields; start() ticks "接入码表" and sets the devices up.
struct CounterStation {
    TempProgramFolder folder;
    DevSim sim;
    InspectionDevices devs;
    Fields f{devs};

    explicit CounterStation(const QStringList& simArgs, const QByteArray& mirel = "InputMode=1\n")
        : sim(simArgs)
    {
        writeIni(mirel);
    }
    void writeIni(const QByteArray& mirel = "InputMode=1\n")
    {
        folder.writeFile(QStringLiteral("mirel.ini"), counterIni(sim, mirel));
    }
    ~CounterStation() { devs.releaseDevices(); }
    bool start() // false: the simulator did not start
    {
        devs.setCounterConnected(true);
        devs.setupDevices();
        return sim.ok();
    }
};

} // namespace

class TestInspectionDevicesPty : public QObject {
    Q_OBJECT
private slots:
    void counterFollowsSimulator_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QString>("busy");
        QTest::addColumn<QByteArray>("length");
        QTest::newRow("text") << QByteArray("0") << QStringLiteral("码表0通讯中...") << QByteArray("123.45");
        QTest::newRow("modbus") << QByteArray("1") << QStringLiteral("码表1通讯中...") << QByteArray("123.45");
        // The reply at 103 m also adds up like a sum-checked frame.
        QTest::newRow("modbus 103") << QByteArray("1") << QStringLiteral("码表1通讯中...") << QByteArray("103");
        QTest::newRow("sum frame") << QByteArray("3") << QStringLiteral("码表3通讯中...") << QByteArray("123.45");
        QTest::newRow("five registers") << QByteArray("4") << QStringLiteral("码表4通讯中...") << QByteArray("123.45");
    }

    void counterFollowsSimulator()
    {
        QFETCH(QByteArray, model);
        QFETCH(QByteArray, length);
        CounterStation st(counterArgs(length.constData(), {QStringLiteral("--model"), QString::fromLatin1(model)}),
                          "InputMode=" + model + "\n");
        QVERIFY(st.start());
        QCOMPARE(st.f.counterStatus.text(), QStringLiteral("码表准备好"));
        const QString shown = QString::number(length.toDouble(), 'f', 2);
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), shown, 10000);
        for (const QString& q : st.f.quantities)
            QCOMPARE(q, shown);
        QTEST(st.f.counterStatus.text(), "busy");
        st.sim.command("length 200.5");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral("200.50"), 10000);
        if (model == "0")
            QCOMPARE(st.f.unit.text(), QStringLiteral("米"));
        QCOMPARE(st.devs.lastRawReading(), QStringLiteral(" 200.5"));
        if (model == "4") {
            // A reading of exactly 0 leaves a dated line in the diagnostic file.
            Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30)));
            const auto realClock = qScopeGuard([] { Clock::set({}); });
            st.sim.command("length 0");
            QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral("0.00"), 10000);
            QFile log(st.folder.file(QStringLiteral("c/DispPV4.log")));
            QVERIFY(log.open(QIODevice::ReadOnly));
            QCOMPARE(log.readLine(), QByteArray("2026-03-14\n")); // the station's day
        }
    }

    void scaleAndScanner_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("chenInputMode");
        QTest::newRow("text stream") << QStringLiteral("text") << QByteArray("0");
        QTest::newRow("packed") << QStringLiteral("packed") << QByteArray("1");
    }

    void scaleAndScanner()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, chenInputMode);
        TempProgramFolder folder;
        DevSim scale({QStringLiteral("--device"), QStringLiteral("scale"), QStringLiteral("--format"),
                      format, QStringLiteral("--weight"), QStringLiteral("10.5"), QStringLiteral("--link"),
                      folder.file(QStringLiteral("ttyScale"))});
        DevSim scanner({QStringLiteral("--device"), QStringLiteral("scanner"), QStringLiteral("--link"),
                        folder.file(QStringLiteral("ttyScanner"))});
        QVERIFY(scale.ok() && scanner.ok());
        // The scanner is configured under the old key, as on the older stations.
        folder.writeFile(QStringLiteral("mirel.ini"),
                         ini("CHENCOM=COM3\nchenInputMode=" + chenInputMode + "\nCommBarcode=COM3\nBARCODECOM=COM5\n",
                             "COM3=" + scale.path().toLocal8Bit() + "\nCOM5=" + scanner.path().toLocal8Bit() + "\n"));
        InspectionDevices devs;
        Fields f(devs);
        QSignalSpy colours(&devs, &InspectionDevices::labelColour);
        devs.setScaleConnected(true);
        devs.setupDevices();
        QCOMPARE(f.scaleStatus.text(), QStringLiteral("台称准备好"));
        QVERIFY(colours.contains(QList<QVariant>{fields::kCardCaption, QVariant::fromValue(colours::kScannerOpen)}));
        QTRY_COMPARE_WITH_TIMEOUT(f.weight.text(), QStringLiteral("10.50"), 10000);
        QCOMPARE(f.weight.toolTip(), QStringLiteral(" 10.5"));
        // The scale keeps sending the same weight: the field is not rewritten, the operator's text stays.
        f.weight.setText(QStringLiteral("11"));
        const int writes = f.weightWrites;
        QSignalSpy ticks(&devs, &InspectionDevices::scaleStatus);
        scale.command("weight 10.5");
        QTest::qWait(1300); // a few ticks of the same weight
        QCOMPARE(f.weightWrites, writes);
        QCOMPARE(f.weight.text(), QStringLiteral("11"));
        scale.command("weight 25.4");
        QTRY_COMPARE_WITH_TIMEOUT(f.weight.text(), QStringLiteral("25.40"), 10000);
        // Its cable pulled and plugged in again: paused, then weighing on by itself.
        scale.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(f.scaleStatus.text(), QStringLiteral("台称暂停中"), 10000);
        QVERIFY(!scale.replug().isEmpty());
        scale.command("weight 30.1");
        QTRY_COMPARE_WITH_TIMEOUT(f.weight.text(), QStringLiteral("30.10"), 10000);

        scanner.command("scan K2405-001");
        QTRY_COMPARE_WITH_TIMEOUT(f.lookups, 1, 10000);
        QCOMPARE(f.card.text(), QStringLiteral("K2405-001"));
        QCOMPARE(f.card.toolTip(), QStringLiteral(" 串口扫描枪启动"));
        // Pulled out and plugged in again (the same name): the caption says so, scans come again.
        const auto caption = [&](quint32 colour) {
            return colours.contains(QList<QVariant>{fields::kCardCaption, QVariant::fromValue(colour)});
        };
        colours.clear();
        scanner.command("unplug");
        QTRY_VERIFY_WITH_TIMEOUT(caption(colours::kScannerClosed), 10000);
        QVERIFY(!scanner.replug().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(caption(colours::kScannerOpen), 10000);
        scanner.command("scan K2405-002");
        QTRY_COMPARE_WITH_TIMEOUT(f.lookups, 2, 10000);
        devs.releaseDevices();
    }

    // The zero, then 500 ms later the first limit write, 500 ms after it the second, with no read
    // request in between; the station's event loop runs all the while.
    void modbusZeroFromTimer()
    {
        TempProgramFolder records;
        const QString record = records.file(QStringLiteral("received"));
        CounterStation st(counterArgs("87.6", {QStringLiteral("--record"), record}));
        QVERIFY(st.start());
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral("87.60"), 10000);
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
        QVERIFY2(got.at[limit1] - got.at[coil] >= 450 && got.at[limit2] - got.at[limit1] >= 450,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(got.at[coil]).arg(got.at[limit1]).arg(got.at[limit2])));
        st.f.quantities.clear();
        QTRY_VERIFY_WITH_TIMEOUT(st.f.quantities.count(QStringLiteral("0.00")) >= 3, 10000);
        // The echoes of the zero and limit writes never show as a length.
        for (const QString& q : st.f.quantities)
            QCOMPARE(q, QStringLiteral("0.00"));
    }

    void missedRepliesKeepTheLength_data()
    {
        QTest::addColumn<QByteArray>("fault");
        for (const char* fault : {"silent", "short", "badcrc", "wrongaddr", "garbage"})
            QTest::newRow(fault) << QByteArray(fault);
    }

    // A counter that stops answering, or answers what is no length of its own, leaves its last
    // length on screen (never a wrong one) and says so after a few ticks.
    void missedRepliesKeepTheLength()
    {
        QFETCH(QByteArray, fault);
        CounterStation st(counterArgs("150"));
        QVERIFY(st.start());
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral("150.00"), 10000);
        QVERIFY(st.devs.counterAnswering());
        st.sim.command("fault " + fault);
        QTRY_COMPARE_WITH_TIMEOUT(st.f.counterStatus.text(), counterSilentCaption(), 10000);
        QVERIFY(!st.devs.counterAnswering());
        for (const QString& q : st.f.quantities)
            QCOMPARE(q, QStringLiteral("150.00"));
        st.sim.command("fault none");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.counterStatus.text(), QStringLiteral("码表1通讯中..."), 10000);
        QVERIFY(st.devs.counterAnswering());
    }

    void unpluggedCounterPausesAndReopens()
    {
        // The counter under a name of its own (a udev link), kept when it is plugged in again.
        const QString link = QDir::temp().filePath(
            QStringLiteral("mirel-test-counter-%1").arg(QCoreApplication::applicationPid()));
        CounterStation st(counterArgs("42", {QStringLiteral("--link"), link}));
        QVERIFY(st.start());
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral("42.00"), 10000);
        st.sim.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.counterStatus.text(), QStringLiteral("码表暂停中"), 10000);
        const int shown = int(st.f.quantities.size());
        QTest::qWait(900);
        QCOMPARE(int(st.f.quantities.size()), shown); // nothing written while the counter is gone
        QCOMPARE(st.f.quantity.text(), QStringLiteral("42.00"));

        QVERIFY(!st.sim.replug().isEmpty());
        st.sim.command("length 43");
        // Nobody ticks "接入码表" again: the station finds the counter back by itself.
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral("43.00"), 10000);
    }

    void portsThatDoNotOpen_data()
    {
        QTest::addColumn<QByteArray>("mirel");
        QTest::addColumn<QString>("status");
        QTest::newRow("no such device") << QByteArray("InputMode=1\nCOM=COM1\n") << QStringLiteral("没有找到串口");
        QTest::newRow("bad settings") << QByteArray("InputMode=1\nInputSet=9600,x,8,1\nCOM=COM2\n")
                                      << QStringLiteral("没有找到串口");
        QTest::newRow("usb without library") << QByteArray("InputMode=2\n") << QStringLiteral("没有找到码表驱动");
    }

    void portsThatDoNotOpen()
    {
        QFETCH(QByteArray, mirel);
        TempProgramFolder folder;
        DevSim sim({QStringLiteral("--length"), QStringLiteral("1")});
        folder.writeFile(QStringLiteral("mirel.ini"),
                         ini(mirel + "CommBarcode=COM9\nCHENCOM=COM8\n",
                             "COM8=/dev/no-such-tty\nCOM1=/dev/no-such-tty\nCOM2=" + sim.path().toLocal8Bit() + "\nCOM9=/dev/no-such-tty\n"));
        InspectionDevices devs;
        Fields f(devs);
        QSignalSpy faults(&devs, &InspectionDevices::deviceFault);
        devs.setCounterConnected(true);
        devs.setScaleConnected(true);
        devs.setupDevices();
        QTEST(f.counterStatus.text(), "status");
        QCOMPARE(f.scaleStatus.text(), QStringLiteral("台称没找到"));
        QVERIFY(faults.count() >= 3); // counter, scale, scanner
        for (int i = 0; i < 5; ++i)
            devs.pollDevices();
        QVERIFY(f.quantities.isEmpty());
        QCOMPARE(f.scaleStatus.text(), QStringLiteral("台称暂停中"));
        devs.zeroCounter(); // nothing to send to: must not fail
    }

    void ratioYardsAndGuama()
    {
        CounterStation st(counterArgs("100"), "InputMode=1\ndispFormat=00\n");
        st.devs.setLengthRatio(1005, 1000);
        QVERIFY(st.start());
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral(" 101"), 10000); // 100.5 started metre
        QCOMPARE(st.devs.toggleUnit(QStringLiteral("米")), true);
        QTRY_COMPARE_WITH_TIMEOUT(st.f.quantity.text(), QStringLiteral(" 110"), 10000); // 109.9068 yd
        st.writeIni("InputMode=1\ndispFormat=0\nisguama=1\n");
        QTRY_COMPARE_WITH_TIMEOUT(st.f.weight.text(), QStringLiteral(" 109"), 10000);
    }

    void simulatedUsbCounter()
    {
        TempProgramFolder folder;
        const QString countFile = folder.file(QStringLiteral("usb-count"));
        qputenv("MIREL_DEVSIM_USB", countFile.toLocal8Bit()); // read by the library in this process
        QVERIFY(QFile::copy(qEnvironmentVariable("MIREL_BIN_DIR") + QStringLiteral("/devsim-usb/libhid3388.so"),
                            folder.file(QStringLiteral("libhid3388.so"))));
        DevSim sim(counterArgs("123.45", {QStringLiteral("--device"), QStringLiteral("usb")}));
        QVERIFY(sim.ok());
        QCOMPARE(sim.path(), countFile);
        folder.writeFile(QStringLiteral("mirel.ini"), ini("InputMode=2\nCommBarcode=\n", ""));
        InspectionDevices devs;
        Fields f(devs);
        devs.setCounterConnected(true);
        devs.setupDevices();
        QCOMPARE(f.counterStatus.text(), QStringLiteral("电表准备好"));
        QTRY_COMPARE_WITH_TIMEOUT(f.quantity.text(), QStringLiteral("123.00"), 10000); // the raw count
        QCOMPARE(f.counterStatus.text(), QStringLiteral("码表2通讯中..."));
        devs.zeroCounter();
        QTRY_COMPARE_WITH_TIMEOUT(f.quantity.text(), QStringLiteral("0.00"), 10000);
        devs.releaseDevices();
        qunsetenv("MIREL_DEVSIM_USB");
    }
};

QTEST_MAIN(TestInspectionDevicesPty)
#include "TestInspectionDevicesPty.moc"
