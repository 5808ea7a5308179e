// Counter frames and replies, byte for byte (the request frames carry the known CRCs).
#include "devices/FrameMath.h"
#include "devices/MeterFrames.h"
#include "devices/MeterReplies.h"

#include <QtTest>

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

    void checkSumRule_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("holds");
        QTest::newRow("sum fits") << hex("010203040506070809001C") << false;
        QTest::newRow("simple") << hex("010203") << true; // 1+2 = 3
        QTest::newRow("wraps") << hex("FF0201") << true;  // 0x101 mod 256 = 1
        QTest::newRow("one byte") << hex("00") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("all zero") << hex("0000000000000000") << true;
    }

    void checkSumRule()
    {
        QFETCH(QByteArray, frame);
        QTEST(checkSum(frame), "holds");
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
    // is the metres, "-" for none, or why the strict rule refused it.
    void readings_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("metres");
        const QByteArray r1 = withCrc(hex("01030430390000")); // 123.45
        const QByteArray r2 = withCrc(hex("0103043A980000")); // 150.00
        QTest::newRow("-0.01 m") << u"loose"_s << withCrc(hex("010304FFFFFFFF")) << u"-0.01"_s;
        // 01 03 04 28 3C 00 00 CRC also adds up like a sum-checked frame; its CRC says Modbus.
        QTest::newRow("103.00 m, bytes also add up")
            << u"loose"_s << withCrc(hex("010304283C0000")) << u"103"_s;
        QTest::newRow("negative -1.00") << u"loose"_s << withCrc(hex("010304FF9CFFFF")) << u"-1"_s;
        QTest::newRow("high byte 0x80 is negative")
            << u"loose"_s << withCrc(hex("010304000080FF")) << u"-655.36"_s;
        // The reply's CRC is not looked at by the loose rule.
        QTest::newRow("bad crc still read")
            << u"loose"_s << hex("010304303900000000") << u"123.45"_s;
        QTest::newRow("other address") << u"loose"_s << withCrc(hex("02030430390000")) << u"0"_s;
        QTest::newRow("empty") << u"loose"_s << QByteArray() << u"0"_s;
        // The sum frame's value reads bytes 6 and 7, and byte 7 is the check sum itself.
        QTest::newRow("sum frame") << u"loose"_s << hex("55AA020000010305") << u"7.73"_s;
        QTest::newRow("sum frame wrong sum, address 0x55")
            << u"loose"_s << hex("55AA020000010306") << u"0"_s;
        QTest::newRow("address byte, too short") << u"loose"_s << hex("010304") << u"-"_s;
        QTest::newRow("echo before")
            << u"latest 1"_s << hex("01050000FF008C3A") + r1 << u"123.45"_s;
        QTest::newRow("two replies: newest") << u"latest 1"_s << r1 + r2 << u"150"_s;
        QTest::newRow("half reply after") << u"latest 1"_s << r1 + r2.left(4) << u"123.45"_s;
        QTest::newRow("garbage only") << u"latest 1"_s << hex("0102030405060708090A") << u"-"_s;
        QTest::newRow("latest, bad crc") << u"latest 1"_s << hex("010304303900000000") << u"-"_s;
        QTest::newRow("wrong address") << u"latest 1"_s << withCrc(hex("02030430390000")) << u"-"_s;
        QTest::newRow("five registers")
            << u"latest 4"_s << hex("FF00") + withCrc(hex("01030A12340000000000000000"))
            << u"46.6"_s; // 0x1234 cm
        QTest::newRow("sum frame after noise")
            << u"latest 3"_s << hex("0755AA020000010305") << u"7.73"_s;
        QTest::newRow("text model") << u"latest 0"_s << r1 << u"-"_s;
        QTest::newRow("valid, tail ignored") << u"strict"_s << r1 + hex("AB") << u"123.45"_s;
        QTest::newRow("short") << u"strict"_s << hex("0103043039") << u"short"_s;
        QTest::newRow("wrong crc") << u"strict"_s << hex("010304303900000000") << u"invalid"_s;
        QTest::newRow("wrong function")
            << u"strict"_s << withCrc(hex("01040430390000")) << u"invalid"_s;
        QTest::newRow("wrong count")
            << u"strict"_s << withCrc(hex("01030230390000")) << u"invalid"_s;
    }

    void readings()
    {
        QFETCH(QString, rule);
        QFETCH(QByteArray, bytes);
        if (rule == u"loose") {
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
};

QTEST_GUILESS_MAIN(TestMeterProtocol)
#include "TestMeterProtocol.moc"
