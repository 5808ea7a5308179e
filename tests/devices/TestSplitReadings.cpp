// Streaming devices read in the middle of a reading: the rest arrives with the next tick and
// must not pass for a reading of its own.
#include "Simulator.h"
#include "devices/BarcodeScanner.h"
#include "devices/InspectionDevices.h"
#include "devices/PackingScale.h"
#include "screen/QuestionGate.h"
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QtTest>

#include <random>

using namespace Qt::StringLiterals;

using namespace devices;

namespace {

using Format = devsim::Simulator::ScaleFormat;
enum class Line { Counter, InspectionScale, PackingScale };

// What a station shows when the line brings one chunk per tick and then pauses: the lengths of
// the counter, or the weights of the scale.
QStringList shown(Line on, const QByteArrayList& ticks)
{
    MemoryDevice line;
    QStringList shown;
    const auto record = [&](const QString& text) { shown << text; };
    PackingScale packing;
    InspectionDevices inspection;
    if (on == Line::PackingScale) {
        packing.port()->setDevice(&line);
        packing.openScalePort();
        packing.setEnabled(true);
        QObject::connect(&packing, &PackingScale::weightText, record);
    } else {
        const bool counter = on == Line::Counter;
        (counter ? inspection.counterPort() : inspection.scalePort())->setDevice(&line);
        inspection.setCounterConnected(counter);
        inspection.setScaleConnected(!counter);
        inspection.setupDevices();
        inspection.setPolling(false);
        if (counter)
            QObject::connect(&inspection, &InspectionDevices::quantityText,
                             [&](int, const QString& text) { record(text); });
        else
            QObject::connect(&inspection, &InspectionDevices::weightText, record);
    }
    for (const QByteArray& tick : ticks + QByteArrayList{QByteArray()}) {
        line.feed(tick);
        on == Line::PackingScale ? packing.poll() : inspection.pollDevices();
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
        folder.writeFile(u"mirel.ini"_s, "[MIREL]\nInputMode=0\nCommBarcode=\n");
        QTEST(shown(Line::Counter, chunks), "shown");
    }

    void scaleReadingsWhole_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("packingTable");
        const std::pair<const char*, Format> formats[] = {
            {"reversed stream", Format::Text}, {"=…= lines", Format::Equals},
            {"wn…kg lines", Format::WnKg},     {"fixed lines", Format::Fixed},
            {"packed", Format::Packed},        {"ESC p answers", Format::Packing},
            {"SICS lines", Format::Sics}};
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
        folder.writeFile(u"mirel.ini"_s, Format(format) == Format::Packed
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
            const QStringList got = shown(packingTable ? Line::PackingScale : Line::InspectionScale, ticks);
            QVERIFY2(!got.isEmpty() && got.count(u"10.50"_s) == got.size(),
                     qPrintable(QString::fromLatin1(ticks.join('|').toPercentEncoding()) +
                                u" -> "_s + got.join(u',')));
        }
    }

    // Every ending a scanner may be set up with, the scan whole or in pieces: two scans are
    // always the two codes, without their endings.
    void scanAssembly_data()
    {
        QTest::addColumn<QByteArrayList>("endings"); // of the first and the second scan
        QTest::addColumn<int>("piece");              // bytes per piece, 0: the scan in one
        QTest::addColumn<int>("pauseMs");            // between the pieces
        QTest::addColumn<bool>("asked");             // a question stands open meanwhile
        const std::pair<const char*, QByteArray> endings[] = {
            {"CR", "\r"}, {"LF", "\n"}, {"CR LF", "\r\n"}, {"Tab", "\t"}, {"none", ""}};
        for (const auto& [name, end] : endings)
            for (int piece : {0, 1, 4, 5}) // 5: two pieces, each restarts the quiet time
                QTest::addRow("%s, pieces of %d", name, piece) << QByteArrayList{end, end} << piece << 0 << false;
        QTest::newRow("none, pieces 150 ms apart") << QByteArrayList{"", ""} << 2 << 150 << false;
        QTest::newRow("CR LF, then none") << QByteArrayList{"\r\n", ""} << 0 << 0 << false;
        QTest::newRow("CR, while a question is open") << QByteArrayList{"\r", "\r"} << 0 << 0 << true;
    }

    void scanAssembly()
    {
        QFETCH(QByteArrayList, endings);
        QFETCH(int, piece);
        QFETCH(int, pauseMs);
        QFETCH(bool, asked);
        TempProgramFolder folder;
        folder.writeFile(u"mirel.ini"_s, "[MIREL]\nCommBarcode=COM4\n");
        MemoryDevice line;
        BarcodeScanner scanner;
        scanner.port()->setDevice(&line);
        QCOMPARE(scanner.open(), BarcodeScanner::OpenResult::Opened);
        QSignalSpy got(&scanner, &BarcodeScanner::scanned);
        const QStringList codes{u"SC2611001"_s, u"SC2611002"_s};
        for (qsizetype i = 0; i < codes.size(); ++i) {
            const QByteArray scan = codes[i].toLatin1() + endings[i];
            if (asked)
                QuestionGate::opened();
            for (qsizetype at = 0, n = piece > 0 ? piece : scan.size(); at < scan.size(); at += n, QTest::qWait(pauseMs))
                line.feed(scan.mid(at, n));
            if (asked) {
                QTRY_COMPARE(line.bytesAvailable(), 0);
                QCOMPARE(got.count(), i); // read, and kept until the question is answered
                QuestionGate::closed();
            }
            QTRY_COMPARE(got.count(), i + 1);
            QCOMPARE(got.at(i).at(0).toString(), codes[i]);
        }
    }
};

QTEST_GUILESS_MAIN(TestSplitReadings)
#include "TestSplitReadings.moc"
