// The inspection window walked as the inspector and the foreman use it, one walk a part: the
// card side, its settings panel, layout and commands; a roll typed, saved, changed, reopened,
// dropped or kept, numbered, refused by the database, back after the window died with it
// unsaved; the defect side touched in each placement of its frame; the labels printed and the
// label tab; the roll list tab and the step buttons; a roll, package or box deleted at another
// station meanwhile; the devices of the three windows of the family on ptys, played by
// mirel-devsim (counters, scales that swing or speak SICS, a scanner whose bytes come one at a
// time). What a value becomes, what is refused and what one save writes are the rule tables'
// (TestInspectionRoll, TestRollSave, TestCheckGrading, TestInspectionCard, ...); two frames
// through an outage: TestFramesOffline.
#include "../devices/DevSim.h"
#include "../marklabel/MaitouFixture.h"

#include "config/ProgramFolder.h"
#include "db/Connection.h"
#include "devices/InspectionDevices.h"
#include "devices/MeterCorrection.h"
#include "devices/MeterFrames.h"
#include "devices/MeterReplies.h"
#include "sheet/SheetFile.h"
#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/SysUtil.h"
#include "stations/Stations.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckDraftPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"
#include "stations/inspection/CheckSectionAlert.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "support/ReadBack.h"
#include "widgets/CaptionFrame.h"
#include "widgets/CounterBox.h"
#include "widgets/RollStretchBar.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl2.h"
#include "widgets/UserControl3.h"
#include "widgets/VbColor.h"
#include "widgets/fProcessBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QString ini(const QString& key) { return SysUtil::readIni("MIREL", key, "<none>", "/mirel.ini"); }

void writeTemplate(CheckFixture& fx, const QString& name, const QByteArray& text = "[report]\npage = 60 x 40\n")
{
    fx.home().writeFile(u"打印/唛头/"_s + name + u".grf"_s, text);
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

QString addRoll(CheckFixture& fx, const QString& code)
{
    fx.exec(u"insert into checkinfo(billCode,billdetailId,itemid,checkCode,onCount,checkcount,machineId,checkUsercode,"
            "grade,createDate) values('K001',11,1,'%1',100,1,'001','001','A品','%2')"_s.arg(code, Clock::nowText()));
    return fx.scalar(u"select max(id) from checkinfo"_s);
}

QStringList listedRolls(const EditGrid* g)
{
    QStringList out;
    for (int r = 1; r < g->rows(); ++r)
        out << g->textMatrix(r, 1);
    return out;
}

// A data row of the list as the finger finds it.
QPoint cell(EditGrid* g, int row) { return g->table()->visualItemRect(g->table()->item(row - 1, 1)).center(); }

void touch(EditGrid* g, int row) { QTest::mouseClick(g->table()->viewport(), Qt::LeftButton, {}, cell(g, row)); }

QString said(int i = -1) { return i < 0 ? MessageBox::lastShown().text : MessageBox::shown().value(i).text; }

QColor textColour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

} // namespace

class TestFrmCheck : public QObject {
    Q_OBJECT

    enum Station { Inspection, MarkLabel, FiberBox };

private slots:
    // A card scanned (a scanner ending its line with CR/LF and Tab) fills the form from the
    // database: lines, presets, the roll bar's history, totals, the next number; the cards it
    // does not find; the mill's stored lookup. The keypad on the quantity is closed by every
    // command the inspector ends a roll with, done or refused (no card yet: the command stays
    // offered); a new roll with the counter on puts the caret back into the quantity, which must
    // not bring the keypad back over the form. Then the settings panel and the layout.
    void cardSettingsAndLayout()
    {
        CheckFixture fx("DelCheck=0\nNextLabel=0\n");
        for (const char* sql :
             {"insert into DBInfo(InfoCode,InfoValue) values('label_item_pibu_mishu','米数')",
              "insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('CheckFill','99','3|productionJarNo,5|款号')",
              "insert into BillStatusDetail(billdetailid,viewcount,billstatus,usercode) values(11,200,'22','007'),(11,350,'5',''),(11,-150,'33','008')",
              "insert into checkinfo(billCode,billdetailId,checkCode,onCount,cutcount,grade) values('K001',11,'001',120.3,18.4,'A品')"})
            fx.exec(QString::fromUtf8(sql));
        fx.home().writeFile("打印/唛头/唛头.grf", "[report]\npage = 60 x 40\n");
        frmCheck& f = fx.open();
        auto& c = f.controls();
        f.enterMesMode();
        int printed = 0;
        (new CheckLabelPanel(&f))->setPrintFn([&](const QString&, qint64, bool, int) { ++printed; });
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.activateWindow();
        const auto closesKeypad = [&](int command, bool counter, const char* after) { // rolls/labels after
            c.Check2->setChecked(counter); // no port: only the caret rule of a new roll
            c.TxtBox[CheckField::Quantity]->setText("86.5");
            QTest::mouseClick(c.numKeybtn[CheckKey::Quantity], Qt::LeftButton);
            QVERIFY(f.layoutPanel().keypad()->isVisible());
            QCOMPARE(f.layoutPanel().keypad()->GetTextBox(), c.TxtBox[CheckField::Quantity]);
            QTest::mouseClick(command < 0 ? f.layoutPanel().keypad()->keys().at(11) : c.checkCommand[command], Qt::LeftButton);
            QVERIFY2(!f.layoutPanel().keypad()->isVisible(), after);
            QCOMPARE(fx.scalar("select count(*) from checkinfo") + '/' + QString::number(printed), QString(after));
            QVERIFY(command < 0 || c.checkCommand[command]->isEnabled());
        };
        closesKeypad(CheckCmd::Save, false, "1/0");
        closesKeypad(CheckCmd::PrintLabel, false, "1/0");
        QCOMPARE(c.LabBox[CheckLabel::Quantity]->text() + c.TxtBox[CheckField::Quantity]->accessibleName(),
                 QString("米数米数")); // the mill's own caption
        QString offered;
        for (int cmd : {CheckCmd::DeleteRoll, CheckCmd::PreviousRoll, CheckCmd::NextRoll, CheckCmd::Save})
            offered += QString::number(c.checkCommand[cmd]->isEnabled());
        QCOMPARE(offered, QString("0001"));
        QCOMPARE(offlineStatusLine(&f), c.LabBox[CheckLabel::Status]);

        c.TxtBox[CheckField::Card]->setText("K001\r\n");
        QTest::keyClick(c.TxtBox[CheckField::Card], Qt::Key_Tab);
        QCOMPARE(c.TxtBox[CheckField::Card]->text() + QString(" %1 %2").arg(c.ComboColor->count()).arg(c.ComboColor->currentIndex()),
                 QString("K001 3 0"));
        QCOMPARE(tagOf(c.BillDetailId) + tagOf(c.TxtBox[CheckField::Card]) + tagOf(c.machineCount) + u'/' + c.BillDetailId->text()
                     + u'/' + c.machineCount->text() + u'/' + c.machineCount->toolTip(),
                 QString("11P-88/11/900/1000"));
        QCOMPARE(c.frameMishu->title(), QString("加急，注意色差，成品要求幅宽150cm以上，卷装不得折痕").left(30));
        QCOMPARE(c.checkSpec->cursorPosition(), 0); // the remark shows from its start
        QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), QString("002"));
        QCOMPARE(c.TxtBox[CheckField::DyeLot]->text() + c.TxtBox[CheckField::Style]->text(), QString("J1款A"));
        auto* bar = c.fProcessBar1; // the card line's history
        QCOMPARE(QString("%1 %2 %3 %4 ").arg(bar->maximum()).arg(bar->segmentCount()).arg(bar->bugCount()).arg(bar->bug(0).position)
                     + ini("工号"),
                 QString("900 2 1 350 008,007,"));
        f.cardPanel().loadCard("K001", "12");
        QCOMPARE(c.ComboColor->currentIndex(), 1);

        fx.lookUp("K060"); // a card of a type not offered (the lookup's rows: TestInspectionCard)
        QCOMPARE(MessageBox::lastShown().text + c.machineCount->text() + c.TxtBox[CheckField::Card]->selectedText()
                     + QString::number(MessageBox::lastShown().icon == MessageBox::Critical),
                 "没有找到这个卡号!0K0601");
        fx.lookUp("K001");
        c.autoHuanJuan->setChecked(true);
        closesKeypad(-1, true, "1/0"); // the pad's own 确定: closed, not saved
        closesKeypad(CheckCmd::NewRoll, true, "1/0"); // the caret back in the quantity: no pad
        closesKeypad(CheckCmd::Save, true, "2/0");
        closesKeypad(CheckCmd::PrintLabel, false, "3/1");

        // The foreman's settings panel behind its access code, and the saved field layout.
        auto* panel = f.settingsPanel();
        QVERIFY(panel->checkAccessCode("5862") && panel->isVisibleTo(&f)); // no code of the mill's own
        for (QCheckBox* box : panel->requiredBoxes())
            if (box)
                box->setChecked(box->toolTip() == "10,7" || box->toolTip() == "11,gradeBtn");
        panel->textBoxes()[0]->setText("0000");
        panel->comboBoxes()[1]->setCurrentText("国标10分制");
        panel->checkBoxes()[4]->setChecked(true);
        panel->save();
        QCOMPARE(QStringList({ini("requireTxtbox"), ini("codeLen"), ini("USASTANDARD"), ini("RelationBill"), ini("dingma")}),
                 QStringList({"11,gradeBtn;10,7;", "0000", "国标10分制", "1", "1"}));
        QVERIFY(!panel->isVisibleTo(&f));
        fx.exec("insert into DBInfo(InfoCode,InfoValue) values('checkpassword','1234')");
        DbInfoCache::clear();
        c.Check1->setChecked(true);
        QVERIFY(!panel->checkAccessCode("5862"));
        QCOMPARE(MessageBox::lastShown().text, QString("密码错了,请重新输入"));
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        QVERIFY(!c.Check1->isChecked() && !panel->isVisibleTo(&f));
        QVERIFY(panel->checkAccessCode("1234"));

        frmCheck& g = fx.open(); // reads the settings back
        QVERIFY(g.settingsPanel()->requiredBoxes()[17]->isChecked() && !g.settingsPanel()->requiredBoxes()[1]->isChecked());
        const QRect before = g.controls().TxtBox[CheckField::DyeLot]->geometry();
        g.controls().LabBox[CheckLabel::DyeLot]->move(400, 300);
        g.controls().TxtBox[CheckField::DyeLot]->move(460, 300);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        g.layoutPanel().btnSavePosi_Click(0);
        QCOMPARE(MessageBox::lastShown().text, QString("保存成功，请重新打开！"));
        QVERIFY(ini("InputPosition").contains("TxtBox^3="));
        frmCheck& reopened = fx.open();
        QCOMPARE(reopened.controls().TxtBox[CheckField::DyeLot]->geometry().topLeft(), QPoint(460, 300));
        reopened.layoutPanel().btnSavePosi_Click(1);
        QCOMPARE(MessageBox::lastShown().text, QString("恢复默认成功，请重新打开！"));
        QCOMPARE(fx.open().controls().TxtBox[CheckField::DyeLot]->geometry(), before);
    }

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
        QVERIFY(!open());
        w->rollPanel().loadRoll(999);
        QCOMPARE(MessageBox::lastShown().text, QString("没有这个卷号"));
        c->reviewCheckCode->setChecked(true);
        QCOMPARE(c->LabBox[CheckLabel::Card]->text(), QString("卷号"));
        fx.lookUp("12345"); // an id that does not exist clears the form
        QCOMPARE(txt(CheckField::Card)->text(), QString());
        c->reviewCheckCode->setChecked(false);
        // The formula's complaint shows on the status line (its rules: TestInspectionRoll).
        txt(CheckField::Weight)->setText("25");
        QCOMPARE(w->status(), QString("数量公式缺少[系数]"));

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
        QVERIFY2(open() && w->status().startsWith("已恢复上次没有保存的卷 001"), qPrintable(w->status())); // and saved once
        QCOMPARE(txt(CheckField::Card)->text() + c->Text1->text() + QString::number(w->defectGrid().rows().size()), "K001边上有油3");
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

        fx.lookUp("K001");
        c->autoHuanJuan->setChecked(true);
        // 换缸 under dye-lot numbering: the new lot starts at 001, and the roll is saved so.
        fx.setIni("codetype", "缸号");
        c->cmdHuangang->click();
        const QString lot = txt(CheckField::DyeLot)->text();
        QVERIFY(lot.endsWith(u'G'));
        QCOMPARE(txt(CheckField::RollNumber)->text(), QString("001"));
        w->runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select checkCode from checkinfo where taskno='" + lot + "'") + '/' + txt(CheckField::RollNumber)->text(),
                 QString("001/002"));
    }

    void touchRecordSave()
    {
        CheckFixture fx("bugs=破洞_0.5_1^4,油污,断经_1.5,纬斜_0_2,粗纱,色差,稀密路,毛粒,错纱\n"
                        "USASTANDARD=美标4分制\nautoGrade=1\nCapPerUnit=1\nLongDefects=1\nLongDefectReject=14\n"
                        "AlertPoints=10\ngrade=A品^0,B品^200,C品^400\nBugFrame5.Top=3300\nBugFrame5.Height=4000\n");
        frmCheck& f = fx.open();
        CheckDefectPanel part(&f);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto& c = f.controls();
        const QRect narrow = designRect(c.Frame5);
        for (int placement = 0; placement < 3; ++placement) { // narrow, wide, narrow again
            const bool wide = f.layoutPanel().defectFrameWide();
            QCOMPARE(wide, placement == 1);
            QCOMPARE(designRect(c.Frame5), wide ? QRect(270, 3300, 14400, 4000) : narrow);
            QCOMPARE(designRect(c.fProcessBar1).width(), wide ? 14300 : 6000);
            QCOMPARE(part.bugBtn().size(), 9);
            for (QPushButton* b : part.bugBtn()) {
                QVERIFY2(c.Frame5->rect().contains(b->geometry()), qPrintable(b->text()));
                QVERIFY(!b->geometry().intersects(f.defectGrid().grid()->geometry()) && !b->geometry().intersects(part.Label9()->geometry()));
                QVERIFY2(b->height() >= 34 && b->width() >= 90, qPrintable(b->text())); // fingertip
            }
            QVERIFY(c.Frame5->rect().contains(part.Label9()->geometry()));
            // A finger between two buttons missed a button; a tap on the title moves the frame.
            const QRect first = part.bugBtn()[0]->geometry(), second = part.bugBtn()[1]->geometry();
            QTest::mouseClick(c.Frame5, Qt::LeftButton, {}, (first.center() + second.center()) / 2);
            QTest::mouseClick(c.Frame5, Qt::LeftButton, {}, QPoint(first.x(), first.y() / 2));
        }
        QVERIFY(f.defectGrid().rows().isEmpty());

        // 油污 at 20 m touched, one of it scored 2 on the picker.
        fx.lookUp("K001");
        c.TxtBox[CheckField::Quantity]->setText("20");
        c.TxtBox[CheckField::Style]->setText("150");
        c.TxtBox[CheckField::Worker]->setText("001");
        c.Text1->setText("左边");
        UserControl3* picker = part.UserControl31();
        const auto score = [&](int button, int points, int count) {
            QTest::mouseClick(part.bugBtn()[button], Qt::LeftButton);
            QVERIFY(!picker->isHidden() && part.UserControl21()->isHidden());
            QVERIFY(c.Frame5->rect().contains(picker->geometry()));
            for (int i = 0; i < count; ++i)
                QTest::mouseClick(picker->counter()->upKey(), Qt::LeftButton);
            QTest::mouseClick(picker->scoreButton(points), Qt::LeftButton);
            QVERIFY(picker->isHidden());
            QCOMPARE(picker->counter()->text(), QString(" 0")); // ready for the next defect
        };
        QTest::mouseClick(c.numKeybtn[CheckKey::Quantity], Qt::LeftButton); // a field's pad open
        QTest::mouseClick(part.bugBtn()[1], Qt::LeftButton);
        QVERIFY(f.defectGrid().rows().isEmpty()); // nothing before a score is chosen
        QVERIFY(!f.layoutPanel().keypad()->isVisible()); // nor the pad over the form beside the picker
        score(1, 2, 1);
        QCOMPARE(f.defectGrid().rows(), (QList<QStringList>{{"1", "油污", "20", "1", "2", "001", "左边"}}));
        QCOMPARE(part.Label9()->text(), QString("扣分合计：2 百平米扣分:6.7")); // on 30 m²
        QVERIFY(!part.sectionAlert()->active());

        // A weft bar ended at 33 scores 4 in each of its 13 metres, which passes the section alert's
        // 10 points at once (a refused end, the reject length: TestCheckGrading's edit and recompute).
        c.TxtBox[CheckField::Quantity]->setText("33");
        QTest::mouseClick(part.cmdBugEnd(), Qt::LeftButton);
        QCOMPARE(f.defectGrid().rows()[0][2], QString("20-33"));
        QCOMPARE(part.Label9()->text(), QString("扣分合计：52 百平米扣分:105.1")); // on 49.5 m²
        QCOMPARE(f.currentGrade(), QString("A品"));
        QVERIFY(part.sectionAlert()->active());
        QCOMPARE(f.defectGrid().rows()[1], (QStringList{"2", "区段报警", "33", "0", "0", "001", "最近10米扣分40"}));
        QVERIFY(!c.fProcessBar1->alertRect().isEmpty());
        // Seen on the roll's own 33 m, over the defect list and never over one of its rows.
        const auto* bar = f.findChild<RollStretchBar*>(u"alertStretch"_s);
        QVERIFY(bar && bar->isVisible());
        QCOMPARE(bar->stretchRect(0).left(), bar->barRect().left() + bar->barRect().width() * 23 / 33);
        QTableWidget* list = f.defectGrid().grid()->table();
        const auto onForm = [&](const QWidget* w) { return QRect(w->mapTo(&f, QPoint()), w->size()); };
        QVERIFY(!onForm(part.sectionAlert()->button()).intersects(onForm(list)));
        QTest::mouseClick(part.sectionAlert()->button(), Qt::LeftButton);
        QVERIFY(!part.sectionAlert()->active() && part.sectionAlert()->button()->isHidden());
        c.TxtBox[CheckField::Quantity]->setText("34");
        score(0, 4, 0); // 破洞 (加减 0.5): the alert of this stretch stands
        QCOMPARE(f.defectGrid().rows().size(), 3);
        QCOMPARE(c.TxtBox[CheckField::PlusMinus]->text(), QString("-0.5"));

        // Touched by hand the grade stays; the points follow the counter; the alert's row deleted.
        c.gradeBtn[1]->click();
        QCOMPARE(f.status(), QString("手动等级"));
        c.TxtBox[CheckField::Quantity]->setText("60.5");
        QCOMPARE(part.Label9()->text(), QString("扣分合计：56 百平米扣分:61.2")); // on 91.5 m²
        f.defectGrid().grid()->setRow(2);
        f.runCommand(CheckCmd::DeleteDefect);
        QCOMPARE(f.defectGrid().rows()[1], (QStringList{"2", "破洞", "34", "0", "4", "001", "左边"}));
        QCOMPARE(f.currentGrade(), QString("B品"));

        c.TxtBox[CheckField::PlusMinus]->setText("1");
        c.autoHuanJuan->setChecked(false);
        f.runCommand(CheckCmd::Save);
        const QString id = c.checkId->text();
        QCOMPARE(fx.scalar("select onCount||'/'||patchcount||'/'||grade from checkinfo"), QString("61.5/1/B品"));
        QCOMPARE(fx.scalar("select group_concat(p) from (select bugPosition || '-' || bugEnd as p "
                           "from checkDetail where checkId=" + id + " order by id)"),
                 QString("20-33,34-0"));
        f.rollPanel().newRoll();
        QVERIFY(f.defectGrid().rows().isEmpty() && !bar->isVisible());
        QCOMPARE(part.Label9()->text(), QString("扣分合计：0 百平米扣分:0"));

        f.defectGrid().append({"", "纬档", "120.5-133.5", "1", "4", "001", ""}); // read whole
        QVERIFY(list->columnWidth(2) > list->fontMetrics().horizontalAdvance("120.5-133.5"));
    }

    void labels()
    {
        CheckFixture fx;
        fx.home().writeFile(u"mirel.ini"_s, "[MIREL]\n"); // a fresh station: no roll-number pattern
        const QString pdf = fx.home().file(u"标签.pdf"_s);
        // The grade's own label, a page a copy, into a PDF.
        writeTemplate(fx, u"A品"_s, "[report]\npage = 60 x 40\n[parameter]\nname = 单据ID\ntype = number\ndefault = 0\n"
                                    "[parameter]\nname = 默认打印机\ntype = text\ndefault = " + pdf.toUtf8() +
                                    "\n[detail]\nquery = select checkcode as 卷号 from checkinfo where id = [#单据ID#]\n"
                                    "[text]\nat = 1 1 50 8\ntext = 卷[卷号]\n");
        writeTemplate(fx, u"唛头"_s);
        // The card keeps two templates: its look-up writes them into the folder, the second is
        // the mark label's.
        for (const char* file : {"卡唛.grf", "订单唛.grf"})
            fx.exec(u"insert into billFiles(fileName, billFile, fileType, fkid) values('%1', 0x%2, 'Bill', 1)"_s.arg(
                QString::fromUtf8(file), QString::fromLatin1(QByteArray("[report]\npage = 60 x 40\n").toHex())));
        frmCheck* f = &fx.open();
        auto* part = new CheckLabelPanel(f);
        auto* c = &f->controls();
        f->show();
        QCOMPARE(c->TxtBox[CheckField::RollNumber]->text() + f->settingsPanel()->textBoxes().value(0)->text(), u"001000"_s);
        fx.lookUp(u"K001"_s);
        c->TxtBox[CheckField::Worker]->setText(u"001"_s);
        c->TxtBox[CheckField::Quantity]->setText(u"100"_s);
        c->autoHuanJuan->setChecked(false);
        c->UpDown1->setValue(2);
        click(c->checkCommand[CheckCmd::PrintLabel]);
        const QString first = c->checkId->text();
        QCOMPARE(fx.scalar(u"select group_concat(id||checkCode) from checkinfo"_s), first + u"001"_s);
        QCOMPARE(ReadBack::pdfPages(pdf).size(), 2);
        QVERIFY(ReadBack::pdfPages(pdf).value(1).contains(u"卷001"));
        QVERIFY(!c->checkCommand[CheckCmd::PrintLabel]->isEnabled() && !f->devicePanel().polling()); // one label a roll
        f->rollPanel().newRoll();
        QVERIFY(c->checkCommand[CheckCmd::PrintLabel]->isEnabled() && f->devicePanel().polling());

        // From here on the labels are recorded instead of printed.
        QStringList prints;
        part->setPrintFn([&prints](const QString& name, qint64 id, bool preview, int copies) {
            prints << u"%1 %2 %3 %4"_s.arg(name).arg(id).arg(preview).arg(copies);
        });
        c->isPrintreview->setChecked(true);
        c->UpDown1->setValue(3);
        c->TxtBox[CheckField::Quantity]->setText(u"100"_s);
        click(c->checkCommand[CheckCmd::PrintMark]);
        QCOMPARE(prints, QStringList{u"订单唛 %1 1 3"_s.arg(c->checkId->text())});
        QFile::remove(fx.home().file(u"打印/唛头/订单唛.grf"_s));
        f->rollPanel().newRoll();
        c->TxtBox[CheckField::Quantity]->setText(u"100"_s);
        click(c->checkCommand[CheckCmd::PrintMark]);
        QCOMPARE(prints.size(), 1);
        QVERIFY(f->status().contains(u"订单唛"));
        // A reopened roll is saved again before its label is printed, unless saved rolls stay
        // as they are.
        for (const char* delCheck : {"1", "0"}) {
            fx.setIni(u"DelCheck"_s, QString::fromLatin1(delCheck));
            f->rollPanel().loadRoll(first.toLongLong());
            c->TxtBox[CheckField::Quantity]->setText(delCheck == QByteArray("1") ? u"77"_s : u"66"_s);
            f->runCommand(CheckCmd::PrintLabel);
            QCOMPARE(prints.last(), u"A品 %1 1 3"_s.arg(first));
            QCOMPARE(fx.scalar(u"select count(*)||':'||sum(onCount) from checkinfo where id="_s + first), u"1:77"_s);
        }
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"3"_s);

        // The label tab: rows generated from the roll on screen, saved as rolls and printed once
        // each, without preview, with the remembered template.
        f->rollPanel().newRoll();
        click(part->cmdTag(1));
        QCOMPARE(f->status(), u"请点击生成标签按钮"_s);
        c->machineCount->setText(u"1000"_s);
        c->TxtBox[CheckField::RollNumber]->setText(u"010"_s);
        emit f->commandRequested(CheckCmd::FixedLength);
        c->TxtBox[CheckField::PieceLength]->setText(u"250.5"_s);
        click(part->cmdTag(0)); // the rows planned: TestCheckLabelRows; saved as shown, below
        QCOMPARE(part->pggTag()->rows(), 6); // header, four labels, the empty row to type into
        prints.clear();
        click(part->cmdTag(2));
        QCOMPARE(f->status(), u"批量保存成功！"_s);
        QCOMPARE(fx.scalar(u"select group_concat(checkCode||':'||onCount) from (select * from checkinfo where checkCode>='010' order by id)"_s),
                 u"010:250.5,011:250.5,012:250.5,013:248.5"_s);
        QCOMPARE(prints.size(), 4);
        QVERIFY(prints.first().startsWith(u"唛头 ") && prints.first().endsWith(u" 0 1"));
        QVERIFY(part->labelRows().isEmpty() && c->checkId->text() == u"0");

        // The template menu, at the size of the window's texts: a choice is remembered. Focus
        // coming back to the quantity from the menu opens no keypad over the form; a touch does.
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        c->TxtBox[CheckField::Quantity]->setFocus();
        f->layoutPanel().hideKeypad();
        click(c->checkCommand[CheckCmd::ChooseTemplate]);
        QStringList captions;
        for (QAction* a : part->templateMenu()->actions())
            if (a->isVisible())
                captions << a->text();
        QCOMPARE(captions, (QStringList{u"A品"_s, u"卡唛"_s, u"唛头"_s, u"订单唛"_s, u"bill"_s})); // the reopened roll's card wrote it again
        QCOMPARE(part->templateMenu()->font().pointSizeF(), f->font().pointSizeF());
        part->templateMenu()->close();
        QTRY_VERIFY(c->TxtBox[CheckField::Quantity]->hasFocus());
        QVERIFY(!f->layoutPanel().keypad()->isVisible());
        QTest::mouseClick(c->TxtBox[CheckField::Quantity], Qt::LeftButton); // a touch on it does
        QVERIFY(f->layoutPanel().keypad()->isVisible());
        part->templateMenu()->actions()[1]->trigger();
        QCOMPARE(SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, u"check"_s), u"卡唛"_s);

        // The roll list exported as the list tab queried it; a worksheet adds a roll to the card.
        click(part->cmdTag(4));
        QCOMPARE(MessageBox::lastShown().text, u"请先查找卡号！"_s);
        CheckLabelPanel::publishRollList(f, Database::conn().execute(
            u"select 7 as id,'001' as checkCode,250.5 as onCount,'A品' as grade union all select 8,'002',99,null"_s));
        MessageBox::setNextFileName(fx.home().file(u"卷列表"_s));
        click(part->cmdTag(4));
        sheet::SheetGrid grid;
        QVERIFY(sheet::readFirstSheet(fx.home().file(u"卷列表.xlsx"_s), &grid));
        QCOMPARE(grid.rowCount(), 3);
        QCOMPARE(grid.text(1, 2).toLower() + grid.text(2, 2) + grid.text(3, 4), u"checkcode001"_s);
        QVERIFY(grid.isNumber(2, 3) && grid.cell(2, 3).toDouble() == 250.5 && grid.cell(3, 1).toDouble() == 8.0);
        MessageBox::setNextFileName(QString());
        click(part->cmdTag(5));
        QCOMPARE(MessageBox::lastShown().text, u"请选择文件！"_s);
    }

    void listTab()
    {
        CheckFixture fx;
        frmCheck* f = &fx.open();
        auto* part = new CheckRollListPanel(f);
        auto* c = &f->controls();
        f->show();
        click(c->checkCommand[CheckCmd::LatestCard]); // the card is looked up
        QCOMPARE(c->TxtBox[CheckField::Card]->text() + c->BillDetailId->text(), u"K00111"_s);
        const QString a = addRoll(fx, u"001"_s), b = addRoll(fx, u"002"_s);
        fx.exec(u"insert into checkDetail(checkId,bugName,bugPosition,bugCount,bugScore) values(%1,'破洞',3,1,4)"_s.arg(a));
        click(c->checkCommand[CheckCmd::PreviousRoll]);
        QCOMPARE(c->checkId->text() + c->TxtBox[CheckField::RollNumber]->text(), b + u"002"_s);

        QTest::mouseClick(c->SSTab1->tabBar(), Qt::LeftButton, {}, c->SSTab1->tabBar()->tabRect(1).center());
        for (QWidget* w : c->SSTab1->widget(1)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(w->isVisible(), qPrintable(w->objectName() + w->accessibleName()));
        QVERIFY(part->date(0)->date() == Clock::today() && part->date(1)->date() == Clock::today());
        EditGrid* grid = part->grid();
        click(c->checkCommand[CheckCmd::QueryList]);
        QCOMPARE(listedRolls(grid), (QStringList{u"002"_s, u"001"_s}));
        QCOMPARE(part->sumLabel()->text(), u"数量:200"_s);
        touch(grid, 2); // a double touch: the first touch, then the second
        QTest::mouseDClick(grid->table()->viewport(), Qt::LeftButton, {}, cell(grid, 2));
        QCOMPARE(c->checkId->text() + c->TxtBox[CheckField::RollNumber]->text(), a + u"001"_s);
        QCOMPARE(f->defectGrid().rows().size(), 1);
        QCOMPARE(c->SSTab1->currentIndex(), 0);

        // The listed roll b deleted while a is on screen: a cancel leaves a's id on the form.
        c->SSTab1->setCurrentIndex(1);
        grid->setRow(0);
        click(c->checkCommand[CheckCmd::DeleteListed]);
        QCOMPARE(said(), u"请选择一行，然后点删除"_s);
        touch(grid, 1);
        MessageBox::setNextAnswer(MessageBox::AnswerCancel);
        click(c->checkCommand[CheckCmd::DeleteListed]);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s) + c->checkId->text(), u"2"_s + a);
        touch(grid, 1);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        click(c->checkCommand[CheckCmd::DeleteListed]);
        QCOMPARE(listedRolls(grid), QStringList{u"001"_s}); // gone from the list, which was queried again
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where id="_s + b), u"0"_s);
        QCOMPARE(c->checkId->text(), a); // stepped back from the deleted roll

        // The roll on screen, the line's only one: asked twice, then its totals are gone too.
        f->rollPanel().loadRoll(a.toLongLong());
        QVERIFY(c->labInfo[CheckInfo::Totals]->text().endsWith(u"匹数：1"));
        MessageBox::clearShown();
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        click(c->checkCommand[CheckCmd::DeleteRoll]);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(said(0), u"您确定要删除这卷布[001]？"_s);
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        click(c->checkCommand[CheckCmd::DeleteRoll]);
        QCOMPARE(said(2), u"是否要删除卷ID[%1]的标签"_s.arg(a));
        QCOMPARE(MessageBox::shown().value(2).buttons, MessageBox::OkCancel);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s) + fx.scalar(u"select count(*) from checkDetail"_s), u"00"_s);
        QCOMPARE(f->status() + c->checkId->text(), u"删除成功0"_s);
        QVERIFY(c->labInfo[CheckInfo::Totals]->text().endsWith(u"匹数：0"));
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        click(c->checkCommand[CheckCmd::DeleteRoll]);
        QCOMPARE(said(), u"没有保存不要删除！"_s);
    }

    void rowDeletedElsewhere_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("reprint"); // the label was printed with the first save: the answer
        for (const char* action : {"save deleted", "save reopened deleted", "delete deleted"})
            QTest::newRow(action) << QString::fromUtf8(action) << 0;
        QTest::newRow("label printed, printed again") << "save deleted" << int(MessageBox::AnswerYes);
        QTest::newRow("label printed, not again") << "save deleted" << int(MessageBox::AnswerNo);
    }

    // "save deleted": the roll on the form (reopened, or left there by its save) was deleted
    // elsewhere; the save says so, rolls back and keeps what was typed as a new roll, and a label
    // printed for the deleted roll is offered again once the roll is saved anew (after the save,
    // not during it). "delete deleted": the roll is gone already; the form keeps no deleted id
    // (a delete here: listTab). Either way the next save inserts; a save the database refuses
    // otherwise keeps the form the same way (its statements: TestRollSave). The packages and
    // boxes save and delete through the same panels (their rules: TestRollSave's "update of a
    // roll deleted elsewhere", the mark-label walk's delete without 箱数, TestMaitouPallet's
    // packagesPerPallet).
    void rowDeletedElsewhere()
    {
        QFETCH(QString, action);
        QFETCH(int, reprint);
        CheckFixture fx;
        fx.home().writeFile(u"打印/唛头/唛头.grf"_s, "[report]\n");
        frmCheck& f = fx.open();
        new CheckRollListPanel(&f);
        QList<qint64> printed;
        if (reprint)
            (new CheckLabelPanel(&f))->setPrintFn([&](const QString&, qint64 id, bool, int) { printed << id; });
        auto& c = f.controls();
        fx.lookUp(u"K001"_s);
        c.autoHuanJuan->setChecked(false);
        save(f, u"5"_s, reprint ? CheckCmd::PrintLabel : CheckCmd::Save);
        const QString id = c.checkId->text();
        QVERIFY(id.toLongLong() > 0);
        fx.exec(u"insert checkinfo(billCode,billdetailId,checkCode) values('K001',11,'002')"_s); // another station's
        if (action.contains(u"reopened"_s))
            f.rollPanel().loadRoll(id.toLongLong());
        f.defectGrid().append({"", "破洞", "12.5", "1", "4", "001", ""});
        Connection other; // another station, on its own connection to the database
        other.open(u"Provider=SQLite;Data Source="_s + fx.home().file(u"mirel.db"_s));
        other.execute(u"delete checkinfo where id="_s + id);
        MessageBox::clearShown();
        if (action.startsWith(u"save"_s)) {
            save(f, u"7"_s);
            QCOMPARE(MessageBox::lastShown().text,
                     u"这条记录已被删除，已改为新记录（卷号%1），请再按保存"_s.arg(c.TxtBox[CheckField::RollNumber]->text()));
            // The counter stays off over a roll kept or reopened: it would write another roll's length.
            QVERIFY(!f.devicePanel().polling());
            QCOMPARE(c.checkId->text(), u"0"_s);
            QCOMPARE(f.defectGrid().rows().size(), 1);
        } else {
            MessageBox::setNextAnswer(MessageBox::AnswerYes);
            MessageBox::setNextAnswer(MessageBox::AnswerOk);
            QTest::mouseClick(c.checkCommand[CheckCmd::DeleteRoll], Qt::LeftButton);
            MessageBox::clearAnswers();
            QCOMPARE(MessageBox::shown().value(2).text, u"这卷已被其他工位删除"_s);
            QVERIFY(c.checkId->text() != id);
        }
        MessageBox::clearShown();
        if (reprint)
            MessageBox::setNextAnswer(MessageBox::Answer(reprint));
        save(f, u"7"_s);
        QCOMPARE(f.status(), u" 新增成功！"_s);
        QVERIFY(c.checkId->text().toLongLong() > id.toLongLong());
        QCOMPARE(fx.scalar(u"select count(*) || '/' || max(oncount) from checkinfo"_s), u"2/7"_s);
        if (action.startsWith(u"save"_s))
            QCOMPARE(fx.scalar(u"select count(*) from checkDetail where checkid="_s + c.checkId->text()), u"1"_s);
        if (!reprint)
            return;
        QCOMPARE(MessageBox::shown().value(0).text, u"已打印的标签（卷号001）是被删除的记录的，重新打印卷号003的标签？"_s);
        QList<qint64> expected{id.toLongLong()};
        if (reprint == MessageBox::AnswerYes)
            expected << c.checkId->text().toLongLong();
        QCOMPARE(printed, expected);
        save(f, u"8"_s); // that roll's own save: nothing to offer
        QCOMPARE(MessageBox::shown().size(), 1);
    }

    // The devices of each window of the family on ptys, played by mirel-devsim: the counter's
    // length (Modbus; the mark label's text line read whole), the scale's weight (the inspection
    // frame's SICS scale with 称归零 and 去皮, the mark label's from its eighth character, the fiber
    // box's as the inspection frame reads it: a reversed stream, =05.0100, would show which), the
    // sensors' captions and the captions of the open ports' fields turned red. Then what is each
    // window's own: the inspection frame's scanner, unit, silent counter and correction; the fiber
    // box's gross weight rewritten every tick, a counter reply checked whole and 归零. A roll or
    // box put on the scale swings: 保存 meanwhile waits and saves the weight the scale settled on
    // (the box's net weight by its tare and cones); the empty scale saves nothing, a box is never
    // saved twice from one placing (the decisions: TestScaleAndLength's).
    void devicesOfTheWindows_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<QString>("scaleFormat");
        QTest::addColumn<QString>("sensors"); // counter and scale, while both are read
        QTest::newRow("inspection") << int(Inspection) << u"sics"_s << u"码表1通讯中...台称通讯中..."_s;
        QTest::newRow("mark label") << int(MarkLabel) << u"fixed"_s << u"码表0通讯中...台称通讯中..."_s;
        QTest::newRow("fiber box") << int(FiberBox) << u"text"_s << u"码表通讯中...台称通讯中..."_s;
    }
    void devicesOfTheWindows()
    {
        QFETCH(int, station);
        QFETCH(QString, scaleFormat);
        QFETCH(QString, sensors);
        QTemporaryDir dir;
        const QString record = dir.filePath(u"counter"_s), weighed = dir.filePath(u"scale"_s);
        DevSim counter{{u"--model"_s, station == MarkLabel ? u"0"_s : u"1"_s, u"--length"_s, u"150"_s, u"--speed"_s, u"0"_s,
                        u"--record"_s, record}};
        DevSim scale{{u"--device"_s, u"scale"_s, u"--format"_s, scaleFormat, u"--weight"_s, u"10.5"_s, u"--record"_s, weighed,
                      u"--interval"_s, u"100"_s, u"--settle"_s, u"800"_s}};
        DevSim scanner{{u"--device"_s, u"scanner"_s, u"--suffix"_s, u"tab"_s, u"--chunk"_s, u"1"_s, u"--gap"_s, u"5"_s}};
        QVERIFY(counter.ok() && scale.ok() && scanner.ok());
        CheckFixture fx((station == MarkLabel ? "InputMode=0\n" : "InputMode=1\n") + QByteArray(station == FiberBox ? "InputSet=19200,n,8,1\n" : "")
                        + (station == FiberBox ? "dingmaFormula=[重量]-[备4]-[备5]*[备6]\n" : "")
                        + "StableReadings=3\nStableTime=300\nTareBoxField=item3\nTareConeField=item4\n"
                        + "COM=COM1\nCHENCOM=COM3\nchenInputMode=0\nCommBarcode=" + (station == Inspection ? "COM5" : "")
                        + "\n[SerialPorts]\nCOM1=" + counter.path().toLocal8Bit() + "\nCOM3=" + scale.path().toLocal8Bit()
                        + "\nCOM5=" + scanner.path().toLocal8Bit() + "\n");
        fx.exec(u"update item set item3='1.2', item4='0.5' where itemid=1"_s); // the article's tare
        const auto received = [&record] { return DevSimRecord(record).bytes; };
        frmCheck& f = station == Inspection ? fx.open() : station == MarkLabel ? fx.open<frmMaitou>() : fx.open<frmHuaxian>();
        f.show();
        auto& c = f.controls();
        const auto quantity = [&c] { return c.TxtBox[CheckField::Quantity]->text(); };
        const auto weight = [&c] { return c.TxtBox[CheckField::Weight]->text(); };
        const auto swinging = [&] { // the counter off, the quantity typed
            if (c.Check2->isChecked())
                QTest::mouseClick(c.Check2, Qt::LeftButton);
            c.autoHuanJuan->setChecked(true);
            if (station == Inspection)
                f.rollPanel().newRoll();
            else
                static_cast<frmMaitou&>(f).loadItem(u"1"_s);
            if (station == FiberBox) {
                QCOMPARE(c.TxtBox[CheckField::Spare4]->text() + u'/' + c.TxtBox[CheckField::Spare6]->text(), u"1.2/0.5"_s);
                c.TxtBox[CheckField::Spare5]->setText(u"4"_s);
            } else {
                c.TxtBox[CheckField::Factor]->setText(u"1"_s);
            }
            scale.command("weight 0.02");
            QTRY_COMPARE_WITH_TIMEOUT(weight(), u"0.02"_s, 10000);
            const auto saved = [&] { return fx.scalar(u"select count(*)||'/'||ifnull(max(cutcount),'-') from checkinfo where cutcount=25.4"_s); };
            c.TxtBox[CheckField::Quantity]->setText(u"1"_s);
            QTRY_COMPARE_WITH_TIMEOUT((f.runCommand(CheckCmd::Save), f.status()), u"空秤"_s, 5000);
            QCOMPARE(saved(), u"0/-"_s);
            scale.command("weight 25.4");
            QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::Weight]->text(), u"称重中…"_s, 5000);
            // 换卷 touched while the save waits does nothing: the form is the roll being saved.
            QTimer::singleShot(200, &f, [&] {
                MessageBox::setNextAnswer(MessageBox::AnswerYes); // were it asked to drop the roll
                QTest::mouseClick(c.checkCommand[CheckCmd::NewRoll], Qt::LeftButton);
            });
            QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton); // waits, then saves
            MessageBox::clearAnswers();
            QCOMPARE(saved(), u"1/25.4"_s);
            QCOMPARE(fx.scalar(u"select onCount||'/'||ifnull(item4,'')||'/'||ifnull(item7,'') from checkinfo where cutcount=25.4"_s),
                     station == FiberBox ? u"22.2/1.2/0.5"_s : u"25.4//"_s);
            QVERIFY(c.LabBox[CheckLabel::Weight]->text() != u"称重中…"_s);
            // The next roll or box on the form: the scale writes what it still holds.
            QTRY_COMPARE_WITH_TIMEOUT(weight(), u"25.40"_s, 5000);
            c.TxtBox[CheckField::Quantity]->setText(u"1"_s);
            QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton);
            QCOMPARE(f.status(), station != Inspection ? u"这一箱已保存，请取下后再称下一箱"_s : u"新"_s);
            QCOMPARE(saved(), station != Inspection ? u"1/25.4"_s : u"2/25.4"_s);
            c.TxtBox[CheckField::Weight]->setText(u"30"_s); // typed: the operator's, as typed
            c.TxtBox[CheckField::Quantity]->setText(u"1"_s);
            QTest::mouseClick(c.checkCommand[CheckCmd::Save], Qt::LeftButton);
            QCOMPARE(fx.scalar(u"select cutcount from checkinfo order by id desc limit 1"_s), u"30"_s);
        };
        QCOMPARE(textColour(c.LabBox[CheckLabel::Card]) == vbColor(0xFFCC00), station == Inspection); // the scanner's port is open
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), u"码表暂停中"_s, 10000);
        QVERIFY(textColour(c.LabBox[CheckLabel::Quantity]) != vbColor(0xFF) && !c.cmdScaleTare->isVisible());

        // Ticking the boxes opens the ports; the captions of their fields turn red.
        QTest::mouseClick(c.Check2, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"150.00"_s, 10000);
        QTest::mouseClick(c.isChen, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(weight(), u"10.50"_s, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text() + c.LabBox[CheckLabel::ScaleSensor]->text(), sensors, 10000);
        QCOMPARE(textColour(c.LabBox[CheckLabel::Quantity]), vbColor(0xFF));
        QCOMPARE(textColour(c.LabBox[CheckLabel::Weight]), vbColor(0xFF));
        counter.command("length 200.5");
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"200.50"_s, 10000);
        scale.command("weight 12.3");
        QTRY_COMPARE_WITH_TIMEOUT(weight(), u"12.30"_s, 10000);
        // Only a scale that speaks SICS takes 称归零 and 去皮.
        QTRY_COMPARE_WITH_TIMEOUT(c.cmdScaleTare->isVisible() && c.cmdScaleZero->isVisible(), scaleFormat == u"sics", 10000);

        if (station == FiberBox) {
            c.TxtBox[CheckField::Weight]->setText(u"99"_s); // the scale's weight wins on the next tick
            QTRY_COMPARE_WITH_TIMEOUT(weight(), u"12.30"_s, 10000);
            for (const auto& [fault, caption] : {std::pair{"fault badcrc\nlength 9", u"通讯错误-3."_s}, {"fault short", u"通讯错误-2."_s}}) {
                counter.command(fault);
                QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), caption, 10000);
                QSignalSpy ticks(f.devicePanel().devices(), &devices::InspectionDevices::weightText);
                QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 10000);
                QCOMPARE(quantity(), u"200.50"_s); // a reply that fails its check is not a net weight
            }
            counter.command("fault none");
            QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"9.00"_s, 10000);
            QTest::mouseClick(c.Command1, Qt::LeftButton); // 归零: the coil alone
            QVERIFY(!f.devicePanel().devices()->zeroing());
            QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"0.00"_s, 10000);
        }
        if (station != Inspection)
            return swinging();

        // A scan that comes byte by byte, ended by a Tab, is one lookup of the whole card.
        QSignalSpy lines(&f, &frmCheck::cardLineShown);
        MessageBox::clearShown();
        scanner.command("scan K001");
        QTRY_COMPARE_WITH_TIMEOUT(c.TxtBox[CheckField::Card]->text(), u"K001"_s, 10000);
        QCOMPARE(lines.count(), 1);
        QVERIFY(c.BillDetailId->text() == u"11"_s && MessageBox::shown().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"0.00"_s, 10000); // a new roll
        QTRY_COMPARE_WITH_TIMEOUT(weight(), u"12.30"_s, 10000); // weighs it
        counter.command("length 150");
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"150.00"_s, 10000);

        // The unit caption toggles on a double click, and the counter is told.
        for (const bool yards : {true, false}) {
            QTest::mouseDClick(c.LabUnit, Qt::LeftButton);
            QVERIFY(c.LabUnit->text() == (yards ? u"码"_s : u"米"_s) && c.isMashu->isChecked() == yards);
            QTRY_VERIFY_WITH_TIMEOUT(received().contains(devices::setMeterUnit(yards)), 10000);
        }

        // A counter gone silent: the last length stays, and a save asks about it first.
        counter.command("length 120");
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"120.00"_s, 10000);
        counter.command("fault silent");
        QTRY_COMPARE_WITH_TIMEOUT(c.LabBox[CheckLabel::CounterSensor]->text(), devices::counterSilentCaption(), 10000);
        QCOMPARE(quantity(), u"120.00"_s);
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        f.runCommand(CheckCmd::Save);
        QVERIFY(MessageBox::lastShown().text.contains(u"120.00"_s));
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), u"0"_s);
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        f.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select onCount from checkinfo"), u"120"_s);

        swinging();
        c.TxtBox[CheckField::Factor]->clear();
        QTest::mouseClick(c.Check2, Qt::LeftButton);

        // Check3: the screen's raw reading goes into biliB, the inspector types the winding
        // machine's own into biliA, and once saved the lengths follow the machine.
        counter.command("fault none");
        counter.command("length 120"); // the save may have started a new roll
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"120.00"_s, 10000);
        auto* panel = f.settingsPanel();
        QVERIFY(panel->checkAccessCode(u"5862"_s));
        auto* check3 = panel->findChild<QCheckBox*>(u"Check3"_s);
        QVERIFY(check3 && check3->isVisible());
        QLineEdit* machine = panel->textBoxes().value(3);
        QLineEdit* screen = panel->textBoxes().value(4);
        for (const auto answer : {MessageBox::AnswerNo, MessageBox::AnswerYes}) {
            MessageBox::setNextAnswer(answer);
            QTest::mouseClick(check3, Qt::LeftButton);
            QVERIFY(MessageBox::lastShown().text == devices::meterCorrectionQuestion() && MessageBox::lastShown().buttons == MessageBox::YesNo);
            QVERIFY(!check3->isChecked());
            QCOMPARE(screen->text(), answer == MessageBox::AnswerYes ? u"120"_s : u"1"_s);
        }
        QCOMPARE(machine->selectedText(), machine->text());
        machine->setText(u"121"_s);
        QTest::mouseClick(panel->saveButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(quantity(), u"121.00"_s, 10000);
        QCOMPARE(c.cmdScaleZero->accessibleName(), u"称归零"_s);
        QTest::mouseClick(c.cmdScaleTare, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(DevSimRecord(weighed).bytes.contains(devices::sicsTareCommand()), 10000);
        QTest::mouseClick(c.cmdScaleZero, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(DevSimRecord(weighed).bytes.contains(devices::sicsZeroCommand()), 10000);
        f.rollPanel().loadRoll(fx.scalar("select max(id) from checkinfo").toLongLong()); // polling stops
        QCOMPARE(c.LabBox[CheckLabel::CounterSensor]->text() + c.LabBox[CheckLabel::ScaleSensor]->text(), u"码表暂停中台称暂停中"_s);
        QTest::mouseClick(c.isChen, Qt::LeftButton); // the scale off: no buttons for it
        QTRY_VERIFY_WITH_TIMEOUT(!c.cmdScaleTare->isVisible(), 5000);
    }
};

QTEST_MAIN(TestFrmCheck)
#include "TestFrmCheck.moc"
