// The mark-label window's counter over a real pty: mirel-devsim plays the counter, the operator
// ticks "接入码表", and the package quantity follows the counter.
#include "../devices/DevSim.h"
#include "MaitouFixture.h"

#include <QCheckBox>

using namespace Qt::StringLiterals;

class TestMaitouDevices : public QObject {
    Q_OBJECT
private slots:
    void quantityFollowsTheCounter_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("text counter") << "0";
        QTest::newRow("modbus counter") << "1";
        QTest::newRow("sum-frame counter") << "3";
    }
    void quantityFollowsTheCounter()
    {
        QFETCH(QString, model);
        DevSim sim({u"--model"_s, model, u"--length"_s, u"123.45"_s, u"--speed"_s, u"0"_s});
        QVERIFY(sim.ok());
        CheckFixture fx("InputMode=" + model.toLatin1() + "\nCOM=COM1\nCommBarcode=\n[SerialPorts]\nCOM1="
                        + sim.path().toLocal8Bit() + "\n");
        frmMaitou& f = openMaitou(fx);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(f.controls().Check2, Qt::LeftButton);
        QVERIFY(f.controls().Check2->isChecked());
        QTRY_COMPARE_WITH_TIMEOUT(f.controls().TxtBox[7]->text(), u"123.45"_s, 10000);
        sim.command("length 200.5");
        QTRY_COMPARE_WITH_TIMEOUT(f.controls().TxtBox[7]->text(), u"200.50"_s, 10000);
        QTest::mouseClick(f.controls().Check2, Qt::LeftButton); // the port is let go
        QVERIFY(!f.controls().Check2->isChecked());
    }
};

QTEST_MAIN(TestMaitouDevices)
#include "TestMaitouDevices.moc"
