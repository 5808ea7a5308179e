// Counter frames and replies, byte for byte (the request frames carry the known CRCs), and random
// bytes through every device parser.
#include "devices/FrameMath.h"
#include "devices/MeterFrames.h"
#include "devices/MeterReplies.h"
#include "devices/Rfid.h"
#include "devices/ScaleReadings.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace devices;
using namespace Qt::StringLiterals;

namespace {
QByteArray hex(const char* text) { return QByteArray::fromHex(text); }
// A reading as the rows write it: the metres, or "-" for none.
QString metres(const std::optional<double>& v) { return v ? QString::number(*v) : u"-"_s; }
} // namespace

class TestMeterProtocol : public QObject {
    Q_OBJECT
private slots:
    void requestFrames_data()
    {
        QTest::addColumn<QByteArray>("actual");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("modbus length addr 1") << requestModbusLength(1) << hex("010300000002C40B");
        QTest::newRow("modbus length addr 2") << requestModbusLength(2) << hex("020300000002C438");
        QTest::newRow("sum frame") << requestSumFrame() << hex("55AA02000001");
        QTest::newRow("five registers") << requestFiveRegisters() << hex("01030000000585C9");
        QTest::newRow("unit yards") << setMeterUnit(true) << hex("01060001000119CA");
        QTest::newRow("unit metres") << setMeterUnit(false) << hex("01060001000259CB");
        QTest::newRow("zero register") << zeroMeterRegister() << hex("010600020001E9CA");
        QTest::newRow("zero coil") << zeroMeterCoil(1) << hex("01050000FF008C3A");
        QTest::newRow("alter reset 1") << alterResetFirst(1) << hex("0110500E000204F2C1FFFCACD5");
        QTest::newRow("alter reset 2") << alterResetSecond(1) << hex("0110500E000204423F000FEA50");
        QTest::newRow("text zero") << zeroMeterText() << QByteArray("SET-C");
    }

    void requestFrames()
    {
        QFETCH(QByteArray, actual);
        QFETCH(QByteArray, expected);
        QCOMPARE(actual.toHex(' '), expected.toHex(' '));
    }

    void modelSelection_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("model");
        const QString std9600 = u"9600,n,8,1"_s, fast = u"19200,n,8,1"_s;
        QTest::newRow("0 fast stays text") << u"0"_s << fast << 0;
        QTest::newRow("1") << u"1"_s << std9600 << 1;
        QTest::newRow("1 fast is sum") << u"1"_s << fast << 3;
        QTest::newRow("2 fast stays usb") << u"2"_s << fast << 2;
        QTest::newRow("4 fast is sum") << u"4"_s << fast << 3;
        QTest::newRow("empty") << QString() << std9600 << 1;
        QTest::newRow("junk") << u"x"_s << std9600 << 1;
    }

    void modelSelection()
    {
        QFETCH(QString, mode);
        QFETCH(QString, set);
        QTEST(int(counterModel(mode, set)), "model");
    }

    // The same bytes read three ways: "loose", the rule that only cuts the value out of a reply;
    // "latest m", the newest whole reply of counter model m in what arrived; "strict", the
    // modbus reply checked whole (the value left alone when it is refused). The expected reading
    // is the metres, "-" for none, or why the strict rule refused it. "sum": whether the last
    // byte is the sum of the others (mod 256).
    void readings_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("metres");
        const auto row = [](const char* name, const char* rule, const QByteArray& bytes,
                            const char* metres) {
            QTest::newRow(name) << QString::fromLatin1(rule) << bytes << QString::fromLatin1(metres);
        };
        const QByteArray r1 = withCrc(hex("01030430390000")); // 123.45
        const QByteArray r2 = withCrc(hex("0103043A980000")); // 150.00
        const QByteArray badCrc = hex("010304303900000000"), other = withCrc(hex("02030430390000"));
        row("-0.01 m", "loose", withCrc(hex("010304FFFFFFFF")), "-0.01");
        // 01 03 04 28 3C 00 00 CRC also adds up like a sum-checked frame; its CRC says Modbus.
        row("103.00 m, bytes also add up", "loose", withCrc(hex("010304283C0000")), "103");
        row("negative -1.00", "loose", withCrc(hex("010304FF9CFFFF")), "-1");
        row("high byte 0x80 is negative", "loose", withCrc(hex("010304000080FF")), "-655.36");
        row("bad crc still read", "loose", badCrc, "123.45"); // the loose rule ignores the CRC
        row("other address", "loose", other, "0");
        row("empty", "loose", QByteArray(), "0");
        // The sum frame's value reads bytes 6 and 7, and byte 7 is the check sum itself.
        row("sum frame", "loose", hex("55AA020000010305"), "7.73");
        row("sum frame wrong sum, address 0x55", "loose", hex("55AA020000010306"), "0");
        row("address byte, too short", "loose", hex("010304"), "-");
        row("echo before", "latest 1", hex("01050000FF008C3A") + r1, "123.45");
        row("two replies: newest", "latest 1", r1 + r2, "150");
        row("half reply after", "latest 1", r1 + r2.left(4), "123.45");
        row("garbage only", "latest 1", hex("0102030405060708090A"), "-");
        row("latest, bad crc", "latest 1", badCrc, "-");
        row("wrong address", "latest 1", other, "-");
        row("five registers", "latest 4", hex("FF00") + withCrc(hex("01030A12340000000000000000")),
            "46.6"); // 0x1234 cm
        row("sum frame after noise", "latest 3", hex("0755AA020000010305"), "7.73");
        row("text model", "latest 0", r1, "-");
        row("valid, tail ignored", "strict", r1 + hex("AB"), "123.45");
        row("short", "strict", hex("0103043039"), "short");
        row("wrong crc", "strict", badCrc, "invalid");
        row("wrong function", "strict", withCrc(hex("01040430390000")), "invalid");
        row("wrong count", "strict", withCrc(hex("01030230390000")), "invalid");
        row("sum does not fit", "sum", hex("010203040506070809001C"), "-");
        row("sum 1+2 = 3", "sum", hex("010203"), "holds");
        row("sum wraps", "sum", hex("FF0201"), "holds"); // 0x101 mod 256 = 1
        row("sum of one byte", "sum", hex("00"), "-");
        row("sum of nothing", "sum", QByteArray(), "-");
        row("sum all zero", "sum", hex("0000000000000000"), "holds");
    }

    void readings()
    {
        QFETCH(QString, rule);
        QFETCH(QByteArray, bytes);
        if (rule == u"sum") {
            QTEST(checkSum(bytes) ? u"holds"_s : u"-"_s, "metres");
        } else if (rule == u"loose") {
            QTEST(metres(parseMeterReply(bytes, 1)), "metres");
        } else if (rule.startsWith(u"latest")) {
            QTEST(metres(latestReading(CounterModel(rule.back().digitValue()), bytes, 1)),
                  "metres");
        } else {
            double v = -1;
            const ModbusCheck check = checkModbusReply(bytes, 1, &v);
            const QString why = check == ModbusCheck::Short ? u"short"_s : u"invalid"_s;
            QTEST(check == ModbusCheck::Ok ? QString::number(v)
                  : v == -1                ? why
                                           : why + u" but written"_s,
                  "metres");
        }
    }

    // The text counter's stream; "plain" rows go through the reading of the stations that do not
    // cut the text at the unit letter.
    void textCounter_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reading");
        QTest::newRow("123.45M") << false << u"123.45M"_s << u"123.45 m"_s;
        QTest::newRow("0050.0Y/12") << false << u"0050.0Y/12"_s << u"50 yd"_s;
        QTest::newRow("slash field") << false << u"12.5/7"_s << u"12.5 yd"_s;
        QTest::newRow("first of two") << false << u"10.00M\r\n10.10M\r\n"_s << u"10 m"_s;
        QTest::newRow("M then Y") << false << u"5Y6M"_s << u"5 yd"_s;
        QTest::newRow("blank") << false << u" \r\n "_s << u"blank 0 yd"_s;
        QTest::newRow("garbage") << false << u"\x01?x"_s << u"0 yd"_s;
        QTest::newRow("plain metres") << true << u"123.45M"_s << u"123.45 m"_s;
        QTest::newRow("plain, no cut at M") << true << u"12M/3M"_s << u"12 m"_s;
        QTest::newRow("plain yards") << true << u"0050.0Y/12"_s << u"50 yd"_s;
    }

    void textCounter()
    {
        QFETCH(bool, plain);
        QFETCH(QString, text);
        const CounterText r = plain ? parseCounterTextPlain(text) : parseCounterText(text);
        QTEST((r.blank ? u"blank "_s : QString()) + QString::number(r.value) +
                  (r.metres ? u" m"_s : u" yd"_s),
              "reading");
    }

    // Random bytes and scale-like text, cut and shuffled: no crash, every value finite and in range.
    void randomBytesThroughEveryParser()
    {
        static const char* pieces[] = {"=", "wn", "kg", "M", "Y", "/", ".", "-", "+", " ", "0", "5",
                                       "9", "ST,GS,", "\r\n", "\xff", "12.50", "05.0100"};
        const auto inRange = [](std::optional<double> v, double max) {
            return !v || (std::isfinite(*v) && std::fabs(*v) <= max);
        };
        std::mt19937 rng(4711);
        for (int run = 0; run < 20000; ++run) {
            QByteArray b(int(rng() % 41), '\0');
            for (char& c : b)
                c = static_cast<char>(rng() & 0xFF);
            QString text = (rng() & 1) ? QString::fromLatin1(b) : QString();
            for (int n = text.isEmpty() ? int(rng() % 12) : 0; n > 0; --n)
                text += QString::fromLatin1(pieces[rng() % std::size(pieces)]);
            for (const auto model : {CounterModel::Modbus, CounterModel::SumFrame, CounterModel::FiveRegisters})
                QVERIFY(inRange(latestReading(model, b, 1), 167772.16));
            QVERIFY(inRange(parseMeterReply(b, 1), 167772.16));
            double value = 0;
            checkModbusReply(b, 1, &value);
            QVERIFY(std::isfinite(value) && std::isfinite(parseCounterText(text).value) &&
                    std::isfinite(parseCounterTextPlain(text).value));
            for (const auto rules : {ScaleTextRules::ReversedFirst, ScaleTextRules::LeadingNumberFirst,
                                     ScaleTextRules::KgToWn})
                QVERIFY(std::isfinite(scaleWeightFromText(text, rules)));
            const auto w = packedScaleWeight(b);
            QVERIFY(!w || (*w >= 0 && *w <= 99.99));
            QVERIFY(textBetween(text, text.left(int(rng() % 3)), text.right(int(rng() % 3))).size() <= text.size());
            QVERIFY(hexTextToBytes(text).size() <= text.size() + 1);
            checkSum(b);
        }
    }
};

QTEST_GUILESS_MAIN(TestMeterProtocol)
#include "TestMeterProtocol.moc"
