// The packing table's scale over a pty with mirel-devsim, and without its port.
#include "DevSim.h"
#include "devices/PackingScale.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QtTest>

using namespace devices;

class TestPackingAndProgress : public QObject {
    Q_OBJECT
private slots:
    void packingScaleAsksForTheWeight()
    {
        TempProgramFolder folder;
        DevSim scale({QStringLiteral("--device"), QStringLiteral("scale"), QStringLiteral("--format"),
                      QStringLiteral("packing"), QStringLiteral("--weight"), QStringLiteral("25.4"),
                      QStringLiteral("--link"), folder.file(QStringLiteral("ttyScale"))});
        QVERIFY(scale.ok());
        folder.writeFile(QStringLiteral("mirel.ini"),
                         "[MIREL]\nCHENCOM=COM3\ndispFormat=0.0\n[SerialPorts]\nCOM3=" +
                             scale.path().toLocal8Bit() + "\n");
        PackingScale s;
        QSignalSpy status(&s, &PackingScale::status);
        QSignalSpy weights(&s, &PackingScale::weightText);
        QVERIFY(s.openScalePort());
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("台称准备好"));
        s.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(!weights.isEmpty(), 10000);
        QCOMPARE(weights.last().at(0).toString(), QStringLiteral("25.4"));
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("台称通讯中..."));
        scale.command("weight 31.26");
        QTRY_COMPARE_WITH_TIMEOUT(weights.last().at(0).toString(), QStringLiteral("31.3"), 10000);
        // Its cable pulled and plugged in again under the same name: weighing goes on.
        scale.command("unplug");
        QTRY_COMPARE_WITH_TIMEOUT(status.last().at(0).toString(), QStringLiteral("台称暂停中"), 10000);
        QVERIFY(!scale.replug().isEmpty());
        scale.command("weight 12.0");
        QTRY_COMPARE_WITH_TIMEOUT(weights.last().at(0).toString(), QStringLiteral("12.0"), 10000);
    }

    void packingScaleOffOrMissing()
    {
        TempProgramFolder folder;
        folder.writeFile(QStringLiteral("mirel.ini"),
                         "[MIREL]\nCHENCOM=COM3\n[SerialPorts]\nCOM3=/dev/no-such-tty\n");
        PackingScale s;
        QSignalSpy status(&s, &PackingScale::status);
        QVERIFY(!s.openScalePort());
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("台称没找到"));
        s.setEnabled(true);
        s.poll();
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("台称暂停中"));
        s.setEnabled(false);
        QVERIFY(!s.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestPackingAndProgress)
#include "TestPackingAndProgress.moc"
