// Saving rolls: numbering, the save/update/reopen round trip, defects, the quantity formula,
// and what happens when the database fails mid-save.
#include "CheckFixture.h"

#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "stations/inspection/CheckDefectPanel.h"
#include "stations/inspection/CheckDraftPanel.h"
#include "time/Clock.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestFrmCheckSave : public QObject {
    Q_OBJECT
private slots:
    void saveUpdateReopen()
    {
        CheckFixture fx("autoHuanJuan=0\ngrade=A品,B品,C品,\n");
        frmCheck& f = fx.open();
        auto& c = f.controls();
        c.autoHuanJuan->setChecked(false);
        fx.lookUp("K001");
        c.TxtBox[CheckField::Quantity]->setText("100");
        c.TxtBox[CheckField::PlusMinus]->setText("2");
        c.TxtBox[CheckField::Worker]->setText("001");
        QCOMPARE(c.LabBox[CheckLabel::WorkerName]->text(), QString("王建国"));
        c.Text1->setText("O'Neil 的备注");
        c.TxtBox[CheckField::DyeLot]->setText("2405G");
        f.defectGrid().append({"", "破洞", "12.5", "1", "4", "001", ""});
        f.defectGrid().append({"", "油污", "30", "2", "2", "001", "边上"});
        f.runCommand(CheckCmd::Save);
        QCOMPARE(f.status(), QString(" 新增成功！"));
        const QString id = c.checkId->text();
        QVERIFY(id.toLongLong() > 0 && !f.devicePanel().polling()); // the counter keeps off the saved roll
        QCOMPARE(fx.scalar("select onCount from checkinfo where id=" + id), QString("102"));
        QCOMPARE(fx.scalar("select remark from checkinfo where id=" + id), QString("O'Neil 的备注"));
        QCOMPARE(fx.scalar("select item5 from checkinfo where id=" + id), QString("101"));
        QCOMPARE(fx.scalar("select count(*) from checkDetail where checkId=" + id), QString("2"));

        // Update: grade and quantity change, the defects are rewritten, the date is today's.
        fx.exec("update checkinfo set createDate='2020-01-01' where id=" + id);
        f.defectGrid().setRows({{"", "断经", "5", "1", "1", "002", ""}});
        c.TxtBox[CheckField::Quantity]->setText("120");
        c.gradeBtn[1]->setChecked(true);
        const QString grade = c.gradeBtn[1]->text();
        f.runCommand(CheckCmd::Save);
        QCOMPARE(f.status(), QString(" 修改成功！"));
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("1"));
        QCOMPARE(fx.scalar("select grade || '/' || onCount from checkinfo where id=" + id), grade + "/122");
        QCOMPARE(fx.scalar("select group_concat(bugName) from checkDetail where checkId=" + id), QString("断经"));
        QCOMPARE(fx.scalar("select substr(createDate,1,10) from checkinfo where id=" + id),
                 Clock::today().toString("yyyy-MM-dd"));

        // Reopen on a fresh form shows the quantity without the allowance.
        frmCheck& g = fx.open();
        g.rollPanel().loadRoll(id.toLongLong());
        QCOMPARE(g.controls().TxtBox[CheckField::Quantity]->text(), QString("120"));
        QCOMPARE(g.currentGrade(), grade);
        QCOMPARE(g.controls().TxtBox[CheckField::PlusMinus]->text(), QString("2"));
        QCOMPARE(g.controls().Text1->text(), QString("O'Neil 的备注"));
        QCOMPARE(g.controls().BillDetailId->text(), QString("11"));
        QCOMPARE(g.controls().checkId->text(), id);
        QCOMPARE(g.defectGrid().rows().size(), 1);
        QCOMPARE(g.defectGrid().rows()[0][1], QString("断经"));
        QVERIFY(!g.devicePanel().polling());
    }

    void reopenUnknownRoll()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        f.rollPanel().loadRoll(999);
        QCOMPARE(MessageBox::lastShown().text, QString("没有这个卷号"));
        f.controls().reviewCheckCode->setChecked(true);
        QCOMPARE(f.controls().LabBox[CheckLabel::Card]->text(), QString("卷号"));
        f.controls().TxtBox[CheckField::Card]->setText("12345");
        f.runCommand(CheckCmd::FindCard); // an id that does not exist clears the form
        QCOMPARE(f.controls().TxtBox[CheckField::Card]->text(), QString());
    }

    void freeNumberPerScope()
    {
        CheckFixture fx("codetype=缸号\n");
        fx.exec("insert into checkinfo(billdetailId,itemid,checkCode,taskno) values(11,1,'004','L1')");
        fx.exec("insert into checkinfo(billdetailId,itemid,checkCode,taskno) values(12,1,'009','L2')");
        frmCheck& f = fx.open();
        fx.lookUp("K001");
        f.controls().TxtBox[CheckField::DyeLot]->setText("L1");
        f.rollPanel().assignRollNumber();
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("005"));
        fx.setIni("codetype", "面料编码");
        f.rollPanel().assignRollNumber();
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("010"));
        fx.setIni("codetype", "检验单颜色");
        f.cardPanel().loadCard("K001", "12"); // choosing the line proposes its next number
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("010"));
        // 换缸 under dye-lot numbering: the new lot starts at 001, and the roll is saved so.
        fx.setIni("codetype", "缸号");
        f.controls().cmdHuangang->click();
        const QString lot = f.controls().TxtBox[CheckField::DyeLot]->text();
        QVERIFY(lot.endsWith(u'G'));
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("001"));
        f.controls().autoHuanJuan->setChecked(true);
        f.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select checkCode from checkinfo where taskno='" + lot + "'"), QString("001"));
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("002"));
        // The lot typed after the number was proposed: 002 is free in lot L1 too, but L1 goes on at 005.
        f.controls().TxtBox[CheckField::DyeLot]->setText("L1");
        f.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select max(checkCode) from checkinfo where taskno='L1'"), QString("005"));
    }

    void twoRollsInARowGetTwoNumbers()
    {
        CheckFixture fx;
        fx.open();
        for (int i = 0; i < 3; ++i) // looking the card up again proposes the same number
            fx.lookUp("K001");
        QCOMPARE(fx.form().controls().TxtBox[CheckField::RollNumber]->text(), QString("001"));
        frmCheck& f = fx.open(); // the station is restarted
        f.controls().autoHuanJuan->setChecked(true);
        fx.lookUp("K001");
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("001"));
        f.controls().TxtBox[CheckField::Quantity]->setText("50");
        f.runCommand(CheckCmd::Save);
        f.controls().TxtBox[CheckField::Quantity]->setText("60");
        f.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select group_concat(checkCode) from (select checkCode from checkinfo order by id)"),
                 QString("001,002"));
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("003"));
        QCOMPARE(f.controls().checkId->text(), QString("0"));
    }

    // The formula's complaint is said once, not on every weight the scale sends.
    void quantityFormulaSaidOnce()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        f.controls().TxtBox[CheckField::Quantity]->setText("7");
        f.controls().TxtBox[CheckField::Weight]->setText("25");
        QCOMPARE(f.controls().TxtBox[CheckField::Quantity]->text(), QString("7"));
        QCOMPARE(f.status(), QString("数量公式缺少[系数]"));
        f.setStatus("新");
        f.controls().TxtBox[CheckField::Weight]->setText("250");
        QCOMPARE(f.status(), QString("新"));
        f.controls().TxtBox[CheckField::Factor]->setText("1.2");
        f.controls().TxtBox[CheckField::Weight]->setText("25");
        QCOMPARE(f.controls().TxtBox[CheckField::Quantity]->text(), QString("30.00"));
    }

    void shiftFromWorker()
    {
        CheckFixture fx;
        fx.home().writeFile("班别.ini", "[MIREL]\n001=早班\n");
        frmCheck& f = fx.open();
        f.controls().TxtBox[CheckField::Worker]->setText("001");
        QCOMPARE(f.controls().Text1->text(), QString("早班"));
        f.controls().TxtBox[CheckField::Worker]->setText("005"); // stopped user: no name
        QCOMPARE(f.controls().LabBox[CheckLabel::WorkerName]->text(), QString());
    }

    void databaseGoneKeepsTheForm()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        fx.lookUp("K001");
        f.controls().TxtBox[CheckField::Quantity]->setText("88");
        f.controls().Text1->setText("备注不丢");
        fx.exec("drop table checkDetail"); // a statement inside the save fails
        f.defectGrid().append({"", "破洞", "1", "1", "1", "", ""});
        QCOMPARE(f.savePanel().saveRoll(true), 0LL);
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("0")); // rolled back
        QCOMPARE(f.controls().TxtBox[CheckField::Quantity]->text(), QString("88"));
        QCOMPARE(f.controls().Text1->text(), QString("备注不丢"));
        QCOMPARE(f.controls().checkId->text(), QString("0"));
    }

    // A panel killed mid-roll (the window goes without a save) starts again with the roll's card,
    // fields and defects, and saving it writes the roll once; a roll saved or begun anew leaves
    // nothing to come back.
    void unsavedRollComesBack_data()
    {
        QTest::addColumn<QString>("last"); // the inspector's last step before the panel died
        QTest::addColumn<int>("defects");  // on the form after the restart
        QTest::newRow("defects entered") << "" << 2;
        QTest::newRow("saved") << "save" << 0;
        QTest::newRow("new roll begun") << "new" << 0;
        QTest::newRow("saved roll reopened, defects added") << "reopen" << 3;
    }
    void unsavedRollComesBack()
    {
        QFETCH(QString, last);
        QFETCH(int, defects);
        CheckFixture fx;
        const auto open = [&fx]() -> frmCheck& {
            frmCheck& f = fx.open();
            new CheckDefectPanel(&f);
            new CheckDraftPanel(&f);
            f.controls().autoHuanJuan->setChecked(false);
            return f;
        };
        frmCheck& f = open();
        fx.lookUp("K001");
        f.controls().TxtBox[CheckField::Quantity]->setText("100");
        f.controls().TxtBox[CheckField::Worker]->setText("001");
        const auto defect = [&f](const char* name) {
            f.defectGrid().append({"", name, "12", "1", "4", "001", ""});
            f.runCommand(CheckCmd::Recompute);
        };
        if (last == u"reopen") {
            defect("断经");
            f.runCommand(CheckCmd::Save);
            f.rollPanel().loadRoll(f.controls().checkId->text().toLongLong());
        }
        defect("破洞");
        f.controls().Text1->setText("边上有油");
        defect("油污");
        if (last == u"save")
            f.runCommand(CheckCmd::Save);
        else if (last == u"new")
            f.runCommand(CheckCmd::NewRoll);
        frmCheck& again = open(); // the first window is gone without its close
        QCOMPARE(again.findChild<CheckDraftPanel*>()->restore(), defects > 0);
        QCOMPARE(again.defectGrid().rows().size(), defects);
        if (defects == 0)
            return;
        QVERIFY2(again.status().startsWith("已恢复上次没有保存的卷 001"), qPrintable(again.status()));
        QCOMPARE(again.controls().TxtBox[CheckField::Card]->text(), QString("K001"));
        QCOMPARE(again.controls().Text1->text(), QString("边上有油"));
        again.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select count(*)||'/'||sum(onCount) from checkinfo"), QString("1/100"));
        QCOMPARE(fx.scalar("select count(*) from checkDetail"), QString::number(defects));
    }

    // A roll reopened over a new one, saved again or left with 换卷, passes none of its fields
    // to the next new roll.
    void reopenedRollLeavesTheNextRollAlone()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        auto& c = f.controls();
        c.autoHuanJuan->setChecked(true);
        fx.lookUp("K001");
        const auto fields = [&] { return QStringList{c.TxtBox[CheckField::DyeLot]->text(), c.TxtBox[CheckField::Worker]->text(), c.Text1->text(), c.BillDetailId->text()}; };
        c.TxtBox[CheckField::DyeLot]->setText("C-01"), c.TxtBox[CheckField::Worker]->setText("004"), c.Text1->setText("破洞2处");
        f.runCommand(CheckCmd::Save);
        f.cardPanel().loadCard("K001", "12");
        c.TxtBox[CheckField::DyeLot]->setText("R2611-105"), c.TxtBox[CheckField::Worker]->setText("001"), c.Text1->setText("");
        const QStringList next = fields();
        for (QPushButton* leave : {c.checkCommand[CheckCmd::Save], c.checkCommand[CheckCmd::NewRoll]}) {
            f.rollPanel().loadRoll(fx.scalar("select min(id) from checkinfo").toLongLong());
            leave->click();
            QCOMPARE(fields(), next);
        }
    }

    // 换卷 asks before it drops a roll with length or defects never saved; 否 keeps it.
    void changeRollAsksFirst_data()
    {
        QTest::addColumn<QString>("shape"); // quantity, defect, saved
        QTest::addColumn<int>("answer");    // 0: not asked
        QTest::newRow("length, 否") << "18" << int(MessageBox::AnswerNo);
        QTest::newRow("defect, 否") << "0 defect" << int(MessageBox::AnswerNo);
        QTest::newRow("both, 是") << "18 defect" << int(MessageBox::AnswerYes);
        QTest::newRow("saved") << "18 defect saved" << 0;
    }
    void changeRollAsksFirst()
    {
        QFETCH(QString, shape);
        QFETCH(int, answer);
        CheckFixture fx;
        frmCheck& f = fx.open();
        auto& c = f.controls();
        c.autoHuanJuan->setChecked(false);
        fx.lookUp("K001");
        c.TxtBox[CheckField::Quantity]->setText(shape.section(u' ', 0, 0));
        if (shape.contains(u"defect"))
            f.defectGrid().append({"", "破洞", "3", "1", "4", "001", ""});
        if (shape.contains(u"saved"))
            f.runCommand(CheckCmd::Save);
        const auto roll = [&] { return c.TxtBox[CheckField::Quantity]->text() + u'/' + QString::number(f.defectGrid().rows().size()); };
        const QString before = roll();
        if (MessageBox::clearShown(); answer)
            MessageBox::setNextAnswer(MessageBox::Answer(answer));
        c.checkCommand[CheckCmd::NewRoll]->click();
        QCOMPARE(MessageBox::shown().size(), answer ? 1 : 0);
        QVERIFY(!answer || MessageBox::lastShown().buttons == MessageBox::YesNoDefaultNo);
        QCOMPARE(before == roll(), answer == MessageBox::AnswerNo);
    }
};

QTEST_MAIN(TestFrmCheckSave)
#include "TestFrmCheckSave.moc"
