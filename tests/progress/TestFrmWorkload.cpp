// The progress window's wiring: an operator's walk through a card (lookup, a refused and a chosen
// step, the worker's name and shift, 提交, 清除), what only the window shows (the red message line,
// the boxes and when they come, the entry kept after a refused or failed save), the list tab with
// the access code typed on the pad and the widths kept per user, and the devices driven by the
// simulator: a scanner on a pty, the RFID desk reader through its run-time loaded library. The
// rules themselves: TestWorkloadRules.
#include "../devices/DevSim.h"
#include "ProgressFixture.h"

#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/Stations.h"
#include "stations/progress/WorkloadDevicePanel.h"
#include "stations/progress/WorkloadListPart.h"
#include "stations/progress/WorkloadSavePanel.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"

#include <QDateEdit>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace F = WorkloadField;
namespace L = WorkloadLabel;
namespace {
// The scanner's line ending and the bytes per piece a scan comes in, the database away when the
// station starts: the message line after two scans.
struct Scan { QString suffix, chunk; bool away; QString message = u"状态：织造"_s; };
// A card and a step submitted after `meanwhile` ("saved": the same report before; a statement),
// the question answered: the last box, the rows of the step afterwards. (The allotment's
// procedure failing: TestWorkloadRules save.)
struct Submit { QString card; int press; QString meanwhile; int answer; QString box, rows; };
// The list's row chosen (0 none) and the code typed on the pad (invalid: 取消): boxes, rows listed.
struct Deleting { int row; QVariant code; QString messages, listed; };
} // namespace

class TestFrmWorkload : public QObject {
    Q_OBJECT
private slots:
    void walk()
    {
        ProgressFixture fx;
        fx.exec("insert into BillStatusDetail(barcode,billstatus,viewcount) values('K002','配布',12.5)");
        frmWorkload& f = fx.open();
        QCOMPARE(QString::number(f.stepCount()) + f.ProcessBtn[AllotAll]->text(), QString("4全部配布")); // its tag not shown
        QLineEdit* card = f.TxtBox[F::Card];
        QLabel* message = f.LabBox[L::Message];
        card->setText("K009");
        QTest::keyClick(card, Qt::Key_Return);
        QCOMPARE(message->text(), QString("无此卡号！"));
        QCOMPARE(frmWorkload::foreColor(message), 0x0000FFu);
        QCOMPARE(card->selectedText(), QString("K009")); // the next scan replaces it
        card->setText("K002");
        QTest::keyClick(card, Qt::Key_Tab); // a keyboard scanner's Tab looks the card up as Enter does
        QCOMPARE(message->text(), QString("状态：织造"));
        QVERIFY(f.labInfo[WorkloadInfo::Customer]->text().startsWith("客户：绍兴恒远纺织  订单号：K002"));
        QTest::mouseClick(f.ProcessBtn[Allotment], Qt::LeftButton); // reported before: refused
        QCOMPARE(f.selectedStep() + message->text() + f.Frame3->title(), QString("这个工艺已经输入过配布工艺 已经输入 12.5"));
        QTest::mouseClick(f.ProcessBtn[Dyeing], Qt::LeftButton);
        QCOMPARE(f.selectedStep() + message->text() + f.Frame3->title(), QString("染色工艺(点击放大)"));
        card->setText("K0021"); // another card: its step is not chosen yet, its figures not shown
        QCOMPARE(f.selectedStep(), QString());
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(message->text(), QString("卡号已改，请先查询"));
        card->setText("K002");
        QTest::mouseClick(f.ProcessBtn[Dyeing], Qt::LeftButton);
        f.TxtBox[F::Worker]->setText("001");
        QCOMPARE(f.LabBox[L::WorkerName]->text() + f.TxtBox[F::Remark]->text(), QString("王建国早班"));
        f.TxtBox[F::Metres]->setText("12.50");
        f.DTPicker1->setDateTime(QDateTime(QDate(2026, 3, 4), QTime(7, 15, 30)));
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(f.Label1->text(), QString("提交成功！"));
        QCOMPARE(fx.scalar("select barcode||billstatus||viewcount||usercode||convert(varchar,createdate,120) "
                           "from BillStatusDetail where billstatus='染色'"),
                 QString("K002染色12.50012026-03-04 07:15:30"));
        // Ready for the next card of the same worker: card and step cleared, worker and shift kept.
        QCOMPARE(card->text() + f.selectedStep() + message->text(), QString());
        QCOMPARE(f.LabBox[L::WorkerName]->text() + f.TxtBox[F::Worker]->text() + f.TxtBox[F::Remark]->text(),
                 QString("王建国001早班"));
        QTest::mouseClick(f.Command2, Qt::LeftButton); // "清除" empties the worker, not the remark
        QCOMPARE(f.TxtBox[F::Worker]->text() + "|" + f.TxtBox[F::Remark]->text(), QString("|早班"));
    }

    // The boxes of a submit, and the entry as it stays after one that saved nothing.
    void submitBoxes_data()
    {
        QTest::addColumn<Submit>("c");
        const int yes = MessageBox::AnswerYes, no = MessageBox::AnswerNo;
        const QString resave = "这个进度已经保存过了，是否要重新保存?";
        QTest::newRow("empty card") << Submit{"", Allotment, "", 0, "生产号不能为空!", "0"};
        QTest::newRow("re-save, yes") << Submit{"K002", Dyeing, "saved", yes, resave, "2"};
        QTest::newRow("re-save, no") << Submit{"K002", Dyeing, "saved", no, resave, "1"};
        QTest::newRow("storeroom note, after the commit") << Submit{"K001", AllotAll, "", 0, "公司的默认仓库没有设置,系统没有自动全部配完", "1"};
        QTest::newRow("card deleted meanwhile") << Submit{"K002", Dyeing, "delete from bill where billcode='K002'", 0,
                                                          "卡号 K002 已不在数据库中（已被删除），这条进度没有保存", "0"};
    }
    void submitBoxes()
    {
        QFETCH(Submit, c);
        ProgressFixture fx("keyPolicy=1\n");
        frmWorkload& f = fx.open();
        fx.enter(c.card, c.press, "001");
        const QString step = f.ProcessBtn[c.press]->text();
        if (c.meanwhile == "saved")
            QVERIFY(f.savePanel().saveReport());
        else if (!c.meanwhile.isEmpty())
            fx.exec(c.meanwhile);
        if (c.answer)
            MessageBox::setNextAnswer(MessageBox::Answer(c.answer));
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(MessageBox::lastShown().text, c.box);
        QVERIFY2(!MessageBox::lastShown().heldBack, "raised while the report's transaction was open");
        QCOMPARE(fx.scalar("select count(*) from BillStatusDetail where billstatus='" + step + "'"), c.rows);
        // Saved: the entry is ready for the next card; else nothing of it is lost.
        const bool saved = f.Label1->text() == "提交成功！";
        QCOMPARE(saved, c.answer == MessageBox::AnswerYes || c.box.startsWith("公司"));
        QCOMPARE(f.TxtBox[F::Card]->text(), saved ? QString() : c.card);
        QCOMPARE(f.selectedStep(), saved ? QString() : step);
    }

    // The list tab: 查询 with its filters, 删除 with the access code on the pad; the widths of the
    // list's columns stay with the user, at least 480, the id column keeps its own.
    void listTab_data()
    {
        QTest::addColumn<Deleting>("c");
        QTest::newRow("no row") << Deleting{0, QVariant(), "请选择列表的一行...", "1,2"};
        QTest::newRow("wrong code") << Deleting{2, QVariant("586"), "密码错误！", "1,2"};
        QTest::newRow("cancel") << Deleting{2, QVariant(), "", "1,2"};
        QTest::newRow("right code") << Deleting{2, QVariant("5862"), "删除成功", "1"};
    }
    void listTab()
    {
        QFETCH(Deleting, c);
        ProgressFixture fx;
        fx.exec("insert into BillStatusDetail(id,barcode,billstatus,usercode,createdate,endUser) values"
                "(1,'K002','织造','001','2026-11-30 10:00','001'),(2,'K002','配布','001','2026-11-30 11:00','001'),"
                "(3,'K001','配布','001','2026-11-30 12:00','001')");
        SysUtil::saveSetting("mirel", "mirel", "frmWorkload", "500,2500,3,4,5,6,7,8,9");
        frmWorkload& f = fx.open();
        WorkloadListPart& list = *f.list();
        list.DTdate[WorkloadList::From]->setDate(QDate(2026, 11, 30));
        list.DTdate[WorkloadList::To]->setDate(QDate(2026, 11, 30));
        f.TxtBox[F::ListCard]->setText("K002");
        QTest::mouseClick(list.SearchWLBtn[WorkloadList::Query], Qt::LeftButton);
        QCOMPARE(list.pggBase->colWidthList(), QString("800,2500,480,480,480,480,480,480,480"));
        list.pggBase->setRow(c.row);
        MessageBox::clearShown();
        QTest::mouseClick(list.SearchWLBtn[WorkloadList::Delete], Qt::LeftButton);
        UserControl1* pad = f.NumberKeybord1;
        QCOMPARE(!pad->isHidden() && pad->GetTextBox() == list.codeBox, c.row > 0);
        if (c.row > 0 && c.code.isValid()) {
            for (const QChar digit : c.code.toString())
                for (PadKey* k : pad->keys())
                    if (k->tag() == QString(digit))
                        k->click();
            pad->keys()[11]->click(); // 确定
        } else if (c.row > 0) {
            list.codeFrame->findChild<QPushButton*>("codeCancel")->click();
        }
        QVERIFY(list.codeFrame->isHidden() && pad->isHidden());
        QStringList texts;
        for (const MessageBox::Shown& s : MessageBox::shown())
            texts << s.text;
        QCOMPARE(texts.join('|'), c.messages);
        QStringList ids;
        for (int r = 1; r < list.pggBase->rows(); ++r)
            ids << list.pggBase->textMatrix(r, 0);
        QCOMPARE(ids.join(','), c.listed);
        list.pggBase->setColWidth(2, 2000);
        f.close();
        QCOMPARE(SysUtil::getSetting("mirel", "mirel", "frmWorkload"), QString("800,2500,2000,480,480,480,480,480,480"));
    }

    void scanner_data()
    {
        QTest::addColumn<Scan>("c");
        // Every ending, scans whole and in pieces: TestSplitReadings scanAssembly.
        QTest::newRow("started offline") << Scan{"none", "0", true, "数据库离线，这个号码以前没有查过，离线时无法查询"};
        QTest::newRow("unplugged and plugged in again, tab, pieces of 3") << Scan{"tab", "3", false};
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

    // The desk reader, by the button and polled every second: a card counts once while it lies
    // there; its text's step digit presses the step; a registered card gives its worker (before
    // the digit rule). The scanner's port is missing meanwhile. What a card's text gives (teams,
    // blank cards): TestWorkloadRules.
    void reader()
    {
        const QString file = QDir::temp().filePath("mirel-test-rfid-" + QString::number(QCoreApplication::applicationPid()));
        qputenv("MIREL_DEVSIM_RFID", file.toLocal8Bit());
        ProgressFixture fx("CommBarcode=COM77\n", "RFID=0\n[SerialPorts]\nCOM77=/nonexistent/tty\n");
        fx.installReader();
        fx.exec("insert into RFID_CARDINFO(CARDNO,refCode,CARDTYPE) values('0043','001','1')");
        DevSim sim({"--device", "rfid"});
        QVERIFY(sim.ok());
        QCOMPARE(sim.path(), file);
        frmWorkload& f = fx.open();
        QVERIFY(!f.rfidBtn->isHidden());
        // The scanner's port is not there: its caption says so, the offline mark keeps off it.
        QCOMPARE(frmWorkload::foreColor(f.LabBox[WorkloadLabel::Scanner]), frmWorkload::DeviceFailed);
        QVERIFY(!f.LabBox[WorkloadLabel::Scanner]->toolTip().isEmpty() && !offlineStatusLine(&f));
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
        f.devices().pollReader(); // the card still lies there: taken once by the tick
        worker->clear();
        f.devices().pollReader();
        QCOMPARE(worker->text(), QString());
        sim.command("remove");
        QTRY_VERIFY(!QFile::exists(file));
        f.devices().pollReader();
        sim.command("card 0043");
        QTRY_COMPARE((f.devices().pollReader(), worker->text()), QString("001"));
        QCOMPARE(f.LabBox[WorkloadLabel::WorkerName]->text() + f.selectedStep(), QString("王建国配布")); // not step 3
        QVERIFY(f.savePanel().saveReport()); // the station works on without its scanner
    }
};

QTEST_MAIN(TestFrmWorkload)
#include "TestFrmWorkload.moc"
