// A roll, package or box deleted at another station while this one has it on the form: the save
// says so and keeps what was typed as a new record, a delete never leaves the deleted id behind.
#include "../fiberbox/HuaxianFixture.h"

#include "db/Connection.h"
#include "shell/MessageBox.h"

#include <QCheckBox>

using namespace Qt::StringLiterals;

namespace {

enum Station { Inspection, MarkLabel, FiberBox };

frmCheck& openStation(CheckFixture& fx, int station)
{
    frmCheck& f = station == MarkLabel  ? openMaitou(fx)
                  : station == FiberBox ? openHuaxian(fx)
                                        : fx.open();
    new CheckRollListPart(&f);
    fx.lookUp(u"K001"_s);
    f.controls().TxtBox[22]->setText(u"涤棉府绸"_s);
    setTag(f.controls().TxtBox[22], u"1"_s);
    f.controls().autoHuanJuan->setChecked(false);
    return f;
}

void save(frmCheck& f, const QString& quantity)
{
    f.controls().TxtBox[7]->setText(quantity);
    QTest::mouseClick(f.controls().checkCommand[2], Qt::LeftButton);
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
    void stations_data()
    {
        QTest::addColumn<int>("station");
        QTest::newRow("inspection") << int(Inspection);
        QTest::newRow("mark label") << int(MarkLabel);
        QTest::newRow("fiber box") << int(FiberBox);
    }

    void saveBecomesNewRecord_data() { stations_data(); }
    void saveBecomesNewRecord()
    {
        QFETCH(int, station);
        CheckFixture fx;
        frmCheck& f = openStation(fx, station);
        auto& c = f.controls();
        save(f, u"5"_s);
        const QString first = c.checkId->text();
        QVERIFY(first.toLongLong() > 0);
        f.appendDefectRow({"", "破洞", "12.5", "1", "4", "001", ""});
        deleteElsewhere(fx, first);
        MessageBox::clearShown();
        save(f, u"7"_s);
        QCOMPARE(MessageBox::lastShown().text, u"这条记录已被删除，已改为新记录，请再按保存"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"0"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkDetail"_s), u"0"_s); // rolled back
        QCOMPARE(c.checkId->text(), u"0"_s);
        QCOMPARE(c.TxtBox[7]->text(), u"7"_s);
        QCOMPARE(f.defectRows().size(), 1);
        save(f, u"7"_s);
        QCOMPARE(f.status(), u" 新增成功！"_s);
        QVERIFY(c.checkId->text().toLongLong() > first.toLongLong());
        QCOMPARE(fx.scalar(u"select count(*) || '/' || max(oncount) from checkinfo"_s), u"1/7"_s);
        QCOMPARE(
            fx.scalar(u"select count(*) from checkDetail where checkid="_s + c.checkId->text()),
            u"1"_s);
    }

    // Deleting the roll on screen, or one already deleted elsewhere: the form keeps no deleted
    // id, so the next save inserts (on the mark-label station even without packages a pallet).
    void deleteLeavesNoDeletedId_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("inspection") << int(Inspection) << false;
        QTest::newRow("mark label") << int(MarkLabel) << false;
        QTest::newRow("fiber box") << int(FiberBox) << false;
        QTest::newRow("inspection, deleted elsewhere") << int(Inspection) << true;
        QTest::newRow("mark label, deleted elsewhere") << int(MarkLabel) << true;
    }
    void deleteLeavesNoDeletedId()
    {
        QFETCH(int, station);
        QFETCH(bool, elsewhere);
        CheckFixture fx;
        frmCheck& f = openStation(fx, station);
        auto& c = f.controls();
        save(f, u"5"_s);
        const QString id = c.checkId->text();
        if (elsewhere)
            deleteElsewhere(fx, id);
        MessageBox::clearShown();
        MessageBox::setNextAnswer(MessageBox::AnswerYes);
        MessageBox::setNextAnswer(MessageBox::AnswerOk);
        QTest::mouseClick(c.checkCommand[9], Qt::LeftButton);
        MessageBox::clearAnswers();
        if (elsewhere)
            QCOMPARE(MessageBox::shown().value(2).text, u"这卷已被其他工位删除"_s);
        QCOMPARE(fx.scalar(u"select count(*) from checkinfo"_s), u"0"_s);
        QVERIFY(c.checkId->text() != id);
        save(f, u"6"_s);
        QCOMPARE(fx.scalar(u"select count(*) || '/' || max(oncount) from checkinfo"_s), u"1/6"_s);
    }
};

QTEST_MAIN(TestRowDeletedElsewhere)
#include "TestRowDeletedElsewhere.moc"
