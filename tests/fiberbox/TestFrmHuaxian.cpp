// The fiber box window on a real embedded database, as `mirel huaxian` opens it: boxes weighed
// onto a pallet with their batch put together and their grade letter, the full pallet's question,
// the list printed and the new pallet; and the Modbus counter (net weight) with the text scale
// (gross weight) at once over real ptys, both played by mirel-devsim. The rules: TestMaitouPallet.
#include "../devices/DevSim.h"
#include "../marklabel/MaitouFixture.h"

#include "devices/InspectionDevices.h"
#include "shell/Startup.h"
#include "shell/Station.h"
#include "stations/Stations.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckDevicePanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

const QString FullPallet = u"已经到了指定的箱数了，是否需要打印清单并自动换板号?"_s;

class TestFrmHuaxian : public QObject {
    Q_OBJECT

private slots:
    // 18 boxes stand on the pallet (or 20: full when the station starts); the box that fills it
    // asks for the pallet's list and a new pallet, taken only once the list has printed;
    // otherwise the next box asks again. A reopened box saved again keeps its batch.
    void boxesOntoAPallet_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("stacked");
        QTest::newRow("yes: list printed, new pallet") << true << true << 18;
        QTest::newRow("yes, no printer: pallet stays") << true << false << 18;
        QTest::newRow("no: pallet stays") << false << true << 18;
        QTest::newRow("full at start, yes: list printed, new pallet") << true << true << 20;
    }
    void boxesOntoAPallet()
    {
        QFETCH(bool, yes);
        QFETCH(bool, printer);
        QFETCH(int, stacked);
        CheckFixture fx("批次号构成=[缸号]-[备A]\ngrade=一等,二等,三等,\n");
        const QString pdf = fx.home().file(u"pallet.pdf"_s);
        fx.home().writeFile(u"打印/唛头/订单唛头2.grf"_s,
                            "[report]\npage = 60 x 40\n[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
                            "[parameter]\nname = 默认打印机\ntype = text\ndefault = " + (printer ? pdf.toUtf8() : QByteArray())
                                + "\n[detail]\nquery = select checkcode as 箱号, oncount as 净重 from checkinfo"
                                  " where bagnumber = (select bagnumber from checkinfo where id = [#单据ID#])\n"
                                  "[text]\nat = 1 1 50 8\ntext = [箱号] [净重]\n");
        stackBoxes(fx, u"P-7"_s, stacked);
        fx.exec(u"insert into checkinfo(checkcode,machineId) values('900','001')"_s); // a later box without pallet
        registerStations();
        MessageBox::clearShown();
        if (stacked == 20)
            MessageBox::setNextAnswer(yes ? MessageBox::AnswerYes : MessageBox::AnswerNo);
        std::unique_ptr<QWidget> window(Startup::openStation(chooseStation(u"huaxian"_s)));
        auto* f = qobject_cast<frmHuaxian*>(window.get());
        QVERIFY(f);
        f->show();
        const auto& c = f->controls();
        QCOMPARE(c.TxtBox[CheckField::Pallet]->text() + u'/' + c.TxtBox[CheckField::Style]->text(), u"P-7/20"_s); // goes on with its pallet
        const QTableWidget* t = f->ppgCheckGrid2()->table(); // the lowest row in sight is whole
        const int low = t->rowAt(t->viewport()->height() - 1);
        QCOMPARE(t->rowViewportPosition(low) + t->rowHeight(low), t->viewport()->height());
        chooseItem(*f, u"府绸"_s);
        c.TxtBox[CheckField::DyeLot]->setText(u"2405"_s);
        c.TxtBox[CheckField::SpareA]->setText(u"3"_s);
        QTest::mouseClick(c.gradeBtn[1], Qt::LeftButton); // a second: its batch ends in B
        if (stacked == 20) { // asked once the window is up
            QTRY_COMPARE(asked(FullPallet), 1);
        } else {
            save(*f, u"20.5"_s);
            QCOMPARE(QString::number(asked(FullPallet)) + f->palletSummary()->text(), u"0净重:389.5  箱数:19"_s);
            QCOMPARE(fx.scalar(u"select taskno||' '||(createDate like '____-__-__ __:__:__') from checkinfo where id=(select max(id) from checkinfo)"_s),
                     u"2405B-3 1"_s); // weighed at
            MessageBox::setNextAnswer(yes ? MessageBox::AnswerYes : MessageBox::AnswerNo);
            save(*f, u"20.5"_s);
            QCOMPARE(asked(FullPallet), 1);
        }
        QFile list(pdf); // one line per box of the full pallet
        const QString text = list.open(QIODevice::ReadOnly) ? QString::fromLatin1(list.readAll()) : QString();
        QCOMPARE(text.count(QRegularExpression(u"/Type\\s*/Page[^s]"_s)), yes && printer ? 20 : 0);
        const QString pallet = yes && printer ? firstPallet() : u"P-7"_s;
        QCOMPARE(c.TxtBox[CheckField::Pallet]->text(), pallet);
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        save(*f, u"19.8"_s); // the 21st box: a new pallet, or the question again
        QCOMPARE(asked(FullPallet), yes && printer ? 1 : 2);
        const QString id = fx.scalar(u"select max(id) from checkinfo"_s);
        QCOMPARE(fx.scalar(u"select bagnumber from checkinfo where id="_s + id), pallet);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='P-7'"_s), yes && printer ? u"20"_s : u"21"_s);
        const QString stored = u"select taskno||'/'||createDate||'/'||ifnull(length(checkDate),0) from checkinfo where id="_s + id;
        const QString before = fx.scalar(stored);
        QTest::mouseClick(c.gradeBtn[2], Qt::LeftButton);
        f->rollPanel().loadRoll(id.toLongLong());
        c.TxtBox[CheckField::SpareA]->setText(u"4"_s);
        c.autoHuanJuan->setChecked(false);
        save(*f, u"19.5"_s);
        QCOMPARE(f->status() + fx.scalar(stored), u" 修改成功！"_s + before.chopped(1) + u"19"_s);
        MessageBox::clearAnswers();
    }

    // The Modbus counter (net weight) and the text scale (gross weight) at once. The fiber box
    // reads its scale as the inspection frame does, not as the mark label it is made from (a
    // reversed stream, =05.0100, shows which), rewrites the gross weight every tick and checks
    // each counter reply whole; InputSet would pick another counter elsewhere. Each rule on its
    // own is a parser test.
    void counterAndScaleOfTheBox()
    {
        DevSim counter{{u"--length"_s, u"8.25"_s, u"--speed"_s, u"0"_s}};
        DevSim scale{{u"--device"_s, u"scale"_s, u"--format"_s, u"text"_s, u"--weight"_s, u"10.5"_s}};
        QVERIFY(counter.ok() && scale.ok());
        CheckFixture fx("InputMode=1\nInputSet=19200,n,8,1\nCOM=COM1\nCHENCOM=COM3\nCommBarcode=\n[SerialPorts]\nCOM1="
                        + counter.path().toLocal8Bit() + "\nCOM3=" + scale.path().toLocal8Bit() + "\n");
        frmMaitou& f = openMaitou(fx, true);
        const auto& c = f.controls();
        const auto net = [&c] { return c.TxtBox[CheckField::Quantity]->text(); };
        const auto gross = [&c] { return c.TxtBox[CheckField::Weight]->text(); };
        f.show();
        QTest::mouseClick(c.Check2, Qt::LeftButton);
        QTest::mouseClick(c.isChen, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(gross(), u"10.50"_s, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(net(), u"8.25"_s, 10000);
        QCOMPARE(c.LabBox[CheckLabel::CounterSensor]->text() + c.LabBox[CheckLabel::ScaleSensor]->text(), u"码表通讯中...台称通讯中..."_s);
        scale.command("weight 12.3");
        QTRY_COMPARE_WITH_TIMEOUT(gross(), u"12.30"_s, 10000);
        c.TxtBox[CheckField::Weight]->setText(u"99"_s); // the scale's weight wins on the next tick
        QTRY_COMPARE_WITH_TIMEOUT(gross(), u"12.30"_s, 10000);

        counter.command("fault badcrc\nlength 9");
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), u"通讯错误-3."_s, 10000);
        QSignalSpy ticks(f.devicePanel().devices(), &devices::InspectionDevices::weightText);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 10000);
        QCOMPARE(net(), u"8.25"_s); // a reply that fails its CRC is not a net weight
        counter.command("fault short");
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), u"通讯错误-2."_s, 10000);
        QCOMPARE(net(), u"8.25"_s);
        counter.command("fault none");
        QTRY_COMPARE_WITH_TIMEOUT(net(), u"9.00"_s, 10000);
        QTest::mouseClick(c.Command1, Qt::LeftButton); // 归零: the coil alone
        QVERIFY(!f.devicePanel().devices()->zeroing());
        QTRY_COMPARE_WITH_TIMEOUT(net(), u"0.00"_s, 10000);
    }
};

QTEST_MAIN(TestFrmHuaxian)
#include "TestFrmHuaxian.moc"
