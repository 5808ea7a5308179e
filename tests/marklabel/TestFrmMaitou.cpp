// The mark-label window and the fiber box window made from it, on a real embedded database. The
// packer's walk through the mark label's wiring (the article, packages saved onto a pallet, the
// pallet's list following another station, stepping, reopening and deleting, the field groups,
// the station's own settings, a restart); the fiber box as `mirel huaxian` opens it: boxes
// weighed onto a pallet with their batch and grade letter, the full pallet's question, the list
// printed and the new pallet. Their counters and scales: TestFrmCheck's walk of the devices. The
// pallet's and the box's rules: TestMaitouPallet.
#include "MaitouFixture.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/Startup.h"
#include "shell/Station.h"
#include "shell/SysUtil.h"
#include "stations/Stations.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "support/ReadBack.h"
#include "widgets/UserControl1.h"
#include "stations/inspection/CheckLayoutPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QLabel>

using namespace Qt::StringLiterals;

const QString FullPallet = u"已经到了指定的箱数了，是否需要打印清单并自动换板号?"_s;

class TestFrmMaitou : public QObject {
    Q_OBJECT

private slots:
    void packerAtThePallet()
    {
        CheckFixture fx("requireTxtbox=1,0;\ngrade=一等,二等,三等,\n");
        fx.exec(u"insert into item(itemid,itemname,itemspec,item2) values(7,'全棉贡缎','60x60','款Z')"_s);
        fx.exec(u"insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('CheckFill','简单检验','5|item2,23|itemspec,'),"
                "('CheckFill','99','3|productionJarNo,5|款号')"_s);
        fx.home().writeFile(u"打印/唛头/订单唛头2.grf"_s, "");
        frmMaitou& f = fx.open<frmMaitou>();
        QVERIFY(showWithParts(f));
        auto* labels = f.findChild<CheckLabelPanel*>();
        labels->setPrintFn([](auto&&...) { return true; });
        auto* list = f.findChild<CheckRollListPanel*>();
        const auto& c = f.controls();
        // The checks in their order: the article, the required fields, then the quantity. F4
        // takes a new pallet and F3 chooses the article, as their buttons.
        save(f, u"0"_s);
        QVERIFY(f.status() == u"请选择商品" && f.focusWidget() == c.TxtBox[CheckField::ItemName]);
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(&f, Qt::Key_F4);
        QTRY_COMPARE(c.TxtBox[CheckField::Pallet]->text(), firstPallet()); // a moment later, as a finger
        chooseItem(f, u"贡缎"_s, true);
        QCOMPARE(c.TxtBox[CheckField::Card]->text() + c.TxtBox[CheckField::ItemName]->text() + c.TxtBox[CheckField::Style]->text(), u"简单检验全棉贡缎款Z"_s);
        QCOMPARE(c.TxtBox[CheckField::ItemName]->cursorPosition(), 0); // a long name read from its start
        save(f, u"0"_s);
        QVERIFY(f.status() == u"工号,没有输入。" && f.focusWidget() == c.TxtBox[CheckField::Worker]);
        c.TxtBox[CheckField::Worker]->setText(u"001"_s);
        // Another station saved the number meanwhile; 打印唛头 saves and keeps its package.
        fx.exec(u"insert into checkinfo(checkcode,bagnumber,billdetailid,machineId) values('001','',0,'002')"_s);
        save(f, u"12.5"_s);
        QCOMPARE(f.status(), u" 新增成功！卷号已改：001 → 002"_s);
        c.autoHuanJuan->setChecked(false);
        c.TxtBox[CheckField::Style]->setText(u"20"_s); // packages per pallet
        save(f, u"30"_s, CheckCmd::PrintMark);
        QCOMPARE(f.status() + c.checkId->text(), u" 新增成功！"_s + fx.scalar(u"select max(id) from checkinfo"_s));
        QCOMPARE(fx.scalar(u"select group_concat(checkcode||'/'||billCode||'/'||itemid||'/'||item9||'/'||bagnumber||'/'||oncount,'|') from checkinfo where machineId='001'"_s),
                 u"002/简单检验/7/60x60/%1/12.5|003/简单检验/7/60x60/%1/30"_s.arg(firstPallet()));
        QCOMPARE(f.palletSummary()->text() + f.ppgCheckGrid2()->textMatrix(1, 7), u"  卷数:2  米数:42.530"_s); // newest first
        f.runCommand(CheckCmd::QueryList); // the roll list's total is its quantity column
        QCOMPARE(list->sumLabel()->text(), u"数量:42.5"_s);

        // Another station packs onto the pallet: back in front the list follows, on the package
        // chosen, but not while the packer types (on the keypad or the keyboard).
        f.ppgCheckGrid2()->setRow(2); // 002
        Connection station2;
        station2.open(u"Provider=SQLite;Data Source="_s + fx.home().file(u"mirel.db"_s));
        const auto other = [&](const QString& sql) {
            station2.execute(sql.arg(firstPallet()));
            QEvent front(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&f, &front);
            return f.palletSummary()->text() + u'|' + f.ppgCheckGrid2()->textMatrix(f.ppgCheckGrid2()->row(), 5);
        };
        const QString putOn = u"insert into checkinfo(checkcode,oncount,bagnumber,machineId) values('%2',4,'%1','001')"_s;
        QCOMPARE(other(putOn.arg(u"%1"_s, u"009"_s)), u"  卷数:3  米数:46.5|002"_s);
        for (PadKey* key : f.layoutPanel().keypad()->findChildren<PadKey*>())
            if (key->tag() == u"7")
                QTest::mouseClick(key, Qt::LeftButton);
        QCOMPARE(other(putOn.arg(u"%1"_s, u"010"_s)), u"  卷数:3  米数:46.5|002"_s);
        QTest::qWait(3100); // a pause
        QCOMPARE(other(u"delete from checkinfo where checkcode in ('009','010')"_s), u"  卷数:2  米数:42.5|002"_s);
        QTest::keyClicks(c.TxtBox[CheckField::GramWeight], u"x"_s);
        QCOMPARE(other(u"update checkinfo set oncount=1 where bagnumber='%1'"_s), u"  卷数:2  米数:42.5|002"_s);

        // 上卷 needs the packages per pallet; the package before has no card to look up; saved again
        // it moves to another pallet.
        c.TxtBox[CheckField::Style]->clear();
        const QString kept = c.checkId->text();
        QTest::mouseClick(c.checkCommand[CheckCmd::PreviousRoll], Qt::LeftButton);
        QVERIFY(asked(u"输入每版的箱数"_s) == 1 && f.focusWidget() == c.TxtBox[CheckField::Style] && c.checkId->text() == kept);
        c.TxtBox[CheckField::Style]->setText(u"20"_s);
        MessageBox::clearShown();
        QTest::mouseClick(c.checkCommand[CheckCmd::PreviousRoll], Qt::LeftButton);
        QCOMPARE(QString::number(MessageBox::shown().size()) + c.TxtBox[CheckField::RollNumber]->text() + c.TxtBox[CheckField::Card]->text()
                     + tagOf(c.TxtBox[CheckField::ItemName]) + tagOf(c.BillDetailId) + c.TxtBox[CheckField::Pallet]->text(),
                 u"0002简单检验77"_s + firstPallet());
        const QString id = c.checkId->text();
        // Saved on its own pallet the list is read again and the packer stays on his package.
        f.ppgCheckGrid2()->setRow(2);
        save(f, u"12.5"_s);
        QCOMPARE(f.status() + QString::number(f.ppgCheckGrid2()->row()) + f.ppgCheckGrid2()->textMatrix(2, 5), u" 修改成功！2002"_s);
        c.TxtBox[CheckField::Pallet]->setText(u"B-8"_s);
        save(f, u"9.5"_s);
        QCOMPARE(f.status() + fx.scalar(u"select bagnumber||'/'||oncount||'/'||itemid from checkinfo where id="_s + id), u" 修改成功！B-8/9.5/7"_s);

        // A new package goes onto the pallet with its time; deleted, it asks twice, the second
        // time by roll number, and leaves a new package on the form, not the one before it.
        QTest::mouseClick(c.checkCommand[CheckCmd::NewRoll], Qt::LeftButton);
        save(f, u"21"_s);
        QCOMPARE(fx.scalar(u"select checkcode||' '||bagnumber||' '||(createDate like '____-__-__ __:__:__') from checkinfo where oncount=21"_s), u"004 B-8 1"_s);
        c.TxtBox[CheckField::Style]->clear(); // a delete needs no packages per pallet
        for (auto answer : {MessageBox::AnswerYes, MessageBox::AnswerCancel, MessageBox::AnswerYes, MessageBox::AnswerOk})
            MessageBox::setNextAnswer(answer);
        QTest::mouseClick(c.checkCommand[CheckCmd::DeleteRoll], Qt::LeftButton);
        QCOMPARE(MessageBox::shown().value(1).text + f.palletSummary()->text(), u"是否要删除卷号[004]的标签  卷数:2  米数:30.5"_s);
        QTest::mouseClick(c.checkCommand[CheckCmd::DeleteRoll], Qt::LeftButton);
        QCOMPARE(c.checkId->text() + f.palletSummary()->text() + QString::number(asked(u"输入每版的箱数"_s)), u"0  卷数:1  米数:9.50"_s);

        // The pallet's field group moves by the numbers typed (a bad part keeps its place; a
        // cancel keeps all) and by a drag, not by a tap.
        QLabel* caption = c.LabBox[CheckLabel::Pallet];
        const QRect button = f.cmdBangbtn()->geometry();
        QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(5, 5));
        for (const auto& answer : {std::optional(u"3000,100,600;3000,760,900;3600,100,420;x,1,1"_s), std::optional<QString>()}) {
            MessageBox::setNextInput(answer);
            QTest::mouseDClick(caption, Qt::LeftButton);
            const QRect moved = designRect(c.TxtBox[CheckField::Pallet]);
            QVERIFY(moved.topLeft() == QPoint(760, 3000) && moved.width() == 900 && f.cmdBangbtn()->geometry() == button);
        }
        const int x = caption->x();
        QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(45, 5));
        QCOMPARE(caption->x(), x + 40);

        // What the station keeps apart from the inspection frame: its numbering scopes, its wide
        // defect frame, its label and where its choice and its layout are kept.
        QCOMPARE(f.settingsPanel()->comboBoxes().first()->currentText(), u"检验单缸号"_s);
        f.layoutPanel().Frame5_Click();
        QCOMPARE(designRect(c.Frame5), QRect(270, 4080, 14400, 5310));
        QCOMPARE(labels->rollTemplate(), u"订单唛头2"_s);
        labels->chooseTemplate(u"大标"_s);
        const QString app = ProgramFolder::executableName();
        QCOMPARE(SysUtil::getSetting(app, u"PrintTemplate"_s, u"checkMaitou"_s, u"-"_s) + SysUtil::getSetting(app, u"PrintTemplate"_s, u"check"_s, u"-"_s), u"大标-"_s);
        f.layoutPanel().btnSavePosi_Click(0);
        const QString layout = SysUtil::readIni(u"MIREL"_s, u"InputPosition-maitou"_s, QString(), u"/mirel.ini"_s);
        QVERIFY(layout.contains(u"TxtBox^28="_s) && layout.contains(u"cmdBangbtn="_s));
        QCOMPARE(SysUtil::readIni(u"MIREL"_s, u"InputPosition"_s, u"-"_s, u"/mirel.ini"_s), u"-"_s);

        // Not saved when the window goes: a restart goes on with the latest pallet and the package.
        c.TxtBox[CheckField::Weight]->setText(u"12.5"_s);
        c.TxtBox[CheckField::Factor]->setText(u"2"_s); // after the weight
        const auto work = [](const CheckControls& w) {
            return w.TxtBox[CheckField::ItemName]->text() + u'/' + w.TxtBox[CheckField::Quantity]->text() + u'/' + tagOf(w.TxtBox[CheckField::ItemName]);
        };
        const QString typed = work(c);
        QCoreApplication::processEvents();
        f.hide(); // gone without its close, as at a power cut
        frmMaitou& again = fx.open<frmMaitou>();
        QVERIFY(showWithParts(again));
        const auto& k = again.controls();
        QCOMPARE(k.TxtBox[CheckField::Pallet]->text() + k.TxtBox[CheckField::Style]->text(), firstPallet() + u"20"_s); // of 003
        QVERIFY(again.findChild<MaitouDraftPanel*>()->restore());
        QCOMPARE(again.status().left(10) + work(k), u"已恢复上次没有保存的"_s + typed);
        // A card's presets leave the packages per pallet as typed; a typed dye lot keeps the
        // number; a grade keeps the batch.
        k.TxtBox[CheckField::Style]->setText(u"20"_s);
        fx.lookUp(u"K001"_s);
        const QString number = k.TxtBox[CheckField::RollNumber]->text();
        QCOMPARE(k.TxtBox[CheckField::DyeLot]->text() + k.TxtBox[CheckField::Style]->text(), u"J120"_s);
        k.TxtBox[CheckField::DyeLot]->setFocus();
        QTest::keyClicks(k.TxtBox[CheckField::DyeLot], u"9"_s);
        QTest::mouseClick(k.gradeBtn[1], Qt::LeftButton);
        QCOMPARE(k.TxtBox[CheckField::RollNumber]->text() + k.TxtBox[CheckField::DyeLot]->text(), number + u"J19"_s);
        // While the database is away the article is chosen again from what was kept.
        Database::conn().close();
        chooseItem(again, u"贡缎"_s);
        QCOMPARE(k.TxtBox[CheckField::Card]->text() + k.TxtBox[CheckField::ItemName]->text() + k.TxtBox[CheckField::Style]->text(), u"简单检验全棉贡缎款Z"_s);
    }

    // 18 boxes stand on the pallet (or 20: full when the station starts); the box that fills it
    // asks for the pallet's list and a new pallet, taken only once the list has printed;
    // otherwise the next box asks again.
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
        QCOMPARE(QFile::exists(pdf) ? ReadBack::pdfPages(pdf).size() : 0, yes && printer ? 20 : 0); // a page a box
        const QString pallet = yes && printer ? firstPallet() : u"P-7"_s;
        QCOMPARE(c.TxtBox[CheckField::Pallet]->text(), pallet);
        MessageBox::setNextAnswer(MessageBox::AnswerNo);
        save(*f, u"19.8"_s); // the 21st box: a new pallet, or the question again
        QCOMPARE(asked(FullPallet), yes && printer ? 1 : 2);
        QCOMPARE(fx.scalar(u"select bagnumber from checkinfo where id=(select max(id) from checkinfo)"_s), pallet);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='P-7'"_s), yes && printer ? u"20"_s : u"21"_s);
    }
};

QTEST_MAIN(TestFrmMaitou)
#include "TestFrmMaitou.moc"
