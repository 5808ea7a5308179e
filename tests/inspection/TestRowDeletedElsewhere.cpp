// A roll, package or box deleted at another station while this one has it on the form: the save
// says so and keeps what was typed as a new record, a delete never leaves the deleted id behind.
#include "../marklabel/MaitouFixture.h"

#include "db/Connection.h"
#include "shell/MessageBox.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckDefectGrid.h"

#include <QCheckBox>

using namespace Qt::StringLiterals;

namespace {

enum Station { Inspection, MarkLabel, FiberBox };

frmCheck& openStation(CheckFixture& fx, int station)
{
    frmCheck& f = station == MarkLabel  ? openMaitou(fx)
                  : station == FiberBox ? openMaitou(fx, true)
                                        : fx.open();
    new CheckRollListPanel(&f);
    fx.lookUp(u"K001"_s);
    f.controls().TxtBox[CheckField::ItemName]->setText(u"涤棉府绸"_s);
    setTag(f.controls().TxtBox[CheckField::ItemName], u"1"_s);
    f.controls().autoHuanJuan->setChecked(false);
    return f;
}

// What another station does: its own connection on the same database file.
void deleteElsewhere(CheckFixture& fx, const QString& id)
{
    Connection other;
    other.open(u"Provider=SQLite;Data Source="_s + fx.home().file(u"mirel.db"_s));
    other.execute(u"delete checkinfo where id="_s + id);
}

} // namespace

class TestRowDeletedElsewhere : public QObject {
    Q_OBJECT

private slots:
    void rowDeletedElsewhere_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<QString>("action");
        const std::pair<const char*, int> stations[] = {
            {"inspection", Inspection}, {"mark label", MarkLabel}, {"fiber box", FiberBox}};
        for (const auto& [name, station] : stations)
            for (const char* action : {"save deleted", "save reopened deleted", "delete", "delete deleted"})
                QTest::addRow("%s, %s", name, action) << station << QString::fromUtf8(action);
    }

    // "save deleted": the roll on the form (reopened, or left there by its save) was deleted
    // elsewhere; the save says so, rolls back and keeps what was typed as a new roll. "delete" (here, or of a roll deleted elsewhere):
    // the form keeps no deleted id (the mark-label station kept it without 箱数). Either way the
    // next save inserts.
    void rowDeletedElsewhere()
    {
        QFETCH(int, station);
        QFETCH(QString, action);
        CheckFixture fx;
        frmCheck& f = openStation(fx, station);
        auto& c = f.controls();
        save(f, u"5"_s);
        const QString id = c.checkId->text();
        QVERIFY(id.toLongLong() > 0);
        const bool reopened = action.contains(u"reopened"_s);
        if (reopened)
            f.rollPanel().loadRoll(id.toLongLong());
        f.defectGrid().append({"", "破洞", "12.5", "1", "4", "001", ""});
        if (action != u"delete")
            deleteElsewhere(fx, id);
        MessageBox::clearShown();
        if (action.startsWith(u"save"_s)) {
            save(f, u"7"_s);
            QCOMPARE(MessageBox::lastShown().text,
                     u"这条记录已被删除，已改为新记录（卷号%1），请再按保存"_s.arg(c.TxtBox[CheckField::RollNumber]->text()));
            // The counter stays off over a roll kept or reopened: it would write another roll's length.
            QVERIFY(!f.devicePanel().polling());
            QCOMPARE(fx.scalar(u"select count(*) from checkDetail"_s), u"0"_s); // rolled back
            QCOMPARE(c.checkId->text(), u"0"_s);
            QCOMPARE(f.defectGrid().rows().size(), 1);
        } else {
            MessageBox::setNextAnswer(MessageBox::AnswerYes);
            MessageBox::setNextAnswer(MessageBox::AnswerOk);
            QTest::mouseClick(c.checkCommand[CheckCmd::DeleteRoll], Qt::LeftButton);
            MessageBox::clearAnswers();
            if (action == u"delete deleted")
                QCOMPARE(MessageBox::shown().value(2).text, u"这卷已被其他工位删除"_s);
            QVERIFY(c.checkId->text() != id);
        }
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"0"_s);
        save(f, u"7"_s);
        QCOMPARE(f.status(), u" 新增成功！"_s);
        QVERIFY(c.checkId->text().toLongLong() > id.toLongLong());
        QCOMPARE(fx.scalar(u"select count(*) || '/' || max(oncount) from checkinfo"_s), u"1/7"_s);
        if (action.startsWith(u"save"_s))
            QCOMPARE(
                fx.scalar(u"select count(*) from checkDetail where checkid="_s + c.checkId->text()),
                u"1"_s);
    }

    // The label printed for a roll deleted elsewhere carries the deleted roll's id and number:
    // once the roll is saved anew, its label is offered again (after the save, not during it).
    void printedLabelOfferedAgain_data()
    {
        QTest::addColumn<bool>("again");
        QTest::newRow("printed again") << true;
        QTest::newRow("not printed") << false;
    }
    void printedLabelOfferedAgain()
    {
        QFETCH(bool, again);
        CheckFixture fx;
        fx.home().writeFile(u"打印/唛头/唛头.grf"_s, "[report]\n");
        frmCheck& f = openStation(fx, Inspection);
        CheckLabelPanel labels(&f);
        QList<qint64> printed;
        labels.setPrintFn([&](const QString&, qint64 id, bool, int) { printed << id; });
        save(f, u"5"_s, 4); // 打印标签
        const QString id = f.controls().checkId->text();
        fx.exec(u"insert checkinfo(billCode,billdetailId,checkCode) values('K001',11,'002')"_s);
        deleteElsewhere(fx, id);
        save(f, u"7"_s);
        MessageBox::clearShown();
        MessageBox::setNextAnswer(again ? MessageBox::AnswerYes : MessageBox::AnswerNo);
        save(f, u"7"_s);
        const QString now = f.controls().checkId->text();
        QCOMPARE(MessageBox::shown().value(0).text,
                 u"已打印的标签（卷号001）是被删除的记录的，重新打印卷号003的标签？"_s);
        QCOMPARE(printed, again ? (QList<qint64>{id.toLongLong(), now.toLongLong()})
                                : QList<qint64>{id.toLongLong()});
        save(f, u"8"_s); // that roll's own save: nothing to offer
        QCOMPARE(MessageBox::shown().size(), 1);
    }
};

QTEST_MAIN(TestRowDeletedElsewhere)
#include "TestRowDeletedElsewhere.moc"
