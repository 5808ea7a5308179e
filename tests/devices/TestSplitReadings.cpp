// Streaming devices read in the middle of a reading: the rest arrives with the next tick and
// must not pass for a reading of its own.
#include "Simulator.h"
#include "devices/BarcodeScanner.h"
#include "devices/InspectionDevices.h"
#include "devices/PackingScale.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QtTest>

#include <random>

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

using Format = devsim::Simulator::ScaleFormat;

// The weights a station's scale shows when the line brings one chunk per tick and then pauses.
QStringList shownWeights(bool packingTable, const QByteArrayList& ticks)
{
    MemoryDevice line;
    QStringList shown;
    const auto record = [&](const QString& text) { shown << text; };
    PackingScale packing;
    InspectionDevices inspection;
    if (packingTable) {
        packing.port()->setDevice(&line);
        packing.openScalePort();
        packing.setEnabled(true);
        QObject::connect(&packing, &PackingScale::weightText, record);
    } else {
        connectLine(inspection, line, false);
        QObject::connect(&inspection, &InspectionDevices::weightText, record);
    }
    for (const QByteArray& tick : ticks + QByteArrayList{QByteArray()}) {
        line.feed(tick);
        packingTable ? packing.poll() : inspection.pollDevices();
    }
    return shown;
}

} // namespace

class TestSplitReadings : public QObject {
    Q_OBJECT
private slots:
    void textCounterLineSplit_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("shown");
        // The first line after opening is only a mark to start from.
        QTest::newRow("rest of a line")
            << QByteArrayList{"\n12.00M\r\n12.1", "0M\r\n"} << QStringList{"12.00", "12.10"};
        QTest::newRow("whole lines") << QByteArrayList{"11.90M\r\n", "12.00M\r\n", "12.10M\r\n"}
                                     << QStringList{"12.00", "12.10"};
        QTest::newRow("opened mid-line") << QByteArrayList{"0M\r\n12.10M\r\n"} << QStringList{"12.10"};
        QTest::newRow("no line ends") << QByteArrayList{"12.00M", "12.10M"}
                                      << QStringList{"12.00", "12.10"};
    }

    void textCounterLineSplit()
    {
        QFETCH(QByteArrayList, chunks);
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
        QTEST(got, "shown");
    }

    void scaleReadingsWhole_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("packingTable");
        const std::pair<const char*, Format> formats[] = {
            {"reversed stream", Format::Text}, {"=…= lines", Format::Equals},
            {"wn…kg lines", Format::WnKg},     {"fixed lines", Format::Fixed},
            {"packed", Format::Packed},        {"ESC p answers", Format::Packing}};
        for (const bool packing : {false, true})
            for (const auto& [name, format] : formats)
                QTest::addRow("%s, %s", packing ? "packing" : "inspection", name)
                    << int(format) << packing;
    }

    // Whatever byte the line is opened at and however the bytes are cut into ticks, both stations
    // show only the weight on the scale, never a piece of a reading (50.00, 0.50, 0.00 for 10.50).
    void scaleReadingsWhole()
    {
        QFETCH(int, format);
        QFETCH(bool, packingTable);
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("mirel.ini"), Format(format) == Format::Packed
                                                          ? "[MIREL]\nchenInputMode=1\nCommBarcode=\n"
                                                          : "[MIREL]\nchenInputMode=0\nCommBarcode=\n");
        devsim::Simulator sim(devsim::Simulator::Kind::Scale, 0, Format(format));
        sim.setWeight(10.5);
        const QByteArray one =
            Format(format) == Format::Packing ? sim.received("\x1bp") : sim.tick(0.4);
        const QByteArray stream = one.repeated(4);
        QList<QByteArrayList> runs;
        for (qsizetype open = 0; open < one.size(); ++open)
            for (qsizetype cut = 1; cut < 2 * one.size(); ++cut)
                runs << QByteArrayList{stream.mid(open, cut), stream.mid(open + cut)};
        std::mt19937 rng(27);
        for (int i = 0; i < 300; ++i) {
            QByteArrayList ticks;
            for (qsizetype at = rng() % one.size(), n = 0; at < stream.size(); at += n)
                ticks << stream.mid(at, n = 1 + qsizetype(rng() % (one.size() + 3)));
            runs << ticks;
        }
        for (const QByteArrayList& ticks : runs) {
            const QStringList shown = shownWeights(packingTable, ticks);
            QVERIFY2(!shown.isEmpty() && shown.count(QStringLiteral("10.50")) == shown.size(),
                     qPrintable(QString::fromLatin1(ticks.join('|').toPercentEncoding()) +
                                QStringLiteral(" -> ") + shown.join(u',')));
        }
    }

    void scanAssembly_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("scans");
        QTest::addColumn<int>("pauseMs"); // between the chunks
        const QStringList one{QStringLiteral("K2405-001\r")};
        QByteArrayList bytes;
        for (char ch : QByteArray("K2405-001\r"))
            bytes << QByteArray(1, ch);
        QTest::newRow("byte by byte") << bytes << one << 0;
        QTest::newRow("two bursts") << QByteArrayList{"K240", "5-001\r"} << one << 0;
        QTest::newRow("CR") << QByteArrayList{"K2405-001\r"} << one << 0;
        QTest::newRow("LF") << QByteArrayList{"K2405-001\n"} << QStringList{"K2405-001\n"} << 0;
        QTest::newRow("CRLF") << QByteArrayList{"K2405-001\r\n"} << QStringList{"K2405-001\r\n"} << 0;
        QTest::newRow("CRLF split after CR") << QByteArrayList{"K2405-001\r", "\n"} << one << 0;
        QTest::newRow("no suffix") << QByteArrayList{"K2405-001"} << QStringList{"K2405-001"} << 0;
        QTest::newRow("no suffix, two bursts")
            << QByteArrayList{"K2405", "-001"} << QStringList{"K2405-001"} << 0;
        QTest::newRow("two scans back to back") << QByteArrayList{"K2405-001\r\nK2405-002\r\n"}
                                                << QStringList{"K2405-001\r\n", "K2405-002\r\n"} << 0;
        QTest::newRow("second scan split") << QByteArrayList{"K2405-001\rK24", "05-002\r"}
                                           << QStringList{"K2405-001\r", "K2405-002\r"} << 0;
        // A scanner without line ends: its scan ends at a pause, however many bursts came before.
        QTest::newRow("no suffix, slow bursts")
            << QByteArrayList{"K2", "40", "5-", "00", "1"} << QStringList{"K2405-001"} << 40;
        QTest::newRow("no suffix, a pause between")
            << QByteArrayList{"K24", "05-1"} << QStringList{"K24", "05-1"} << 300;
    }

    // Whatever the chunks, one scan is one lookup of the whole card number.
    void scanAssembly()
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
        QFETCH(int, pauseMs);
        for (const QByteArray& chunk : chunks) {
            line.feed(chunk);
            QTest::qWait(pauseMs);
        }
        QTRY_COMPARE(got.count(), scans.size());
        for (qsizetype i = 0; i < scans.size(); ++i)
            QCOMPARE(got.at(i).at(0).toString(), scans.at(i));
    }
};

QTEST_GUILESS_MAIN(TestSplitReadings)
#include "TestSplitReadings.moc"
