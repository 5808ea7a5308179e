// Noise on every port of the inspection frame, tick after tick: the station keeps running, the
// quantity only ever shows 0 or a length a valid frame carried, the weight only what a reading gave.
#include "devices/BarcodeScanner.h"
#include "devices/InspectionDevices.h"
#include "devices/MeterReplies.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "support/TempProgramFolder.h"
#include "text/Vb.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <random>

using namespace devices;

class TestDeviceTickFuzz : public QObject {
    Q_OBJECT
private slots:
    void noiseOnEveryPort_data();
    void noiseOnEveryPort();
};

void TestDeviceTickFuzz::noiseOnEveryPort_data()
{
    QTest::addColumn<QByteArray>("inputMode");
    QTest::addColumn<QByteArray>("chenInputMode");
    QTest::addColumn<int>("variant");
    QTest::newRow("text counter, text scale") << QByteArray("0") << QByteArray("0") << 0;
    QTest::newRow("modbus, packed scale") << QByteArray("1") << QByteArray("1") << 0;
    QTest::newRow("sum frame") << QByteArray("3") << QByteArray("1") << 0;
    QTest::newRow("five registers") << QByteArray("4") << QByteArray("0") << 0;
    QTest::newRow("mark labels") << QByteArray("0") << QByteArray("0") << 1;
    QTest::newRow("fiber boxes") << QByteArray("1") << QByteArray("0") << 2;
}

namespace {

// The device rules of the inspection (0), mark-label (1) and fiber-box (2) windows.
DeviceRules rulesOf(int variant)
{
    DeviceRules r;
    if (variant == 0)
        return r;
    r.knownModel = [](CounterModel m) { return m == CounterModel::FiveRegisters ? CounterModel::Modbus : m; };
    r.counterText = parseCounterTextPlain;
    r.scaleText = ScaleTextRules::KgToWn;
    r.lengthFormat = LengthFormatRules::PlainPictures;
    r.rfid = false;
    if (variant == 2) {
        r.counterSettings = QStringLiteral("9600,n,8,1");
        r.knownModel = [](CounterModel m) { return m == CounterModel::Text ? m : CounterModel::Modbus; };
        r.checkedCounter = true;
        r.packedScale = false;
        r.scaleText = ScaleTextRules::ReversedFirst;
        r.weightEveryTick = true;
    }
    return r;
}

} // namespace

void TestDeviceTickFuzz::noiseOnEveryPort()
{
    QFETCH(QByteArray, inputMode);
    QFETCH(QByteArray, chenInputMode);
    QFETCH(int, variant);
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[MIREL]\nInputMode=" + inputMode + "\nchenInputMode="
                                                      + chenInputMode + "\nCommBarcode=COM4\n");
    MemoryDevice counter, scale, scanner;
    InspectionDevices devs(rulesOf(variant));
    devs.counterPort()->setDevice(&counter);
    devs.scalePort()->setDevice(&scale);
    devs.scanner()->port()->setDevice(&scanner);
    QSignalSpy quantities(&devs, &InspectionDevices::quantityText);
    QSignalSpy scans(&devs, &InspectionDevices::cardScanned);
    devs.setCounterConnected(true);
    devs.setScaleConnected(true);
    devs.setupDevices();
    devs.setPolling(false); // ticks are driven below
    QVERIFY(devs.counterPort()->portOpen() && devs.scalePort()->portOpen());

    std::mt19937 rng(uint(variant * 10 + inputMode.at(0)));
    const auto noise = [&] {
        QByteArray b(int(rng() % 24), '\0');
        for (char& c : b)
            c = static_cast<char>(rng() & 0xFF);
        return b;
    };
    const CounterModel model = counterModel(QString::fromLatin1(inputMode), QString());
    QElapsedTimer clock;
    clock.start();
    int ticks = 0;
    while (clock.elapsed() < 1500) {
        const QByteArray c = noise(), s = noise(), k = noise();
        counter.feed(c);
        scale.feed(s);
        scanner.feed(k);
        devs.pollDevices();
        if (rng() % 50 == 0)
            devs.zeroCounter();
        ++ticks;
    }
    QVERIFY(ticks > 100);
    QVERIFY(scans.count() > 0);
    for (const auto& q : quantities) {
        const QString text = q.at(1).toString();
        QVERIFY2(vb::IsNumeric(text), qPrintable(text));
        // CRC-checked counters: noise never forms a valid frame, so only "no reply" zeros show.
        // (The sum-checked counter's 8-bit sum lets one noise window in 256 through: that is
        // the protocol's own limit.)
        if ((model == CounterModel::Modbus || model == CounterModel::FiveRegisters) && variant != 1)
            QCOMPARE(vb::Val(text), 0.0);
    }
    devs.releaseDevices();
}

QTEST_GUILESS_MAIN(TestDeviceTickFuzz)
#include "TestDeviceTickFuzz.moc"
