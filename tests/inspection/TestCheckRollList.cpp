// The roll list tab and the roll/card stepping buttons on the fixture database: filters, total,
// opening a listed roll, deleting with the confirmations, packing progress and stock reversal.
#include "CheckFixture.h"

#include "shell/Database.h"
#include "shell/MessageBox.h"
#include "shell/Navigation.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckRollListPanel.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace {

// A saved roll of card K001, line 11; returns its id.
QString addRoll(CheckFixture& fx, const QString& code, const QString& machine = "001",
                const QString& more = QString())
{
    fx.exec("insert into checkinfo(billCode,billdetailId,itemid,checkCode,onCount,checkcount,grade,machineId,"
            "checkUsercode,taskno,remark,item2,createDate) values('K001',11,1,'" + code + "',100,1,'A','" + machine
            + "','001','T1','','J1','" + Clock::nowText() + "')");
    const QString id = fx.scalar("select max(id) from checkinfo");
    if (!more.isEmpty())
        fx.exec("update checkinfo set " + more + " where id=" + id);
    return id;
}

QStringList column(const EditGrid* g, int col)
{
    QStringList out;
    for (int r = 1; r < g->rows(); ++r)
        out << g->textMatrix(r, col);
    return out;
}

QString lastMessage() { return MessageBox::lastShown().text; }

} // namespace

class TestCheckRollList : public QObject {
    Q_OBJECT
private slots:
    void stepsRollsOfThisMachine()
    {
        CheckFixture fx("menchineId=001\n");
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        auto& c = f.controls();

        // No rolls at all: nothing before and nothing after.
        f.runCommand(CheckCmd::PreviousRoll);
        QCOMPARE(lastMessage(), QString("已经是第一卷了"));
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Information);

        const QString r1 = addRoll(fx, "001");
        addRoll(fx, "900", "002"); // another machine's roll between
        const QString r3 = addRoll(fx, "002");

        // From a new roll, "previous" opens the newest roll of this machine.
        f.runCommand(CheckCmd::PreviousRoll);
        QCOMPARE(c.checkId->text(), r3);
        QCOMPARE(c.TxtBox[CheckField::RollNumber]->text(), QString("002"));
        f.runCommand(CheckCmd::PreviousRoll);
        QCOMPARE(c.checkId->text(), r1);
        MessageBox::clearShown();
        f.runCommand(CheckCmd::PreviousRoll);
        QCOMPARE(lastMessage(), QString("已经是第一卷了"));
        QCOMPARE(c.checkId->text(), QString("0"));

        f.loadRoll(r1.toLongLong());
        f.runCommand(CheckCmd::NextRoll);
        QCOMPARE(c.checkId->text(), r3);
        f.runCommand(CheckCmd::NextRoll);
        QCOMPARE(lastMessage(), QString("已经是最后卷了"));
    }

    void rollStepsStayOnTheCard()
    {
        CheckFixture fx;
        fx.open();
        const QString a = addRoll(fx, "001");
        fx.exec("insert into checkinfo(billCode,checkCode,machineId) values('K777','001','001')");
        const QString other = fx.scalar("select max(id) from checkinfo");
        const QString b = addRoll(fx, "002");
        Connection& conn = Database::conn();
        QCOMPARE(Navigation::neighbourRollId(conn, 0, true, "K001"), b.toLongLong());
        QCOMPARE(Navigation::neighbourRollId(conn, b.toLongLong(), true, "K001"), a.toLongLong());
        QCOMPARE(Navigation::neighbourRollId(conn, a.toLongLong(), false, ""), other.toLongLong());
        QCOMPARE(Navigation::neighbourRollId(conn, 0, false, ""), 0LL);
        QCOMPARE(Navigation::neighbourRollId(conn, b.toLongLong(), true, "A*/B"), 0LL); // not a comment end
        fx.setIni("menchineId", "009");
        QCOMPARE(Navigation::neighbourRollId(conn, 0, true, ""), 0LL);
        QCOMPARE(Navigation::rollIdIfExists(conn, b), b);
        QCOMPARE(Navigation::rollIdIfExists(conn, "99999"), QString("0"));
    }

    void stepsCardsOfShownTypes()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        auto& c = f.controls();
        Connection& conn = Database::conn();
        QCOMPARE(Navigation::latestCardCode(conn, "55,57,99"), QString("K001"));
        QCOMPARE(Navigation::neighbourCardCode(conn, 0, false, "55,57,99"), QString("0"));
        QCOMPARE(Navigation::latestCardCode(conn, "55,57,"), QString()); // a broken type list finds nothing

        fx.exec("insert into bill(billid,billcode,billtype,companyid) values(3,'K003',57,1)");
        fx.exec("insert into BillDetail(BillDetailId,BillId,itemId,viewcount,taxPercent,productionColor) values(31,3,1,50,50,'白')");
        fx.exec("insert into bill(billid,billcode,billtype,companyid) values(4,'K004',60,1)");

        f.runCommand(CheckCmd::LatestCard); // the newest card of the shown types, not K004 (type 60)
        QCOMPARE(c.TxtBox[CheckField::Card]->text(), QString("K003"));
        QCOMPARE(c.BillDetailId->text(), QString("31"));
        f.runCommand(CheckCmd::PreviousCard); // back over K060 (type 60) to K001
        QCOMPARE(c.TxtBox[CheckField::Card]->text(), QString("K001"));
        QCOMPARE(c.BillDetailId->text(), QString("11"));
        f.runCommand(CheckCmd::NextCard);
        QCOMPARE(c.TxtBox[CheckField::Card]->text(), QString("K003"));
        f.runCommand(CheckCmd::NextCard); // nothing after the newest card
        QCOMPARE(c.TxtBox[CheckField::Card]->text(), QString());
        QCOMPARE(Navigation::neighbourCardCode(conn, 1, true, "55,57,99"), QString());
    }

    void listFilters_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("box2");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QStringList>("rolls"); // column 1 top to bottom
        QTest::addColumn<QString>("sum");
        // A12 is counted in yards: its length is summed apart from the metres.
        QTest::newRow("none: newest first, old roll outside the dates")
            << -1 << "" << -1 << "" << QStringList{"A12", "100", "001"} << "数量:30米 30码";
        QTest::newRow("roll number starts with") << int(CheckField::ListRoll) << "00" << -1 << "" << QStringList{"001"} << "数量:10";
        QTest::newRow("card anywhere") << int(CheckField::ListCard) << "12" << -1 << "" << QStringList{"A12"} << "数量:30码";
        QTest::newRow("card and dye lot by dye lot")
            << int(CheckField::ListCard) << "K" << int(CheckField::ListDyeLot) << "J" << QStringList{"100", "001", "A12"} << "数量:30米 30码";
        QTest::newRow("worker starts with") << int(CheckField::ListWorker) << "7" << -1 << "" << QStringList{"100"} << "数量:20";
        QTest::newRow("remark contains") << int(CheckField::ListRemark) << "边" << -1 << "" << QStringList{"001"} << "数量:10";
        QTest::newRow("nothing found") << int(CheckField::ListColor) << "无" << -1 << "" << QStringList{} << "数量:0";
    }
    void listFilters()
    {
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(int, box2);
        QFETCH(QString, text2);
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        QCOMPARE(part.date(0)->date(), Clock::today());
        QCOMPARE(part.date(1)->date(), Clock::today());
        addRoll(fx, "001", "001", "onCount=10,item2='J2',remark='靠边破洞',checkUsercode='001'");
        addRoll(fx, "100", "001", "onCount=20,item2='J1',checkUsercode='700'");
        addRoll(fx, "A12", "001", "onCount=30,billCode='KA12B',item2='J3',checkcount=0.9144");
        addRoll(fx, "0011", "001", "onCount=99,createDate='2020-01-01 08:00:00'");
        if (box >= 0)
            f.controls().TxtBox[box]->setText(text);
        if (box2 >= 0)
            f.controls().TxtBox[box2]->setText(text2);
        f.runCommand(CheckCmd::QueryList);
        QTEST(column(part.grid(), 1), "rolls");
        QTEST(part.sumLabel()->text(), "sum");
        QCOMPARE(part.grid()->header().value(9), QString("数量"));
    }

    void storedListAndDates()
    {
        CheckFixture fx("menchineId=002\n");
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        addRoll(fx, "001", "001", "createDate='2020-01-01 08:00:00'");
        addRoll(fx, "002", "002", "createDate='2020-01-02 08:00:00'");
        addRoll(fx, "003", "002");
        fx.exec("insert into Dictionary(ITEMTYPE,ItemValues,ReportSQL) values('listSQL','MirelQueryCheck',"
                "'select a.id,a.checkcode as 卷号 from checkinfo a where a.machineId=''{machineId}'' and 1=1 ')");
        part.date(0)->setDate(QDate(2020, 1, 1));
        f.runCommand(CheckCmd::QueryList);
        QCOMPARE(column(part.grid(), 1), (QStringList{"003", "002"}));
        part.date(1)->setDate(QDate(2020, 1, 2));
        f.runCommand(CheckCmd::QueryList);
        QCOMPARE(column(part.grid(), 1), QStringList{"002"});
    }

    void opensListedRoll()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        const QString id = addRoll(fx, "005");
        fx.exec("insert into checkDetail(checkId,bugName,bugPosition,bugCount,bugScore) values(" + id + ",'破洞',3,1,4)");
        f.show(); // the page is built when the inspector first opens it on the shown window
        f.controls().SSTab1->setCurrentIndex(1);
        for (QWidget* w : f.controls().SSTab1->widget(1)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(w->isVisible(), qPrintable(w->objectName() + w->accessibleName()));
        f.runCommand(CheckCmd::QueryList);
        emit part.grid()->cellDoubleClicked(1, 3);
        QCOMPARE(f.controls().checkId->text(), id);
        QCOMPARE(f.controls().TxtBox[CheckField::RollNumber]->text(), QString("005"));
        QCOMPARE(f.defectRows().size(), 1);
        QCOMPARE(f.controls().SSTab1->currentIndex(), 0);
    }

    void deleteShownRoll_data()
    {
        QTest::addColumn<int>("sure");   // answer to "您确定要删除这卷布[…]？"
        QTest::addColumn<int>("label");  // answer to "是否要删除卷ID[…]的标签"
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no") << int(MessageBox::AnswerNo) << 0 << false;
        QTest::newRow("yes, then cancel") << int(MessageBox::AnswerYes) << int(MessageBox::AnswerCancel) << false;
        QTest::newRow("yes, then ok") << int(MessageBox::AnswerYes) << int(MessageBox::AnswerOk) << true;
    }
    void deleteShownRoll()
    {
        QFETCH(int, sure);
        QFETCH(int, label);
        QFETCH(bool, deleted);
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        const QString first = addRoll(fx, "001");
        const QString id = addRoll(fx, "002");
        fx.exec("insert into checkDetail(checkId,bugName) values(" + id + ",'破洞')");
        fx.exec("insert into checkDetail(checkId,bugName) values(" + first + ",'油污')");
        fx.exec("insert into billStatus(billcode,amount,billstatus) values('K001',10,'包装')");
        fx.exec("insert into billStatus(billcode,amount,billstatus) values('K001',10,'染色')");
        fx.exec("insert into billStatus(billcode,amount,billstatus) values('K060',10,'包装')");
        f.loadRoll(id.toLongLong());
        MessageBox::clearShown();
        MessageBox::setNextAnswer(MessageBox::Answer(sure));
        if (label)
            MessageBox::setNextAnswer(MessageBox::Answer(label));
        f.runCommand(CheckCmd::DeleteRoll);
        QCOMPARE(MessageBox::shown().value(0).text, QString("您确定要删除这卷布[002]？"));
        if (label) {
            QCOMPARE(MessageBox::shown().value(1).text, "是否要删除卷ID[" + id + "]的标签");
            QCOMPARE(MessageBox::shown().value(1).buttons, MessageBox::OkCancel);
        }
        QCOMPARE(fx.scalar("select count(*) from checkinfo where id=" + id), QString(deleted ? "0" : "1"));
        QCOMPARE(fx.scalar("select count(*) from checkDetail where checkId=" + id), QString(deleted ? "0" : "1"));
        QCOMPARE(fx.scalar("select count(*) from checkDetail where checkId=" + first), QString("1"));
        QCOMPARE(fx.scalar("select group_concat(amount,'/') from billStatus order by id"),
                 QString(deleted ? "9/10/10" : "10/10/10"));
        if (deleted) {
            QCOMPARE(f.status(), QString("删除成功"));
            QCOMPARE(f.controls().checkId->text(), first); // stepped to the previous roll
        } else {
            QCOMPARE(f.controls().checkId->text(), id);
        }
    }

    void deleteOnlyRollAndUnsaved()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        f.newRoll();
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        f.runCommand(CheckCmd::DeleteRoll);
        QCOMPARE(lastMessage(), QString("没有保存不要删除！"));

        const QString id = addRoll(fx, "001", "001", "grade='A品'");
        f.loadRoll(id.toLongLong());
        QVERIFY(f.controls().labInfo[0]->text().endsWith("匹数：1"));
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        f.runCommand(CheckCmd::DeleteRoll);
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("0"));
        QCOMPARE(lastMessage(), QString("已经是第一卷了"));
        QCOMPARE(f.status(), QString("删除成功"));
        QCOMPARE(f.controls().checkId->text(), QString("0"));
        QVERIFY(f.controls().labInfo[0]->text().endsWith("匹数：0")); // the line's totals without it
    }

    void deleteListedRoll()
    {
        CheckFixture fx;
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        const QString a = addRoll(fx, "001");
        const QString b = addRoll(fx, "002");
        f.loadRoll(a.toLongLong());
        f.runCommand(CheckCmd::QueryList);
        part.grid()->setRow(0);
        f.runCommand(CheckCmd::DeleteListed);
        QCOMPARE(lastMessage(), QString("请选择一行，然后点删除"));

        part.grid()->setRow(1); // newest first: roll 002
        QCOMPARE(part.grid()->textMatrix(1, 0), b);
        MessageBox::setNextAnswer(MessageBox::AnswerCancel);
        f.runCommand(CheckCmd::DeleteListed);
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("2"));
        QCOMPARE(f.controls().checkId->text(), a); // the roll on screen keeps its id

        part.grid()->setRow(1);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        f.runCommand(CheckCmd::DeleteListed);
        QCOMPARE(fx.scalar("select count(*) from checkinfo where id=" + b), QString("0"));
        QCOMPARE(column(part.grid(), 1), QStringList{"001"}); // the list was refreshed
        QCOMPARE(f.controls().checkId->text(), a);            // the roll before the deleted one
    }

    void stockReversal_data()
    {
        QTest::addColumn<QString>("save2Store");
        QTest::addColumn<QString>("batch"); // itemcount/productionNumber after the delete
        QTest::newRow("posting on") << "1" << "0/0";
        QTest::newRow("posting off") << "0" << "120/1";
    }
    void stockReversal()
    {
        QFETCH(QString, save2Store);
        QFETCH(QString, batch);
        CheckFixture fx("Save2Store=1\nautoHuanJuan=0\n");
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        auto& c = f.controls();
        c.autoHuanJuan->setChecked(false);
        fx.lookUp("K001");
        c.TxtBox[CheckField::Quantity]->setText("100");
        c.TxtBox[CheckField::Worker]->setText("001");
        c.TxtBox[CheckField::DyeLot]->setText("2405G");
        f.runCommand(CheckCmd::Save); // booked into a new stock batch
        const QString id = c.checkId->text();
        QVERIFY(id.toLongLong() > 0);
        QCOMPARE(fx.scalar("select itemcount||'/'||productionNumber from iteminBatch"), QString("100/1"));
        c.TxtBox[CheckField::Quantity]->setText("120"); // the roll was measured again and saved
        f.runCommand(CheckCmd::Save);
        QCOMPARE(fx.scalar("select itemcount||'/'||productionNumber from iteminBatch"), QString("120/1"));
        fx.setIni("Save2Store", save2Store);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        QVERIFY(part.delCheck(id.toLongLong()));
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("0"));
        QCOMPARE(fx.scalar("select itemcount||'/'||productionNumber from iteminBatch"), batch);
    }

    void failedDeleteKeepsEverything()
    {
        CheckFixture fx("Save2Store=1\n");
        frmCheck& f = fx.open();
        CheckRollListPanel part(&f);
        const QString id = addRoll(fx, "001", "001", "batchId=5");
        fx.exec("insert into checkDetail(checkId,bugName) values(" + id + ",'破洞')");
        fx.exec("insert into billStatus(billcode,amount,billstatus) values('K001',10,'包装')");
        fx.exec("drop table iteminBatch"); // the stock reversal cannot run
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        QVERIFY(!part.delCheck(id.toLongLong()));
        QCOMPARE(lastMessage(), QString("error"));
        QCOMPARE(fx.scalar("select count(*) from checkinfo"), QString("1"));
        QCOMPARE(fx.scalar("select count(*) from checkDetail"), QString("1"));
        QCOMPARE(fx.scalar("select amount from billStatus"), QString("10"));
        QVERIFY(f.status() != QString("删除成功"));
    }
};

QTEST_MAIN(TestCheckRollList)
#include "TestCheckRollList.moc"
