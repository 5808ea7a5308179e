// The fiber box station on a real embedded database: the batch number of each box, the grade
// letter whichever way the grade changes, and the full pallet's list and pallet change; and the
// Modbus counter (net weight) with the text scale (gross weight) at once over real ptys, both
// played by mirel-devsim.
#include "../devices/DevSim.h"
#include "../marklabel/MaitouFixture.h"

#include "devices/InspectionDevices.h"
#include "shell/MessageBox.h"
#include "shell/Startup.h"
#include "shell/Station.h"
#include "stations/Stations.h"
#include "time/Clock.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// The window with both devices connected; InputSet would pick another counter elsewhere.
struct WeighingStation {
    DevSim counter{{u"--length"_s, u"8.25"_s, u"--speed"_s, u"0"_s}};
    DevSim scale;
    CheckFixture fx;
    frmHuaxian& f;

    explicit WeighingStation(const QString& format)
        : scale({u"--device"_s, u"scale"_s, u"--format"_s, format, u"--weight"_s, u"10.5"_s}),
          fx("InputMode=1\nInputSet=19200,n,8,1\nCOM=COM1\nCHENCOM=COM3\nCommBarcode=\n[SerialPorts]\nCOM1="
             + counter.path().toLocal8Bit() + "\nCOM3=" + scale.path().toLocal8Bit() + "\n"),
          f(openHuaxian(fx))
    {
        f.show();
        QTest::mouseClick(f.controls().Check2, Qt::LeftButton);
        QTest::mouseClick(f.controls().isChen, Qt::LeftButton);
    }
    QString net() const { return f.controls().TxtBox[CheckField::Quantity]->text(); }
    QString gross() const { return f.controls().TxtBox[CheckField::Weight]->text(); }
    QString counterStatus() const { return f.controls().LabBox[CheckLabel::CounterSensor]->text(); }
};

} // namespace

class TestFrmHuaxian : public QObject {
    Q_OBJECT

private slots:
    // Two boxes with one pattern, then the office changes the pattern for the third; the first
    // box reopened keeps the batch it was saved with.
    void batchNumberOfEachBox_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("batches");
        QTest::newRow("batch and 备A") << "[缸号]-[备A]" << "2405-3|2405-3|32405";
        QTest::newRow("weight, 备3, 备D") << "[缸号]/[重量]/[备3][备D]" << "2405/18.5/M1白|2405/0/M1白|32405"; // a new box starts at 0 kg
        QTest::newRow("no pattern") << "" << "2405|2405|32405";
        // Reopened, the box keeps the letter its pattern gave it, whatever grade the form shows.
        QTest::newRow("pattern ends in a grade letter") << "[缸号]C" << "2405C|2405C|32405";
    }
    void batchNumberOfEachBox()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, batches);
        CheckFixture fx("批次号构成=" + pattern.toUtf8() + "\ngrade=一等,二等,三等,\n");
        frmHuaxian& f = openHuaxian(fx);
        f.loadItem(u"1"_s);
        const auto& c = f.controls();
        for (const auto& [field, text] : {std::pair{CheckField::DyeLot, "2405"}, {CheckField::SpareA, "3"}, {CheckField::Weight, "18.5"},
                                          {CheckField::Spare3, "M1"}, {CheckField::SpareD, "白"}})
            c.TxtBox[field]->setText(QString::fromUtf8(text));
        save(f, u"18.1"_s);
        save(f, u"18.2"_s); // the batch the operator typed, not the first box's number
        fx.setIni(u"批次号构成"_s, u"[备A][缸号]"_s);
        save(f, u"18.4"_s);
        QCOMPARE(fx.scalar(u"select group_concat(taskno,'|') from (select taskno from checkinfo order by id)"_s), batches);
        QCOMPARE(f.palletSummary()->text(), u"净重:54.7  箱数:3"_s);
        const QString first = fx.scalar(u"select min(id) from checkinfo"_s);
        const QString created = fx.scalar(u"select createDate from checkinfo where id="_s + first);
        QVERIFY(created.startsWith(Clock::today().toString(u"yyyy-MM-dd "_s))); // weighed at
        c.gradeBtn[1]->click(); // the next box was to be a second; the first box is reopened
        f.loadRoll(first.toLongLong());
        c.TxtBox[CheckField::SpareA]->setText(u"4"_s);
        c.autoHuanJuan->setChecked(false);
        save(f, u"19.5"_s);
        QCOMPARE(f.status(), u" 修改成功！"_s);
        QCOMPARE(fx.scalar(u"select taskno||'/'||createDate||'/'||length(checkDate) from checkinfo where id="_s + first),
                 batches.section(u'|', 0, 0) + u'/' + created + u"/19"_s);
    }

    // Every way the grade changes: touched, a new box, a reopened box, the automatic grade.
    void gradeLetterEndsTheBatch_data()
    {
        QTest::addColumn<bool>("fiberBox");
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QList<int>>("taps");
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("result");
        QTest::newRow("B twice") << true << "2405" << QList<int>{1, 1} << "" << "2405B";
        QTest::newRow("new box") << true << "2405" << QList<int>{2} << "new" << "2405";
        QTest::newRow("reopened second") << true << "2405C" << QList<int>{2} << "reopen" << "2405B";
        QTest::newRow("automatic second") << true << "2405C" << QList<int>{} << "auto" << "2405B";
        QTest::newRow("mark label keeps its batch") << false << "2405" << QList<int>{1, 2} << "" << "2405";
    }
    void gradeLetterEndsTheBatch()
    {
        QFETCH(bool, fiberBox);
        QFETCH(QString, batch);
        QFETCH(QList<int>, taps);
        QFETCH(QString, then);
        CheckFixture fx("grade=一等^0,二等^10,三等^50,\nautoGrade=1\n");
        frmMaitou& f = openMaitou(fx, fiberBox);
        QVERIFY(showWithParts(f));
        const auto& c = f.controls();
        c.TxtBox[CheckField::DyeLot]->setText(batch);
        for (int i : taps)
            QTest::mouseClick(c.gradeBtn[i], Qt::LeftButton);
        if (then == u"new")
            f.runCommand(CheckCmd::NewRoll);
        if (then == u"reopen") { // a box stored with 二等 but without its letter
            fx.exec(u"insert into checkinfo(checkcode,taskno,grade,itemid) values('009','2405','二等',1)"_s);
            f.loadRoll(fx.scalar(u"select max(id) from checkinfo"_s).toLongLong());
        }
        if (then == u"auto") { // 12 points on 100 m²
            f.appendDefectRow({QString(), u"毛丝"_s, u"1"_s, u"1"_s, u"12"_s, u"001"_s, QString()});
            f.runCommand(CheckCmd::Recompute);
        }
        QTEST(c.TxtBox[CheckField::DyeLot]->text(), "result");
    }

    // 19 boxes stand on the pallet; the 20th fills it. The pallet changes only once its list
    // has printed; otherwise the next box asks again.
    void fullPalletAsksForTheListAndANewPallet_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("stacked"); // 20: full when the station starts
        QTest::newRow("yes: list printed, new pallet") << true << true << 18;
        QTest::newRow("yes, no printer: pallet stays") << true << false << 18;
        QTest::newRow("no: pallet stays") << false << true << 18;
        QTest::newRow("full at start, yes: list printed, new pallet") << true << true << 20;
    }
    void fullPalletAsksForTheListAndANewPallet()
    {
        QFETCH(bool, yes);
        QFETCH(bool, printer);
        QFETCH(int, stacked);
        CheckFixture fx;
        const QString pdf = fx.home().file(u"pallet.pdf"_s);
        fx.home().writeFile(u"打印/唛头/订单唛头2.grf"_s,
                            "[report]\npage = 60 x 40\n[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
                            "[parameter]\nname = 默认打印机\ntype = text\ndefault = " + (printer ? pdf.toUtf8() : QByteArray())
                                + "\n[detail]\nquery = select checkcode as 箱号, oncount as 净重 from checkinfo"
                                  " where bagnumber = (select bagnumber from checkinfo where id = [#单据ID#])\n"
                                  "[text]\nat = 1 1 50 8\ntext = [箱号] [净重]\n");
        stackBoxes(fx, u"P-7"_s, stacked);
        fx.exec(u"insert into checkinfo(checkcode,machineId) values('900','001')"_s); // a later box without pallet
        registerStations(); // the station as `mirel huaxian` opens it, with its label printing
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
        f->loadItem(u"1"_s);
        const auto asked = [] {
            const QList<MessageBox::Shown> all = MessageBox::shown();
            return int(std::count_if(all.cbegin(), all.cend(), [](const MessageBox::Shown& s) {
                return s.text == u"已经到了指定的箱数了，是否需要打印清单并自动换板号?" && s.buttons == MessageBox::YesNo;
            }));
        };
        if (stacked == 20) { // asked once the window is up
            QTRY_COMPARE(asked(), 1);
        } else {
            save(*f, u"20.5"_s);
            QCOMPARE(asked(), 0);
            MessageBox::setNextAnswer(yes ? MessageBox::AnswerYes : MessageBox::AnswerNo);
            save(*f, u"20.5"_s);
            QCOMPARE(asked(), 1);
        }
        QFile list(pdf); // one line per box of the full pallet
        const QString text = list.open(QIODevice::ReadOnly) ? QString::fromLatin1(list.readAll()) : QString();
        QCOMPARE(text.count(QRegularExpression(u"/Type\\s*/Page[^s]"_s)), yes && printer ? 20 : 0);
        const QString pallet = yes && printer ? firstPallet() : u"P-7"_s;
        QCOMPARE(c.TxtBox[CheckField::Pallet]->text(), pallet);
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        save(*f, u"19.8"_s); // the 21st box: a new pallet, or the question again
        QCOMPARE(asked(), yes && printer ? 1 : 2);
        QCOMPARE(fx.scalar(u"select bagnumber from checkinfo where id=(select max(id) from checkinfo)"_s), pallet);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='P-7'"_s), yes && printer ? u"20"_s : u"21"_s);
        MessageBox::clearAnswers();
    }

    // The fiber box reads its scale as the inspection frame does, not as the mark label it is made
    // from: a reversed stream (=05.0100) shows which. Each rule on its own is a parser test.
    void scaleTextRulesBesideTheCounter()
    {
        WeighingStation st(u"text"_s);
        QVERIFY(st.counter.ok() && st.scale.ok());
        QTRY_COMPARE_WITH_TIMEOUT(st.gross(), u"10.50"_s, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(st.net(), u"8.25"_s, 10000);
        QCOMPARE(st.counterStatus(), u"码表通讯中..."_s);
        QCOMPARE(st.f.controls().LabBox[CheckLabel::ScaleSensor]->text(), u"台称通讯中..."_s);
        st.scale.command("weight 12.3");
        QTRY_COMPARE_WITH_TIMEOUT(st.gross(), u"12.30"_s, 10000);
        st.f.controls().TxtBox[CheckField::Weight]->setText(u"99"_s); // the scale's weight wins on the next tick
        QTRY_COMPARE_WITH_TIMEOUT(st.gross(), u"12.30"_s, 10000);
    }

    void counterRepliesAreChecked()
    {
        WeighingStation st(u"text"_s);
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

QTEST_MAIN(TestFrmHuaxian)
#include "TestFrmHuaxian.moc"
