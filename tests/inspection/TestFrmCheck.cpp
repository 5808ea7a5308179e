// The inspection window's card side, its settings panel, layout and commands, walked as the
// inspector and the foreman use them. What a card's texts and totals read is InspectionCard's.
#include "CheckFixture.h"

#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/Stations.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "widgets/CaptionFrame.h"
#include "widgets/UserControl1.h"
#include "widgets/fProcessBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestFrmCheck : public QObject {
    Q_OBJECT

    static QString ini(const QString& key)
    {
        return SysUtil::readIni("MIREL", key, "<none>", "/mirel.ini");
    }

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
            QTest::mouseClick(c.numKeybtn[2], Qt::LeftButton); // the quantity's keypad
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
        QCOMPARE(c.labInfo[CheckInfo::Totals]->text(), QString(" 送检数量：900 已检A品数量：120.3/879.7 匹数：1"));
        QVERIFY(c.labInfo[CheckInfo::Customer]->text().contains("杭州锦华服饰"));
        QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), QString("002"));
        QCOMPARE(c.TxtBox[CheckField::DyeLot]->text() + c.TxtBox[CheckField::Style]->text(), QString("J1款A"));
        auto* bar = c.fProcessBar1; // the card line's history
        QCOMPARE(QString("%1 %2 %3 %4 ").arg(bar->maximum()).arg(bar->segmentCount()).arg(bar->bugCount()).arg(bar->bug(0).position)
                     + ini("工号"),
                 QString("900 2 1 350 008,007,"));
        c.BillDetailId->clear(); // no line: the card's totals
        f.cardPanel().showTotals(0);
        QCOMPARE(c.labInfo[CheckInfo::Totals]->text(), QString(" 已检数量：120.3/18.4 匹数：1"));
        f.cardPanel().loadCard("K001", "12");
        QCOMPARE(c.ComboColor->currentIndex(), 1);

        for (const QString card : {"K999", "K060" /* a type not offered */, "K'1"}) {
            fx.lookUp(card);
            QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
            QCOMPARE(MessageBox::lastShown().text + c.machineCount->text() + c.TxtBox[CheckField::Card]->selectedText(),
                     "没有找到这个卡号!0" + card);
        }
        fx.exec("insert into Dictionary(ITEMTYPE,ItemValues,ReportSQL) values('listSQL','LoadCheckSQL',"
                "'select cast(b.billid as varchar) as ID,b.billid,f.itemname as 品种,a.productionColor as 颜色,a.productionsn as productionSN,"
                "a.BillDetailId,a.itemid,a.taxPercent as 送检数量,a.viewcount as 数量,a.productionDateId as 生产单号,b.remark as 单据备注,'''' as 客户,"
                "'''' as 交货日期,f.itemspec as 规格,a.remark as 备注 from BillDetail a join bill b on a.billid=b.billid "
                "left join item f on f.itemid=a.itemid where b.billcode=''?'' and (b.billcode=''?'')')");
        fx.lookUp("K060"); // the stored lookup has no bill type filter
        QCOMPARE(QString::number(c.ComboColor->count()) + u'/' + c.BillDetailId->text(), QString("1/21"));
        fx.lookUp("K001");
        c.autoHuanJuan->setChecked(true);
        closesKeypad(-1, true, "1/0"); // the pad's own 确定: closed, not saved
        closesKeypad(CheckCmd::NewRoll, false, "1/0");
        closesKeypad(CheckCmd::NewRoll, true, "1/0");
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
        QCOMPARE(ini("InputPosition"), QString());
        QCOMPARE(fx.open().controls().TxtBox[CheckField::DyeLot]->geometry(), before);
    }
};

QTEST_MAIN(TestFrmCheck)
#include "TestFrmCheck.moc"
