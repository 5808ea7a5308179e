// The inspection window's card lookup, validation, settings panel and layout.
#include "CheckFixture.h"

#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckLabelPanel.h"
#include "stations/Stations.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "widgets/UserControl1.h"
#include "widgets/CaptionFrame.h"
#include "widgets/fProcessBar.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckLayoutPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestFrmCheck : public QObject {
    Q_OBJECT

    static QString ini(const QString& key)
    {
        return SysUtil::readIni("MIREL", key, "<none>", "/mirel.ini");
    }

private slots:
    // A keyboard scanner set to end with Tab looks the card up as Enter does.
    void tabEndsAKeyboardScan()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        QTest::keyClicks(f.controls().TxtBox[CheckField::Card], "K001");
        QTest::keyClick(f.controls().TxtBox[CheckField::Card], Qt::Key_Tab);
        QCOMPARE(tagOf(f.controls().TxtBox[CheckField::Card]), QString("1"));
    }

    void cardWithThreeLines()
    {
        CheckFixture fx;
        fx.exec("insert into DBInfo(InfoCode,InfoValue) values('label_item_pibu_mishu','米数')");
        frmCheck& f = fx.open();
        auto& c = f.controls();
        QCOMPARE(c.LabBox[CheckLabel::Quantity]->text(), QString("米数")); // the mill's own caption
        QCOMPARE(c.TxtBox[CheckField::Quantity]->accessibleName(), QString("米数"));
        c.TxtBox[CheckField::Card]->setText("K001\r\n"); // a scanner's line end
        f.runCommand(CheckCmd::FindCard);
        QCOMPARE(c.TxtBox[CheckField::Card]->text(), QString("K001"));
        QCOMPARE(c.ComboColor->count(), 3);
        QCOMPARE(c.ComboColor->itemText(2), QString("涤棉府绸-大红-03"));
        QCOMPARE(c.ComboColor->currentIndex(), 0);
        QCOMPARE(tagOf(c.BillDetailId) + tagOf(c.TxtBox[CheckField::Card]) + tagOf(c.machineCount), QString("11P-88"));
        QCOMPARE(c.machineCount->text() + u'/' + c.machineCount->toolTip(), QString("900/1000"));
        QCOMPARE(c.frameMishu->title(), QString("加急，注意色差，成品要求幅宽150cm以上，卷装不得折痕").left(30));
        QCOMPARE(c.checkSpec->cursorPosition(), 0); // the remark shows from its start
        QCOMPARE(c.labInfo[CheckInfo::Customer]->text(), QString("客户：杭州锦华服饰  订单号：P-88  交期：2026-12-20"));
        QCOMPARE(c.labInfo[CheckInfo::Totals]->text(), QString(" 送检数量：900 已检A品数量：0/1000 匹数：0"));
        QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), QString("001"));
        QCOMPARE(offlineStatusLine(&f), c.LabBox[CheckLabel::Status]);
        f.cardPanel().loadCard("K001", "12"); // a line without quantities shows 0
        QCOMPARE(c.machineCount->text(), QString("0"));
        QCOMPARE(c.ComboColor->currentIndex(), 1);
    }

    void unknownCardOrType_data()
    {
        QTest::addColumn<QString>("card");
        QTest::newRow("not there") << "K999";
        QTest::newRow("type not offered") << "K060";
        QTest::newRow("quote in the card") << "K'1";
    }
    void unknownCardOrType()
    {
        QFETCH(QString, card);
        CheckFixture fx;
        frmCheck& f = fx.open();
        f.controls().TxtBox[CheckField::Card]->setText(card);
        f.runCommand(CheckCmd::FindCard);
        QCOMPARE(MessageBox::lastShown().text, QString("没有找到这个卡号!"));
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        QCOMPARE(f.controls().machineCount->text(), QString("0"));
        QCOMPARE(f.controls().TxtBox[CheckField::Card]->selectedText(), card);
    }

    void storedLookupGetsCardTwice()
    {
        CheckFixture fx;
        fx.exec("insert into Dictionary(ITEMTYPE,ItemValues,ReportSQL) values('listSQL','LoadCheckSQL',"
                "'select cast(b.billid as varchar) as ID,b.billid,f.itemname as 品种,a.productionColor as 颜色,a.productionsn as productionSN,"
                "a.BillDetailId,a.itemid,a.taxPercent as 送检数量,a.viewcount as 数量,a.productionDateId as 生产单号,b.remark as 单据备注,'''' as 客户,"
                "'''' as 交货日期,f.itemspec as 规格,a.remark as 备注 from BillDetail a join bill b on a.billid=b.billid "
                "left join item f on f.itemid=a.itemid where b.billcode=''?'' and (b.billcode=''?'')')");
        frmCheck& f = fx.open();
        f.controls().TxtBox[CheckField::Card]->setText("K060"); // the stored lookup has no bill type filter
        f.runCommand(CheckCmd::FindCard);
        QCOMPARE(f.controls().ComboColor->count(), 1);
        QCOMPARE(f.controls().BillDetailId->text(), QString("21"));
    }

    void presetFieldsFromCard()
    {
        CheckFixture fx;
        fx.exec("insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('CheckFill','99','3|productionJarNo,5|款号,99|nothing,4')");
        frmCheck& f = fx.open();
        f.cardPanel().loadCard("K001", "13");
        QCOMPARE(f.controls().TxtBox[CheckField::DyeLot]->text(), QString("J3"));
        QCOMPARE(f.controls().TxtBox[CheckField::Style]->text(), QString("款C"));
    }

    void totalsAfterASave()
    {
        CheckFixture fx;
        fx.exec("insert into checkinfo(billCode,billdetailId,checkCode,onCount,cutcount,grade) values('K001',11,'001',120.3,18.4,'A品')");
        frmCheck& f = fx.open();
        fx.lookUp("K001");
        QCOMPARE(f.controls().labInfo[CheckInfo::Totals]->text(), QString(" 送检数量：900 已检A品数量：120.3/879.7 匹数：1"));
        f.controls().BillDetailId->clear();
        f.cardPanel().showTotals(0);
        QCOMPARE(f.controls().labInfo[CheckInfo::Totals]->text(), QString(" 已检数量：120.3/18.4 匹数：1"));
    }

    void processHistoryOnTheBar()
    {
        CheckFixture fx;
        fx.exec("insert into BillStatusDetail(billdetailid,viewcount,billstatus,usercode) values(11,200,'22','007')");
        fx.exec("insert into BillStatusDetail(billdetailid,viewcount,billstatus,usercode) values(11,350,'5','')");
        fx.exec("insert into BillStatusDetail(billdetailid,viewcount,billstatus,usercode) values(11,-150,'33','008')");
        frmCheck& f = fx.open();
        f.enterMesMode();
        fx.lookUp("K001");
        auto* bar = f.controls().fProcessBar1;
        QCOMPARE(bar->maximum(), 900);
        QCOMPARE(bar->bugCount(), 1);
        QCOMPARE(bar->bug(0).position, 350);
        QCOMPARE(bar->segmentCount(), 2);
        QCOMPARE(ini("工号"), QString("008,007,"));
    }

    void settingsPanelWritesKeys()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        auto* panel = f.settingsPanel();
        QVERIFY(panel->checkAccessCode("5862"));
        QVERIFY(panel->isVisibleTo(&f));
        for (QCheckBox* box : panel->requiredBoxes())
            if (box)
                box->setChecked(box->toolTip() == "10,7" || box->toolTip() == "11,gradeBtn");
        panel->textBoxes()[0]->setText("0000");
        panel->comboBoxes()[1]->setCurrentText("国标10分制");
        panel->checkBoxes()[4]->setChecked(true);
        panel->save();
        QCOMPARE(ini("requireTxtbox"), QString("11,gradeBtn;10,7;"));
        QCOMPARE(ini("codeLen"), QString("0000"));
        QCOMPARE(ini("USASTANDARD"), QString("国标10分制"));
        QCOMPARE(ini("RelationBill"), QString("1"));
        QCOMPARE(ini("dingma"), QString("1"));
        QVERIFY(!panel->isVisibleTo(&f));
        // Read back by a new window.
        CheckSettingsPanel* again = fx.open().settingsPanel();
        QVERIFY(again->requiredBoxes()[17]->isChecked());
        QVERIFY(!again->requiredBoxes()[1]->isChecked());
    }

    void wrongAccessCode()
    {
        CheckFixture fx;
        fx.exec("insert into DBInfo(InfoCode,InfoValue) values('checkpassword','1234')");
        frmCheck& f = fx.open();
        auto* panel = f.settingsPanel();
        f.controls().Check1->setChecked(true);
        QVERIFY(!panel->checkAccessCode("5862"));
        QCOMPARE(MessageBox::lastShown().text, QString("密码错了,请重新输入"));
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
        QVERIFY(!f.controls().Check1->isChecked());
        QVERIFY(!panel->isVisibleTo(&f));
        QVERIFY(panel->checkAccessCode("1234"));
    }

    void layoutSaveAndDefault()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        auto& c = f.controls();
        const QRect before = c.TxtBox[CheckField::DyeLot]->geometry();
        c.LabBox[CheckLabel::DyeLot]->move(400, 300);
        c.TxtBox[CheckField::DyeLot]->move(460, 300);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        f.layoutPanel().btnSavePosi_Click(0);
        QCOMPARE(MessageBox::lastShown().text, QString("保存成功，请重新打开！"));
        QVERIFY(ini("InputPosition").contains("TxtBox^3="));
        frmCheck& reopened = fx.open();
        QCOMPARE(reopened.controls().TxtBox[CheckField::DyeLot]->geometry().topLeft(), QPoint(460, 300));
        reopened.layoutPanel().btnSavePosi_Click(1);
        QCOMPARE(MessageBox::lastShown().text, QString("恢复默认成功，请重新打开！"));
        QCOMPARE(ini("InputPosition"), QString());
        QCOMPARE(fx.open().controls().TxtBox[CheckField::DyeLot]->geometry(), before);
    }

    // The keypad opened on the quantity is closed by every command the inspector ends a roll
    // with, whether the command succeeds or is refused; a new roll with the counter on puts the
    // caret back into the quantity, which must not bring the keypad back over the form.
    void commandsCloseTheKeypad_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("card");
        QTest::addColumn<bool>("counter");
        QTest::addColumn<int>("rolls");
        QTest::newRow("the pad's own 确定: closed, not saved") << -1 << true << true << 0;
        QTest::newRow("换卷") << int(CheckCmd::NewRoll) << true << false << 0;
        QTest::newRow("换卷 with the counter on") << int(CheckCmd::NewRoll) << true << true << 0;
        QTest::newRow("保存") << int(CheckCmd::Save) << true << true << 1;
        QTest::newRow("保存 refused without a card") << int(CheckCmd::Save) << false << false << 0;
        QTest::newRow("打印标签") << int(CheckCmd::PrintLabel) << true << false << 1;
        QTest::newRow("打印标签 refused without a card") << int(CheckCmd::PrintLabel) << false << false << 0;
    }
    void commandsCloseTheKeypad()
    {
        QFETCH(int, command);
        QFETCH(bool, card);
        QFETCH(bool, counter);
        CheckFixture fx;
        fx.home().writeFile("打印/唛头/唛头.grf", "[report]\npage = 60 x 40\n");
        frmCheck& f = fx.open();
        CheckLabelPanel labels(&f);
        int printed = 0;
        labels.setPrintFn([&](const QString&, qint64, bool, int) { ++printed; });
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.activateWindow();
        auto& c = f.controls();
        if (card)
            fx.lookUp("K001");
        c.Check2->setChecked(counter); // no port: only the caret rule of a new roll
        c.TxtBox[CheckField::Quantity]->setText("86.5");
        QTest::mouseClick(c.numKeybtn[2], Qt::LeftButton); // the quantity's keypad
        QVERIFY(f.layoutPanel().keypad()->isVisible());
        QCOMPARE(f.layoutPanel().keypad()->GetTextBox(), c.TxtBox[CheckField::Quantity]);
        QTest::mouseClick(command < 0 ? f.layoutPanel().keypad()->keys().at(11) : c.checkCommand[command],
                          Qt::LeftButton);
        QVERIFY(!f.layoutPanel().keypad()->isVisible());
        QTEST(fx.scalar("select count(*) from checkinfo").toInt(), "rolls");
        QFETCH(int, rolls);
        QCOMPARE(printed, command == CheckCmd::PrintLabel ? rolls : 0);
        if (!card)
            QVERIFY(c.checkCommand[command]->isEnabled()); // a refused command stays offered
    }

    void commandsFollowSettings()
    {
        CheckFixture fx("DelCheck=0\nNextLabel=0\n");
        frmCheck& f = fx.open();
        QVERIFY(!f.controls().checkCommand[CheckCmd::DeleteRoll]->isEnabled());
        QVERIFY(!f.controls().checkCommand[CheckCmd::PreviousRoll]->isEnabled());
        QVERIFY(!f.controls().checkCommand[CheckCmd::NextRoll]->isEnabled());
        QVERIFY(f.controls().checkCommand[CheckCmd::Save]->isEnabled());
    }
};

QTEST_MAIN(TestFrmCheck)
#include "TestFrmCheck.moc"
