// The mark-label and fiber-box stations on a real embedded database: packages of a chosen or an
// automatic article, the pallet and its list, the checks before a save, a save the database
// refuses, the numbering scopes, deleting, the field groups and what each station keeps apart;
// and the counter over a real pty (mirel-devsim), which the package quantity follows.
#include "../devices/DevSim.h"
#include "MaitouFixture.h"

#include "config/ProgramFolder.h"
#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckSettingsPanel.h"
#include "widgets/UserControl1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSet>

using namespace Qt::StringLiterals;

class TestFrmMaitou : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        MessageBox::clearShown();
        MessageBox::clearAnswers();
    }

    // A chosen article without a card, on a new pallet: saved, listed, totalled, reopened,
    // updated, and the pallet found again after a restart.
    void packagesOfAChosenArticle()
    {
        CheckFixture fx;
        fx.exec(u"insert into item(itemid,itemname,itemspec,item2) values(7,'全棉贡缎','60x60','款Z')"_s);
        fx.exec(u"insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('CheckFill','简单检验','5|item2,23|itemspec,')"_s);
        frmMaitou& f = openMaitou(fx);
        auto* list = new CheckRollListPanel(&f);
        const auto& c = f.controls();
        chooseItem(f, u"贡缎"_s);
        QCOMPARE(c.TxtBox[CheckField::Card]->text() + c.TxtBox[CheckField::ItemName]->text() + c.TxtBox[CheckField::Style]->text(), u"简单检验全棉贡缎款Z"_s);
        c.TxtBox[CheckField::Pallet]->setText(u"P-OLD"_s);
        save(f, u"7"_s); // another pallet, not listed below
        QTest::mouseClick(f.cmdBangbtn(), Qt::LeftButton);
        save(f, u"12.5"_s);
        save(f, u"30"_s);
        QCOMPARE(fx.scalar(u"select group_concat(billCode||'/'||itemid||'/'||item9||'/'||bagnumber||'/'||oncount,'|') from checkinfo"_s),
                 u"简单检验/7/60x60/P-OLD/7|简单检验/7/60x60/%1/12.5|简单检验/7/60x60/%1/30"_s.arg(firstPallet()));
        QCOMPARE(f.palletSummary()->text(), u"  卷数:2  米数:42.5"_s);
        QCOMPARE(f.ppgCheckGrid2()->textMatrix(1, 7), u"30"_s); // 净重, newest first
        f.runCommand(CheckCmd::QueryList); // the roll list's total is its quantity column, not the grade beside it
        QCOMPARE(list->sumLabel()->text(), u"数量:49.5"_s);
        const QString id = fx.scalar(u"select max(id) from checkinfo"_s);
        f.clearForm();
        f.loadRoll(id.toLongLong()); // a package without a card: no card to look up
        QCOMPARE(MessageBox::shown().size(), 0);
        QCOMPARE(c.TxtBox[CheckField::Card]->text() + tagOf(c.TxtBox[CheckField::ItemName]) + tagOf(c.BillDetailId) + c.TxtBox[CheckField::Pallet]->text(),
                 u"简单检验77"_s + firstPallet());
        c.TxtBox[CheckField::Pallet]->setText(u"B-8"_s);
        c.autoHuanJuan->setChecked(false);
        save(f, u"9.5"_s);
        QCOMPARE(f.status(), u" 修改成功！"_s);
        QCOMPARE(fx.scalar(u"select bagnumber||'/'||oncount||'/'||itemid from checkinfo where id="_s + id), u"B-8/9.5/7"_s);
        // After a restart the station goes on with its latest pallet; another station's
        // packages on it are not its list.
        frmMaitou& again = openMaitou(fx);
        QCOMPARE(again.controls().TxtBox[CheckField::Pallet]->text(), u"B-8"_s);
        QCOMPARE(again.ppgCheckGrid2()->rows(), 2);
        fx.setIni(u"menchineId"_s, u"002"_s);
        again.loadPalletList();
        QCOMPARE(again.ppgCheckGrid2()->rows(), 1);
        // While the database is away the article chosen here is chosen again from what was kept.
        Database::conn().close();
        chooseItem(again, u"贡缎"_s);
        const auto& k = again.controls();
        QCOMPARE(k.TxtBox[CheckField::Card]->text() + k.TxtBox[CheckField::ItemName]->text() + k.TxtBox[CheckField::Style]->text(), u"简单检验全棉贡缎款Z"_s);
    }

    // The checks before a save, in their order: article, required fields, quantity; after a
    // restart (the window gone without its close) what was not saved comes back, nothing saved.
    void checksBeforeASave_data()
    {
        QTest::addColumn<bool>("fiberBox");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("focus"); // -1: saved, -2: not saved, focus anywhere
        QTest::addColumn<int>("command"); // 保存 with 自动换卷, 打印唛头 keeping it, 0: 系数 after the weight,
        // -1: saved as the panel went, before it could be forgotten; -2: 保存 once another station saved 001
        const QByteArray none, worker("requireTxtbox=1,0;\n"), autoItem("itemAutoSave=1\n");
        QTest::newRow("no article") << false << none << false << "10" << "请选择商品" << int(CheckField::ItemName) << int(CheckCmd::Save);
        QTest::newRow("worker before quantity") << false << worker << true << "0" << "工号,没有输入。" << int(CheckField::Worker) << int(CheckCmd::Save);
        QTest::newRow("automatic article") << false << autoItem << false << "10" << "新" << -1 << int(CheckCmd::Save);
        QTest::newRow("mark printed, package kept") << false << none << true << "10" << " 新增成功！" << -1 << int(CheckCmd::PrintMark);
        QTest::newRow("系数 typed after the weight") << false << none << true << "2" << "" << -2 << 0;
        QTest::newRow("box: comma slip") << true << none << true << "12,5" << "请输入有效的数量" << int(CheckField::Quantity) << int(CheckCmd::Save);
        QTest::newRow("box: good") << true << none << true << "12.5" << "新" << -1 << int(CheckCmd::Save);
        QTest::newRow("saved as the panel went") << false << none << true << "10" << "新" << -1 << -1;
        QTest::newRow("number taken meanwhile") << false << none << true << "10" << " 新增成功！卷号已改：001 → 002" << -1 << -2;
    }
    void checksBeforeASave()
    {
        QFETCH(bool, fiberBox);
        QFETCH(QByteArray, ini);
        QFETCH(bool, choose);
        QFETCH(QString, quantity);
        QFETCH(int, focus);
        QFETCH(int, command);
        CheckFixture fx(ini);
        fx.home().writeFile(u"打印/唛头/订单唛头2.grf"_s, "");
        frmMaitou& f = openMaitou(fx, fiberBox);
        QVERIFY(showWithParts(f));
        f.findChild<CheckLabelPanel*>()->setPrintFn([](auto&&...) { return true; });
        if (choose)
            chooseItem(f, u"府绸"_s);
        const auto& c = f.controls();
        c.TxtBox[CheckField::ItemName]->setText(u"涤纶长丝"_s);
        c.autoHuanJuan->setChecked(command == CheckCmd::Save || command == -2);
        if (command < 0) // this station's package, or another station's, reached the database
            fx.exec(u"insert into checkinfo(checkcode,bagnumber,billdetailid,machineId) values('%1','',0,'%2')"_s.arg(c.TxtBox[CheckField::RollNumber]->text(), command == -1 ? u"001"_s : u"002"_s));
        if (command == 0) { // the scale weighs, the formula's coefficient is typed after it
            c.TxtBox[CheckField::Weight]->setText(u"12.5"_s);
            c.TxtBox[CheckField::Factor]->setText(quantity);
        } else if (command == -1)
            c.TxtBox[CheckField::Quantity]->setText(quantity);
        else
            save(f, quantity, command == -2 ? int(CheckCmd::Save) : command);
        QTEST(f.status(), "status");
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where machineId='001'"_s), focus == -1 ? u"1"_s : u"0"_s);
        if (focus >= 0)
            QCOMPARE(f.focusWidget(), c.TxtBox[focus]);
        if (fiberBox)
            QCOMPARE(fx.scalar(u"select count(*) from item"_s), u"1"_s); // no article made here
        const auto work = [](frmCheck& w) { return w.controls().TxtBox[CheckField::ItemName]->text() + u'/' + w.controls().TxtBox[CheckField::Quantity]->text() + u'/' + tagOf(w.controls().TxtBox[CheckField::ItemName]); };
        const QString typed = work(f);
        QCoreApplication::processEvents(); // what is kept at once, as the panel's next moment
        frmMaitou& again = openMaitou(fx, fiberBox);
        QVERIFY(showWithParts(again));
        QCOMPARE(again.findChild<MaitouDraftPanel*>()->restore(), focus != -1);
        if (focus != -1) // the article and what was typed, said on the status line
            QCOMPARE(again.status().left(10) + work(again), u"已恢复上次没有保存的"_s + typed);
    }

    // Each package names the article of the name, spare B and colour on the form when it is
    // saved, made once; numbered per article.
    void automaticArticleOfTheForm_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("saved");
        QTest::newRow("same name twice") << QStringList{"O'Neil 弹力布", "O'Neil 弹力布"} << "O'Neil 弹力布:001|O'Neil 弹力布:002";
        QTest::newRow("renamed and back") << QStringList{"AAA", "BBB", "AAA"} << "AAA:001|BBB:001|AAA:002";
    }
    void automaticArticleOfTheForm()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, saved);
        CheckFixture fx("itemAutoSave=1\ncodetype=面料编码\n");
        fx.exec(u"insert into itemtype(itemtypeId,itemtypeName) values(3,'成品')"_s);
        frmMaitou& f = openMaitou(fx);
        const auto& c = f.controls();
        c.TxtBox[CheckField::SpareB]->setText(u"S捻"_s);
        c.TxtBox[CheckField::Color]->setText(u"藏青"_s);
        for (const QString& name : names) {
            c.TxtBox[CheckField::ItemName]->setText(name);
            save(f, u"10"_s);
        }
        QCOMPARE(fx.scalar(u"select group_concat(n,'|') from (select i.itemname||':'||a.checkcode as n"
                           " from checkinfo a join item i on i.itemid=a.itemid order by a.id)"_s), saved);
        QCOMPARE(fx.scalar(u"select count(*)||':'||group_concat(distinct itemcode||'/'||itemtypeid||'/'||item5||'/'||item6) from item where itemid>1"_s),
                 u"%1:0001/3/S捻/藏青"_s.arg(QSet<QString>(names.begin(), names.end()).size()));
    }

    // A table is away (the office rebuilds it) while the save runs: nothing of the save stays,
    // nothing typed is lost, and the next save writes it whole, once.
    void refusedSaveLeavesNothingHalfWritten_data()
    {
        QTest::addColumn<bool>("fiberBox");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("saved"); // batch / defects / automatic articles
        QTest::newRow("package refused after its article") << false << "checkinfo" << "2405/1/1";
        QTest::newRow("defect refused after the package") << false << "checkDetail" << "2405/1/1";
        QTest::newRow("box: batch put together once") << true << "checkDetail" << "2405-3/1/0";
    }
    void refusedSaveLeavesNothingHalfWritten()
    {
        QFETCH(bool, fiberBox);
        QFETCH(QString, table);
        CheckFixture fx("itemAutoSave=1\n批次号构成=[缸号]-[备A]\n");
        frmMaitou& f = openMaitou(fx, fiberBox);
        const auto& c = f.controls();
        f.loadItem(u"1"_s);
        for (const auto& [field, text] : {std::pair{CheckField::ItemName, "新布"}, {CheckField::DyeLot, "2405"}, {CheckField::SpareA, "3"}})
            c.TxtBox[field]->setText(QString::fromUtf8(text));
        f.appendDefectRow({QString(), u"毛丝"_s, u"1"_s, u"1"_s, u"0"_s, u"001"_s, QString()});
        fx.exec(u"alter table %1 rename to away"_s.arg(table));
        save(f, u"18.2"_s);
        QVERIFY(MessageBox::lastShown().icon == MessageBox::Critical && MessageBox::lastShown().text.contains(table, Qt::CaseInsensitive));
        fx.exec(u"alter table away rename to %1"_s.arg(table));
        const QString written = u"select ifnull((select group_concat(taskno) from checkinfo),'')||'/'||"
                                "(select count(*) from checkDetail)||'/'||(select count(*) from item where itemname='新布')"_s;
        QCOMPARE(fx.scalar(written), u"/0/0"_s);
        QCOMPARE(c.TxtBox[CheckField::Quantity]->text(), u"18.2"_s);
        save(f, u"18.2"_s);
        QTEST(fx.scalar(written), "saved");
    }

    void numberingScopes_data()
    {
        QTest::addColumn<QString>("codetype");
        QTest::addColumn<QString>("next");
        // Two packages of article 1 on line 11, one of article 1 without a card line.
        QTest::newRow("per card line (default)") << "" << "003";
        QTest::newRow("per article") << "面料编码" << "004";
        QTest::newRow("dye lot is per card line here") << "缸号" << "003";
    }
    void numberingScopes()
    {
        QFETCH(QString, codetype);
        QFETCH(QString, next);
        CheckFixture fx("codetype=" + codetype.toUtf8() + "\n");
        fx.exec(u"insert into checkinfo(billcode,billdetailid,itemid,checkcode,taskno) values"
                "('K001',11,1,'001','J1'),('K001',11,1,'002','J1'),('简单检验',0,1,'003','J9')"_s);
        fx.exec(u"insert into Dictionary(ITEMTYPE,ItemValues,ItemName) values('CheckFill','99','3|productionJarNo,5|款号')"_s);
        frmMaitou& f = openMaitou(fx);
        const auto& c = f.controls();
        c.TxtBox[CheckField::Style]->setText(u"20"_s);
        fx.lookUp(u"K001"_s); // proposes the package's number for the card line
        f.loadItem(u"1"_s);   // the article scope needs the article
        // The card's presets, shared with the inspection frames, fill the dye lot but leave the
        // packages per pallet (the style number at a frame) as typed.
        QCOMPARE(c.TxtBox[CheckField::RollNumber]->text() + c.TxtBox[CheckField::DyeLot]->text() + c.TxtBox[CheckField::Style]->text(), next + u"J120"_s);
        c.TxtBox[CheckField::DyeLot]->setFocus();
        QTest::keyClicks(c.TxtBox[CheckField::DyeLot], u"J9"_s); // a typed dye lot does not renumber the package
        QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), next);
        // Another article without packages starts its own numbers (per card line: the line's).
        fx.exec(u"insert into item(itemid,itemname) values(2,'全棉贡缎')"_s);
        f.loadItem(u"2"_s);
        save(f, u"10"_s);
        QCOMPARE(fx.scalar(u"select checkcode from checkinfo where itemid=2"_s), codetype == u"面料编码" ? u"001"_s : next);
    }

    // Deleting the package on screen asks twice; the second question names its roll number
    // (the inspection frame's names the roll's id). A deleted package leaves the pallet list.
    void deleteAsksByRollNumber()
    {
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        new CheckRollListPanel(&f);
        fx.lookUp(u"K001"_s);
        setTag(f.controls().TxtBox[CheckField::ItemName], u"1"_s);
        f.controls().autoHuanJuan->setChecked(false);
        save(f, u"5"_s);
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerCancel);
        QTest::mouseClick(f.controls().checkCommand[CheckCmd::DeleteRoll], Qt::LeftButton);
        QCOMPARE(MessageBox::shown().value(1).text, u"是否要删除卷号[001]的标签"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s) + f.palletSummary()->text(), u"1  卷数:1  米数:5"_s);
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        QTest::mouseClick(f.controls().checkCommand[CheckCmd::DeleteRoll], Qt::LeftButton);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s) + f.palletSummary()->text(), u"0  卷数:0  米数:0"_s);
    }

    // Two stations pack onto one pallet: back in front (as at its quiet tick) the list follows
    // what the other one put on or took off, on the package chosen; it waits while one types.
    void palletFollowsTheOtherStation_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("typed"); // on the keyboard, or a key of the keypad
        QTest::addColumn<QString>("expected"); // the summary | the chosen row's 箱号
        const QString putOn = u"insert into checkinfo(checkcode,oncount,bagnumber,machineId) values('009',4,'P1','001')"_s;
        QTest::newRow("package put on") << putOn << "" << u"  卷数:4  米数:65.5|002"_s;
        QTest::newRow("package taken off") << u"delete from checkinfo where checkcode='003'"_s << "" << u"  卷数:2  米数:41|002"_s;
        QTest::newRow("packer typing") << putOn << "x" << u"  卷数:3  米数:61.5|002"_s;
        QTest::newRow("packer on the keypad") << putOn << "keypad 7" << u"  卷数:3  米数:61.5|002"_s;
    }
    void palletFollowsTheOtherStation()
    {
        QFETCH(QString, other);
        QFETCH(QString, typed);
        CheckFixture fx;
        stackBoxes(fx, u"P1"_s, 3);
        frmMaitou& f = openMaitou(fx);
        f.show();
        f.ppgCheckGrid2()->setRow(2); // 003, 002, 001: newest first
        for (PadKey* key : f.keypad()->findChildren<PadKey*>())
            if (u"keypad "_s + key->tag() == typed)
                QTest::mouseClick(key, Qt::LeftButton);
        QTest::keyClicks(f.controls().TxtBox[CheckField::GramWeight], typed.startsWith(u"keypad"_s) ? QString() : typed);
        Connection station2;
        station2.open(u"Provider=SQLite;Data Source="_s + fx.home().file(u"mirel.db"_s));
        station2.execute(other);
        QEvent front(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&f, &front);
        QTEST(f.palletSummary()->text() + u'|' + f.ppgCheckGrid2()->textMatrix(f.ppgCheckGrid2()->row(), 5), "expected");
    }

    // 上卷 and 下卷 step through a pallet's packages, counted by the packages per pallet: they ask
    // for the count. 换卷 and a delete (on screen, or from the roll list) leave a new package on
    // the form, whose 保存 adds one with its time and overwrites none.
    void packagesPerPalletGuard_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("perPallet");
        QTest::addColumn<int>("shown"); // the package on screen after the command: 0 new, 1, 2
        QTest::newRow("new package, empty") << int(CheckCmd::NewRoll) << "" << 0;
        QTest::newRow("new package, text") << int(CheckCmd::NewRoll) << "箱" << 0;
        QTest::newRow("previous, empty") << int(CheckCmd::PreviousRoll) << "" << 2;
        QTest::newRow("next, text") << int(CheckCmd::NextRoll) << "箱" << 2;
        QTest::newRow("previous, 20 a pallet") << int(CheckCmd::PreviousRoll) << "20" << 1;
        QTest::newRow("delete, empty") << int(CheckCmd::DeleteRoll) << "" << 0;
        QTest::newRow("delete listed") << int(CheckCmd::DeleteListed) << "20" << 0;
    }
    void packagesPerPalletGuard()
    {
        QFETCH(int, command);
        QFETCH(QString, perPallet);
        QFETCH(int, shown);
        CheckFixture fx;
        stackBoxes(fx, u"P-7"_s, 2);
        fx.exec(u"insert into checkinfo(checkcode,machineId,bagnumber,bagTime,createDate) values"
                "('010','001','261205001','2026-12-05 11:02','2026-12-05')"_s); // a packing box
        frmMaitou& f = openMaitou(fx);
        auto* list = new CheckRollListPanel(&f);
        f.show();
        const auto& c = f.controls();
        QCOMPARE(c.TxtBox[CheckField::Pallet]->text() + c.TxtBox[CheckField::Style]->text(), u"P-720"_s); // its pallet, not the box
        f.loadRoll(command == CheckCmd::DeleteListed ? 1 : 2);
        c.TxtBox[CheckField::Style]->setText(perPallet);
        if (command == CheckCmd::DeleteListed) {
            f.runCommand(CheckCmd::QueryList);
            list->grid()->setRow(1); // package 002, newest first
        }
        QTest::mouseClick(c.checkCommand[command], Qt::LeftButton);
        QCOMPARE(c.checkId->text(), QString::number(shown));
        const bool deleted = command == CheckCmd::DeleteRoll || command == CheckCmd::DeleteListed;
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagTime is null"_s), deleted ? u"1"_s : u"2"_s);
        QCOMPARE(MessageBox::lastShown().text == u"输入每版的箱数", shown == 2);
        if (shown == 2)
            QCOMPARE(f.focusWidget(), c.TxtBox[CheckField::Style]);
        if (shown != 0)
            return;
        c.autoHuanJuan->setChecked(false);
        save(f, u"21"_s);
        QCOMPARE(fx.scalar(u"select group_concat(oncount) from checkinfo where bagTime is null"_s),
                 deleted ? u"20.5,21"_s : u"20.5,20.5,21"_s);
        QCOMPARE(fx.scalar(u"select bagnumber || ' ' || length(createDate) || ' ' || "
                           "(createDate like '% __:__:__') from checkinfo where oncount=21"_s),
                 u"P-7 19 1"_s);
    }

    void fieldGroupGeometry_data()
    {
        QTest::addColumn<bool>("maitou");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QRect>("box");
        // A null box: the pallet number stays where it was.
        QTest::newRow("moved") << true << "3000,100,600;3000,760,900;3000,1700,420;3600,760,1200" << QRect(760, 3000, 900, 500);
        QTest::newRow("bad part keeps its place") << true << "3000,100,600;x,1,1" << QRect();
        QTest::newRow("cancelled") << true << "" << QRect();
        QTest::newRow("inspection asks nothing") << false << "" << QRect();
    }
    void fieldGroupGeometry()
    {
        QFETCH(bool, maitou);
        QFETCH(QString, answer);
        QFETCH(QRect, box);
        CheckFixture fx;
        frmCheck& f = maitou ? openMaitou(fx) : fx.open();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // The pallet's group here, the dye lot's at the inspection frame.
        QLabel* caption = f.controls().LabBox[maitou ? 33 : 3];
        QWidget* field = caption->buddy();
        QWidget* key = f.controls().numKeybtn[maitou ? 27 : 5];
        const QRect keyBefore = key->geometry();
        QTest::mouseClick(caption, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(key->geometry(), keyBefore); // a tap is no drag: the group keeps its shape
        const QRect before = designRect(field);
        MessageBox::setNextInput(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
        QTest::mouseDClick(caption, Qt::LeftButton);
        QCOMPARE(MessageBox::shown().size(), maitou ? 1 : 0);
        const QRect now = designRect(field), want = box.isNull() ? before : box;
        QCOMPARE(QRect(now.x(), now.y(), now.width(), 0), QRect(want.x(), want.y(), want.width(), 0));
        const int x = caption->x(); // a drag moves the group
        QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(45, 5));
        QCOMPARE(caption->x(), x + 40);
    }

    // What each station keeps apart: its pallet field, its layout key, its remembered label
    // template, its roll-number scopes and the place of its wide defect frame.
    void stationsOwnSettings_data()
    {
        QTest::addColumn<bool>("maitou");
        QTest::addColumn<QStringList>("keys"); // layout, other layout, template, other template
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("scopes");
        QTest::addColumn<QRect>("wide");
        QTest::newRow("mark label") << true << QStringList{"InputPosition-maitou", "InputPosition", "checkMaitou", "check"}
                                    << "订单唛头2" << QStringList{"检验单缸号", "面料编码"} << QRect(270, 4080, 14400, 5310);
        QTest::newRow("inspection") << false << QStringList{"InputPosition", "InputPosition-maitou", "check", "checkMaitou"}
                                    << "唛头" << QStringList{"检验单颜色", "面料编码", "缸号"} << QRect(270, 3100, 14400, 3910);
    }
    void stationsOwnSettings()
    {
        QFETCH(bool, maitou);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, scopes);
        CheckFixture fx;
        frmCheck& f = maitou ? openMaitou(fx) : fx.open();
        QCOMPARE(f.findChild<QLineEdit*>(u"TxtBox_28"_s) != nullptr, maitou); // the pallet number
        const QComboBox* scope = f.settingsPanel()->comboBoxes().first();
        QStringList offered;
        for (int i = 0; i < scope->count(); ++i)
            offered << scope->itemText(i);
        QCOMPARE(offered, scopes);
        QCOMPARE(scope->currentText(), scopes.first());
        f.Frame5_Click();
        QTEST(designRect(f.controls().Frame5), "wide");
        auto* labels = new CheckLabelPanel(&f);
        QTEST(labels->rollTemplate(), "label");
        labels->chooseTemplate(u"大标"_s);
        const QString app = ProgramFolder::executableName();
        QCOMPARE(SysUtil::getSetting(app, u"PrintTemplate"_s, keys[2], u"-"_s), u"大标"_s);
        QCOMPARE(SysUtil::getSetting(app, u"PrintTemplate"_s, keys[3], u"-"_s), u"-"_s);
        f.btnSavePosi_Click(0);
        const QString layout = SysUtil::readIni(u"MIREL"_s, keys[0], QString(), u"/mirel.ini"_s);
        QVERIFY(layout.contains(u"TxtBox^18="_s));
        QCOMPARE(layout.contains(u"TxtBox^28="_s) && layout.contains(u"cmdBangbtn="_s), maitou);
        QCOMPARE(SysUtil::readIni(u"MIREL"_s, keys[1], u"-"_s, u"/mirel.ini"_s), u"-"_s);
    }

    // F4 takes a new pallet, F3 opens the article dialog, as their buttons do.
    void functionKeysReachTheNewButtons()
    {
        CheckFixture fx;
        frmMaitou& f = openMaitou(fx);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(f.controls().TxtBox[CheckField::Card], Qt::Key_F4);
        QTRY_COMPARE(f.controls().TxtBox[CheckField::Pallet]->text(), firstPallet()); // a moment later, as a finger
        bool opened = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<frmSelectItem*>(QApplication::activeModalWidget())) {
                opened = true;
                watch.stop();
                QTest::keyClick(d, Qt::Key_Escape);
            }
        });
        watch.start(20);
        QTest::keyClick(f.controls().TxtBox[CheckField::Card], Qt::Key_F3);
        QTRY_VERIFY(opened);
        QCOMPARE(f.controls().TxtBox[CheckField::Card]->text(), QString()); // closed without an article
    }

    void quantityFollowsTheCounter_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("text counter") << "0";
        QTest::newRow("modbus counter") << "1";
    }
    void quantityFollowsTheCounter()
    {
        QFETCH(QString, model);
        DevSim sim({u"--model"_s, model, u"--length"_s, u"123.45"_s, u"--speed"_s, u"0"_s});
        QVERIFY(sim.ok());
        CheckFixture fx("InputMode=" + model.toLatin1() + "\nCOM=COM1\nCommBarcode=\n[SerialPorts]\nCOM1="
                        + sim.path().toLocal8Bit() + "\n");
        frmMaitou& f = openMaitou(fx);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(f.controls().Check2, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(f.controls().TxtBox[CheckField::Quantity]->text(), u"123.45"_s, 10000);
        sim.command("length 200.5");
        QTRY_COMPARE_WITH_TIMEOUT(f.controls().TxtBox[CheckField::Quantity]->text(), u"200.50"_s, 10000);
    }
};

QTEST_MAIN(TestFrmMaitou)
#include "TestFrmMaitou.moc"
