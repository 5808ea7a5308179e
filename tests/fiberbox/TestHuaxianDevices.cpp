// The fiber box window's Modbus counter (net weight) and text scale (gross weight) at once over
// real ptys: mirel-devsim plays both, the operator ticks "接入码表" and "接入台称".
#include "../devices/DevSim.h"
#include "../marklabel/MaitouFixture.h"

#include "devices/InspectionDevices.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// The window with both devices connected; InputSet would pick another counter elsewhere.
struct Station {
    DevSim counter{{u"--length"_s, u"8.25"_s, u"--speed"_s, u"0"_s}};
    DevSim scale;
    CheckFixture fx;
    frmHuaxian& f;

    explicit Station(const QString& format)
        : scale({u"--device"_s, u"scale"_s, u"--format"_s, format, u"--weight"_s, u"10.5"_s}),
          fx("InputMode=1\nInputSet=19200,n,8,1\nCOM=COM1\nCHENCOM=COM3\nCommBarcode=\n[SerialPorts]\nCOM1="
             + counter.path().toLocal8Bit() + "\nCOM3=" + scale.path().toLocal8Bit() + "\n"),
          f(openHuaxian(fx))
    {
        f.show();
        QTest::mouseClick(f.controls().Check2, Qt::LeftButton);
        QTest::mouseClick(f.controls().isChen, Qt::LeftButton);
    }
    QString net() const { return f.controls().TxtBox[7]->text(); }
    QString gross() const { return f.controls().TxtBox[14]->text(); }
    QString counterStatus() const { return f.controls().LabBox[16]->text(); }
};

} // namespace

class TestHuaxianDevices : public QObject {
    Q_OBJECT
private slots:
    void scaleTextRulesBesideTheCounter_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("reversed stream =05.0100") << "text";
        QTest::newRow("reversed between = =") << "equals";
        QTest::newRow("between wn and kg") << "wnkg";
        QTest::newRow("characters 8 to 14") << "fixed";
    }
    void scaleTextRulesBesideTheCounter()
    {
        QFETCH(QString, format);
        Station st(format);
        QVERIFY(st.counter.ok() && st.scale.ok());
        QTRY_COMPARE_WITH_TIMEOUT(st.gross(), u"10.50"_s, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(st.net(), u"8.25"_s, 10000);
        QCOMPARE(st.counterStatus(), u"码表通讯中..."_s);
        QCOMPARE(st.f.controls().LabBox[26]->text(), u"台称通讯中..."_s);
        st.scale.command("weight 12.3");
        QTRY_COMPARE_WITH_TIMEOUT(st.gross(), u"12.30"_s, 10000);
        st.f.controls().TxtBox[14]->setText(u"99"_s); // the scale's weight wins on the next tick
        QTRY_COMPARE_WITH_TIMEOUT(st.gross(), u"12.30"_s, 10000);
    }

    void counterRepliesAreChecked()
    {
        Station st(u"text"_s);
        QVERIFY(st.counter.ok() && st.scale.ok());
        QTRY_COMPARE_WITH_TIMEOUT(st.net(), u"8.25"_s, 10000);
        st.counter.command("fault badcrc\nlength 9");
        QTRY_COMPARE_WITH_TIMEOUT(st.counterStatus(), u"通讯错误-3."_s, 10000);
        QSignalSpy ticks(st.f.devices(), &devices::InspectionDevices::weightText);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 10000);
        QCOMPARE(st.net(), u"8.25"_s); // a reply that fails its CRC is not a net weight
        st.counter.command("fault short");
        QTRY_COMPARE_WITH_TIMEOUT(st.counterStatus(), u"通讯错误-2."_s, 10000);
        QCOMPARE(st.net(), u"8.25"_s);
        st.counter.command("fault none");
        QTRY_COMPARE_WITH_TIMEOUT(st.net(), u"9.00"_s, 10000);
        QTest::mouseClick(st.f.controls().Command1, Qt::LeftButton); // 归零: the coil alone
        QVERIFY(!st.f.devices()->zeroing());
        QTRY_COMPARE_WITH_TIMEOUT(st.net(), u"0.00"_s, 10000);
    }
};

QTEST_MAIN(TestHuaxianDevices)
#include "TestHuaxianDevices.moc"
