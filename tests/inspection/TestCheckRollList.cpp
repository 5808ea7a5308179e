// The roll list tab and the step buttons of the inspection window, touched as the inspector
// does: steps, the list queried, a listed roll opened and deleted, the roll on screen deleted.
#include "CheckFixture.h"

#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/inspection/CheckRollListPanel.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString addRoll(CheckFixture& fx, const QString& code)
{
    fx.exec(u"insert into checkinfo(billCode,billdetailId,itemid,checkCode,onCount,checkcount,machineId,checkUsercode,"
            "grade,createDate) values('K001',11,1,'%1',100,1,'001','001','A品','%2')"_s.arg(code, Clock::nowText()));
    return fx.scalar(u"select max(id) from checkinfo"_s);
}

QStringList rolls(const EditGrid* g)
{
    QStringList out;
    for (int r = 1; r < g->rows(); ++r)
        out << g->textMatrix(r, 1);
    return out;
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// A data row of the list as the finger finds it.
QPoint cell(EditGrid* g, int row) { return g->table()->visualItemRect(g->table()->item(row - 1, 1)).center(); }

void touch(EditGrid* g, int row) { QTest::mouseClick(g->table()->viewport(), Qt::LeftButton, {}, cell(g, row)); }

QString said(int i = -1) { return i < 0 ? MessageBox::lastShown().text : MessageBox::shown().value(i).text; }

} // namespace

class TestCheckRollList : public QObject {
    Q_OBJECT
private slots:
    void listTab()
    {
        CheckFixture fx;
        frmCheck* f = &fx.open();
        auto* part = new CheckRollListPanel(f);
        auto* c = &f->controls();
        f->show();
        click(c->checkCommand[CheckCmd::PreviousRoll]);
        QCOMPARE(said(), u"已经是第一卷了"_s);
        QCOMPARE(MessageBox::lastShown().icon, MessageBox::Information);
        click(c->checkCommand[CheckCmd::NextRoll]);
        QCOMPARE(said(), u"已经是最后卷了"_s);
        click(c->checkCommand[CheckCmd::LatestCard]); // the card is looked up
        QCOMPARE(c->TxtBox[CheckField::Card]->text() + c->BillDetailId->text(), u"K00111"_s);
        const QString a = addRoll(fx, u"001"_s), b = addRoll(fx, u"002"_s);
        fx.exec(u"insert into checkDetail(checkId,bugName,bugPosition,bugCount,bugScore) values(%1,'破洞',3,1,4)"_s.arg(a));
        click(c->checkCommand[CheckCmd::PreviousRoll]);
        QCOMPARE(c->checkId->text() + c->TxtBox[CheckField::RollNumber]->text(), b + u"002"_s);

        QTest::mouseClick(c->SSTab1->tabBar(), Qt::LeftButton, {}, c->SSTab1->tabBar()->tabRect(1).center());
        for (QWidget* w : c->SSTab1->widget(1)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(w->isVisible(), qPrintable(w->objectName() + w->accessibleName()));
        QCOMPARE(part->date(0)->date(), Clock::today());
        QCOMPARE(part->date(1)->date(), Clock::today());
        EditGrid* grid = part->grid();
        c->TxtBox[CheckField::ListRoll]->setText(u"001"_s);
        click(c->checkCommand[CheckCmd::QueryList]);
        QCOMPARE(rolls(grid), QStringList{u"001"_s});
        c->TxtBox[CheckField::ListRoll]->clear();
        click(c->checkCommand[CheckCmd::QueryList]);
        QCOMPARE(rolls(grid), (QStringList{u"002"_s, u"001"_s}));
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
        QCOMPARE(rolls(grid), QStringList{u"001"_s}); // gone from the list, which was queried again
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
        QCOMPARE(said(), u"已经是第一卷了"_s);
        QCOMPARE(f->status() + c->checkId->text(), u"删除成功0"_s);
        QVERIFY(c->labInfo[CheckInfo::Totals]->text().endsWith(u"匹数：0"));
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        click(c->checkCommand[CheckCmd::DeleteRoll]);
        QCOMPARE(said(), u"没有保存不要删除！"_s);

        // A roll booked into stock: saved again, its batch follows; deleted, it leaves the batch.
        fx.setIni(u"Save2Store"_s, u"1"_s);
        fx.lookUp(u"K001"_s);
        c->autoHuanJuan->setChecked(false);
        c->TxtBox[CheckField::Worker]->setText(u"001"_s);
        c->TxtBox[CheckField::DyeLot]->setText(u"2405G"_s);
        const QString batch = u"select itemcount||'/'||productionNumber from iteminBatch"_s;
        for (const QString& quantity : {u"100"_s, u"120"_s}) {
            c->TxtBox[CheckField::Quantity]->setText(quantity);
            click(c->checkCommand[CheckCmd::Save]);
            QCOMPARE(fx.scalar(batch), quantity + u"/1"_s);
        }
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        click(c->checkCommand[CheckCmd::DeleteRoll]);
        QCOMPARE(fx.scalar(batch) + fx.scalar(u"select count(*) from checkinfo"_s), u"0/00"_s);

        // The widths the inspector gave the list's columns stay through a query and a restart.
        grid->setColWidth(1, 2345);
        click(c->checkCommand[CheckCmd::QueryList]);
        QCOMPARE(grid->colWidth(1), 2345);
        f->close();
        QCOMPARE(SysUtil::getSetting(u"mirel"_s, u"mirel"_s, u"ppgCheckGrid2"_s).split(u',').value(1), u"2345"_s);
        f = &fx.open();
        QCOMPARE((new CheckRollListPanel(f))->grid()->colWidth(1), 2345);
    }
};

QTEST_MAIN(TestCheckRollList)
#include "TestCheckRollList.moc"
