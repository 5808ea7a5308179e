// The packing window on a real embedded database: roll lookup, the bill's packing list, the mark
// save, the box list and its save onto the rolls, and the template menus.
#include "BagFixture.h"

#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "config/ProgramFolder.h"
#include "widgets/EditGrid.h"
#include "time/Clock.h"

#include <QScopeGuard>
#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestFrmBag : public QObject {
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
    void packingListDecides_data();
    void packingListDecides();
    void addendRaisesOncePerSave();
    void failedBoxSaveLeavesNothing();
    void rollDeletedElsewhere();
    void rollFromAnotherBoxMovesKnowingly();
    void scanEndsWithTabAndNeverSavesUnread();
    void scanIsNoAnswer();
    void boxSavedOrComesBack_data();
    void boxSavedOrComesBack();
    void chosenTemplatePrintsAndIsRemembered_data();
    void chosenTemplatePrintsAndIsRemembered();
};

void TestFrmBag::lookup_data()
{
    QTest::addColumn<QString>("scanned");
    QTest::addColumn<QString>("shown");     // barcode text afterwards
    QTest::addColumn<double>("roll");       // barcode tag
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("fields"); // txtUser 0, 3, 11, 20, 21, 41, 42, 43, 44
    QTest::newRow("zero-padded label") << u"00042"_s << u"42"_s << 42.0 << u"查看唛头"_s
        << QStringList{u"涤棉府绸"_s, u"45x45"_s, u"10"_s, u"65/35"_s, u"118"_s, u"150"_s, u"J1"_s, u"M3"_s, u"001"_s};
    QTest::newRow("letters") << u"abc"_s << u"0"_s << 0.0 << u"没有这个唛头条码"_s << QStringList();
    QTest::newRow("unknown roll") << u"0099"_s << u"99"_s << 0.0 << u"没有这个唛头条码"_s << QStringList();
    QTest::newRow("trailing letters") << u"43 A"_s << u"43"_s << 43.0 << u"查看唛头"_s
        << QStringList{u"涤棉府绸"_s, u"45x45"_s, u"20.5"_s, u"65/35"_s, u""_s, u"150"_s, u"J1"_s, u"M3"_s, u"001"_s};
}

void TestFrmBag::lookup()
{
    QFETCH(QString, scanned);
    QFETCH(QStringList, fields);
    BagFixture fx;
    frmBag& f = fx.open();
    fx.scan(scanned);
    QTEST(f.barcode->text(), "shown");
    QTEST(f.shownRoll(), "roll");
    QTEST(f.LabMsg->text(), "message");
    const int indexes[] = {0, 3, 11, 20, 21, 41, 42, 43, 44};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(f.txtUser[indexes[i]]->text(), fields.value(i));
}

void TestFrmBag::packingListDecides_data()
{
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("scanned");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("roll");
    QTest::addColumn<QString>("rollsOnList");
    QTest::addColumn<bool>("autoPrint");
    QTest::newRow("no bill scanned") << QString() << u"42"_s << u"先扫描单号"_s << 0.0 << QString() << false;
    QTest::newRow("bill without list") << u"K003"_s << u"42"_s << u"这个单号没有细码单"_s << 0.0 << u"0"_s << false;
    QTest::newRow("roll not on the list") << u"K001"_s << u"44"_s
        << u"这匹布没有在这个单号的细码里面，请确认?"_s << 0.0 << u"2"_s << true;
    QTest::newRow("roll on the list, invoice 是") << u"K001"_s << u"43"_s << u"查看唛头"_s << 43.0 << u"2"_s << true;
    QTest::newRow("invoice 否") << u"K002"_s << u"50"_s << u"查看唛头"_s << 50.0 << u"1"_s << false;
}

void TestFrmBag::packingListDecides()
{
    QFETCH(QString, bill);
    QFETCH(QString, scanned);
    QFETCH(double, roll);
    QFETCH(bool, autoPrint);
    BagFixture fx("是否要打包=1\nbillCodeValid=1\nMaitouAutoPrint=1\n");
    frmBag& f = fx.open();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    if (!bill.isEmpty()) {
        f.txtBillCode->setText(bill);
        QTest::keyClick(f.txtBillCode, Qt::Key_Return);
    }
    QTEST(f.LabMsg2->text(), "rollsOnList");
    QCOMPARE(f.MaitouAutoPrint->isChecked(), autoPrint || bill.isEmpty());
    f.MaitouAutoPrint->setChecked(false); // no label wanted here
    fx.scan(scanned);
    QTEST(f.LabMsg->text(), "message");
    QCOMPARE(f.shownRoll(), roll);
    QCOMPARE(f.txtUser[0]->text().isEmpty(), roll == 0);
    if (bill.isEmpty())
        QCOMPARE(QApplication::focusWidget(), f.txtBillCode);
}

void TestFrmBag::addendRaisesOncePerSave()
{
    BagFixture fx;
    frmBag& f = fx.open();
    fx.scan(u"50"_s);
    f.txtUser[2]->setText(u"2"_s);
    f.txtUser[44]->setText(u"007"_s);
    QTest::keyClick(f.txtUser[44], Qt::Key_Return); // Enter in a mark field saves
    QCOMPARE(fx.scalar(u"select oncount from checkinfo where id=50"_s), u"102"_s);
    QCOMPARE(fx.scalar(u"select checkusercode from checkinfo where id=50"_s), u"007"_s);
    f.butFlow[1]->click();
    QCOMPARE(fx.scalar(u"select oncount from checkinfo where id=50"_s), u"104"_s);
    QCOMPARE(f.LabMsg->text(), u"唛头保存成功"_s);
}

void TestFrmBag::failedBoxSaveLeavesNothing()
{
    BagFixture fx;
    frmBag& f = fx.open();
    fx.execNative(u"create trigger full_disk before update of bagweight on checkinfo when new.id=44"
            u" begin select raise(abort, 'database or disk is full'); end"_s);
    f.bagNumber[0]->setText(u"B8"_s);
    for (const QString& roll : {u"42"_s, u"43"_s, u"44"_s}) {
        fx.scan(roll);
        f.butFlow[4]->click();
    }
    f.bagNumber[1]->setText(u"50"_s);
    f.butFlow[5]->click();
    QVERIFY(MessageBox::lastShown().text.startsWith(u"savebags 保存失败"_s));
    QVERIFY(MessageBox::lastShown().text.contains(u"disk is full"_s));
    QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='B8'"_s), u"0"_s);
    QCOMPARE(f.Label4->text(), u"3/60.5"_s);
    QVERIFY(f.LabMsg->text() != u"箱唛保存成功"_s);
}

// Another station deletes a roll that is on this table's form or in its box.
void TestFrmBag::rollDeletedElsewhere()
{
    BagFixture fx;
    frmBag& f = fx.open();
    f.MaitouAutoPrint->setChecked(false);
    fx.scan(u"50"_s);
    fx.execNative(u"delete from checkinfo where id=50"_s);
    f.txtUser[2]->setText(u"2"_s);
    f.butFlow[1]->click();
    QCOMPARE(MessageBox::lastShown().text, u"这匹布已被删除，没有保存"_s);
    QCOMPARE(f.shownRoll(), 0.0); // no later save can aim at the deleted roll
    QVERIFY(f.LabMsg->text() != u"唛头保存成功"_s);
    // The box: the deleted roll leaves the list, nothing is half saved, the next save keeps the
    // rest.
    f.bagNumber[0]->setText(u"B9"_s);
    for (const QString& roll : {u"42"_s, u"43"_s, u"44"_s}) {
        fx.scan(roll);
        f.butFlow[4]->click();
    }
    fx.execNative(u"delete from checkinfo where id=43"_s);
    f.butFlow[5]->click();
    QCOMPARE(MessageBox::lastShown().text, u"细码 43 已被删除，已从箱中去掉，请再按保存"_s);
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='B9'"_s), u"0"_s);
    QCOMPARE(f.Label4->text(), u"2/40"_s);
    f.butFlow[5]->click();
    QCOMPARE(f.LabMsg->text(), u"箱唛保存成功"_s);
    QCOMPARE(fx.scalar(u"select group_concat(id) from checkinfo where bagnumber='B9'"_s),
             u"42,44"_s);
}

// Rolls 42 and 43 lie in box 261206001; box 261206002 is packed.
void TestFrmBag::rollFromAnotherBoxMovesKnowingly()
{
    BagFixture fx("是否要打包=1\n");
    frmBag& f = fx.open();
    fx.exec(u"update checkinfo set bagnumber='261206001' where id in (42,43)"_s);
    fx.exec(u"update checkinfo set bagnumber='261206002' where id=44"_s);
    f.bagNumber[0]->setText(u"261206002"_s);
    const auto add = [&](const QString& roll, std::optional<MessageBox::Answer> answer) {
        MessageBox::clearShown();
        if (answer)
            MessageBox::setNextAnswer(*answer);
        fx.scan(roll);
        f.butFlow[4]->click();
    };
    add(u"42"_s, MessageBox::AnswerNo);
    QCOMPARE(MessageBox::lastShown().text, u"该卷已在箱 261206001 中，移到本箱？"_s);
    QCOMPARE(f.Label4->text(), u"0/0"_s);
    add(u"42"_s, MessageBox::AnswerYes);
    add(u"43"_s, MessageBox::AnswerYes);
    add(u"44"_s, std::nullopt); // already in this box: added without a question
    QCOMPARE(MessageBox::shown().size(), 0);
    QCOMPARE(f.Label4->text(), u"3/60.5"_s);
    QCOMPARE(f.ximaGrid->textMatrix(1, 4) + f.ximaGrid->textMatrix(1, 7), u"261206002261206001"_s);
    // Taken off the list before the save, roll 43 stays in its box.
    f.ximaGrid->setRow(2);
    f.butFlow[8]->click();
    QCOMPARE(fx.scalar(u"select bagnumber from checkinfo where id=43"_s), u"261206001"_s);
    f.butFlow[5]->click();
    QCOMPARE(f.LabMsg->text(), u"箱唛保存成功；卷 42 已从箱 261206001 移到本箱"_s);
    f.butFlow[9]->click();
    f.ximaGrid->setRow(1);
    f.butFlow[8]->click();
    QCOMPARE(fx.scalar(u"select count(*) from checkinfo where bagnumber='261206002'"_s), u"1"_s);
}

// A keyboard scanner ending with Tab looks the roll up; a roll number typed over without a
// lookup saves nothing onto the roll shown.
void TestFrmBag::scanEndsWithTabAndNeverSavesUnread()
{
    BagFixture fx;
    frmBag& f = fx.open();
    fx.scan(u"42"_s);
    f.barcode->setText(u"43"_s);
    QTest::keyClick(f.barcode, Qt::Key_Tab);
    QCOMPARE(f.shownRoll(), 43.0);
    f.barcode->setText(u"50"_s);
    f.txtUser[11]->setText(u"77.7"_s);
    f.butFlow[1]->click();
    QCOMPARE(f.LabMsg->text(), u"卡号已改，请先查询"_s);
    QCOMPARE(fx.scalar(u"select group_concat(oncount) from checkinfo where id in (43,50)"_s), u"20.5,100"_s);
}

// The next roll scanned while the move question stands is no answer: the question waits for
// the packer's touch, the roll is looked up after it.
void TestFrmBag::scanIsNoAnswer()
{
    BagFixture fx("是否要打包=1\n");
    frmBag& f = fx.open();
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    fx.exec(u"update checkinfo set bagnumber='261206001' where id=42"_s);
    f.bagNumber[0]->setText(u"261206002"_s);
    const QByteArray interactive = qgetenv("MIREL_NONINTERACTIVE");
    qunsetenv("MIREL_NONINTERACTIVE"); // the box as the packer sees it
    bool answeredByScan = true;
    MessageBox::setOnShow([&](const MessageBox::Shown&) {
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QTest::keyClicks(box->focusWidget() ? box->focusWidget() : box, u"43\r"_s);
            if (!(answeredByScan = !box->isVisible()))
                box->findChild<QPushButton*>(u"否"_s)->click();
        });
    });
    fx.scan(u"42"_s);
    f.butFlow[4]->click();
    MessageBox::setOnShow(nullptr);
    qputenv("MIREL_NONINTERACTIVE", interactive);
    QVERIFY(!answeredByScan);
    QCOMPARE(f.Label4->text(), u"0/0"_s); // 否: roll 42 stays in its box
    QTRY_COMPARE(f.shownRoll(), 43.0);
}

// The box list and its save; and a table killed mid-box starts again with the box and its rolls,
// while a box saved, begun anew, listed by 查 or rid of the rolls added leaves nothing to come
// back. Box B1 is saved with roll 44 first.
void TestFrmBag::boxSavedOrComesBack_data()
{
    QTest::addColumn<bool>("listFirst"); // B1 listed again and packed on, else box B2
    QTest::addColumn<int>("button");     // pressed after adding rolls 42, 43 and 42 again (-2: saved)
    QTest::addColumn<QString>("says");   // on the status line then
    QTest::addColumn<QString>("back");   // the totals after the restart, empty: nothing back
    QTest::addColumn<QString>("saved");  // roll, box and remark saved (row 2 without its box)
    QTest::newRow("rolls added") << false << -1 << "这个唛头已经存在" << "2/30.5" << "42B2B区";
    QTest::newRow("box saved as the power went") << false << -2 << "" << "" << "";
    QTest::newRow("saved") << false << 5 << "箱唛保存成功" << "" << "";
    QTest::newRow("new box taken") << false << 0 << "" << "" << "";
    QTest::newRow("box listed") << false << 9 << "查看箱唛 B2" << "" << "";
    QTest::newRow("listed box, rolls added") << true << -1 << "" << "3/60.5" << "43B1外箱破,44B1B区";
    QTest::newRow("listed box, added rolls taken out") << true << 8 << "卷 43 已从箱 B1" << "" << "";
}

void TestFrmBag::boxSavedOrComesBack()
{
    QFETCH(bool, listFirst);
    QFETCH(int, button);
    QFETCH(QString, back);
    BagFixture fx("是否要打包=1\n", "menchineId=打包机3号\n");
    frmBag& f = fx.open();
    f.butFlow[4]->click();
    QCOMPARE(f.LabMsg->text(), u"箱号没有输入"_s);
    const QString box = listFirst ? u"B1"_s : u"B2"_s;
    f.bagNumber[0]->setText(u"B1"_s);
    f.bagNumber[1]->setText(u"30"_s);
    f.bagNumber[2]->setText(u"B区"_s);
    MessageBox::clearShown();
    f.butFlow[4]->click();
    QCOMPARE(MessageBox::lastShown().text, u"没有细码"_s);
    for (const QString& roll : {u"44"_s, u"42"_s, u"43"_s, u"00042"_s}) {
        if (roll == u"42") {
            f.butFlow[5]->click();
            if (listFirst) { // with its remark and weight, 查 saying its own
                f.bagNumber[1]->clear();
                f.butFlow[9]->click();
                QCOMPARE(f.ximaGrid->textMatrix(1, 6) + f.bagNumber[1]->text(), u"B区30"_s);
            }
            QCOMPARE(f.LabMsg->text() == u"箱唛保存成功"_s, !listFirst);
            f.bagNumber[0]->setText(box);
            f.bagNumber[1]->setText(u"61.25"_s);
            f.bagNumber[2]->setText(u"外箱破"_s);
        }
        fx.scan(roll);
        f.butFlow[4]->click();
    }
    if (button == -2) // committed, but not yet forgotten
        fx.exec(u"update checkinfo set bagnumber='B2' where id in (42,43)"_s);
    for (int i = button == 8 ? 2 : 1; button >= 0 && i > 0; --i) {
        f.ximaGrid->setRow(2);
        f.butFlow[button]->click();
    }
    QFETCH(QString, says);
    QVERIFY2(f.LabMsg->text().contains(says), qPrintable(f.LabMsg->text()));
    frmBag& again = fx.open(); // the first window is gone without its close
    QCOMPARE(again.restoreBoxDraft(), !back.isEmpty());
    QCOMPARE(again.Label4->text(), back.isEmpty() ? u"0/0"_s : back);
    if (back.isEmpty())
        return;
    QVERIFY(again.LabMsg->text().startsWith(u"已恢复上次没有保存的箱 "_s + box));
    if (!listFirst)
        again.ximaGrid->setTextMatrix(1, 6, u"B区"_s); // the list's remark before the box's
    again.ximaGrid->setTextMatrix(2, 4, QString());
    Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30, 5)));
    const auto realClock = qScopeGuard([] { Clock::set({}); });
    again.butFlow[5]->click();
    QTEST(fx.scalar(u"select group_concat(id||bagnumber||bagremark) from (select * from checkinfo where bagweight=61.25 and bagMachine='打包机3号' and bagTime='2026-03-14 10:30:05' order by id)"_s), "saved");
}

void TestFrmBag::chosenTemplatePrintsAndIsRemembered_data()
{
    QTest::addColumn<int>("arrow");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("shipped");
    QTest::newRow("mark") << 3 << u"唛头"_s << u"唛头/唛头.grf"_s;
    QTest::newRow("box") << 6 << u"箱唛"_s << u"箱唛/箱唛.grf"_s;
}

void TestFrmBag::chosenTemplatePrintsAndIsRemembered()
{
    QFETCH(int, arrow);
    QFETCH(QString, kind);
    QFETCH(QString, shipped);
    BagFixture fx;
    // A second template of the kind, printing to a file of its own.
    QByteArray text = fx.home().readFile(u"打印/"_s + shipped);
    text.replace(fx.home().path().toUtf8() + (kind == u"唛头"_s ? "/mark.pdf" : "/box.pdf"),
                 fx.home().file(u"second.pdf"_s).toUtf8());
    fx.home().writeFile(u"打印/"_s + kind + u"/大号.grf"_s, text);
    fx.home().writeFile(u"打印/"_s + kind + u"/readme.txt"_s, "not a template");
    frmBag& f = fx.open();
    f.show();
    fx.exec(u"update checkinfo set bagnumber='B9' where id=42"_s);
    fx.scan(u"42"_s);
    f.bagNumber[0]->setText(u"B9"_s);
    QTest::mouseClick(f.butFlow[arrow], Qt::LeftButton);
    QVERIFY(f.Modle1 && f.Modle1->isVisible());
    QStringList items;
    for (QAction* a : f.Modle1->actions())
        items << a->text();
    QCOMPARE(QSet<QString>(items.begin(), items.end()), (QSet<QString>{u"大号"_s, kind}));
    f.Modle1->actions().at(items.indexOf(u"大号"_s))->trigger();
    QVERIFY(QFileInfo(fx.home().file(u"second.pdf"_s)).size() > 0);
    QVERIFY(!QFileInfo::exists(kind == u"唛头"_s ? fx.markPdf() : fx.boxPdf()));
    QCOMPARE(f.printTemplate(kind), u"大号"_s);
    QCOMPARE(SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, kind), u"大号"_s);
}

QTEST_MAIN(TestFrmBag)
#include "TestFrmBag.moc"
