// Streaming devices read in the middle of a reading: the rest arrives with the next tick and
// must not pass for a reading of its own.
#include "devices/BarcodeScanner.h"
#include "devices/InspectionDevices.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QtTest>

using namespace devices;

class TestSplitReadings : public QObject {
    Q_OBJECT
private slots:
    void textCounterLineSplit_data();
    void textCounterLineSplit();
    void scaleReadingSplit();
};

void TestSplitReadings::textCounterLineSplit_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QStringList>("shown");
    // The first line after opening is only a mark to start from.
    QTest::newRow("rest of a line") << QByteArrayList{"\n12.00M\r\n12.1", "0M\r\n"}
                                    << QStringList{"12.00", "12.10"};
    QTest::newRow("whole lines") << QByteArrayList{"11.90M\r\n", "12.00M\r\n", "12.10M\r\n"}
                                 << QStringList{"12.00", "12.10"};
    QTest::newRow("opened mid-line") << QByteArrayList{"0M\r\n12.10M\r\n"} << QStringList{"12.10"};
    QTest::newRow("no line ends") << QByteArrayList{"12.00M", "12.10M"} << QStringList{"12.00", "12.10"};
}

void TestSplitReadings::textCounterLineSplit()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QStringList, shown);
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[MIREL]\nInputMode=0\nCommBarcode=\n");
    MemoryDevice counter;
    InspectionDevices devs;
    devs.counterPort()->setDevice(&counter);
    QSignalSpy quantities(&devs, &InspectionDevices::quantityText);
    devs.setCounterConnected(true);
    devs.setupDevices();
    devs.setPolling(false);
    for (const QByteArray& chunk : chunks) {
        counter.feed(chunk);
        devs.pollDevices();
    }
    QStringList got;
    for (const auto& q : quantities)
        got << q.at(1).toString();
    QCOMPARE(got, shown);
}

void TestSplitReadings::scaleReadingSplit()
{
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[MIREL]\nchenInputMode=0\nCommBarcode=\n");
    MemoryDevice scale;
    InspectionDevices devs;
    devs.scalePort()->setDevice(&scale);
    QSignalSpy weights(&devs, &InspectionDevices::weightText);
    devs.setScaleConnected(true);
    devs.setupDevices();
    devs.setPolling(false);
    // 12.34 kg goes out as "=43.2100"; a tick reads one and a half readings.
    scale.feed("=43.2100=43.2");
    devs.pollDevices();
    scale.feed("100=43.2100");
    devs.pollDevices();
    QCOMPARE(weights.count(), 1); // the same weight twice: written once
    QCOMPARE(weights.at(0).at(0).toString(), QStringLiteral("12.34"));
}

QTEST_GUILESS_MAIN(TestSplitReadings)
#include "TestSplitReadings.moc"
