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
Q_DECLARE_METATYPE(Edit)

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

} // namespace

class TestInspectionRoll : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30, 5))); }
    void cleanup() { Clock::set(QDateTime()); }

    // The required fields ("lab,txt;" each), a setting, the form as edited: the message ("" may be
    // saved) and the field the caret goes to.
    void validate_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("required");
        QTest::addColumn<QString>("setting"); // "cardOptional", "autoItems" or ""
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("field");
        const auto row = [](const char* name, Kind kind, const char* required, const char* setting, const Edit& edit,
                            const QString& message = {}, int field = -1) {
            QTest::newRow(name) << int(kind) << QString::fromLatin1(required) << QString::fromLatin1(setting) << edit
                                << message << field;
        };
        const Edit none = [](RollForm&) {}, noLine = [](RollForm& r) { r.lineId.clear(); };
        const QString missing = u",没有输入。"_s, noArticle = u"请选择商品"_s, badQuantity = u"请输入有效的数量"_s;
        row("typed roll", Roll, "10,7;19,14;3,3;11,gradeBtn;", "", none);
        row("no card line", Roll, "", "", noLine, u"请输入有效的卡号 或 选择好对应的颜色"_s, CheckField::Card);
        row("no card line, simple mode", Roll, "", "cardOptional", [](RollForm& r) { r.lineId = u"0"_s; });
        row("quantity 0 counts as missing", Roll, "10,7;", "", set(CheckField::Quantity, u"0"_s), u"标签10"_s + missing,
            CheckField::Quantity);
        row("weight -1 counts as missing", Roll, "3,3;19,14;", "", set(CheckField::Weight, u"-1"_s),
            u"标签19"_s + missing, CheckField::Weight);
        row("dye lot 0 is typed", Roll, "3,3;", "", set(CheckField::DyeLot, u"0"_s));
        row("blank dye lot", Roll, " 3,3 ;", "", set(CheckField::DyeLot, u"  "_s), u"标签3"_s + missing,
            CheckField::DyeLot);
        row("no grade chosen", Roll, "11,gradeBtn;", "", [](RollForm& r) { r.grade.clear(); }, u"等级没有选择。"_s);
        row("last item without ';' is not read", Roll, "3,3", "", set(CheckField::DyeLot, {}));
        row("field the station lacks", Roll, "33,28;", "", [](RollForm& r) { r.present.reset(CheckField::Pallet); });
        row("entry out of range", Roll, "1,99;x;", "", none);
        row("package without article", Package, "", "", none, noArticle, CheckField::ItemName);
        row("package, article made by the save", Package, "", "autoItems", none);
        row("box always needs its article", Box, "", "autoItems", none, noArticle, CheckField::ItemName);
        row("package with article, card line ignored", Package, "", "",
            [](RollForm& r) { r.chosenItem = u"5"_s; r.lineId.clear(); });
        row("package quantity 0", Package, "", "", set(CheckField::Quantity, u"0"_s, true), badQuantity,
            CheckField::Quantity);
        row("package quantity 12,5", Package, "", "", set(CheckField::Quantity, u"12,5"_s, true));
        row("box net weight 12,5", Box, "", "", set(CheckField::Quantity, u"12,5"_s, true), badQuantity,
            CheckField::Quantity);
        row("box net weight 12.5kg", Box, "", "", set(CheckField::Quantity, u"12.5kg"_s, true), badQuantity,
            CheckField::Quantity);
        row("box net weight 12.5", Box, "", "", set(CheckField::Quantity, u"12.5"_s, true));
    }
    void validate()
    {
        QFETCH(QString, required);
        QFETCH(QString, setting);
        QFETCH(Edit, edit);
        InspectionSettings s;
        s.requiredFields = required;
        s.cardOptional = setting == u"cardOptional";
        s.itemAutoSave = setting == u"autoItems";
        QFETCH(int, kind);
        const auto rules = rulesOf(kind, s);
        RollForm roll = typedRoll();
        edit(roll);
        std::optional<RollProblem> problem = rules->validate(roll, [](int lab) { return u"标签%1"_s.arg(lab); });
        if (!problem)
            problem = rules->checkExtra(roll);
        QTEST(problem ? problem->message : QString(), "message");
        QTEST(problem ? problem->field : -1, "field");
    }

    void quantity_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("factor");
        QTest::addColumn<QString>("quantity"); // "-" = none
        QTest::addColumn<QString>("problem");
        QTest::newRow("weight times factor") << QString() << u"0.00"_s << true << u"21.4"_s << u"4.6"_s << u"98.44"_s << QString();
        QTest::newRow("rounded half away from zero") << QString() << u"0.0"_s << true << u"2.5"_s << u"0.5"_s << u"1.3"_s << QString();
        QTest::newRow("mill's formula") << u"([重量]-[加减])*[备A]"_s << u"0"_s << true << u"20"_s << u"1"_s << u"74"_s << QString();
        QTest::newRow("cleared weight keeps the quantity") << QString() << u"0.00"_s << true << u" "_s << u"4.6"_s << u"-"_s << QString();
        QTest::newRow("quantity not cleared") << QString() << u"0.00"_s << false << u"21.4"_s << u"4.6"_s << u"-"_s << QString();
        QTest::newRow("factor missing") << QString() << u"0.00"_s << true << u"21.4"_s << QString() << u"-"_s << u"数量公式缺少[系数]"_s;
        QTest::newRow("division by zero keeps the quantity") << u"[重量] / [系数]"_s << u"0.00"_s << true << u"25"_s << u"0"_s << u"-"_s << u"数量公式错误："_s;
        QTest::newRow("factor 0 is typed") << QString() << u"0.00"_s << true << u"21.4"_s << u"0"_s << u"0.00"_s << QString();
        QTest::newRow("broken formula") << u"[重量] * ("_s << u"0.00"_s << true << u"21.4"_s << u"4.6"_s << u"-"_s << u"数量公式错误："_s;
    }
    void quantity()
    {
        QFETCH(QString, formula);
        QFETCH(QString, weight);
        QFETCH(QString, factor);
        QFETCH(QString, problem);
        InspectionSettings s;
        s.quantityFormula = formula;
        QFETCH(QString, format);
        s.dispFormat = format;
        QFETCH(bool, clear);
        s.clearQuantity = clear;
        InspectionRoll rules(s);
        RollForm roll = typedRoll();
        roll[CheckField::Weight] = weight;
        roll[CheckField::Factor] = factor;
        roll[CheckField::SpareA] = u"4"_s;
        const FormulaQuantity q = rules.quantityFromWeight(roll);
        QTEST(q.quantity.value_or(u"-"_s), "quantity");
        QVERIFY2(problem.isEmpty() ? q.problem.isEmpty() : q.problem.startsWith(problem), qPrintable(q.problem));
        // The complaint about a missing input goes once every input of the formula is typed.
        QCOMPARE(rules.formulaInputsComplete(rules.quantityFormula(), roll),
                 !weight.trimmed().isEmpty() && (!factor.isEmpty() || !formula.isEmpty()));
    }

    // The values a roll is stored with (billCode|checkCode|onCount|checkCount|cutCount|item1|
    // item8|item13|today), and a fragment of its insert and of its update on pallet O'1.
    void stored_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("yards");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("insertHas");
        QTest::addColumn<QString>("updateHas");
        const QString values = u"K001|007|100|%1|21.4|克|涤棉府绸|D|2026-03-14"_s, now = u" 10:30:05"_s;
        QTest::newRow("roll") << int(Roll) << false << values.arg(1) << u",'','2026-03-14')"_s
                              << u"  createDate = '2026-03-14' where id = 42"_s;
        QTest::newRow("roll in yards") << int(Roll) << true << values.arg(0.9144) << u",'','2026-03-14')"_s
                                       << u"  createDate = '2026-03-14' where id = 42"_s;
        QTest::newRow("package with its time and pallet") << int(Package) << false << values.arg(1) + now
                                                          << u",'','O''1','2026-03-14 10:30:05')"_s
                                                          << u"  bagnumber='O''1',  createDate = '2026-03-14 10:30:05' where id = 42"_s;
        QTest::newRow("box weighed again") << int(Box) << false << values.arg(1) + now << u",'','O''1','2026-03-14 10:30:05')"_s
                                           << u"  bagnumber='O''1',  checkDate = '2026-03-14 10:30:05' where id = 42"_s;
    }
    void stored()
    {
        QFETCH(int, kind);
        QFETCH(bool, yards);
        QFETCH(QString, insertHas);
        QFETCH(QString, updateHas);
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
        QTEST(got.join(u'|'), "values");
        QCOMPARE(r.machineId + r.userCode + r.taskno + r.grade + QString::number(r.billDetailId) + QString::number(r.itemId),
                 u"007001J1A品111"_s);
        QVERIFY(r.items[5].isEmpty()); // the save computes item5
        const QString insert = rules->insertStatement(roll, r), update = rules->updateStatement(roll, r, 42);
        QVERIFY2(insert.contains(insertHas), qPrintable(insert));
        QVERIFY2(update.contains(updateHas), qPrintable(update));
        QCOMPARE(insert.contains(u"bagnumber"_s), kind != Roll);
    }

    // The scope of a new roll's running number ("codetype"), and the number after the one shown
    // when the station counts ("codeDESC" 1 or -1, "codeLen" digits).
    void numbers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("codeType");
        QTest::addColumn<QString>("condition");
        QTest::newRow("roll by colour line") << int(Roll) << u"检验单颜色"_s << u"   billdetailid  =11"_s;
        QTest::newRow("roll by article") << int(Roll) << u"面料编码"_s << u"   itemid  =1"_s;
        QTest::newRow("roll by dye lot") << int(Roll) << u"缸号"_s << u"   taskno  ='J1'"_s;
        QTest::newRow("package by article") << int(Package) << u"面料编码"_s << u"   itemid  =1"_s;
        QTest::newRow("package: no dye-lot numbers") << int(Package) << u"缸号"_s << u"   billdetailid  =11"_s;
    }
    void numbers()
    {
        QFETCH(int, kind);
        QFETCH(QString, codeType);
        InspectionSettings s;
        s.codeType = codeType;
        QTEST(rulesOf(kind, s)->numberCondition(typedRoll()), "condition");
    }

    void steppedNumbers_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("next");
        QTest::newRow("up") << u"1"_s << u"000"_s << u"009"_s << u"010"_s;
        QTest::newRow("down") << u"-1"_s << u"0000"_s << u"0100"_s << u"0099"_s;
        QTest::newRow("nothing shown") << u"1"_s << u"000"_s << QString() << u"001"_s;
        QTest::newRow("wider than the pattern") << u"1"_s << u"00"_s << u"99"_s << u"100"_s;
    }
    void steppedNumbers()
    {
        QFETCH(QString, rule);
        QFETCH(QString, digits);
        QFETCH(QString, shown);
        InspectionSettings s;
        s.codeDesc = rule;
        s.codeLen = digits;
        QTEST(InspectionRoll(s).steppedNumber(shown), "next");
    }

    // A saved roll's row back on the form: quantity|yards|grade|article|chosen|pallet|item8.
    void reopened_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("checkcount");
        QTest::addColumn<QString>("itemid");
        QTest::addColumn<QString>("shown");
        QTest::newRow("roll") << int(Roll) << 1.0 << u"3"_s << u"98|0|B品|1||P9|府绸"_s;
        QTest::newRow("roll in yards") << int(Roll) << 0.9144 << u"3"_s << u"98|1|B品|1||P9|府绸"_s;
        QTest::newRow("package of a chosen article") << int(Package) << 1.0 << u"3"_s << u"98|0|B品|3|3|7|府绸"_s;
        QTest::newRow("package without article") << int(Package) << 1.0 << u"0"_s << u"98|0|B品|0||7|府绸"_s;
    }
    void reopened()
    {
        QFETCH(int, kind);
        QFETCH(double, checkcount);
        QFETCH(QString, itemid);
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
        QTEST(got.join(u'|'), "shown");
        QCOMPARE(QString::number(roll.id) + roll[CheckField::RollNumber] + roll[CheckField::DyeLot] + roll[CheckField::Card]
                     + roll[CheckField::Worker] + roll.remark + roll[CheckField::PlusMinus],
                 u"42012J2K002005复检2.5"_s);
    }

    // The fiber box's tare from its article: the columns "TareBoxField" and "TareConeField" name.
    void tareFromTheArticle_data()
    {
        QTest::addColumn<QString>("boxColumn");
        QTest::addColumn<QString>("coneColumn");
        QTest::addColumn<QString>("filled"); // field=text, …
        QTest::newRow("both") << u"item3"_s << u"item4"_s << u"17=1.2,21=0.05"_s;
        QTest::newRow("not named: typed as before") << QString() << QString() << QString();
        QTest::newRow("empty in the article") << u"item5"_s << u"item4"_s << u"21=0.05"_s;
        QTest::newRow("no such column") << u"箱重"_s << QString() << QString();
    }
    void tareFromTheArticle()
    {
        QFETCH(QString, boxColumn);
        QFETCH(QString, coneColumn);
        InspectionSettings s;
        s.tareBoxField = boxColumn;
        s.tareConeField = coneColumn;
        Recordset item({u"itemid"_s, u"item3"_s, u"item4"_s, u"item5"_s});
        item.addRow({7, u" 1.2 "_s, u"0.05"_s, u""_s});
        QStringList filled;
        for (const auto& [field, text] : HuaxianBox(s).fromArticle(item))
            filled << QString::number(field) + u'=' + text;
        QTEST(filled.join(u','), "filled");
        QVERIFY(MaitouPackage(s).fromArticle(item).isEmpty()); // a mark-label package has no tare
        // The packages per pallet (the inspection frame's style field) are no card's to fill.
        QVERIFY(MaitouPackage(s).keptFromCardPresets(CheckField::Style) && !InspectionRoll(s).keptFromCardPresets(CheckField::Style));
    }
};

QTEST_GUILESS_MAIN(TestInspectionRoll)
#include "TestInspectionRoll.moc"
