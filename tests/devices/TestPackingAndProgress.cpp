// The packing table's scale over a pty with mirel-devsim, and without its port.
#include "DevSim.h"
#include "devices/PackingScale.h"
#include "support/TempProgramFolder.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace devices;

class TestPackingAndProgress : public QObject {
    Q_OBJECT
private slots:
    void packingScaleAsksForTheWeight()
    {
        TempProgramFolder folder;
        DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"packing"_s, u"--weight"_s,
                      u"25.4"_s, u"--link"_s, folder.file(u"ttyScale"_s)});
        QVERIFY(scale.ok());
        folder.writeFile(u"mirel.ini"_s,
                         "[MIREL]\nCHENCOM=COM3\ndispFormat=0.0\n[SerialPorts]\nCOM3=" +
                             scale.path().toLocal8Bit() + "\n");
        PackingScale s;
        QSignalSpy status(&s, &PackingScale::status);
        QSignalSpy weights(&s, &PackingScale::weightText);
        QVERIFY(s.openScalePort());
        QCOMPARE(status.last().at(0).toString(), u"台称准备好"_s);
        s.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(!weights.isEmpty(), 10000);
        QCOMPARE(weights.last().at(0).toString(), u"25.4"_s);
        QCOMPARE(status.last().at(0).toString(), u"台称通讯中..."_s);
        scale.command("weight 31.26");
        QTRY_COMPARE_WITH_TIMEOUT(weights.last().at(0).toString(), u"31.3"_s, 10000);
        // Its cable pulled and plugged in again under the same name: weighing goes on.
        scale.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(status.last().at(0).toString(), u"台称暂停中"_s, 10000);
        QVERIFY(!scale.replug().isEmpty());
        scale.command("weight 12.0");
        QTRY_COMPARE_WITH_TIMEOUT(weights.last().at(0).toString(), u"12.0"_s, 10000);
    }

    // A box put on the scale swings for a second: 保存 pressed during the swing waits and takes
    // the settled weight, never a swing value; on an empty scale, or a second time for the same
    // placing, nothing is taken.
    void packingScaleWaitsForTheSettledWeight()
    {
        TempProgramFolder folder;
        DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"wnkg"_s, u"--interval"_s,
                      u"100"_s, u"--settle"_s, u"1200"_s});
        QVERIFY(scale.ok());
        folder.writeFile(u"mirel.ini"_s,
                         "[MIREL]\nCHENCOM=COM3\n[打包]\nStableReadings=3\nStableTime=300\n"
                         "[SerialPorts]\nCOM3=" +
                             scale.path().toLocal8Bit() + "\n");
        QElapsedTimer clock;
        clock.start();
        PackingScale s(nullptr, [&] { return clock.elapsed(); });
        QVERIFY(s.openScalePort());
        s.setEnabled(true);
        QTimer ticks; // the station's tick is a second; the test reads faster
        connect(&ticks, &QTimer::timeout, &s, &PackingScale::poll);
        ticks.start(100);
        WeightSettling& rule = s.settling();
        QTRY_COMPARE_WITH_TIMEOUT(int(rule.look()), int(WeightLook::Empty), 10000);
        QCOMPARE(rule.decideSave(clock.elapsed()).message, u"空秤"_s);

        scale.command("weight 25.4");
        QTRY_COMPARE_WITH_TIMEOUT(int(rule.look()), int(WeightLook::Moving), 10000);
        const qint64 pressed = clock.elapsed();
        QCOMPARE(int(rule.decideSave(pressed).kind), int(SaveDecision::Wait));
        QTRY_VERIFY_WITH_TIMEOUT(rule.decideSave(pressed).kind != SaveDecision::Wait, 5000);
        const SaveDecision taken = rule.decideSave(pressed);
        QCOMPARE(int(taken.kind), int(SaveDecision::Take));
        QCOMPARE(taken.weight, 25.4);
        rule.saved(taken.weight);
        QCOMPARE(int(rule.decideSave(clock.elapsed()).kind), int(SaveDecision::Refuse));
    }

    // A SICS scale: its "S D" readings move, "S +" is over range, and 归零 zeroes it.
    void sicsScaleFlagsAndZero()
    {
        TempProgramFolder folder;
        DevSim scale({u"--device"_s, u"scale"_s, u"--format"_s, u"sics"_s, u"--interval"_s,
                      u"100"_s, u"--weight"_s, u"3.2"_s});
        QVERIFY(scale.ok());
        folder.writeFile(u"mirel.ini"_s, "[MIREL]\nCHENCOM=COM3\n[SerialPorts]\nCOM3=" +
                                             scale.path().toLocal8Bit() + "\n");
        PackingScale s;
        QVERIFY(s.openScalePort());
        QVERIFY(!s.zeroScale());
        s.setEnabled(true);
        QTimer ticks;
        connect(&ticks, &QTimer::timeout, &s, &PackingScale::poll);
        ticks.start(100);
        QTRY_COMPARE_WITH_TIMEOUT(int(s.settling().look()), int(WeightLook::Settled), 10000);
        QVERIFY(s.zeroTareSupported());
        QVERIFY(s.zeroScale());
        QTRY_COMPARE_WITH_TIMEOUT(int(s.settling().look()), int(WeightLook::Empty), 10000);
        scale.command("overload on");
        QTRY_COMPARE_WITH_TIMEOUT(int(s.settling().look()), int(WeightLook::OverRange), 10000);
        QCOMPARE(int(s.settling().decideSave(0).kind), int(SaveDecision::Refuse));
        scale.command("overload off");
        scale.command("settle 2000");
        scale.command("weight 10");
        QTRY_COMPARE_WITH_TIMEOUT(int(s.settling().look()), int(WeightLook::Moving), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(int(s.settling().look()), int(WeightLook::Settled), 10000);
        QCOMPARE(*s.settling().settled(), 6.8); // zeroed with 3.2 kg on it
    }

    void packingScaleOffOrMissing()
    {
        TempProgramFolder folder;
        folder.writeFile(u"mirel.ini"_s,
                         "[MIREL]\nCHENCOM=COM3\n[SerialPorts]\nCOM3=/dev/no-such-tty\n");
        PackingScale s;
        QSignalSpy status(&s, &PackingScale::status);
        QVERIFY(!s.openScalePort());
        QCOMPARE(status.last().at(0).toString(), u"台称没找到"_s);
        s.setEnabled(true);
        s.poll();
        QCOMPARE(status.last().at(0).toString(), u"台称暂停中"_s);
        s.setEnabled(false);
        QVERIFY(!s.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestPackingAndProgress)
#include "TestPackingAndProgress.moc"
