// The pallet rules of the mark-label and fiber-box stations without a window, on a real embedded
// database: the pallet's list and summary, the list read again, the packages per pallet, the full
// pallet's question, the pallet a restarted station goes on with, the delete question, a package
// saved before a restart; and the batch field of the box form from box to box.
#include "stations/fiberbox/HuaxianBox.h"
#include "stations/marklabel/MaitouPallet.h"
#include "stations/marklabel/MaitouSql.h"
#include "support/RuleDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Packages of two stations: 001 and 002 of station 001 on P1, 003 of station 002 on P1, 004 on
// P2, 005 on O'1; net (oncount) and gross (cutcount) weights differ.
const char* const Stacked =
    "insert into checkinfo(checkcode,oncount,cutcount,bagnumber,machineId,billdetailid,item2) values"
    "('001',20.5,21.3,'P1','001',0,'20'),('002',10,11,'P1','001',0,'20'),('003',5,6,'P1','002',0,''),"
    "('004',7,8,'P2','001',0,''),('005',7,8,'O''1','001',11,'')";

std::unique_ptr<MaitouPackage> packageOf(bool box, const InspectionSettings& s)
{
    return box ? std::make_unique<HuaxianBox>(s) : std::make_unique<MaitouPackage>(s);
}

QString column(const Recordset& rs, const QString& name)
{
    QStringList out;
    for (const QList<DbValue>& row : rs.rows())
        out << row.value(rs.fieldIndex(name)).toString();
    return out.join(u',');
}

// The cases of palletList, packagesPerPallet, fullPallet and batchOfEachBox.
struct Listed { bool box; QString machine, stored, pallet, listed, meanwhile; bool changed; };
struct Command { int command; bool pressed; QString perPallet; bool refused; };
struct Full { bool box; QString perPallet; int listed; bool asks; };
struct Boxes { QString pattern, steps, batches; };

} // namespace

class TestMaitouPallet : public QObject {
    Q_OBJECT

private slots:
    // A package's (or a box's) pallet list at a machine, by the mill's stored list ("" built in):
    // the 箱号 newest first | the summary; read again after another station's statement, changed.
    void palletList_data()
    {
        QTest::addColumn<Listed>("c");
        const QString putOn = "insert into checkinfo(checkcode,bagnumber,machineId) values('009','%1','%2')";
        const QString stored = "select checkcode as 箱号%1 from checkinfo where bagnumber='?' and machineId='{machineId}'";
        QTest::newRow("this station's packages")
            << Listed{false, "001", "", "P1", "002,001|  卷数:2  米数:30.5", putOn.arg("P1", "001"), true};
        QTest::newRow("the other station's") << Listed{false, "002", "", "P1", "003|  卷数:1  米数:5", putOn.arg("P1", "001"), false};
        QTest::newRow("boxes sum their net weight")
            << Listed{true, "001", "", "P1", "002,001|净重:30.5  箱数:2", "update checkinfo set oncount=21 where checkcode='001'", true};
        QTest::newRow("quote in the pallet")
            << Listed{false, "001", "", "O'1", "005|  卷数:1  米数:7", "delete from checkinfo where checkcode='005'", true};
        QTest::newRow("no pallet") << Listed{true, "001", "", "", "|净重:0  箱数:0", putOn.arg("P2", "001"), false};
        QTest::newRow("stored list") << Listed{false, "001", stored.arg(", oncount as 净重") + " order by id", "P1",
                                               "001,002|  卷数:2  米数:30.5", "select 1", false};
        QTest::newRow("stored list without 净重")
            << Listed{false, "002", stored.arg(""), "P1", "003|  卷数:1  米数:0", putOn.arg("P1", "002"), true};
    }
    void palletList()
    {
        QFETCH(Listed, c);
        RuleDatabase db;
        db.conn.execute(QString::fromUtf8(Stacked));
        InspectionSettings s;
        s.machineId = c.machine;
        const PalletList list = MaitouPallet(*packageOf(c.box, s)).read(db.conn, c.stored, c.pallet);
        QCOMPARE(column(list.rows, u"箱号"_s) + u'|' + list.summary, c.listed);
        db.conn.execute(c.meanwhile);
        QCOMPARE(MaitouPallet::changed(list.rows, db.conn.execute(list.statement)), c.changed);
        QVERIFY(MaitouPallet::changed(list.rows, db.conn.execute(u"select 1 as 箱号 where 1=0"_s)));
    }

    // 上卷 and 下卷 count the pallet's packages against the packages per pallet: a command, pressed
    // or run by another step, the packages per pallet typed: refused.
    void packagesPerPallet_data()
    {
        QTest::addColumn<Command>("c");
        QTest::newRow("new package, empty") << Command{int(CheckCmd::NewRoll), true, "", false};
        QTest::newRow("previous, empty") << Command{int(CheckCmd::PreviousRoll), true, "", true};
        QTest::newRow("next, text") << Command{int(CheckCmd::NextRoll), true, "箱", true};
        QTest::newRow("next, 0") << Command{int(CheckCmd::NextRoll), true, "0", true};
        QTest::newRow("previous, 20 a pallet") << Command{int(CheckCmd::PreviousRoll), true, "20", false};
        QTest::newRow("delete, empty") << Command{int(CheckCmd::DeleteRoll), true, "", false};
        QTest::newRow("the step a delete runs") << Command{int(CheckCmd::NextRoll), false, "", false};
    }
    void packagesPerPallet()
    {
        QFETCH(Command, c);
        const auto& [command, pressed, perPallet, refused] = c;
        InspectionSettings s;
        const auto problem = MaitouPallet(MaitouPackage(s)).commandRefused(command, pressed, perPallet);
        QCOMPARE(problem ? problem->message + QString::number(problem->field) : QString(),
                 refused ? u"输入每版的箱数%1"_s.arg(CheckField::Style) : QString());
    }

    // A fiber-box pallet that holds its boxes asks for its list and a new pallet, at every list.
    void fullPallet_data()
    {
        QTest::addColumn<Full>("c");
        QTest::newRow("19 of 20") << Full{true, "20", 19, false};
        QTest::newRow("20 of 20") << Full{true, "20", 20, true};
        QTest::newRow("21 of 20, after a No") << Full{true, "20", 21, true};
        QTest::newRow("no count typed") << Full{true, "", 5, false};
        QTest::newRow("mark labels never ask") << Full{false, "20", 20, false};
    }
    void fullPallet()
    {
        QFETCH(Full, c);
        const auto& [box, perPallet, listed, asks] = c;
        InspectionSettings s;
        Recordset rows({u"ID"_s, u"净重"_s});
        for (int id = 1; id <= listed; ++id) // newest first, as the list shows them
            rows.addRow({DbValue(qint64(id == 1 ? listed : id - 1)), DbValue(20.5)});
        const QString question = MaitouPallet(*packageOf(box, s)).fullQuestion(perPallet, rows);
        QCOMPARE(!question.isEmpty(), asks);
        QVERIFY(question.isEmpty() || question == u"已经到了指定的箱数了，是否需要打印清单并自动换板号?");
        QCOMPARE(MaitouPallet::newestPackage(rows), listed);
    }

    // A restarted station goes on with the pallet of its latest package that has one.
    void restartedStation_data()
    {
        QTest::addColumn<QString>("rows"); // checkcode, bagnumber, machineId, item2, bagTime
        QTest::addColumn<QString>("start");
        const QString p1 = u"('001','P1','001','20',null)"_s;
        QTest::newRow("latest pallet and count") << p1 + u",('002','P2','001','30',null)"_s << u"P2/30"_s;
        QTest::newRow("latest package without pallet") << p1 + u",('002','','001','30',null)"_s << u"P1/20"_s;
        QTest::newRow("a packing box is no pallet") << p1 + u",('010','261205001','001','',  '2026-12-05 11:02')"_s << u"P1/20"_s;
        QTest::newRow("another station's pallet") << p1 + u",('002','P2','002','30',null)"_s << u"P1/20"_s;
        QTest::newRow("no count kept") << u"('001','P1','001','0',null)"_s << u"P1/"_s;
        QTest::newRow("nothing packed here") << u"('001','P1','002','20',null)"_s << u"-"_s;
    }
    void restartedStation()
    {
        QFETCH(QString, rows);
        RuleDatabase db;
        db.conn.execute(u"insert into checkinfo(checkcode,bagnumber,machineId,item2,bagTime) values "_s + rows);
        InspectionSettings s;
        MaitouPackage package(s);
        const auto start = MaitouPallet::startFrom(db.conn.execute(MaitouPallet(package).lastPalletStatement()));
        QTEST(start ? start->pallet + u'/' + start->perPallet : u"-"_s, "start");
    }

    // The delete question names the package's roll number; a package saved by this station with
    // its number on its pallet is not put back after a restart.
    void packageQuestions()
    {
        RuleDatabase db;
        db.conn.execute(QString::fromUtf8(Stacked));
        QCOMPARE(MaitouPallet::deleteQuestion(db.conn, 2), u"是否要删除卷号[002]的标签"_s);
        QCOMPARE(MaitouPallet::deleteQuestion(db.conn, 99), u"是否要删除卷号[99]的标签"_s);
        const auto saved = [&](const char* number, const char* pallet, const char* machine, double line) {
            return db.conn.execute(MaitouSql::packageSaved(QString::fromUtf8(number), QString::fromUtf8(pallet),
                                                           QString::fromUtf8(machine), line)).text(0);
        };
        QCOMPARE(saved("001", "P1", "001", 0) + saved("005", "O'1", "001", 11), u"11"_s);
        QCOMPARE(saved("003", "P1", "001", 0) + saved("001", "P2", "001", 0) + saved("005", "O'1", "001", 0), u"000"_s);
        db.conn.close();
        QCOMPARE(MaitouPallet::deleteQuestion(db.conn, 2), u"是否要删除卷号[2]的标签"_s);
    }

    // The batch field of the box form from box to box: "type 2405", "save", "new" (the next box
    // weighs nothing yet), "grade N", "备A X", "pattern P", "reopen BATCH GRADE" (a saved box read
    // back). The field's text after each save, and at the end.
    void batchOfEachBox_data()
    {
        QTest::addColumn<Boxes>("c");
        const QString boxes = "save;new;save;pattern [备A][缸号];save;reopen %1 1;备A 4;save";
        QTest::newRow("batch and 备A") << Boxes{"[缸号]-[备A]", boxes.arg("2405-3"), "2405-3|2405-3|32405|2405-3"};
        // A field's text that looks like a token stays as typed.
        QTest::newRow("weight, 备3, 备D")
            << Boxes{"[缸号]/[重量]/[备3][备D]", boxes.arg("2405/18.5/M1[备A]"), "2405/18.5/M1[备A]|2405/0/M1[备A]|32405|2405/18.5/M1[备A]"};
        QTest::newRow("a token twice") << Boxes{"[备A]-[缸号]-[备A]", "save", "3-2405-3"};
        QTest::newRow("unknown token stays") << Boxes{"[缸号][备Z]", "save", "2405[备Z]"};
        QTest::newRow("no pattern") << Boxes{"", boxes.arg("2405"), "2405|2405|32405|2405"};
        QTest::newRow("pattern ends in a grade letter") << Boxes{"[缸号]C", boxes.arg("2405C"), "2405C|2405C|32405|2405C"};
        QTest::newRow("typed batch changed") << Boxes{"[缸号]-[备A]", "save;type 2406;save", "2405-3|2406-3"};
        QTest::newRow("grade after a save") << Boxes{"[缸号]-[备A]", "save;grade 1;save", "2405-3|2405B-3"};
        QTest::newRow("B twice") << Boxes{"", "grade 1;grade 1", "2405B"};
        QTest::newRow("C, then the first grade") << Boxes{"", "grade 2;grade 0", "2405"};
        QTest::newRow("reopened second") << Boxes{"", "type 2405C;reopen 2405 1", "2405B"};
        QTest::newRow("fourth grade") << Boxes{"", "type 2405C;grade 3", "2405"};
        QTest::newRow("third of an empty batch") << Boxes{"", "type ;grade 2", "C"};
    }
    void batchOfEachBox()
    {
        QFETCH(Boxes, c);
        auto [pattern, steps, batches] = c; // a step may change the pattern
        HuaxianBatch batch;
        RollForm roll;
        for (const auto& [f, text] : {std::pair{CheckField::DyeLot, u"2405"}, {CheckField::SpareA, u"3"}, {CheckField::Weight, u"18.5"},
                                      {CheckField::Spare3, u"M1"}, {CheckField::SpareD, u"[备A]"}})
            roll[f] = QString::fromUtf16(text);
        QString& field = roll[CheckField::DyeLot];
        const auto grade = [&](int index) { field = batch.afterGrade(field, index).value_or(field); };
        QStringList shown;
        for (const QString& step : steps.split(u';')) {
            const QString word = step.section(u' ', 0, 0), arg = step.section(u' ', 1, 1);
            if (word == u"save") {
                field = batch.atSave(pattern, roll).value_or(field);
                shown << field;
            } else if (word == u"new")
                roll[CheckField::Weight] = u"0"_s;
            else if (word == u"grade")
                grade(arg.toInt());
            else if (word == u"type")
                field = arg;
            else if (word == u"备A")
                roll[CheckField::SpareA] = arg;
            else if (word == u"pattern")
                pattern = arg;
            else if (word == u"reopen") {
                batch.reopening(!pattern.isEmpty());
                field = arg;
                grade(step.section(u' ', 2, 2).toInt()); // the stored grade, as the form shows it
                batch.reopened(field);
            }
        }
        if (!steps.endsWith(u"save"))
            shown << field;
        QCOMPARE(shown.join(u'|'), batches);
    }
};

QTEST_GUILESS_MAIN(TestMaitouPallet)
#include "TestMaitouPallet.moc"
