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

namespace {

// The devices with the counter or the scale on an in-memory line; the test drives the ticks.
void connectLine(InspectionDevices& devs, MemoryDevice& line, bool counter)
{
    (counter ? devs.counterPort() : devs.scalePort())->setDevice(&line);
    devs.setCounterConnected(counter);
    devs.setScaleConnected(!counter);
    devs.setupDevices();
    devs.setPolling(false);
}

} // namespace

class TestSplitReadings : public QObject {
    Q_OBJECT
private slots:
    void textCounterLineSplit_data();
    void textCounterLineSplit();
    void scaleReadingSplit();
    void packedScaleCutAnywhere();
    void scanAssembly_data();
    void scanAssembly();
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
    QSignalSpy quantities(&devs, &InspectionDevices::quantityText);
    connectLine(devs, counter, true);
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
    QSignalSpy weights(&devs, &InspectionDevices::weightText);
    connectLine(devs, scale, false);
    // 12.34 kg goes out as "=43.2100"; a tick reads one and a half readings.
    scale.feed("=43.2100=43.2");
    devs.pollDevices();
    scale.feed("100=43.2100");
    devs.pollDevices();
    QCOMPARE(weights.count(), 1); // the same weight twice: written once
    QCOMPARE(weights.at(0).at(0).toString(), QStringLiteral("12.34"));
}

// A packed stream, opened at any byte of its first frame and read in two parts cut at any byte,
// shows only weights that were sent. 2.03 kg (02 00 03 02 03) holds a frame start inside it.
void TestSplitReadings::packedScaleCutAnywhere()
{
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[MIREL]\nchenInputMode=1\nCommBarcode=\n");
    const QByteArray stream = QByteArray::fromHex("0200341203" "0200030203" "0200785603" "0200030203");
    const QStringList sent{QStringLiteral("12.34"), QStringLiteral("2.03"), QStringLiteral("56.78")};
    for (int open = 0; open < 5; ++open) {
        for (qsizetype cut = 0; cut <= stream.size() - open; ++cut) {
            MemoryDevice scale;
            InspectionDevices devs;
            QSignalSpy weights(&devs, &InspectionDevices::weightText);
            connectLine(devs, scale, false);
            const QByteArray line = stream.mid(open);
            scale.feed(line.left(cut));
            devs.pollDevices();
            scale.feed(line.mid(cut));
            devs.pollDevices();
            const QString where = QStringLiteral("opened at %1, cut at %2").arg(open).arg(cut);
            QVERIFY2(!weights.isEmpty(), qPrintable(where));
            for (const auto& w : weights)
                QVERIFY2(sent.contains(w.at(0).toString()), qPrintable(where + QStringLiteral(": ") + w.at(0).toString()));
            QVERIFY2(weights.last().at(0).toString() == QStringLiteral("2.03"), qPrintable(where));
        }
    }
}

void TestSplitReadings::scanAssembly_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QStringList>("scans");
    const QStringList one{QStringLiteral("K2405-001\r")};
    QByteArrayList bytes;
    for (char ch : QByteArray("K2405-001\r"))
        bytes << QByteArray(1, ch);
    QTest::newRow("byte by byte") << bytes << one;
    QTest::newRow("two bursts") << QByteArrayList{"K240", "5-001\r"} << one;
    QTest::newRow("CR") << QByteArrayList{"K2405-001\r"} << one;
    QTest::newRow("LF") << QByteArrayList{"K2405-001\n"} << QStringList{"K2405-001\n"};
    QTest::newRow("CRLF") << QByteArrayList{"K2405-001\r\n"} << QStringList{"K2405-001\r\n"};
    QTest::newRow("CRLF split after CR") << QByteArrayList{"K2405-001\r", "\n"} << one;
    QTest::newRow("no suffix") << QByteArrayList{"K2405-001"} << QStringList{"K2405-001"};
    QTest::newRow("no suffix, two bursts") << QByteArrayList{"K2405", "-001"} << QStringList{"K2405-001"};
    QTest::newRow("two scans back to back") << QByteArrayList{"K2405-001\r\nK2405-002\r\n"}
                                            << QStringList{"K2405-001\r\n", "K2405-002\r\n"};
    QTest::newRow("second scan split") << QByteArrayList{"K2405-001\rK24", "05-002\r"}
                                       << QStringList{"K2405-001\r", "K2405-002\r"};
}

// Whatever the chunks, one scan is one lookup of the whole card number.
void TestSplitReadings::scanAssembly()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QStringList, scans);
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[MIREL]\nCommBarcode=COM4\n");
    MemoryDevice line;
    BarcodeScanner scanner;
    scanner.port()->setDevice(&line);
    QCOMPARE(scanner.open(), BarcodeScanner::OpenResult::Opened);
    QSignalSpy got(&scanner, &BarcodeScanner::scanned);
    for (const QByteArray& chunk : chunks)
        line.feed(chunk);
    QTRY_COMPARE(got.count(), scans.size());
    for (qsizetype i = 0; i < scans.size(); ++i)
        QCOMPARE(got.at(i).at(0).toString(), scans.at(i));
}

QTEST_GUILESS_MAIN(TestSplitReadings)
#include "TestSplitReadings.moc"
