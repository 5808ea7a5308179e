// A roll through the inspection window: typed, saved, changed, reopened, dropped or kept,
// numbered, refused by the database, back after the window died with it unsaved. What one save
// writes and the numbers of each scope are RollSave's and InspectionRoll's tables.
#include "CheckFixture.h"

#include "shell/MessageBox.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckDraftPanel.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestFrmCheckSave : public QObject {
    Q_OBJECT
private slots:
    void aRollFromCardToReopen()
    {
        CheckFixture fx("grade=A品,B品,C品,\n");
        fx.home().writeFile("班别.ini", "[MIREL]\n001=早班\n");
        fx.exec("insert into checkinfo(billdetailId,itemid,checkCode,taskno) values(12,1,'009','L1')");
        frmCheck* w = nullptr;
        CheckControls* c = nullptr;
        // A window as the station builds it (again after a panel was killed mid-roll: the window
        // goes without its close); the unsaved roll with defects, if any, comes back.
        const auto open = [&] {
            w = &fx.open();
            c = &w->controls();
            c->autoHuanJuan->setChecked(false);
            return (new CheckDraftPanel(w))->restore();
        };
        const auto txt = [&c](int field) { return c->TxtBox[field]; };
        const auto defect = [&w](const char* name) {
            w->defectGrid().append({"", name, "12", "1", "4", "001", ""});
            w->runCommand(CheckCmd::Recompute); // the unsaved roll is kept at every defect
        };
        const auto restored = [&](const QString& number, const QString& seen) {
            QVERIFY2(open() && w->status().startsWith("已恢复上次没有保存的卷 " + number), qPrintable(w->status()));
            QCOMPARE(txt(CheckField::Card)->text() + c->Text1->text() + QString::number(w->defectGrid().rows().size()), seen);
        };
        QVERIFY(!open());
        w->rollPanel().loadRoll(999);
        QCOMPARE(MessageBox::lastShown().text, QString("没有这个卷号"));
        c->reviewCheckCode->setChecked(true);
        QCOMPARE(c->LabBox[CheckLabel::Card]->text(), QString("卷号"));
        fx.lookUp("12345"); // an id that does not exist clears the form
        QCOMPARE(txt(CheckField::Card)->text(), QString());
        c->reviewCheckCode->setChecked(false);
        // The formula's complaint is said once, not on every weight the scale sends.
        txt(CheckField::Quantity)->setText("7");
        txt(CheckField::Weight)->setText("25");
        QCOMPARE(txt(CheckField::Quantity)->text() + w->status(), QString("7数量公式缺少[系数]"));
        w->setStatus("新");
        txt(CheckField::Weight)->setText("250");
        txt(CheckField::Factor)->setText("1.2");
        QCOMPARE(w->status(), QString("新"));
        txt(CheckField::Weight)->setText("25");
        QCOMPARE(txt(CheckField::Quantity)->text(), QString("30.00"));

        for (int i = 0; i < 3; ++i) // looking the card up again proposes the same number
            fx.lookUp("K001");
        QVERIFY(!open()); // and so does the station started again
        fx.lookUp("K001");
        QCOMPARE(txt(CheckField::RollNumber)->text(), QString("001"));
        txt(CheckField::Quantity)->setText("100");
        txt(CheckField::PlusMinus)->setText("2");
        txt(CheckField::Worker)->setText("005"); // a stopped user: no name
        QCOMPARE(c->LabBox[CheckLabel::WorkerName]->text(), QString());
        txt(CheckField::Worker)->setText("001");
        QCOMPARE(c->LabBox[CheckLabel::WorkerName]->text() + c->Text1->text(), QString("王建国早班"));
        c->Text1->setText("O'Neil 的备注");
        defect("破洞");
        defect("油污");
        w->runCommand(CheckCmd::Save);
        const QString id = c->checkId->text();
        QVERIFY(id.toLongLong() > 0 && !w->devicePanel().polling()); // the counter keeps off the saved roll
        const QString stored = "select count(*)||'/'||grade||'/'||onCount||'/'||remark||'/'||"
                               "(select group_concat(bugName) from checkDetail) from checkinfo where billdetailId=11";
        QCOMPARE(w->status() + fx.scalar(stored), QString(" 新增成功！1/A品/102/O'Neil 的备注/破洞,油污"));
        // Changed: grade, quantity and defects.
        w->defectGrid().setRows({{"", "断经", "5", "1", "1", "002", ""}});
        txt(CheckField::Quantity)->setText("120");
        c->gradeBtn[1]->setChecked(true);
        w->runCommand(CheckCmd::Save);
        QCOMPARE(w->status() + fx.scalar(stored), QString(" 修改成功！1/B品/122/O'Neil 的备注/断经"));

        // Reopened on a fresh window (the saved roll left nothing to come back): the quantity
        // without the allowance.
        QVERIFY(!open());
        w->rollPanel().loadRoll(id.toLongLong());
        QCOMPARE(QStringList({txt(CheckField::Quantity)->text(), w->currentGrade(), txt(CheckField::PlusMinus)->text(),
                              c->Text1->text(), c->BillDetailId->text(), c->checkId->text(), w->defectGrid().rows().value(0).value(1)}),
                 QStringList({"120", "B品", "2", "O'Neil 的备注", "11", id, "断经"}));
        QVERIFY(w->defectGrid().rows().size() == 1 && !w->devicePanel().polling());
        defect("破洞");
        c->Text1->setText("边上有油");
        defect("油污");
        restored("001", "K001边上有油3"); // and saved once
        w->runCommand(CheckCmd::Save);
        QCOMPARE(w->status() + fx.scalar(stored), QString(" 修改成功！1/B品/122/边上有油/断经,破洞,油污"));
        MessageBox::clearShown();
        w->runCommand(CheckCmd::NewRoll); // a saved roll goes without a question
        QVERIFY(MessageBox::shown().isEmpty());

        // A roll reopened over a new one, saved again or left with 换卷, passes none of its
        // fields to the next new roll.
        c->autoHuanJuan->setChecked(true);
        w->cardPanel().loadCard("K001", "12"); // choosing the line proposes its next number
        QCOMPARE(txt(CheckField::RollNumber)->text(), QString("010"));
        txt(CheckField::DyeLot)->setText("R2611-105"), txt(CheckField::Worker)->setText("001"), c->Text1->clear();
        const auto fields = [&] { return QStringList{txt(CheckField::DyeLot)->text(), txt(CheckField::Worker)->text(), c->Text1->text(), c->BillDetailId->text()}; };
        const QStringList next = fields();
        for (int leave : {CheckCmd::Save, CheckCmd::NewRoll}) {
            w->rollPanel().loadRoll(id.toLongLong());
            c->checkCommand[leave]->click();
            QCOMPARE(fields(), next);
        }
        // 换卷 asks before it drops a roll with length or defects never saved; 否 keeps it.
        for (const auto& [quantity, answer] : {std::pair{"18", MessageBox::AnswerNo}, {"0", MessageBox::AnswerNo}, {"18", MessageBox::AnswerYes}}) {
            txt(CheckField::Quantity)->setText(quantity);
            if (QString(quantity) == "0")
                defect("破洞");
            const auto roll = [&] { return txt(CheckField::Quantity)->text() + u'/' + QString::number(w->defectGrid().rows().size()); };
            const QString before = roll();
            MessageBox::clearShown();
            MessageBox::setNextAnswer(answer);
            c->checkCommand[CheckCmd::NewRoll]->click();
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(MessageBox::lastShown().buttons, MessageBox::YesNoDefaultNo);
            QCOMPARE(before == roll(), answer == MessageBox::AnswerNo);
        }

        QVERIFY(!open()); // the dropped roll does not come back

        // Two rolls in a row get two numbers; the first comes back after the window died.
        fx.lookUp("K001");
        txt(CheckField::Quantity)->setText("50");
        defect("破洞");
        restored("002", "K0011");
        c->autoHuanJuan->setChecked(true);
        w->runCommand(CheckCmd::Save);
        txt(CheckField::Quantity)->setText("60");
        w->runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select group_concat(checkCode) from (select checkCode from checkinfo where billdetailId=11 order by id)"),
                 QString("001,002,003"));
        QCOMPARE(txt(CheckField::RollNumber)->text() + '/' + c->checkId->text(), QString("004/0"));
        // 换缸 under dye-lot numbering: the new lot starts at 001, and the roll is saved so.
        fx.setIni("codetype", "缸号");
        c->cmdHuangang->click();
        const QString lot = txt(CheckField::DyeLot)->text();
        QVERIFY(lot.endsWith(u'G'));
        QCOMPARE(txt(CheckField::RollNumber)->text(), QString("001"));
        w->runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select checkCode from checkinfo where taskno='" + lot + "'") + '/' + txt(CheckField::RollNumber)->text(),
                 QString("001/002"));
        // The lot typed after the number was proposed: 002 is free in lot L1 too, but L1 goes on at 010.
        txt(CheckField::DyeLot)->setText("L1");
        w->runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select max(checkCode) from checkinfo where taskno='L1'"), QString("010"));

        // The database refuses a statement of the save: nothing stored, the form kept.
        const QString rolls = fx.scalar("select count(*) from checkinfo");
        txt(CheckField::Quantity)->setText("88");
        c->Text1->setText("备注不丢");
        fx.exec("drop table checkDetail");
        w->defectGrid().append({"", "破洞", "1", "1", "1", "", ""});
        QCOMPARE(w->savePanel().saveRoll(true), 0LL);
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), rolls);
        QCOMPARE(txt(CheckField::Quantity)->text() + c->Text1->text() + c->checkId->text(), QString("88备注不丢0"));
    }
};

QTEST_MAIN(TestFrmCheckSave)
#include "TestFrmCheckSave.moc"
