// SerialPort: settings texts, port-number mapping, and reading/writing over a real pty.
#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "serial/SerialSettings.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The far end of a pty: the test plays the device.
struct Pty {
    int master = -1, slave = -1;
    QString path;
    Pty()
    {
        termios raw {};
        cfmakeraw(&raw);
        char name[256] = {};
        if (openpty(&master, &slave, name, &raw, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { unplug(); }
    void unplug()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
        master = slave = -1;
    }
    void send(const QByteArray& b) { QVERIFY(::write(master, b.constData(), size_t(b.size())) == b.size()); }
    QByteArray read()
    {
        char buf[256];
        const ssize_t n = ::read(master, buf, sizeof buf);
        return n > 0 ? QByteArray(buf, n) : QByteArray();
    }
};

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void settingsText_data();
    void settingsText();
    void portNames();
    void portNumberRules_data();
    void portNumberRules();
    void readAndWriteOverPty();
    void receiveThreshold();
    void badSettingsDoNotOpen();
    void missingDeviceDoesNotOpen();
    void unpluggedPortCloses();
    void memoryDeviceKeepsNewestBytes();
};

void TestSerialPort::settingsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("stop");
    QTest::newRow("9600,n,8,1") << "9600,n,8,1" << true << 9600 << int(QSerialPort::NoParity) << 8
                                << int(QSerialPort::OneStop);
    QTest::newRow("19200,E,7,2") << "19200,E,7,2" << true << 19200 << int(QSerialPort::EvenParity)
                                 << 7 << int(QSerialPort::TwoStop);
    QTest::newRow("odd, 1.5") << "4800,o,5,1.5" << true << 4800 << int(QSerialPort::OddParity) << 5
                              << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("mark") << "1200,m,8,1" << true << 1200 << int(QSerialPort::MarkParity) << 8
                          << int(QSerialPort::OneStop);
    QTest::newRow("space, blanks") << " 2400 , s , 6 , 1 " << true << 2400
                                   << int(QSerialPort::SpaceParity) << 6 << int(QSerialPort::OneStop);
    QTest::newRow("parity x") << "9600,x,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("3 fields") << "9600,n,8" << false << 0 << 0 << 0 << 0;
    QTest::newRow("baud text") << "fast,n,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("baud 0") << "0,n,8,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("9 bits") << "9600,n,9,1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("stop 3") << "9600,n,8,3" << false << 0 << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0 << 0;
}

void TestSerialPort::settingsText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    SerialSettings s;
    QString error;
    QCOMPARE(parseSerialSettings(text, &s, &error), ok);
    if (!ok) {
        QVERIFY(error.contains(text));
        return;
    }
    QTEST(int(s.baud), "baud");
    QTEST(int(s.parity), "parity");
    QTEST(int(s.dataBits), "bits");
    QTEST(int(s.stopBits), "stop");
}

void TestSerialPort::portNames()
{
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[SerialPorts]\ncom3=/dev/ttyUSB0\n");
    QCOMPARE(SerialPortNames::deviceName(3), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(SerialPortNames::deviceName(5), QStringLiteral("/dev/ttyS4"));
    QCOMPARE(SerialPortNames::deviceName(1), QStringLiteral("/dev/ttyS0"));
}

void TestSerialPort::portNumberRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("afterCom");
    QTest::newRow("COM3") << "COM3" << 3 << 3;
    QTest::newRow("COM12") << "COM12" << 2 << 12;
    QTest::newRow("com7") << "com7" << 7 << 7;
    QTest::newRow("no digit") << "COMX" << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0;
}

void TestSerialPort::portNumberRules()
{
    QFETCH(QString, name);
    QTEST(SerialPortNames::numberFromLastCharacter(name), "last");
    QTEST(SerialPortNames::numberAfterCom(name), "afterCom");
}

void TestSerialPort::readAndWriteOverPty()
{
    TempProgramFolder folder;
    Pty pty;
    QVERIFY(!pty.path.isEmpty());
    folder.writeFile(QStringLiteral("mirel.ini"), "[SerialPorts]\nCOM5=" + pty.path.toLocal8Bit() + "\n");
    SerialPort port;
    port.setCommPort(5);
    QVERIFY(port.setSettings(QStringLiteral("9600,n,8,1")));
    QVERIFY2(port.setPortOpen(true), qPrintable(port.lastError()));
    QVERIFY(port.portOpen());
    QCOMPARE(port.deviceName(), pty.path);

    pty.send(QByteArray::fromHex("0103043039000025"));
    QTRY_COMPARE(port.inBufferCount(), 8);
    port.setInputLen(3);
    QCOMPARE(port.inputBytes(), QByteArray::fromHex("010304"));
    QCOMPARE(port.inBufferCount(), 5);
    port.clearInBuffer();
    QCOMPARE(port.inBufferCount(), 0);

    pty.send("123.45M\r\n");
    port.setInputLen(0);
    QTRY_COMPARE(port.inBufferCount(), 9);
    QCOMPARE(port.inputText(), QStringLiteral("123.45M\r\n"));

    QVERIFY(port.output(QByteArray::fromHex("010300000002C40B")));
    // On the line at once, without the event loop: the zero command pauses right after writing.
    const QByteArray got = pty.read();
    QCOMPARE(got.toHex(), QByteArray("010300000002c40b"));

    QVERIFY(port.setPortOpen(false));
    QVERIFY(!port.portOpen());
    QVERIFY(!port.output(QByteArray("x")));
}

void TestSerialPort::receiveThreshold()
{
    TempProgramFolder folder;
    Pty pty;
    folder.writeFile(QStringLiteral("mirel.ini"), "[SerialPorts]\nCOM2=" + pty.path.toLocal8Bit() + "\n");
    SerialPort port;
    port.setCommPort(2);
    port.setRThreshold(1);
    QVERIFY(port.setPortOpen(true));
    QSignalSpy spy(&port, &SerialPort::received);
    pty.send("K2405");
    QTRY_VERIFY(spy.count() >= 1);
    QCOMPARE(port.inputText(), QStringLiteral("K2405"));
    port.setRThreshold(0);
    spy.clear();
    pty.send("more");
    QTRY_COMPARE(port.inBufferCount(), 4);
    QCOMPARE(spy.count(), 0);
}

void TestSerialPort::badSettingsDoNotOpen()
{
    TempProgramFolder folder;
    Pty pty;
    folder.writeFile(QStringLiteral("mirel.ini"), "[SerialPorts]\nCOM1=" + pty.path.toLocal8Bit() + "\n");
    SerialPort port;
    QVERIFY(!port.setSettings(QStringLiteral("9600,q,8,1")));
    QVERIFY(!port.setPortOpen(true));
    QVERIFY(!port.portOpen());
    QVERIFY(port.lastError().contains(QStringLiteral("9600,q,8,1")));
}

void TestSerialPort::missingDeviceDoesNotOpen()
{
    TempProgramFolder folder;
    folder.writeFile(QStringLiteral("mirel.ini"), "[SerialPorts]\nCOM1=/dev/no-such-tty\n");
    SerialPort port;
    QVERIFY(!port.setPortOpen(true));
    QVERIFY(!port.portOpen());
    QVERIFY(port.lastError().contains(QStringLiteral("COM1")));
    QCOMPARE(port.inBufferCount(), 0);
    QVERIFY(port.inputBytes().isEmpty());
}

void TestSerialPort::unpluggedPortCloses()
{
    TempProgramFolder folder;
    Pty pty;
    folder.writeFile(QStringLiteral("mirel.ini"), "[SerialPorts]\nCOM1=" + pty.path.toLocal8Bit() + "\n");
    SerialPort port;
    QVERIFY(port.setPortOpen(true));
    QSignalSpy lost(&port, &SerialPort::portLost);
    pty.unplug();
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!port.portOpen());
    QVERIFY(!port.output(QByteArray("x")));
    QCOMPARE(port.inBufferCount(), 0);
}

void TestSerialPort::memoryDeviceKeepsNewestBytes()
{
    MemoryDevice dev;
    SerialPort port;
    port.setDevice(&dev);
    QVERIFY(port.setPortOpen(true));
    QVERIFY(port.output(QByteArrayLiteral("SET-C")));
    QCOMPARE(dev.written, QByteArrayLiteral("SET-C"));
    const QByteArray old(SerialPort::kMaxBuffer, 'o');
    dev.feed(old);
    dev.feed("=05.0100");
    QCOMPARE(port.inBufferCount(), int(SerialPort::kMaxBuffer));
    QVERIFY(port.inputText().endsWith(QStringLiteral("=05.0100")));
    port.setPortOpen(false);
    QVERIFY(!port.portOpen());
    QVERIFY(!port.output(QByteArrayLiteral("x")));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "TestSerialPort.moc"
