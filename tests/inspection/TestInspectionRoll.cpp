// The roll rules of the inspection family without a window: what stops a save and where the
// caret goes, the quantity a weight gives, the values and statements a roll is stored with, the
// scope of its number, a saved roll read back and a fiber box's tare — for the roll, the
// mark-label package and the fiber box. (The pallet and the box's batch: TestMaitouPallet.)
#include "db/Recordset.h"
#include "stations/fiberbox/HuaxianBox.h"
#include "stations/inspection/InspectionRoll.h"
#include "stations/marklabel/MaitouPackage.h"
#include "time/Clock.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

using Edit = std::function<void(RollForm&)>;

namespace {

enum Kind { Roll, Package, Box };

std::unique_ptr<InspectionRoll> rulesOf(int kind, const InspectionSettings& s)
{
    if (kind == Package)
        return std::make_unique<MaitouPackage>(s);
    if (kind == Box)
        return std::make_unique<HuaxianBox>(s);
    return std::make_unique<InspectionRoll>(s);
}

// Every field of the inspection form, typed as an inspector fills a roll of card K001.
RollForm typedRoll()
{
    RollForm r;
    r.present.set();
    for (const auto& [f, text] : {std::pair{CheckField::Card, u"K001"}, {CheckField::RollNumber, u"007"},
                                  {CheckField::Quantity, u"98.5"}, {CheckField::PlusMinus, u"1.5"},
                                  {CheckField::Weight, u"21.4"}, {CheckField::Factor, u"4.6"},
                                  {CheckField::Worker, u"001"}, {CheckField::DyeLot, u"J1"},
                                  {CheckField::ItemName, u"涤棉府绸"}})
        r[f] = QString::fromUtf16(text);
    r.lineId = u"11"_s;
    r.itemId = u"1"_s;
    r.grade = u"A品"_s;
    return r;
}

// The form's field f holds text; with an article chosen (the mark-label and fiber-box forms).
Edit set(CheckField::Index f, const QString& text, bool chosen = false)
{
    return [=](RollForm& r) {
        r[f] = text;
        if (chosen)
            r.chosenItem = u"5"_s;
    };
}

// The required fields ("lab,txt;" each), a setting ("cardOptional", "autoItems" or ""), the form as
// edited: the message ("" may be saved) and the field the caret goes to.
struct Check { int kind; QString required, setting; Edit edit; QString message = {}; int field = -1; };

// The quantity formula ("" the default), its display format, whether a new weight clears the
// quantity, the weight and factor typed: the quantity ("-" none) and the start of the complaint.
struct Formula { QString formula, format; bool clear; QString weight, factor, quantity, problem; };

// A roll of a kind in metres or yards: the values stored, a fragment of its insert and its update.
struct Stored { int kind; bool yards; QString values, insertHas, updateHas; };

// A kind's rule ("codeDESC codetype-or-codeLen"), the number shown: the scope's condition, or the
// number after the one shown.
struct Numbered { int kind; QString rule, shown, number; };
// A kind's saved row with its unit and article: quantity|yards|grade|article|chosen|pallet|item8.
struct Reopened { int kind; double checkcount; QString itemid, shown; };

// The columns named for the box's and the cone's tare: the fields filled (field=text, …).
struct Tare { QString boxColumn, coneColumn, expected; };
} // namespace

class TestInspectionRoll : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30, 5))); }
    void cleanup() { Clock::set(QDateTime()); }

    void validate_data()
    {
        QTest::addColumn<Check>("c");
        const Edit none = [](RollForm&) {}, noLine = [](RollForm& r) { r.lineId.clear(); };
        const QString missing = ",没有输入。", noArticle = "请选择商品", badQuantity = "请输入有效的数量";
        QTest::newRow("typed roll") << Check{Roll, "10,7;19,14;3,3;11,gradeBtn;", "", none};
        QTest::newRow("no card line") << Check{Roll, "", "", noLine, "请输入有效的卡号 或 选择好对应的颜色", CheckField::Card};
        QTest::newRow("no card line, simple mode") << Check{Roll, "", "cardOptional", [](RollForm& r) { r.lineId = "0"; }};
        QTest::newRow("quantity 0 counts as missing") << Check{Roll, "10,7;", "", set(CheckField::Quantity, "0"), "标签10" + missing,
            CheckField::Quantity};
        QTest::newRow("weight -1 counts as missing") << Check{Roll, "3,3;19,14;", "", set(CheckField::Weight, "-1"),
            "标签19" + missing, CheckField::Weight};
        QTest::newRow("dye lot 0 is typed") << Check{Roll, "3,3;", "", set(CheckField::DyeLot, "0")};
        QTest::newRow("blank dye lot") << Check{Roll, " 3,3 ;", "", set(CheckField::DyeLot, "  "), "标签3" + missing,
            CheckField::DyeLot};
        QTest::newRow("no grade chosen") << Check{Roll, "11,gradeBtn;", "", [](RollForm& r) { r.grade.clear(); }, "等级没有选择。"};
        QTest::newRow("last item without ';' is not read") << Check{Roll, "3,3", "", set(CheckField::DyeLot, {})};
        QTest::newRow("field the station lacks") << Check{Roll, "33,28;", "", [](RollForm& r) { r.present.reset(CheckField::Pallet); }};
        QTest::newRow("entry out of range") << Check{Roll, "1,99;x;", "", none};
        QTest::newRow("package without article") << Check{Package, "", "", none, noArticle, CheckField::ItemName};
        QTest::newRow("package, article made by the save") << Check{Package, "", "autoItems", none};
        QTest::newRow("box always needs its article") << Check{Box, "", "autoItems", none, noArticle, CheckField::ItemName};
        QTest::newRow("package with article, card line ignored") << Check{Package, "", "",
            [](RollForm& r) { r.chosenItem = "5"; r.lineId.clear(); }};
        QTest::newRow("package quantity 0") << Check{Package, "", "", set(CheckField::Quantity, "0", true), badQuantity,
            CheckField::Quantity};
        QTest::newRow("package quantity 12,5") << Check{Package, "", "", set(CheckField::Quantity, "12,5", true)};
        QTest::newRow("box net weight 12,5") << Check{Box, "", "", set(CheckField::Quantity, "12,5", true), badQuantity,
            CheckField::Quantity};
        QTest::newRow("box net weight 12.5kg") << Check{Box, "", "", set(CheckField::Quantity, "12.5kg", true), badQuantity,
            CheckField::Quantity};
        QTest::newRow("box net weight 12.5") << Check{Box, "", "", set(CheckField::Quantity, "12.5", true)};
    }
    void validate()
    {
        QFETCH(Check, c);
        InspectionSettings s;
        s.requiredFields = c.required;
        s.cardOptional = c.setting == u"cardOptional";
        s.itemAutoSave = c.setting == u"autoItems";
        const auto rules = rulesOf(c.kind, s);
        RollForm roll = typedRoll();
        c.edit(roll);
        std::optional<RollProblem> problem = rules->validate(roll, [](int lab) { return u"标签%1"_s.arg(lab); });
        if (!problem)
            problem = rules->checkExtra(roll);
        QCOMPARE(problem ? problem->message : QString(), c.message);
        QCOMPARE(problem ? problem->field : -1, c.field);
    }

    void quantity_data()
    {
        QTest::addColumn<Formula>("c");
        QTest::newRow("weight times factor") << Formula{"", "0.00", true, "21.4", "4.6", "98.44", ""};
        QTest::newRow("rounded half away from zero") << Formula{"", "0.0", true, "2.5", "0.5", "1.3", ""};
        QTest::newRow("mill's formula") << Formula{"([重量]-[加减])*[备A]", "0", true, "20", "1", "74", ""};
        QTest::newRow("cleared weight keeps the quantity") << Formula{"", "0.00", true, " ", "4.6", "-", ""};
        QTest::newRow("quantity not cleared") << Formula{"", "0.00", false, "21.4", "4.6", "-", ""};
        QTest::newRow("factor missing") << Formula{"", "0.00", true, "21.4", "", "-", "数量公式缺少[系数]"};
        QTest::newRow("division by zero keeps the quantity") << Formula{"[重量] / [系数]", "0.00", true, "25", "0", "-", "数量公式错误："};
        QTest::newRow("factor 0 is typed") << Formula{"", "0.00", true, "21.4", "0", "0.00", ""};
    }
    void quantity()
    {
        QFETCH(Formula, c);
        const auto& [formula, format, clear, weight, factor, quantity, problem] = c;
        InspectionSettings s;
        s.quantityFormula = formula;
        s.dispFormat = format;
        s.clearQuantity = clear;
        InspectionRoll rules(s);
        RollForm roll = typedRoll();
        roll[CheckField::Weight] = weight;
        roll[CheckField::Factor] = factor;
        roll[CheckField::SpareA] = u"4"_s;
        const FormulaQuantity q = rules.quantityFromWeight(roll);
        QCOMPARE(q.quantity.value_or(u"-"_s), quantity);
        QVERIFY2(problem.isEmpty() ? q.problem.isEmpty() : q.problem.startsWith(problem), qPrintable(q.problem));
        // The complaint about a missing input goes once every input of the formula is typed.
        QCOMPARE(rules.formulaInputsComplete(rules.quantityFormula(), roll),
                 !weight.trimmed().isEmpty() && (!factor.isEmpty() || !formula.isEmpty()));
    }

    // The values a roll is stored with (billCode|checkCode|onCount|checkCount|cutCount|item1|
    // item8|item13|today), and a fragment of its insert and of its update on pallet O'1.
    void stored_data()
    {
        QTest::addColumn<Stored>("c");
        const QString values = "K001|007|100|%1|21.4|克|涤棉府绸|D|2026-03-14", now = " 10:30:05";
        const QString dated = "  createDate = '2026-03-14' where id = 42", pallet = ",'','O''1','2026-03-14 10:30:05')";
        QTest::newRow("roll") << Stored{Roll, false, values.arg(1), ",'','2026-03-14')", dated};
        QTest::newRow("roll in yards") << Stored{Roll, true, values.arg(0.9144), ",'','2026-03-14')", dated};
        QTest::newRow("package with its time and pallet")
            << Stored{Package, false, values.arg(1) + now, pallet, "  bagnumber='O''1',  createDate = '2026-03-14 10:30:05' where id = 42"};
        QTest::newRow("box weighed again")
            << Stored{Box, false, values.arg(1) + now, pallet, "  bagnumber='O''1',  checkDate = '2026-03-14 10:30:05' where id = 42"};
    }
    void stored()
    {
        QFETCH(Stored, c);
        const auto& [kind, yards, values, insertHas, updateHas] = c;
        InspectionSettings s;
        s.machineId = u"007"_s;
        const auto rules = rulesOf(kind, s);
        RollForm roll = typedRoll();
        roll.yards = yards;
        roll[CheckField::GramWeight] = u"克"_s;
        roll[CheckField::SpareD] = u"D"_s;
        roll[CheckField::Pallet] = u"O'1"_s;
        const CheckSql::Roll r = rules->values(roll);
        const QStringList got{r.billCode, r.checkCode, QString::number(r.onCount), QString::number(r.checkCount),
                              QString::number(r.cutCount), r.items[1], r.items[8], r.items[13], r.today};
        QCOMPARE(got.join(u'|'), values);
        QCOMPARE(r.machineId + r.userCode + r.taskno + r.grade + QString::number(r.billDetailId) + QString::number(r.itemId),
                 u"007001J1A品111"_s);
        QVERIFY(r.items[5].isEmpty()); // the save computes item5
        const QString insert = rules->insertStatement(roll, r), update = rules->updateStatement(roll, r, 42);
        QVERIFY2(insert.contains(insertHas), qPrintable(insert));
        QVERIFY2(update.contains(updateHas), qPrintable(update));
        QCOMPARE(insert.contains(u"bagnumber"_s), kind != Roll);
    }

    // The number of a new roll: with "codeDESC" 0 the database counts in the scope "codetype"
    // names (the card line's colour, the article or the dye lot); with 1 or -1 the station steps
    // from the number shown ("codeLen" digits).
    void numbers_data()
    {
        QTest::addColumn<Numbered>("c");
        QTest::newRow("roll by colour line") << Numbered{Roll, "0 检验单颜色", "", "   billdetailid  =11"};
        QTest::newRow("roll by article") << Numbered{Roll, "0 面料编码", "", "   itemid  =1"};
        QTest::newRow("roll by dye lot") << Numbered{Roll, "0 缸号", "", "   taskno  ='J1'"};
        QTest::newRow("package by article") << Numbered{Package, "0 面料编码", "", "   itemid  =1"};
        QTest::newRow("package: no dye-lot numbers") << Numbered{Package, "0 缸号", "", "   billdetailid  =11"};
        QTest::newRow("stepped up") << Numbered{Roll, "1 000", "009", "010"};
        QTest::newRow("stepped down") << Numbered{Roll, "-1 0000", "0100", "0099"};
        QTest::newRow("nothing shown") << Numbered{Roll, "1 000", "", "001"};
        QTest::newRow("wider than the pattern") << Numbered{Roll, "1 00", "99", "100"};
    }
    void numbers()
    {
        QFETCH(Numbered, c);
        const auto& [kind, rule, shown, number] = c;
        InspectionSettings s;
        s.codeDesc = rule.section(u' ', 0, 0);
        s.codeType = s.codeLen = rule.section(u' ', 1); // each way reads only its own
        const auto rules = rulesOf(kind, s);
        QCOMPARE(rules->databaseNumbers() ? rules->numberCondition(typedRoll()) : rules->steppedNumber(shown), number);
    }

    // A saved roll's row back on the form.
    void reopened_data()
    {
        QTest::addColumn<Reopened>("c");
        QTest::newRow("roll") << Reopened{Roll, 1.0, u"3"_s, u"98|0|B品|1||P9|府绸"_s};
        QTest::newRow("roll in yards") << Reopened{Roll, 0.9144, u"3"_s, u"98|1|B品|1||P9|府绸"_s};
        QTest::newRow("package of a chosen article") << Reopened{Package, 1.0, u"3"_s, u"98|0|B品|3|3|7|府绸"_s};
        QTest::newRow("package without article") << Reopened{Package, 1.0, u"0"_s, u"98|0|B品|0||7|府绸"_s};
    }
    void reopened()
    {
        QFETCH(Reopened, c);
        const auto& [kind, checkcount, itemid, shown] = c;
        // The columns of a saved roll's row, item1..item13 with the article's name in item8.
        QStringList columns = u"id,taskNo,checkcode,oncount,patchcount,cutcount,billcode,checkUsercode,remark,"
                              "checkcount,grade,itemid,bagnumber"_s.split(u',');
        QList<DbValue> row{qint64(42), u"J2"_s, u"012"_s, 100.5, 2.5, 20.0, u"K002"_s, u"005"_s, u"复检"_s,
                           checkcount, u"B品"_s, itemid, u"7"_s};
        for (int i = 1; i <= 13; ++i) {
            columns << u"item%1"_s.arg(i);
            row << DbValue(i == 8 ? u"府绸"_s : QString());
        }
        Recordset rs(columns);
        rs.addRow(row);
        InspectionSettings s;
        RollForm roll = typedRoll();
        roll[CheckField::Pallet] = u"P9"_s; // what the form showed before
        rulesOf(kind, s)->fill(roll, rs);
        const QStringList got{roll[CheckField::Quantity], QString::number(int(roll.yards)), roll.grade, roll.itemId,
                              roll.chosenItem, roll[CheckField::Pallet], roll[CheckField::ItemName]};
        QCOMPARE(got.join(u'|'), shown);
        QCOMPARE(QString::number(roll.id) + roll[CheckField::RollNumber] + roll[CheckField::DyeLot] + roll[CheckField::Card]
                     + roll[CheckField::Worker] + roll.remark + roll[CheckField::PlusMinus],
                 u"42012J2K002005复检2.5"_s);
    }

    // The fiber box's tare from its article: the columns "TareBoxField" and "TareConeField" name.
    void tareFromTheArticle_data()
    {
        QTest::addColumn<Tare>("c");
        QTest::newRow("both") << Tare{u"item3"_s, u"item4"_s, u"17=1.2,21=0.05"_s};
        QTest::newRow("not named: typed as before") << Tare{QString(), QString(), QString()};
        QTest::newRow("empty in the article") << Tare{u"item5"_s, u"item4"_s, u"21=0.05"_s};
        QTest::newRow("no such column") << Tare{u"箱重"_s, QString(), QString()};
    }
    void tareFromTheArticle()
    {
        QFETCH(Tare, c);
        const auto& [boxColumn, coneColumn, expected] = c;
        InspectionSettings s;
        s.tareBoxField = boxColumn;
        s.tareConeField = coneColumn;
        Recordset item({u"itemid"_s, u"item3"_s, u"item4"_s, u"item5"_s});
        item.addRow({7, u" 1.2 "_s, u"0.05"_s, u""_s});
        QStringList filled;
        for (const auto& [field, text] : HuaxianBox(s).fromArticle(item))
            filled << QString::number(field) + u'=' + text;
        QCOMPARE(filled.join(u','), expected);
        QVERIFY(MaitouPackage(s).fromArticle(item).isEmpty()); // a mark-label package has no tare
        // The packages per pallet (the inspection frame's style field) are no card's to fill.
        QVERIFY(MaitouPackage(s).keptFromCardPresets(CheckField::Style) && !InspectionRoll(s).keptFromCardPresets(CheckField::Style));
    }
};

QTEST_GUILESS_MAIN(TestInspectionRoll)
#include "TestInspectionRoll.moc"
