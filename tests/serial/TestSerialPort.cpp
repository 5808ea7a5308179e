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

using namespace Qt::StringLiterals;

namespace {

// The far end of a pty: the test plays the device.
struct Pty {
    int master = -1, slave = -1;
    QString path;
    Pty()
    {
        termios raw{};
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
    void send(const QByteArray& b)
    {
        QVERIFY(::write(master, b.constData(), size_t(b.size())) == b.size());
    }
    QByteArray read()
    {
        char buf[256];
        const ssize_t n = ::read(master, buf, sizeof buf);
        return n > 0 ? QByteArray(buf, n) : QByteArray();
    }
};

// A port mapped in mirel.ini to the pty (or to `device`), with the folder that maps it.
struct PtyPort {
    TempProgramFolder folder;
    Pty pty;
    SerialPort port;
    explicit PtyPort(int com = 1, const QByteArray& device = {})
    {
        folder.writeFile(u"mirel.ini"_s, "[SerialPorts]\nCOM" + QByteArray::number(com) + "=" +
                                             (device.isEmpty() ? pty.path.toLocal8Bit() : device) +
                                             "\n");
        port.setCommPort(com);
    }
};

} // namespace

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void settingsText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("fields"); // baud, parity, bits, stop; empty: refused
        using P = QSerialPort;
        QTest::newRow("9600,n,8,1") << "9600,n,8,1" << QList<int>{9600, P::NoParity, 8, P::OneStop};
        QTest::newRow("19200,E,7,2")
            << "19200,E,7,2" << QList<int>{19200, P::EvenParity, 7, P::TwoStop};
        QTest::newRow("odd, 1.5") << "4800,o,5,1.5"
                                  << QList<int>{4800, P::OddParity, 5, P::OneAndHalfStop};
        QTest::newRow("mark") << "1200,m,8,1" << QList<int>{1200, P::MarkParity, 8, P::OneStop};
        QTest::newRow("space, blanks")
            << " 2400 , s , 6 , 1 " << QList<int>{2400, P::SpaceParity, 6, P::OneStop};
        for (const char* bad :
             {"9600,x,8,1", "9600,n,8", "fast,n,8,1", "0,n,8,1", "9600,n,9,1", "9600,n,8,3", ""})
            QTest::newRow(bad) << QString::fromLatin1(bad) << QList<int>{};
    }

    void settingsText()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, fields);
        SerialSettings s;
        QString error;
        QCOMPARE(parseSerialSettings(text, &s, &error), !fields.isEmpty());
        if (fields.isEmpty())
            QVERIFY(error.contains(text));
        else
            QCOMPARE((QList<int>{int(s.baud), int(s.parity), int(s.dataBits), int(s.stopBits)}),
                     fields);
    }

    // A port's number from its name, both ways the stations read it, and the device it opens
    // (mirel.ini maps COM3; the others are the standard serial ports).
    void portNumberRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("afterCom");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM3") << "COM3" << 3 << 3 << "/dev/ttyUSB0";
        QTest::newRow("COM12") << "COM12" << 2 << 12 << "/dev/ttyS11";
        QTest::newRow("com1") << "com1" << 1 << 1 << "/dev/ttyS0";
        QTest::newRow("no digit") << "COMX" << 0 << 0 << "";
        QTest::newRow("empty") << "" << 0 << 0 << "";
    }

    void portNumberRules()
    {
        QFETCH(QString, name);
        QTEST(SerialPortNames::numberFromLastCharacter(name), "last");
        QTEST(SerialPortNames::numberAfterCom(name), "afterCom");
        TempProgramFolder folder;
        folder.writeFile(u"mirel.ini"_s, "[SerialPorts]\ncom3=/dev/ttyUSB0\n");
        if (const int n = SerialPortNames::numberAfterCom(name))
            QTEST(SerialPortNames::deviceName(n), "device");
    }

    // One port's life on a pty: bytes read as they are asked for, a receive event only past the
    // threshold, a write on the line at once; the device unplugged, the port closes.
    void overPty()
    {
        PtyPort p(5);
        SerialPort& port = p.port;
        QVERIFY(!p.pty.path.isEmpty());
        QVERIFY(port.setSettings(u"9600,n,8,1"_s));
        QVERIFY2(port.setPortOpen(true), qPrintable(port.lastError()));
        QVERIFY(port.portOpen());
        QCOMPARE(port.deviceName(), p.pty.path);
        QSignalSpy received(&port, &SerialPort::received), lost(&port, &SerialPort::portLost);

        p.pty.send(QByteArray::fromHex("0103043039000025"));
        QTRY_COMPARE(port.inBufferCount(), 8);
        QCOMPARE(received.count(), 0); // no threshold set
        port.setInputLen(3);
        QCOMPARE(port.inputBytes(), QByteArray::fromHex("010304"));
        QCOMPARE(port.inBufferCount(), 5);
        port.clearInBuffer();
        QCOMPARE(port.inBufferCount(), 0);

        port.setRThreshold(1);
        p.pty.send("123.45M\r\n");
        port.setInputLen(0);
        QTRY_COMPARE(port.inBufferCount(), 9);
        QVERIFY(received.count() >= 1);
        QCOMPARE(port.inputText(), u"123.45M\r\n"_s);

        QVERIFY(port.output(QByteArray::fromHex("010300000002C40B")));
        // On the line at once, without the event loop: the zero command pauses right after writing.
        QCOMPARE(p.pty.read().toHex(), QByteArray("010300000002c40b"));

        p.pty.unplug();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(!port.portOpen());
        QVERIFY(!port.output(QByteArray("x")));
        QCOMPARE(port.inBufferCount(), 0);
    }

    void portDoesNotOpen_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QByteArray>("device"); // empty: the pty
        QTest::addColumn<QString>("error");
        QTest::newRow("bad settings") << "9600,q,8,1" << QByteArray() << "9600,q,8,1";
        QTest::newRow("missing device") << "9600,n,8,1" << QByteArray("/dev/no-such-tty") << "COM1";
    }

    void portDoesNotOpen()
    {
        QFETCH(QString, settings);
        QFETCH(QByteArray, device);
        QFETCH(QString, error);
        PtyPort p(1, device);
        QCOMPARE(p.port.setSettings(settings), !device.isEmpty());
        QVERIFY(!p.port.setPortOpen(true));
        QVERIFY(!p.port.portOpen());
        QVERIFY(p.port.lastError().contains(error));
        QCOMPARE(p.port.inBufferCount(), 0);
        QVERIFY(p.port.inputBytes().isEmpty());
    }

    void memoryDeviceKeepsNewestBytes()
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
        QVERIFY(port.inputText().endsWith(u"=05.0100"_s));
        QVERIFY(port.setPortOpen(false));
        QVERIFY(!port.portOpen());
        QVERIFY(!port.output(QByteArray("x")));
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "TestSerialPort.moc"
