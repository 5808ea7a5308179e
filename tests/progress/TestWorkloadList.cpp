// The progress station's record list: period by whole days, this machine's records only, exact
// card and worker filters, stored column widths, and deletion behind the access code.
#include "ProgressFixture.h"

#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "stations/progress/WorkloadListPart.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"

#include <QDateEdit>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

void addRecords(ProgressFixture& fx)
{
    fx.exec("insert into BillStatusDetail(id,barcode,billstatus,viewcount,usercode,createdate,endUser) values"
            "(1,'K002','织造',10,'001','2026-11-30 00:00:00','001'),"
            "(2,'K002','配布',11,'002','2026-11-30 23:59:59','001'),"
            "(3,'K001','配布',12,'001','2026-12-01 00:00:00','001'),"
            "(4,'K0021','染色',13,'001','2026-11-30 12:00:00','001'),"
            "(5,'K002','染色',14,'001','2026-11-30 12:00:00','002')");
}

QStringList listedIds(const EditGrid* g)
{
    QStringList ids;
    for (int r = 1; r < g->rows(); ++r)
        ids << g->textMatrix(r, 0);
    return ids;
}

} // namespace

class TestWorkloadList : public QObject {
    Q_OBJECT
private slots:
    void query_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("worker");
        QTest::addColumn<QStringList>("ids");
        const QDate d30(2026, 11, 30), d01(2026, 12, 1);
        QTest::newRow("one day, to its last second") << d30 << d30 << "" << "" << QStringList{"1", "2", "4"};
        QTest::newRow("two days") << d30 << d01 << "" << "" << QStringList{"1", "2", "3", "4"};
        QTest::newRow("first day after last") << d01 << d30 << "" << "" << QStringList{};
        QTest::newRow("exact card") << d30 << d01 << "K002" << "" << QStringList{"1", "2"};
        QTest::newRow("part of a card") << d30 << d01 << "K00" << "" << QStringList{};
        QTest::newRow("worker") << d30 << d01 << "" << "002" << QStringList{"2"};
    }
    void query()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        ProgressFixture fx;
        addRecords(fx);
        frmWorkload& f = fx.open();
        f.list()->DTdate[0]->setDate(from);
        f.list()->DTdate[1]->setDate(to);
        QFETCH(QString, card);
        QFETCH(QString, worker);
        f.TxtBox[4]->setText(card);
        f.TxtBox[5]->setText(worker);
        QTest::mouseClick(f.list()->SearchWLBtn[0], Qt::LeftButton);
        QTEST(listedIds(f.list()->pggBase), "ids");
        QCOMPARE(f.list()->pggBase->header().mid(1).join(','), QString("卡号,颜色,状态,日期,数量,匹数,工号,备注"));
    }

    void remove_data()
    {
        QTest::addColumn<int>("row"); // 0: none selected
        QTest::addColumn<QVariant>("code"); // typed on the pad; invalid: 取消
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("goneBefore"); // deleted at another station after the list was read
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("status"); // the card's billstatus afterwards
        QTest::newRow("no row") << 0 << QVariant() << QStringList{"请选择列表的一行..."} << "1,2,4" << "5" << false << "K002" << "织造";
        QTest::newRow("wrong code") << 2 << QVariant("586") << QStringList{"密码错误！"} << "1,2,4" << "5" << false << "K002" << "织造";
        QTest::newRow("cancel") << 2 << QVariant() << QStringList{} << "1,2,4" << "5" << false << "K002" << "织造";
        QTest::newRow("right code: the latest remaining step") << 2 << QVariant("5862") << QStringList{"删除成功"} << "1,4" << "4" << false << "K002" << "染色";
        QTest::newRow("the card's only report: no step") << 3 << QVariant("5862") << QStringList{"删除成功"} << "1,2" << "4" << false << "K0021" << "";
        QTest::newRow("gone meanwhile")
            << 2 << QVariant("5862")
            << QStringList{"这条记录已不在数据库中（已被删除）：\nDELETE  FROM BillStatusDetail where ID =2"}
            << "1,4" << "4" << true << "K002" << "织造";
    }
    void remove()
    {
        QFETCH(int, row);
        QFETCH(QVariant, code);
        ProgressFixture fx;
        addRecords(fx);
        fx.exec("insert into bill(billid,billcode,billtype,billstatus) values(3,'K0021',55,'染色')");
        frmWorkload& f = fx.open();
        f.list()->DTdate[0]->setDate(QDate(2026, 11, 30));
        f.list()->DTdate[1]->setDate(QDate(2026, 11, 30));
        f.list()->loadRecordList();
        f.list()->pggBase->setRow(row);
        QFETCH(bool, goneBefore);
        if (goneBefore)
            fx.exec("delete from BillStatusDetail where id=2");
        MessageBox::clearShown();
        QTest::mouseClick(f.list()->SearchWLBtn[1], Qt::LeftButton);
        UserControl1* pad = f.NumberKeybord1;
        QCOMPARE(!pad->isHidden() && pad->GetTextBox() == f.list()->codeBox, row > 0);
        // The code on the pad, then its 确定; or 取消 on the code frame.
        const auto key = [pad](const QString& tag) {
            for (PadKey* k : pad->keys())
                if (k->tag() == tag)
                    return k;
            return static_cast<PadKey*>(nullptr);
        };
        if (row > 0 && code.isValid()) {
            for (const QChar c : code.toString())
                key(QString(c))->click();
            pad->keys()[11]->click();
        } else if (row > 0) {
            f.list()->codeFrame->findChild<QPushButton*>("codeCancel")->click();
        }
        QVERIFY(f.list()->codeFrame->isHidden() && pad->isHidden());
        QStringList texts;
        for (const MessageBox::Shown& s : MessageBox::shown())
            texts << s.text;
        QTEST(texts, "messages");
        QTEST(listedIds(f.list()->pggBase).join(','), "left");
        QTEST(fx.scalar("select count(*) from BillStatusDetail"), "stored");
        QFETCH(QString, card);
        QTEST(fx.scalar("select isnull(billstatus,'') from bill where billcode='" + card + "'"), "status");
    }

    void widths_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("col1");
        QTest::newRow("one short") << "1,2,3,4,5,6,7,8" << 1800;
        QTest::newRow("one more") << "1,2,3,4,5,6,7,8,9,10" << 1800;
        QTest::newRow("all columns") << "500,2500,3,4,5,6,7,8,9" << 2500;
    }
    void widths()
    {
        QFETCH(QString, stored);
        ProgressFixture fx;
        SysUtil::saveSetting("mirel", "mirel", "frmWorkload", stored);
        frmWorkload& f = fx.open();
        QTest::mouseClick(f.list()->SearchWLBtn[0], Qt::LeftButton);
        QTEST(f.list()->pggBase->colWidth(1), "col1");
        QCOMPARE(f.list()->pggBase->colWidth(0), 800); // the id column keeps its design width
        f.list()->pggBase->setColWidth(2, 2000);
        f.close();
        QCOMPARE(SysUtil::getSetting("mirel", "mirel", "frmWorkload").section(',', 2, 2), QString("2000"));
    }
};

QTEST_MAIN(TestWorkloadList)
#include "TestWorkloadList.moc"
