// The inspection window with its devices on ptys: mirel-devsim plays the counter, the scale and a
// scanner whose bytes come one at a time; everything goes through the window's own controls.
#include "../devices/DevSim.h"
#include "../marklabel/MaitouFixture.h"

#include "devices/MeterCorrection.h"
#include "devices/MeterFrames.h"
#include "devices/MeterReplies.h"
#include "shell/MessageBox.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "widgets/VbColor.h"
#include "stations/inspection/CheckRollPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace devices;
using namespace Qt::StringLiterals;

namespace {

QColor textColour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

// Counter (model 1, standing at 150 m), text scale (10.5 kg) and scanner, wired to COM1, COM3, COM5.
struct Station {
    QTemporaryDir dir;
    QString record = dir.filePath(QStringLiteral("received"));
    DevSim counter{{QStringLiteral("--length"), QStringLiteral("150"), QStringLiteral("--speed"),
                    QStringLiteral("0"), QStringLiteral("--record"), record}};
    DevSim scale{{QStringLiteral("--device"), QStringLiteral("scale"), QStringLiteral("--weight"),
                  QStringLiteral("10.5")}};
    DevSim scanner{{QStringLiteral("--device"), QStringLiteral("scanner"), QStringLiteral("--suffix"),
                    QStringLiteral("tab"), QStringLiteral("--chunk"), QStringLiteral("1"),
                    QStringLiteral("--gap"), QStringLiteral("5")}};
    CheckFixture fx{"InputMode=1\nCOM=COM1\nCHENCOM=COM3\nchenInputMode=0\nCommBarcode=COM5\n"
                    "[SerialPorts]\nCOM1=" + counter.path().toLocal8Bit() + "\nCOM3="
                    + scale.path().toLocal8Bit() + "\nCOM5=" + scanner.path().toLocal8Bit() + "\n"};

    frmCheck& open()
    {
        frmCheck& f = fx.open();
        f.show();
        return f;
    }
    QByteArray received() const { return DevSimRecord(record).bytes; }
};

} // namespace

class TestCheckDevices : public QObject {
    Q_OBJECT
private slots:
    void devicesThroughTheWindow()
    {
        Station st;
        QVERIFY(st.counter.ok() && st.scale.ok() && st.scanner.ok());
        frmCheck& f = st.open();
        auto& c = f.controls();
        QCOMPARE(textColour(c.LabBox[CheckLabel::Card]), vbColor(0xFFCC00)); // the scanner's port is open
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), QStringLiteral("码表暂停中"), 10000);
        QVERIFY(textColour(c.LabBox[CheckLabel::Quantity]) != vbColor(0xFF));

        // Ticking the boxes opens the ports; the captions of their fields turn red.
        QTest::mouseClick(c.Check2, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("150.00"), 10000);
        QCOMPARE(textColour(c.LabBox[CheckLabel::Quantity]), vbColor(0xFF));
        QTest::mouseClick(c.isChen, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Weight]->text(), QStringLiteral("10.50"), 10000);
        QCOMPARE(c.LabBox[CheckLabel::ScaleSensor]->text(), QStringLiteral("台称通讯中..."));
        QCOMPARE(textColour(c.LabBox[CheckLabel::Weight]), vbColor(0xFF));

        // A scan that comes byte by byte, ended by a Tab, is one lookup of the whole card.
        QSignalSpy lines(&f, &frmCheck::cardLineShown);
        MessageBox::clearShown();
        st.scanner.command("scan K001");
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Card]->text(), QStringLiteral("K001"), 10000);
        QCOMPARE(lines.count(), 1);
        QCOMPARE(c.TxtBox[CheckField::Card]->toolTip(), QStringLiteral(" 串口扫描枪启动"));
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(c.BillDetailId->text(), QStringLiteral("11"));
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("0.00"), 10000); // a new roll
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Weight]->text(), QStringLiteral("10.50"), 10000); // weighs it
        st.counter.command("length 150");
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("150.00"), 10000);

        // The unit caption toggles on a double click, and the counter is told.
        QTest::mouseDClick(c.LabUnit, Qt::LeftButton);
        QCOMPARE(c.LabUnit->text(), QStringLiteral("码"));
        QVERIFY(c.isMashu->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(st.received().contains(setMeterUnit(true)), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("164.04"), 10000);
        QTest::mouseDClick(c.LabUnit, Qt::LeftButton);
        QCOMPARE(c.LabUnit->text(), QStringLiteral("米"));
        QTRY_VERIFY_WITH_TIMEOUT(st.received().contains(setMeterUnit(false)), 10000);

        // "归零" sends the zero and the two limit writes.
        const QByteArray zero = zeroMeterCoil(1) + alterResetFirst(1) + alterResetSecond(1);
        const qsizetype zeros = st.received().count(zero);
        QTest::mouseClick(c.Command1, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(st.received().count(zero), zeros + 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("0.00"), 10000);

        // A counter gone silent: the last length stays, and a save asks about it first.
        st.counter.command("length 120");
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("120.00"), 10000);
        st.counter.command("fault silent");
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), devices::counterSilentCaption(), 10000);
        QCOMPARE(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("120.00"));
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        f.runCommand(CheckCmd::Save);
        QVERIFY(MessageBox::lastShown().text.contains(QStringLiteral("120.00")));
        QCOMPARE(st.fx.scalar("select count(*) from checkinfo"), QStringLiteral("0"));
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        f.runCommand(CheckCmd::Save);
        QCOMPARE(st.fx.scalar("select onCount from checkinfo"), QStringLiteral("120"));

        // Check3: the screen's raw reading goes into biliB, the inspector types the winding
        // machine's own into biliA, and once saved the lengths follow the machine.
        st.counter.command("fault none");
        st.counter.command("length 120"); // the save may have started a new roll
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), QStringLiteral("码表1通讯中..."), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("120.00"), 10000);
        auto* panel = f.settingsPanel();
        QVERIFY(panel->checkAccessCode(QStringLiteral("5862")));
        auto* check3 = panel->findChild<QCheckBox*>(QStringLiteral("Check3"));
        QVERIFY(check3 && check3->isVisible());
        QLineEdit* machine = panel->textBoxes().value(3);
        QLineEdit* screen = panel->textBoxes().value(4);
        for (const auto answer : {MessageBox::AnswerNo, MessageBox::AnswerYes}) {
            MessageBox::setNextAnswer(answer);
            QTest::mouseClick(check3, Qt::LeftButton);
            QCOMPARE(MessageBox::lastShown().text, devices::meterCorrectionQuestion());
            QCOMPARE(MessageBox::lastShown().buttons, MessageBox::YesNo);
            QVERIFY(!check3->isChecked());
            QCOMPARE(screen->text(), answer == MessageBox::AnswerYes ? QStringLiteral("120") : QStringLiteral("1"));
        }
        QCOMPARE(machine->selectedText(), machine->text());
        machine->setText(QStringLiteral("121"));
        QTest::mouseClick(panel->saveButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Quantity]->text(), QStringLiteral("121.00"), 10000);
        f.rollPanel().loadRoll(st.fx.scalar("select max(id) from checkinfo").toLongLong()); // polling stops
        QCOMPARE(c.LabBox[CheckLabel::CounterSensor]->text() + c.LabBox[CheckLabel::ScaleSensor]->text(), QStringLiteral("码表暂停中台称暂停中"));
    }

    // A roll or box put on the scale swings: 保存 meanwhile waits and saves the weight the scale
    // settled on; the empty scale saves nothing. A box is never saved twice from one placing.
    void swingingWeightIsWaitedFor_data()
    {
        QTest::addColumn<int>("station"); // 0 inspection, 1 mark labels, 2 fiber boxes
        QTest::newRow("inspection roll") << 0;
        QTest::newRow("mark-label package") << 1;
        QTest::newRow("fiber box") << 2;
    }
    void swingingWeightIsWaitedFor()
    {
        QFETCH(int, station);
        const bool box = station > 0;
        // The mark-label frames read the scale from its eighth character (ST,GS,+0025.40kg).
        DevSim scale{{u"--device"_s, u"scale"_s, u"--weight"_s, u"0.02"_s, u"--interval"_s, u"100"_s,
                      u"--settle"_s, u"800"_s, u"--format"_s, station == 1 ? u"fixed"_s : u"text"_s}};
        QVERIFY(scale.ok());
        CheckFixture fx("CommBarcode=COM5\nCHENCOM=COM3\nchenInputMode=0\nStableReadings=3\nStableTime=300\n"
                        "TareBoxField=item3\nTareConeField=item4\ndingmaFormula=[重量]-[备4]-[备5]*[备6]\n"
                        "[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
        fx.exec(u"update item set item3='1.2', item4='0.5' where itemid=1"_s); // the article's tare
        frmCheck& f = box ? openMaitou(fx, station == 2) : fx.open();
        auto& c = f.controls();
        f.show();
        if (box)
            static_cast<frmMaitou&>(f).loadItem(u"1"_s);
        else
            fx.lookUp(u"K001"_s);
        c.autoHuanJuan->setChecked(true);
        if (station == 2) { // the tare follows the article; the net weight the tare and the cones
            QCOMPARE(c.TxtBox[CheckField::Spare4]->text() + u'/' + c.TxtBox[CheckField::Spare6]->text(), u"1.2/0.5"_s);
            c.TxtBox[CheckField::Spare5]->setText(u"4"_s);
        } else {
            fx.setIni(u"dingmaFormula"_s, u"[重量] * [系数]"_s);
            c.TxtBox[CheckField::Factor]->setText(u"1"_s);
        }
        QTest::mouseClick(c.isChen, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Weight]->text(), u"0.02"_s, 10000);
        const auto saved = [&] { return fx.scalar(u"select count(*)||'/'||ifnull(max(cutcount),'-') from checkinfo"_s); };
        c.TxtBox[CheckField::Quantity]->setText(u"1"_s);
        QTRY_COMPARE_WITH_TIMEOUT((QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton), f.status()),
                                  u"空秤"_s, 5000);
        QCOMPARE(saved(), u"0/-"_s);
        scale.command("weight 25.4");
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::Weight]->text(), u"称重中…"_s, 5000);
        QVERIFY(!c.cmdScaleZero->isVisible()); // this scale takes no zero command
        QCOMPARE(c.TxtBox[CheckField::Weight]->palette().color(QPalette::Text), QColor(0x80, 0x80, 0x80));
        // 换卷 touched while the save waits does nothing: the form is the roll being saved.
        QTimer::singleShot(200, &f, [&] {
            MessageBox::setNextAnswer(MessageBox::AnswerYes); // were it asked to drop the roll
            QTest::mouseClick(c.checkCommand[CheckCmd::NewRoll], Qt::LeftButton);
        });
        QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton); // waits, then saves
        MessageBox::clearAnswers();
        QCOMPARE(saved(), u"1/25.4"_s);
        QCOMPARE(fx.scalar(u"select onCount||'/'||ifnull(item4,'')||'/'||ifnull(item7,'') from checkinfo"_s),
                 station == 2 ? u"22.2/1.2/0.5"_s : u"25.4//"_s);
        QVERIFY(c.LabBox[CheckLabel::Weight]->text() != u"称重中…"_s);
        QVERIFY(c.TxtBox[CheckField::Weight]->palette().color(QPalette::Text) != QColor(0x80, 0x80, 0x80));
        // The next roll or box on the form: the scale writes what it still holds.
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Weight]->text(), u"25.40"_s, 5000);
        c.TxtBox[CheckField::Quantity]->setText(u"1"_s);
        QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton);
        QCOMPARE(f.status(), box ? u"这一箱已保存，请取下后再称下一箱"_s : u"新"_s);
        QCOMPARE(saved(), box ? u"1/25.4"_s : u"2/25.4"_s);
        // A weight the operator types is theirs, as typed.
        c.TxtBox[CheckField::Weight]->setText(u"30"_s);
        c.TxtBox[CheckField::Quantity]->setText(u"1"_s);
        QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton);
        QCOMPARE(fx.scalar(u"select cutcount from checkinfo order by id desc limit 1"_s), u"30"_s);
    }

    // A scale that speaks SICS takes 称归零 and 去皮; the buttons show only for such a scale.
    void zeroAndTareOfASicsScale()
    {
        QTemporaryDir dir;
        const QString record = dir.filePath(u"received"_s);
        DevSim scale{{u"--device"_s, u"scale"_s, u"--format"_s, u"sics"_s, u"--weight"_s, u"3.5"_s,
                      u"--record"_s, record}};
        QVERIFY(scale.ok());
        CheckFixture fx("CommBarcode=COM5\nCHENCOM=COM3\nchenInputMode=0\n[SerialPorts]\nCOM3=" + scale.path().toLocal8Bit() + "\n");
        frmCheck& f = fx.open();
        auto& c = f.controls();
        f.show();
        fx.lookUp(u"K001"_s);
        QVERIFY(!c.cmdScaleTare->isVisible());
        QTest::mouseClick(c.isChen, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(c.cmdScaleTare->isVisible() && c.cmdScaleZero->isVisible(), 10000);
        QCOMPARE(c.cmdScaleZero->accessibleName(), u"称归零"_s);
        QTest::mouseClick(c.cmdScaleTare, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(DevSimRecord(record).bytes.contains(devices::sicsTareCommand()), 10000);
        QTest::mouseClick(c.cmdScaleZero, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(DevSimRecord(record).bytes.contains(devices::sicsZeroCommand()), 10000);
        QTest::mouseClick(c.isChen, Qt::LeftButton); // the scale off: no buttons for it
        QTRY_VERIFY_WITH_TIMEOUT(!c.cmdScaleTare->isVisible(), 5000);
    }
};

QTEST_MAIN(TestCheckDevices)
#include "TestCheckDevices.moc"
