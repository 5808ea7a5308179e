// Counter frames and replies, byte for byte (the request frames carry the known CRCs).
#include "devices/FrameMath.h"
#include "devices/MeterFrames.h"
#include "devices/MeterReplies.h"

#include <QtTest>

using namespace devices;

namespace {
QByteArray hex(const char* text) { return QByteArray::fromHex(text); }
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
        const QString std9600 = QStringLiteral("9600,n,8,1"), fast = QStringLiteral("19200,n,8,1");
        QTest::newRow("0 fast stays text") << QStringLiteral("0") << fast << 0;
        QTest::newRow("1") << QStringLiteral("1") << std9600 << 1;
        QTest::newRow("1 fast is sum") << QStringLiteral("1") << fast << 3;
        QTest::newRow("2 fast stays usb") << QStringLiteral("2") << fast << 2;
        QTest::newRow("4 fast is sum") << QStringLiteral("4") << fast << 3;
        QTest::newRow("empty") << QString() << std9600 << 1;
        QTest::newRow("junk") << QStringLiteral("x") << std9600 << 1;
    }

    void modelSelection()
    {
        QFETCH(QString, mode);
        QFETCH(QString, set);
        QTEST(int(counterModel(mode, set)), "model");
    }

    void parseReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("metres");
        QTest::newRow("-0.01 m") << withCrc(hex("010304FFFFFFFF")) << true << -0.01;
        // 01 03 04 28 3C 00 00 CRC also adds up like a sum-checked frame; its CRC says Modbus.
        QTest::newRow("103.00 m, bytes also add up") << withCrc(hex("010304283C0000")) << true << 103.0;
        QTest::newRow("negative -1.00") << withCrc(hex("010304FF9CFFFF")) << true << -1.0;
        QTest::newRow("high byte 0x80 is negative") << withCrc(hex("010304000080FF")) << true << -655.36;
        // The reply's CRC is not looked at by this rule.
        QTest::newRow("bad crc still read") << hex("010304303900000000") << true << 123.45;
        QTest::newRow("other address") << withCrc(hex("02030430390000")) << true << 0.0;
        QTest::newRow("empty") << QByteArray() << true << 0.0;
        // The sum frame's value reads bytes 6 and 7, and byte 7 is the check sum itself.
        QTest::newRow("sum frame") << hex("55AA020000010305") << true << 7.73;
        QTest::newRow("sum frame wrong sum, address 0x55") << hex("55AA020000010306") << true << 0.0;
        QTest::newRow("address byte, too short") << hex("010304") << false << 0.0;
    }

    void parseReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, ok);
        const auto v = parseMeterReply(reply, 1);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QTEST(*v, "metres");
    }

    void latestReadingSkipsStrayBytes_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<bool>("found");
        QTest::addColumn<double>("metres");
        const QByteArray r1 = withCrc(hex("01030430390000"));   // 123.45
        const QByteArray r2 = withCrc(hex("0103043A980000"));   // 150.00
        const QByteArray echo = hex("01050000FF008C3A");
        QTest::newRow("echo before") << 1 << echo + r1 << true << 123.45;
        QTest::newRow("two replies: newest") << 1 << r1 + r2 << true << 150.0;
        QTest::newRow("half reply after") << 1 << r1 + r2.left(4) << true << 123.45;
        QTest::newRow("garbage only") << 1 << hex("0102030405060708090A") << false << 0.0;
        QTest::newRow("bad crc") << 1 << hex("010304303900000000") << false << 0.0;
        QTest::newRow("wrong address") << 1 << withCrc(hex("02030430390000")) << false << 0.0;
        const QByteArray five = withCrc(hex("01030A12340000000000000000"));
        QTest::newRow("five registers") << 4 << hex("FF00") + five << true << (0x1234 / 100.0);
        QTest::newRow("sum frame after noise") << 3 << hex("07") + hex("55AA020000010305") << true
                                               << 7.73;
        QTest::newRow("text model") << 0 << r1 << false << 0.0;
    }

    void latestReadingSkipsStrayBytes()
    {
        QFETCH(int, model);
        QFETCH(QByteArray, received);
        QFETCH(bool, found);
        const auto v = latestReading(CounterModel(model), received, 1);
        QCOMPARE(v.has_value(), found);
        if (found)
            QTEST(*v, "metres");
    }

    void strictModbusCheck_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("check");
        QTest::addColumn<double>("metres");
        QTest::newRow("valid, tail ignored") << withCrc(hex("01030430390000")) + hex("AB")
                                             << int(ModbusCheck::Ok) << 123.45;
        QTest::newRow("short") << hex("0103043039") << int(ModbusCheck::Short) << 0.0;
        QTest::newRow("wrong crc") << hex("010304303900000000") << int(ModbusCheck::Invalid) << 0.0;
        QTest::newRow("wrong function") << withCrc(hex("01040430390000")) << int(ModbusCheck::Invalid)
                                        << 0.0;
        QTest::newRow("wrong count") << withCrc(hex("01030230390000")) << int(ModbusCheck::Invalid)
                                     << 0.0;
    }

    void strictModbusCheck()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, check);
        double v = -1;
        QCOMPARE(int(checkModbusReply(reply, 1, &v)), check);
        if (check == int(ModbusCheck::Ok))
            QTEST(v, "metres");
        else
            QCOMPARE(v, -1.0);
    }

    // The text counter's stream; "plain" rows go through the reading of the stations that do not
    // cut the text at the unit letter.
    void textCounter_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("blank");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("metres");
        QTest::newRow("123.45M") << false << QStringLiteral("123.45M") << false << 123.45 << true;
        QTest::newRow("0050.0Y/12") << false << QStringLiteral("0050.0Y/12") << false << 50.0 << false;
        QTest::newRow("slash field") << false << QStringLiteral("12.5/7") << false << 12.5 << false;
        QTest::newRow("first of two") << false << QStringLiteral("10.00M\r\n10.10M\r\n") << false << 10.0 << true;
        QTest::newRow("M then Y") << false << QStringLiteral("5Y6M") << false << 5.0 << false;
        QTest::newRow("blank") << false << QStringLiteral(" \r\n ") << true << 0.0 << false;
        QTest::newRow("garbage") << false << QStringLiteral("\x01?x") << false << 0.0 << false;
        QTest::newRow("plain metres") << true << QStringLiteral("123.45M") << false << 123.45 << true;
        QTest::newRow("plain, no cut at M") << true << QStringLiteral("12M/3M") << false << 12.0 << true;
        QTest::newRow("plain yards") << true << QStringLiteral("0050.0Y/12") << false << 50.0 << false;
    }

    void textCounter()
    {
        QFETCH(bool, plain);
        QFETCH(QString, text);
        const CounterText r = plain ? parseCounterTextPlain(text) : parseCounterText(text);
        QTEST(r.blank, "blank");
        QTEST(r.value, "value");
        QTEST(r.metres, "metres");
    }
};

QTEST_GUILESS_MAIN(TestMeterProtocol)
#include "TestMeterProtocol.moc"
