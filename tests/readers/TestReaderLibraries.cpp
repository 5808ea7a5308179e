// The USB counter and RFID reader libraries, loaded from the program folder: missing, incomplete
// and working (stand-ins with the vendor exports), and the card read built on them.
#include "devices/InspectionDevices.h"
#include "devices/Rfid.h"
#include "readers/RfidReaderLibrary.h"
#include "readers/UsbCounterLibrary.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QLibrary>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace devices;

namespace {

void install(const TempProgramFolder& folder, const char* standIn, const char* as)
{
    const QString target = folder.file(QString::fromLatin1(as));
    QFile::remove(target);
    QVERIFY(QFile::copy(u"" STANDIN_DIR "/"_s + QString::fromLatin1(standIn), target));
}

template <typename Fn>
Fn hook(const TempProgramFolder& folder, const char* file, const char* symbol)
{
    return reinterpret_cast<Fn>(QLibrary::resolve(folder.file(QString::fromLatin1(file)), symbol));
}

const QByteArray kCard = QByteArray::fromHex("0123456789ABCDEF00112233445566FF");

// The mi stand-in installed in the folder; card() puts 16 bytes on it, read with result rc
// (0: read, else no card on the reader).
struct MiStandIn {
    void (*setCard)(const unsigned char*, int);
    explicit MiStandIn(const TempProgramFolder& folder)
    {
        install(folder, "libmi.so", "libmi.so");
        setCard = hook<void (*)(const unsigned char*, int)>(folder, "libmi.so", "standin_set_card");
    }
    void card(const QByteArray& bytes, int rc = 0)
    {
        QVERIFY(setCard);
        setCard(reinterpret_cast<const unsigned char*>(bytes.constData()), rc);
    }
};

} // namespace

class TestReaderLibraries : public QObject {
    Q_OBJECT
private slots:
    void hexDigits_data()
    {
        QTest::addColumn<QString>("ch");
        QTest::addColumn<int>("value");
        const std::pair<const char*, int> digits[] = {{"0", 0},  {"9", 9},  {"f", 15},
                                                      {"F", 15}, {"G", 16}, {"z", 35},
                                                      {"-", 0},  {"ab", 0}, {"", 0}};
        for (const auto& [ch, value] : digits)
            QTest::addRow("'%s'", ch) << QString::fromLatin1(ch) << value;
    }

    void hexDigits()
    {
        QFETCH(QString, ch);
        QTEST(hexDigitValue(ch), "value");
    }

    void hexText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("sector key") << sectorKeyText() << QByteArray::fromHex("A35C19E742B8");
        QTest::newRow("one digit, both cases") << "1 a 0F ff" << QByteArray::fromHex("010A0FFF");
        QTest::newRow("empty") << "" << QByteArray();
    }

    void hexText()
    {
        QFETCH(QString, text);
        QTEST(hexTextToBytes(text), "bytes");
    }

    void cardText()
    {
        QCOMPARE(bytesToHexText(kCard, 16), u"0123456789ABCDEF00112233445566FF"_s);
        QString word;
        const QString decoded = bytesToCardText(QByteArray("W0815\0\0", 7), 7,
                                                [&](const QString& text, const QString& w) {
                                                    word = w;
                                                    return text.left(5);
                                                });
        QCOMPARE(word, u"orvex"_s);
        QCOMPARE(decoded, u"W0815"_s);
        const QString raw = bytesToCardText(QByteArray("AB\0\xff", 4), 4);
        QCOMPARE(raw.size(), 4); // zero bytes and high bytes are one character each
        QCOMPARE(raw.at(3).unicode(), char16_t(0xFF));
    }

    // No library, or one without every export the counter needs: nothing loaded, a count of 0.
    void usbCounterNotUsable_data()
    {
        QTest::addColumn<QByteArray>("standIn");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("incomplete") << QByteArray("libhid3388_partial.so");
    }
    void usbCounterNotUsable()
    {
        QFETCH(QByteArray, standIn);
        TempProgramFolder folder;
        if (!standIn.isEmpty())
            install(folder, standIn.constData(), "libhid3388.so");
        UsbCounterLibrary usb;
        QVERIFY(!usb.open());
        QVERIFY(!usb.isLoaded());
        QVERIFY(usb.errorString().contains(u"hid3388"_s));
        QCOMPARE(usb.count(), qint16(0));
        usb.zero();
        usb.close();
    }

    void usbCounterOnTheInspectionFrame()
    {
        TempProgramFolder folder;
        install(folder, "libhid3388.so", "libhid3388.so");
        folder.writeFile(u"mirel.ini"_s, "[MIREL]\nInputMode=2\nCommBarcode=\n[MES]\nRFID=1\n");
        InspectionDevices devs;
        QSignalSpy status(&devs, &InspectionDevices::counterStatus);
        QSignalSpy tips(&devs, &InspectionDevices::counterToolTip);
        QSignalSpy quantity(&devs, &InspectionDevices::quantityText);
        devs.setCounterConnected(true);
        devs.setupDevices();
        QCOMPARE(status.last().at(0).toString(), u"电表准备好"_s);

        auto setCount = hook<void (*)(short)>(folder, "libhid3388.so", "standin_set_count");
        auto calls = hook<const char* (*)()>(folder, "libhid3388.so", "standin_calls");
        QVERIFY(setCount && calls);
        setCount(-1234); // a 16-bit signed count, shown as it comes
        devs.pollDevices();
        QCOMPARE(status.last().at(0).toString(), u"码表2通讯中..."_s);
        QCOMPARE(tips.last().at(0).toString(), u"-1234"_s);
        QCOMPARE(quantity.last().at(1).toString(), u"-1234.00"_s);
        devs.zeroCounter();
        devs.pollDevices();
        QCOMPARE(quantity.last().at(1).toString(), u"0.00"_s);
        devs.releaseDevices();
        QCOMPARE(QByteArray(calls()), QByteArray("oczcx"));
    }

    // No library: nothing read, nothing written. Then the stand-in: block 10 of sector key
    // A35C19E742B8, the progress station's worker card decoded from it, and no card on the reader.
    void rfidReadsBlockTen()
    {
        TempProgramFolder folder;
        QByteArray block("untouched");
        {
            RfidReaderLibrary missing;
            QVERIFY(!readCardBlock(missing, &block));
            QVERIFY(missing.errorString().contains(u"mi"_s));
        }
        MiStandIn mi(folder);
        RfidReaderLibrary reader;
        QVERIFY(reader.load());
        auto lastArgs = hook<const int* (*)()>(folder, "libmi.so", "standin_last_args");
        auto lastKey = hook<const unsigned char* (*)()>(folder, "libmi.so", "standin_last_key");
        QVERIFY(lastArgs && lastKey);
        mi.card(kCard);
        QVERIFY(readCardBlock(reader, &block));
        QCOMPARE(block, kCard);
        const int* args = lastArgs();
        QCOMPARE(QList<int>({args[0], args[1], args[2], args[3], args[4]}),
                 QList<int>({0, 0, 0, 10, 1}));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(lastKey()), 6),
                 QByteArray::fromHex("A35C19E742B8"));

        // 16 characters, zero bytes included, then decoded.
        mi.card(QByteArray("W0815\0\0\0\0\0\0\0\0\0\0\0", 16));
        QString text;
        QVERIFY(readWorkerCard(reader, &text));
        QCOMPARE(text, u"W0815"_s + QString(11, QChar(0)));
        QVERIFY(readWorkerCard(reader, &text,
                               [](const QString& t, const QString&) { return t.left(5); }));
        QCOMPARE(text, u"W0815"_s);

        mi.card(kCard, 3);
        block = "untouched";
        text = u"kept"_s;
        QVERIFY(!readCardBlock(reader, &block) && !readWorkerCard(reader, &text));
        QCOMPARE(block + text.toLatin1(), QByteArray("untouchedkept"));
    }

    void rfidOnTheTick_data()
    {
        QTest::addColumn<QByteArray>("rfid");
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<bool>("reads");
        QTest::newRow("RFID=0 reads") << QByteArray("0") << quint32(0xFF2000) << true;
        QTest::newRow("RFID=1 does not") << QByteArray("1") << quint32(0x80000012) << false;
        QTest::newRow("missing key does not") << QByteArray() << quint32(0x80000012) << false;
    }

    void rfidOnTheTick()
    {
        QFETCH(QByteArray, rfid);
        QFETCH(bool, reads);
        TempProgramFolder folder;
        MiStandIn(folder).card(kCard);
        folder.writeFile(u"mirel.ini"_s,
                         "[MIREL]\nCommBarcode=\n[MES]\n" +
                             (rfid.isEmpty() ? QByteArray() : "RFID=" + rfid + "\n"));
        InspectionDevices devs;
        QSignalSpy colours(&devs, &InspectionDevices::labelColour);
        QSignalSpy cards(&devs, &InspectionDevices::workerCard);
        devs.setupDevices();
        devs.pollDevices();
        QCOMPARE(colours.last().at(0).toInt(), fields::kCardCaption);
        QTEST(colours.last().at(1).value<quint32>(), "colour");
        QCOMPARE(cards.count(), reads ? 1 : 0);
        if (reads)
            QCOMPARE(cards.last().at(0).toString(), u"0123456789ABCDEF00112233445566FF"_s);
        devs.releaseDevices();
    }
};

QTEST_GUILESS_MAIN(TestReaderLibraries)
#include "TestReaderLibraries.moc"
