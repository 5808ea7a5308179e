// The progress station's devices, driven by the simulator: a scanner on a pty and the RFID desk
// reader through its run-time loaded library.
#include "../devices/DevSim.h"
#include "ProgressFixture.h"

#include "stations/Stations.h"
#include "stations/progress/WorkloadDevicePanel.h"
#include "stations/progress/WorkloadSavePanel.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace F = WorkloadField;
namespace {
// The scanner's line ending and the bytes per piece a scan comes in, the database away when the
// station starts: the message line after two scans.
struct Scan { QString suffix, chunk; bool away; QString message = u"状态：织造"_s; };
} // namespace

class TestWorkloadDevices : public QObject {
    Q_OBJECT
private slots:
    void scanner_data()
    {
        QTest::addColumn<Scan>("c");
        for (const char* ending : {"none", "cr", "lf", "crlf", "tab"})
            for (const char* chunk : {"0", "3"})
                QTest::addRow("%s, pieces of %s", ending, chunk) << Scan{ending, chunk, false};
        QTest::newRow("started offline") << Scan{"none", "0", true, "数据库离线，这个号码以前没有查过，离线时无法查询"};
        QTest::newRow("unplugged and plugged in again") << Scan{"crlf", "0", false};
    }
    void scanner()
    {
        QFETCH(Scan, c);
        // Port numbers above 9 work at this station.
        ProgressFixture fx("CommBarcode=com12\n");
        // The port under a name of its own, as udev gives a USB scanner, kept across a re-plug.
        DevSim sim({"--device", "scanner", "--suffix", c.suffix, "--chunk", c.chunk, "--com", "12", "--link",
                    fx.home().file("ttyScanner")});
        QVERIFY(sim.ok());
        QVERIFY(!c.away || QFile::rename(fx.home().file("mirel.db"), fx.home().file("mirel.db.away")));
        frmWorkload& f = fx.open();
        QLabel* caption = f.LabBox[WorkloadLabel::Scanner];
        QCOMPARE(frmWorkload::foreColor(caption), frmWorkload::DeviceOn);
        if (QString(QTest::currentDataTag()).startsWith("unplugged")) {
            sim.command("unplug");
            QTRY_COMPARE(frmWorkload::foreColor(caption), frmWorkload::DeviceFailed);
            QVERIFY(!sim.replug().isEmpty());
            QTRY_COMPARE(frmWorkload::foreColor(caption), frmWorkload::DeviceOn);
        }
        QVERIFY(f.rfidBtn->isHidden()); // RFID=1: no desk reader
        sim.command("scan K001"); // two scans: never glued, never split
        QTRY_COMPARE(f.TxtBox[F::Card]->text(), QString("K001"));
        sim.command("scan K002");
        QTRY_COMPARE(f.TxtBox[F::Card]->text(), QString("K002"));
        QTRY_COMPARE(f.LabBox[WorkloadLabel::Message]->text(), c.message);
        QCOMPARE(f.TxtBox[F::Card]->toolTip(), QString(" 串口扫描枪启动"));
    }

    void missingScannerPort()
    {
        ProgressFixture fx("CommBarcode=COM77\n", "RFID=1\n[SerialPorts]\nCOM77=/nonexistent/tty\n");
        frmWorkload& f = fx.open();
        QCOMPARE(frmWorkload::foreColor(f.LabBox[WorkloadLabel::Scanner]), frmWorkload::DeviceFailed);
        QVERIFY(!f.LabBox[WorkloadLabel::Scanner]->toolTip().isEmpty());
        QCOMPARE(offlineStatusLine(&f), nullptr); // the offline mark keeps off the scanner's caption
        fx.enter("K002", 0, "001"); // the station works on without its scanner
        QVERIFY(f.savePanel().saveReport());
    }

    // The desk reader, by the button and polled every second: a card counts once while it lies
    // there; its text's step digit, a team of cards, a blank card, a registered card (its worker
    // before the digit rule). What a card's text gives: TestWorkloadRules.
    void reader()
    {
        const QString file = QDir::temp().filePath("mirel-test-rfid-" + QString::number(QCoreApplication::applicationPid()));
        qputenv("MIREL_DEVSIM_RFID", file.toLocal8Bit());
        ProgressFixture fx(QByteArray(), "RFID=0\n");
        fx.installReader();
        fx.exec("insert into RFID_CARDINFO(CARDNO,refCode,CARDTYPE) values('0043','001','1')");
        DevSim sim({"--device", "rfid"});
        QVERIFY(sim.ok());
        QCOMPARE(sim.path(), file);
        frmWorkload& f = fx.open();
        QVERIFY(!f.rfidBtn->isHidden());
        QLineEdit* worker = f.TxtBox[F::Worker];
        fx.enter("K002", 0, "");
        QTest::mouseClick(f.rfidBtn, Qt::LeftButton); // no card on the reader: nothing happens
        QCOMPARE(worker->text(), QString());
        QTRY_COMPARE(frmWorkload::foreColor(f.LabBox[WorkloadLabel::Reader]), frmWorkload::DeviceOn); // polled
        f.Timer1->stop();
        sim.command("card 0012");
        QTRY_VERIFY(QFile::exists(file));
        QTest::mouseClick(f.rfidBtn, Qt::LeftButton);
        QCOMPARE(worker->text() + f.selectedStep(), QString("001配布"));
        const auto hold = [&](const QByteArray& card, const QString& team) {
            sim.command("card " + card);
            QTRY_COMPARE((f.devices().pollReader(), worker->text()), team);
        };
        f.devices().pollReader(); // the card still lies there: taken once by the tick
        worker->clear();
        f.devices().pollReader();
        QCOMPARE(worker->text(), QString());
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
        QCOMPARE(worker->text(), QString("A07X,B07")); // a blank card adds nothing
        worker->clear();
        hold("0043", "001");
        QCOMPARE(f.LabBox[WorkloadLabel::WorkerName]->text() + f.selectedStep(), QString("王建国配布")); // not step 3
    }
};

QTEST_MAIN(TestWorkloadDevices)
#include "TestWorkloadDevices.moc"
