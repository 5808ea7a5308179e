// The progress station's devices, driven by the simulator: a scanner on a pty and the RFID desk
// reader through its run-time loaded library.
#include "ProgressFixture.h"
#include "stations/progress/WorkloadDevicePanel.h"
#include "stations/progress/WorkloadSavePanel.h"

#include "../devices/DevSim.h"
#include "stations/Stations.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestWorkloadDevices : public QObject {
    Q_OBJECT
private slots:
    void scanner_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("away"); // the database, when the station starts
        QTest::addColumn<QString>("chunk"); // bytes per piece the scan comes in
        for (const char* ending : {"none", "cr", "lf", "crlf", "tab"})
            for (const char* chunk : {"0", "3"})
                QTest::addRow("%s, pieces of %s", ending, chunk) << ending << "K002" << "状态：织造" << false << chunk;
        QTest::newRow("started offline") << "none" << "K002" << "数据库离线，这个号码以前没有查过，离线时无法查询" << true << "0";
        QTest::newRow("unplugged and plugged in again") << "crlf" << "K002" << "状态：织造" << false << "0";
    }
    void scanner()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, card);
        QFETCH(QString, message);
        // Port numbers above 9 work at this station.
        ProgressFixture fx("CommBarcode=com12\n");
        // The port under a name of its own, as udev gives a USB scanner, kept across a re-plug.
        QFETCH(QString, chunk);
        DevSim sim({"--device", "scanner", "--suffix", suffix, "--chunk", chunk, "--com", "12", "--link",
                    fx.home().file("ttyScanner")});
        QVERIFY(sim.ok());
        QFETCH(bool, away);
        QVERIFY(!away || QFile::rename(fx.home().file("mirel.db"), fx.home().file("mirel.db.away")));
        frmWorkload& f = fx.open();
        QCOMPARE(frmWorkload::foreColor(f.LabBox[0]), frmWorkload::DeviceOn);
        if (QString(QTest::currentDataTag()).startsWith("unplugged")) {
            sim.command("unplug");
            QTRY_COMPARE(frmWorkload::foreColor(f.LabBox[0]), frmWorkload::DeviceFailed);
            QVERIFY(!sim.replug().isEmpty());
            QTRY_COMPARE(frmWorkload::foreColor(f.LabBox[0]), frmWorkload::DeviceOn);
        }
        QVERIFY(f.rfidBtn->isHidden()); // RFID=1: no desk reader
        sim.command("scan K001"); // two scans: never glued, never split
        QTRY_COMPARE(f.TxtBox[0]->text(), QString("K001"));
        sim.command("scan K002");
        QTRY_COMPARE(f.TxtBox[0]->text(), card);
        QTRY_COMPARE(f.LabBox[1]->text(), message);
        QCOMPARE(f.TxtBox[0]->toolTip(), QString(" 串口扫描枪启动"));
    }

    void missingScannerPort()
    {
        ProgressFixture fx("CommBarcode=COM77\n", "RFID=1\n[SerialPorts]\nCOM77=/nonexistent/tty\n");
        frmWorkload& f = fx.open();
        QCOMPARE(frmWorkload::foreColor(f.LabBox[0]), frmWorkload::DeviceFailed);
        QVERIFY(!f.LabBox[0]->toolTip().isEmpty());
        QCOMPARE(offlineStatusLine(&f), nullptr); // the offline mark keeps off the scanner's caption
        fx.enter("K002", 0, "001"); // the station works on without its scanner
        QVERIFY(f.savePanel().saveReport());
    }

    void workerCard_data()
    {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("worker");
        QTest::addColumn<QString>("step");
        // clang-format off
        QTest::newRow("ends in 2 of four steps") << "0012" << "001" << "配布";
        QTest::newRow("ends in 0") << "0010" << "0010" << "";
        QTest::newRow("ends in a letter") << "001A" << "001A" << "";
        QTest::newRow("digit beyond the steps") << "0015" << "0015" << "";
        QTest::newRow("full block") << "0012345678901234" << "001234567890123" << "全部配布";
        // clang-format on
    }
    void workerCard()
    {
        QFETCH(QString, card);
        const QString file = QDir::temp().filePath("mirel-test-rfid-" + QString::number(QCoreApplication::applicationPid()));
        qputenv("MIREL_DEVSIM_RFID", file.toLocal8Bit());
        ProgressFixture fx(QByteArray(), "RFID=0\n");
        fx.installReader();
        DevSim sim({"--device", "rfid"});
        QVERIFY(sim.ok());
        QCOMPARE(sim.path(), file);
        frmWorkload& f = fx.open();
        QVERIFY(!f.rfidBtn->isHidden());
        fx.enter("K002", 0, "");
        QTest::mouseClick(f.rfidBtn, Qt::LeftButton); // no card on the reader: nothing happens
        QCOMPARE(f.TxtBox[1]->text(), QString());
        QTRY_COMPARE(frmWorkload::foreColor(f.LabBox[2]), frmWorkload::DeviceOn); // polled every second
        f.Timer1->stop();
        sim.command("card " + card.toUtf8());
        QTRY_VERIFY(QFile::exists(file));
        QTest::mouseClick(f.rfidBtn, Qt::LeftButton);
        QTEST(f.TxtBox[1]->text(), "worker");
        QFETCH(QString, step);
        QCOMPARE(f.selectedStep(), step.isEmpty() ? QString("织造") : step);
    }

    // A card on the reader counts once while it lies there; a team holds each worker once; a
    // blank card adds nothing; a registered card gives its user's code before the step rule.
    void cardOncePerPresence()
    {
        const QString file = QDir::temp().filePath(
            "mirel-test-rfid-once-" + QString::number(QCoreApplication::applicationPid()));
        qputenv("MIREL_DEVSIM_RFID", file.toLocal8Bit());
        ProgressFixture fx(QByteArray(), "RFID=0\n");
        fx.installReader();
        fx.exec("insert into RFID_CARDINFO(CARDNO,refCode,CARDTYPE) values('0012','001','1')");
        DevSim sim({"--device", "rfid"});
        QVERIFY(sim.ok());
        frmWorkload& f = fx.open();
        f.Timer1->stop();
        const auto hold = [&](const QByteArray& card, const QString& worker) {
            sim.command("card " + card);
            QTRY_COMPARE((f.devices().pollReader(), f.TxtBox[1]->text()), worker);
        };
        hold("A07X", "A07X");
        f.TxtBox[1]->clear(); // the operator takes the worker out; the card still lies there
        f.devices().pollReader();
        QCOMPARE(f.TxtBox[1]->text(), QString());
        sim.command("remove");
        QTRY_VERIFY(!QFile::exists(file));
        f.devices().pollReader();
        hold("A07X", "A07X");
        hold("B07", "A07X,B07");
        sim.command("card");
        QTRY_VERIFY([&] {
            QFile c(file);
            return c.open(QIODevice::ReadOnly) && c.readAll() == QByteArray(16, 0);
        }());
        f.devices().pollReader();
        QCOMPARE(f.TxtBox[1]->text(), QString("A07X,B07"));
        f.TxtBox[1]->clear();
        hold("0012", "001");
        QCOMPARE(f.LabBox[14]->text(), QString("王建国"));
        QCOMPARE(f.selectedStep(), QString()); // not step 2: the card is 王建国's
    }
};

QTEST_MAIN(TestWorkloadDevices)
#include "TestWorkloadDevices.moc"
