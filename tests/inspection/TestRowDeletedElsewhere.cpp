// A roll, package or box deleted at another station while this one has it on the form: the save
// says so and keeps what was typed as a new record, a delete never leaves the deleted id behind.
#include "../marklabel/MaitouFixture.h"

#include "db/Connection.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckRollPanel.h"

#include <QCheckBox>

using namespace Qt::StringLiterals;

class TestRowDeletedElsewhere : public QObject {
    Q_OBJECT

    enum Station { Inspection, MarkLabel, FiberBox };

private slots:
    void rowDeletedElsewhere_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("reprint"); // the label was printed with the first save: the answer
        const std::pair<const char*, int> stations[] = {{"inspection", Inspection}, {"mark label", MarkLabel}, {"fiber box", FiberBox}};
        for (const auto& [name, station] : stations)
            for (const char* action : {"save deleted", "save reopened deleted", "delete", "delete deleted"})
                QTest::addRow("%s, %s", name, action) << station << QString::fromUtf8(action) << 0;
        QTest::newRow("inspection, label printed, printed again") << int(Inspection) << "save deleted" << int(MessageBox::AnswerYes);
        QTest::newRow("inspection, label printed, not again") << int(Inspection) << "save deleted" << int(MessageBox::AnswerNo);
    }

    // "save deleted": the roll on the form (reopened, or left there by its save) was deleted
    // elsewhere; the save says so, rolls back and keeps what was typed as a new roll, and a label
    // printed for the deleted roll is offered again once the roll is saved anew (after the save,
    // not during it). "delete" (here, or of a roll deleted elsewhere): the form keeps no deleted
    // id (the mark-label station kept it without 箱数). Either way the next save inserts.
    void rowDeletedElsewhere()
    {
        QFETCH(int, station);
        QFETCH(QString, action);
        QFETCH(int, reprint);
        CheckFixture fx;
        fx.home().writeFile(u"打印/唛头/唛头.grf"_s, "[report]\n");
        frmCheck& f = station == Inspection ? fx.open() : openMaitou(fx, station == FiberBox);
        new CheckRollListPanel(&f);
        QList<qint64> printed;
        if (reprint)
            (new CheckLabelPanel(&f))->setPrintFn([&](const QString&, qint64 id, bool, int) { printed << id; });
        auto& c = f.controls();
        fx.lookUp(u"K001"_s);
        c.TxtBox[CheckField::ItemName]->setText(u"涤棉府绸"_s);
        setTag(c.TxtBox[CheckField::ItemName], u"1"_s);
        c.autoHuanJuan->setChecked(false);
        save(f, u"5"_s, reprint ? CheckCmd::PrintLabel : CheckCmd::Save);
        const QString id = c.checkId->text();
        QVERIFY(id.toLongLong() > 0);
        fx.exec(u"insert checkinfo(billCode,billdetailId,checkCode) values('K001',11,'002')"_s); // another station's
        if (action.contains(u"reopened"_s))
            f.rollPanel().loadRoll(id.toLongLong());
        f.defectGrid().append({"", "破洞", "12.5", "1", "4", "001", ""});
        if (action != u"delete") { // another station, on its own connection to the database
            Connection other;
            other.open(u"Provider=SQLite;Data Source="_s + fx.home().file(u"mirel.db"_s));
            other.execute(u"delete checkinfo where id="_s + id);
        }
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
            if (action == u"delete deleted")
                QCOMPARE(MessageBox::shown().value(2).text, u"这卷已被其他工位删除"_s);
            QVERIFY(c.checkId->text() != id);
        }
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"1"_s);
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
};

QTEST_MAIN(TestRowDeletedElsewhere)
#include "TestRowDeletedElsewhere.moc"
