// The roll rules of the inspection family without a window: what stops a save and where the
// caret goes, the quantity a weight gives, the values and statements a roll is stored with, the
// scope of its number, and a saved roll read back — for the roll, the mark-label package and the
// fiber box.
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

std::unique_ptr<InspectionRoll> rulesOf(Kind kind, const InspectionSettings& s)
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
    r[CheckField::Card] = u"K001"_s;
    r[CheckField::RollNumber] = u"007"_s;
    r[CheckField::Quantity] = u"98.5"_s;
    r[CheckField::PlusMinus] = u"1.5"_s;
    r[CheckField::Weight] = u"21.4"_s;
    r[CheckField::Factor] = u"4.6"_s;
    r[CheckField::Worker] = u"001"_s;
    r[CheckField::DyeLot] = u"J1"_s;
    r[CheckField::ItemName] = u"涤棉府绸"_s;
    r.lineId = u"11"_s;
    r.itemId = u"1"_s;
    r.grade = u"A品"_s;
    return r;
}

QString caption(int lab) { return u"标签%1"_s.arg(lab); }

} // namespace

class TestInspectionRoll : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30, 5))); }
    void cleanup() { Clock::set(QDateTime()); }

    void validate_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("required");
        QTest::addColumn<QString>("setting"); // "cardOptional", "autoItems" or ""
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("message"); // "" = may be saved
        QTest::addColumn<int>("field");
        using E = Edit;
        const E none = [](RollForm&) {};
        QTest::newRow("typed roll") << int(Roll) << u"10,7;19,14;3,3;11,gradeBtn;"_s << QString() << none << QString() << -1;
        QTest::newRow("no card line") << int(Roll) << QString() << QString()
                                      << E([](RollForm& r) { r.lineId.clear(); })
                                      << u"请输入有效的卡号 或 选择好对应的颜色"_s << int(CheckField::Card);
        QTest::newRow("no card line, simple mode") << int(Roll) << QString() << u"cardOptional"_s
                                                   << E([](RollForm& r) { r.lineId = u"0"_s; }) << QString() << -1;
        QTest::newRow("quantity 0 counts as missing") << int(Roll) << u"10,7;"_s << QString()
                                                      << E([](RollForm& r) { r[CheckField::Quantity] = u"0"_s; })
                                                      << u"标签10,没有输入。"_s << int(CheckField::Quantity);
        QTest::newRow("weight -1 counts as missing") << int(Roll) << u"3,3;19,14;"_s << QString()
                                                     << E([](RollForm& r) { r[CheckField::Weight] = u"-1"_s; })
                                                     << u"标签19,没有输入。"_s << int(CheckField::Weight);
        QTest::newRow("dye lot 0 is typed") << int(Roll) << u"3,3;"_s << QString()
                                            << E([](RollForm& r) { r[CheckField::DyeLot] = u"0"_s; }) << QString() << -1;
        QTest::newRow("blank dye lot") << int(Roll) << u" 3,3 ;"_s << QString()
                                       << E([](RollForm& r) { r[CheckField::DyeLot] = u"  "_s; })
                                       << u"标签3,没有输入。"_s << int(CheckField::DyeLot);
        QTest::newRow("no grade chosen") << int(Roll) << u"11,gradeBtn;"_s << QString()
                                         << E([](RollForm& r) { r.grade.clear(); }) << u"等级没有选择。"_s << -1;
        QTest::newRow("last item without ';' is not read") << int(Roll) << u"3,3"_s << QString()
                                                          << E([](RollForm& r) { r[CheckField::DyeLot].clear(); })
                                                          << QString() << -1;
        QTest::newRow("field the station lacks") << int(Roll) << u"33,28;"_s << QString()
                                                 << E([](RollForm& r) { r.present.reset(CheckField::Pallet); })
                                                 << QString() << -1;
        QTest::newRow("entry out of range") << int(Roll) << u"1,99;x;"_s << QString() << none << QString() << -1;
        QTest::newRow("package without article") << int(Package) << QString() << QString() << none
                                                 << u"请选择商品"_s << int(CheckField::ItemName);
        QTest::newRow("package, article made by the save") << int(Package) << QString() << u"autoItems"_s
                                                           << none << QString() << -1;
        QTest::newRow("box always needs its article") << int(Box) << QString() << u"autoItems"_s << none
                                                      << u"请选择商品"_s << int(CheckField::ItemName);
        QTest::newRow("package with article, card line ignored")
            << int(Package) << QString() << QString()
            << E([](RollForm& r) { r.chosenItem = u"5"_s; r.lineId.clear(); }) << QString() << -1;
        QTest::newRow("package quantity 0") << int(Package) << QString() << QString()
                                            << E([](RollForm& r) { r.chosenItem = u"5"_s; r[CheckField::Quantity] = u"0"_s; })
                                            << u"请输入有效的数量"_s << int(CheckField::Quantity);
        QTest::newRow("package quantity 12,5") << int(Package) << QString() << QString()
                                               << E([](RollForm& r) { r.chosenItem = u"5"_s; r[CheckField::Quantity] = u"12,5"_s; })
                                               << QString() << -1;
        QTest::newRow("box net weight 12,5") << int(Box) << QString() << QString()
                                             << E([](RollForm& r) { r.chosenItem = u"5"_s; r[CheckField::Quantity] = u"12,5"_s; })
                                             << u"请输入有效的数量"_s << int(CheckField::Quantity);
        QTest::newRow("box net weight 12.5kg") << int(Box) << QString() << QString()
                                               << E([](RollForm& r) { r.chosenItem = u"5"_s; r[CheckField::Quantity] = u"12.5kg"_s; })
                                               << u"请输入有效的数量"_s << int(CheckField::Quantity);
        QTest::newRow("box net weight 12.5") << int(Box) << QString() << QString()
                                             << E([](RollForm& r) { r.chosenItem = u"5"_s; r[CheckField::Quantity] = u"12.5"_s; })
                                             << QString() << -1;
    }
    void validate()
    {
        QFETCH(int, kind);
        QFETCH(QString, required);
        QFETCH(QString, setting);
        QFETCH(Edit, edit);
        QFETCH(QString, message);
        QFETCH(int, field);
        InspectionSettings s;
        s.requiredFields = required;
        s.cardOptional = setting == u"cardOptional";
        s.itemAutoSave = setting == u"autoItems";
        const auto rules = rulesOf(Kind(kind), s);
        RollForm roll = typedRoll();
        edit(roll);
        std::optional<RollProblem> problem = rules->validate(roll, caption);
        if (!problem)
            problem = rules->checkExtra(roll);
        QCOMPARE(problem ? problem->message : QString(), message);
        QCOMPARE(problem ? problem->field : -1, field);
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
        QFETCH(QString, format);
        QFETCH(bool, clear);
        QFETCH(QString, weight);
        QFETCH(QString, factor);
        QFETCH(QString, quantity);
        QFETCH(QString, problem);
        InspectionSettings s;
        s.quantityFormula = formula;
        s.dispFormat = format;
        s.clearQuantity = clear;
        InspectionRoll rules(s);
        RollForm roll = typedRoll();
        roll[CheckField::Weight] = weight;
        roll[CheckField::Factor] = factor;
        roll[CheckField::PlusMinus] = u"1.5"_s;
        roll[CheckField::SpareA] = u"4"_s;
        const FormulaQuantity q = rules.quantityFromWeight(roll);
        QCOMPARE(q.quantity.value_or(u"-"_s), quantity);
        QVERIFY2(problem.isEmpty() ? q.problem.isEmpty() : q.problem.startsWith(problem), qPrintable(q.problem));
        // The complaint about a missing input goes once every input of the formula is typed.
        QCOMPARE(rules.formulaInputsComplete(rules.quantityFormula(), roll),
                 !weight.trimmed().isEmpty() && (!factor.isEmpty() || !formula.isEmpty()));
    }

    void values_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("yards");
        QTest::addColumn<QString>("stored"); // billCode|checkCode|onCount|checkCount|cutCount|item1|item8|item13|today
        QTest::newRow("roll") << int(Roll) << false << u"K001|007|100|1|21.4|克|涤棉府绸|D|2026-03-14"_s;
        QTest::newRow("roll in yards") << int(Roll) << true << u"K001|007|100|0.9144|21.4|克|涤棉府绸|D|2026-03-14"_s;
        QTest::newRow("package with its time") << int(Package) << false << u"K001|007|100|1|21.4|克|涤棉府绸|D|2026-03-14 10:30:05"_s;
        QTest::newRow("box with its time") << int(Box) << false << u"K001|007|100|1|21.4|克|涤棉府绸|D|2026-03-14 10:30:05"_s;
    }
    void values()
    {
        QFETCH(int, kind);
        QFETCH(bool, yards);
        QFETCH(QString, stored);
        InspectionSettings s;
        s.machineId = u"007"_s;
        const auto rules = rulesOf(Kind(kind), s);
        RollForm roll = typedRoll();
        roll.yards = yards;
        roll[CheckField::GramWeight] = u"克"_s;
        roll[CheckField::SpareD] = u"D"_s;
        const CheckSql::Roll r = rules->values(roll);
        const QStringList got{r.billCode, r.checkCode, QString::number(r.onCount), QString::number(r.checkCount),
                              QString::number(r.cutCount), r.items[1], r.items[8], r.items[13], r.today};
        QCOMPARE(got.join(u'|'), stored);
        QCOMPARE(r.machineId + r.userCode + r.taskno + r.grade + QString::number(r.billDetailId) + QString::number(r.itemId),
                 u"007001J1A品111"_s);
        QVERIFY(r.items[5].isEmpty()); // the save computes item5
    }

    void statements_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("insertHas");
        QTest::addColumn<QString>("updateHas");
        QTest::newRow("roll") << int(Roll) << u",'','2026-03-14')"_s << u"  createDate = '2026-03-14' where id = 42"_s;
        QTest::newRow("package on pallet O'1") << int(Package) << u",'','O''1','2026-03-14 10:30:05')"_s
                                               << u"  bagnumber='O''1',  createDate = '2026-03-14 10:30:05' where id = 42"_s;
        QTest::newRow("box weighed again") << int(Box) << u",'','O''1','2026-03-14 10:30:05')"_s
                                           << u"  bagnumber='O''1',  checkDate = '2026-03-14 10:30:05' where id = 42"_s;
    }
    void statements()
    {
        QFETCH(int, kind);
        QFETCH(QString, insertHas);
        QFETCH(QString, updateHas);
        InspectionSettings s;
        const auto rules = rulesOf(Kind(kind), s);
        RollForm roll = typedRoll();
        roll[CheckField::Pallet] = u"O'1"_s;
        const CheckSql::Roll r = rules->values(roll);
        const QString insert = rules->insertStatement(roll, r);
        const QString update = rules->updateStatement(roll, r, 42);
        QVERIFY2(insert.contains(insertHas), qPrintable(insert));
        QVERIFY2(update.contains(updateHas), qPrintable(update));
        QCOMPARE(insert.contains(u"bagnumber"_s), kind != Roll);
    }

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
        QFETCH(QString, condition);
        InspectionSettings s;
        s.codeType = codeType;
        QCOMPARE(rulesOf(Kind(kind), s)->numberCondition(typedRoll()), condition);
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
        QFETCH(QString, next);
        InspectionSettings s;
        s.codeDesc = rule;
        s.codeLen = digits;
        InspectionRoll rules(s);
        QVERIFY(!rules.databaseNumbers());
        QCOMPARE(rules.steppedNumber(shown), next);
    }

    void reopened_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("checkcount");
        QTest::addColumn<QString>("itemid");
        QTest::addColumn<QString>("shown"); // quantity|yards|grade|article|chosen|pallet|item8
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
        QFETCH(QString, shown);
        // The columns of a saved roll's row, item1..item13 with the article's name in item8.
        QStringList columns{u"id"_s, u"taskNo"_s, u"checkcode"_s, u"oncount"_s, u"patchcount"_s, u"cutcount"_s,
                            u"billcode"_s, u"checkUsercode"_s, u"remark"_s, u"checkcount"_s, u"grade"_s,
                            u"itemid"_s, u"bagnumber"_s};
        QList<DbValue> row{DbValue(qint64(42)), DbValue(u"J2"_s), DbValue(u"012"_s), DbValue(100.5), DbValue(2.5),
                           DbValue(20.0), DbValue(u"K002"_s), DbValue(u"005"_s), DbValue(u"复检"_s),
                           DbValue(checkcount), DbValue(u"B品"_s), DbValue(itemid), DbValue(u"7"_s)};
        for (int i = 1; i <= 13; ++i) {
            columns << u"item%1"_s.arg(i);
            row << DbValue(i == 8 ? u"府绸"_s : QString());
        }
        Recordset rs(columns);
        rs.addRow(row);
        InspectionSettings s;
        const auto rules = rulesOf(Kind(kind), s);
        RollForm roll = typedRoll();
        roll[CheckField::Pallet] = u"P9"_s; // what the form showed before
        rules->fill(roll, rs);
        const QStringList got{roll[CheckField::Quantity], QString::number(int(roll.yards)), roll.grade, roll.itemId,
                              roll.chosenItem, roll[CheckField::Pallet], roll[CheckField::ItemName]};
        QCOMPARE(got.join(u'|'), shown);
        QCOMPARE(QString::number(roll.id) + roll[CheckField::RollNumber] + roll[CheckField::DyeLot] + roll[CheckField::Card]
                     + roll[CheckField::Worker] + roll.remark + roll[CheckField::PlusMinus],
                 u"42012J2K002005复检2.5"_s);
    }

    void batchNumbers_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("batch");
        QTest::newRow("batch and 备A") << u"[缸号]-[备A]"_s << u"2405-3"_s;
        QTest::newRow("a token twice") << u"[备A]-[缸号]-[备A]"_s << u"3-2405-3"_s;
        QTest::newRow("weight, 备3, 备D") << u"[缸号]/[重量]/[备3][备D]"_s << u"2405/18.5/M1[备A]"_s;
        QTest::newRow("unknown token stays") << u"[缸号][备Z]"_s << u"2405[备Z]"_s;
        QTest::newRow("ends in a grade letter") << u"[缸号]C"_s << u"2405C"_s;
        QTest::newRow("no pattern") << QString() << QString();
    }
    void batchNumbers()
    {
        QFETCH(QString, pattern);
        RollForm roll = typedRoll();
        roll[CheckField::DyeLot] = u"24"_s; // the composed number shown: "[缸号]" is the batch given
        roll[CheckField::SpareA] = u"3"_s;
        roll[CheckField::Weight] = u"18.5"_s;
        roll[CheckField::Spare3] = u"M1"_s;
        roll[CheckField::SpareD] = u"[备A]"_s; // a field's text that looks like a token stays
        QTEST(HuaxianBox::composeBatch(pattern, roll, u"2405"_s), "batch");
    }

    void gradeLetters_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<int>("grade");
        QTest::addColumn<QString>("result");
        QTest::newRow("second") << u"2405"_s << 1 << u"2405B"_s;
        QTest::newRow("second again") << u"2405B"_s << 1 << u"2405B"_s;
        QTest::newRow("second to third") << u"2405B"_s << 2 << u"2405C"_s;
        QTest::newRow("back to first") << u"2405C"_s << 0 << u"2405"_s;
        QTest::newRow("fourth grade: no letter") << u"2405C"_s << 3 << u"2405"_s;
        QTest::newRow("empty batch") << QString() << 2 << u"C"_s;
    }
    void gradeLetters()
    {
        QFETCH(QString, batch);
        QFETCH(int, grade);
        QTEST(HuaxianBox::withGradeLetter(batch, grade), "result");
    }

    void pallets_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("perPallet");
        QTest::addColumn<int>("packages");
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("summary");
        QTest::newRow("19 of 20") << int(Package) << 20.0 << 19 << false << u"  卷数:19  米数:12.5"_s;
        QTest::newRow("20 of 20") << int(Box) << 20.0 << 20 << true << u"净重:12.5  箱数:20"_s;
        QTest::newRow("21 of 20") << int(Box) << 20.0 << 21 << true << u"净重:12.5  箱数:21"_s;
        QTest::newRow("no count typed") << int(Package) << 0.0 << 5 << false << u"  卷数:5  米数:12.5"_s;
    }
    void pallets()
    {
        QFETCH(int, kind);
        QFETCH(double, perPallet);
        QFETCH(int, packages);
        InspectionSettings s;
        const auto rules = rulesOf(Kind(kind), s);
        QTEST(MaitouPackage::palletFull(perPallet, packages), "full");
        QTEST(static_cast<const MaitouPackage&>(*rules).palletSummary(packages, 12.5), "summary");
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
