// The save of a roll without a window, on a real embedded database and journal file: what one
// transaction writes for a new, an updated and a refused roll, the number a roll keeps or gets,
// the stock booking, the mark-label station's automatic article, and the journal's record of a
// roll saved while the database is away.
#include "db/Connection.h"
#include "db/DbError.h"
#include "journal/JournalStore.h"
#include "stations/inspection/DefectPhotos.h"
#include "stations/inspection/RollSave.h"
#include "stations/marklabel/MaitouPackage.h"
#include "support/RuleDatabase.h"
#include "support/ThrowsWith.h"
#include "time/Clock.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

using Edit = std::function<void(RollForm&, InspectionSettings&)>;

namespace {

// Card K001 with line 11 (stock-number offset 100, storeroom 1) and line 12 (no offset).
const char* const Rows[] = {
    "insert into item(itemid,itemname) values(1,'涤棉府绸')",
    "insert into bill(billid,billcode,billtype) values(1,'K001',55)",
    "insert into BillDetail(BillDetailId,BillId,itemId,productionColor,backitem2,StoreRoomId) values(11,1,1,'藏青',100,1)",
    "insert into BillDetail(BillDetailId,BillId,itemId,productionColor,backitem2) values(12,1,1,'米白',null)",
};

RollForm typedRoll()
{
    RollForm r;
    r.present.set();
    for (const auto& [f, text] : {std::pair{CheckField::Card, "K001"}, {CheckField::RollNumber, "001"}, {CheckField::Quantity, "100"},
                                  {CheckField::PlusMinus, "2"}, {CheckField::Worker, "001"}, {CheckField::DyeLot, "J1"},
                                  {CheckField::ItemName, "涤棉府绸"}, {CheckField::Pallet, "P7"}})
        r[f] = QString::fromUtf8(text);
    r.remark = "O'Neil 的备注";
    r.itemId = r.chosenItem = "1";
    r.lineId = "11";
    r.grade = "A品";
    return r;
}

// The settings as the station has them, or with articles made by the save and a new one typed.
const Edit None = [](RollForm&, InspectionSettings&) {};
const Edit NewItem = [](RollForm& r, InspectionSettings& s) { s.itemAutoSave = true; r[CheckField::ItemName] = "新品"; };

const QList<QStringList> TwoDefects = {{"", "破洞", "12.5", "1", "4", "001", ""}, {"", "油污", "30", "2", "2", "001", "边上"}};

struct Saving { bool package; QStringList before; Edit edit; QString number; QStringList checks; QString error = {}; };

// A package or a roll, as edited, the line's offset looked up before the database went away or
// not: a fragment of each step kept, in order, or the error.
struct Keeping { bool package; Edit edit; bool lineLookedUp; QStringList steps; QString error = {}; };
} // namespace

class TestRollSave : public QObject {
    Q_OBJECT

    std::unique_ptr<RuleDatabase> m_db;
    std::unique_ptr<JournalStore> m_journal;

    QString scalar(const QString& sql) { return m_db->scalar(sql); }
    std::unique_ptr<InspectionRoll> rules(bool package, const InspectionSettings& s)
    {
        return package ? std::make_unique<MaitouPackage>(s) : std::make_unique<InspectionRoll>(s);
    }

private slots:
    void init()
    {
        Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30)));
        m_db = std::make_unique<RuleDatabase>(Rows);
        m_journal = std::make_unique<JournalStore>(m_db->home.file(u"journal.db"_s));
    }
    void cleanup()
    {
        m_journal.reset();
        m_db.reset();
        Clock::set(QDateTime());
    }

    // One save: before runs first (another station's rows), edit shapes the roll and settings; the
    // number saved ("~" after the one shown when renumbered); checks are "statement=expected" pairs
    // read afterwards; error is the DbError's message ("row missing" for a roll deleted
    // elsewhere), after which nothing of the roll is written.
    void save_data()
    {
        QTest::addColumn<Saving>("c");
        const Edit line12 = [](RollForm& r, InspectionSettings&) { r.lineId = "12"; };
        const Edit reopen = [](RollForm& r, InspectionSettings&) { r.id = 5; r[CheckField::RollNumber] = "003"; };
        const QString taken = "insert into checkinfo(billdetailId,checkCode) values(%1)", roll5 = "insert into checkinfo(id,";
        const QString roll = "select onCount||'/'||remark||'/'||item5||'/'||grade||'/'||substr(createDate,1,10) from checkinfo";
        QTest::newRow("new roll, its defects, item5 = number + offset") << Saving{false, {}, None, "001",
            {roll + "=102/O'Neil 的备注/101/A品/2026-03-14", "select group_concat(bugName) from checkDetail=破洞,油污",
             "select count(*) from iteminBatch=0"}};
        QTest::newRow("line without offset: item5 = number") << Saving{false, {}, line12, "001", {"select item5 from checkinfo=1"}};
        QTest::newRow("package, line without offset: no item5")
            << Saving{true, {}, line12, "001", {"select ifnull(item5,'-') from checkinfo="}};
        QTest::newRow("number saved meanwhile by another frame") << Saving{false, {taken.arg("11,'001'")}, None, "001~002",
            {"select count(*) from checkinfo where checkCode='001'=1"}};
        QTest::newRow("number free in another line: kept") << Saving{false, {taken.arg("12,'001'")}, None, "001", {}};
        QTest::newRow("no number shown: the next one") << Saving{false, {taken.arg("11,'004'")},
            [](RollForm& r, InspectionSettings&) { r[CheckField::RollNumber].clear(); }, "005", {}};
        QTest::newRow("stepped numbers: taken or not, kept") << Saving{false, {taken.arg("11,'001'")},
            [](RollForm&, InspectionSettings& s) { s.codeDesc = "1"; }, "001",
            {"select count(*) from checkinfo where checkCode='001'=2"}};
        QTest::newRow("update: defects rewritten, today's date") << Saving{false,
            {roll5 + "billdetailId,checkCode,onCount,createDate) values(5,11,'003',40,'2020-01-01')",
             "insert into checkDetail(checkId,bugName) values(5,'断经')"},
            reopen, "003",
            {roll + "=102/O'Neil 的备注/103/A品/2026-03-14", "select group_concat(bugName) from checkDetail where checkId=5=破洞,油污",
             "select count(*) from checkinfo=1"}};
        QTest::newRow("update of a roll deleted elsewhere") << Saving{false, {"insert into checkDetail(checkId,bugName) values(5,'断经')"},
            reopen, {}, {"select count(*) from checkDetail=1"}, "row missing"};
        QTest::newRow("a defect statement fails: nothing written") << Saving{false, {"drop table checkDetail"}, None, {},
            {"select count(*) from checkinfo=0"}, "no such table: checkDetail"};
        QTest::newRow("booked into stock") << Saving{false, {}, [](RollForm&, InspectionSettings& s) { s.postToStock = true; }, "001",
            {"select itemcount||'/'||productionNumber||'/'||ProductSN||'/'||productionColor from iteminBatch=102/1/J1/藏青",
             "select count(*) from checkinfo where batchId>0=1"}};
        QTest::newRow("stock update books the difference") << Saving{false,
            {"insert into iteminBatch(id,itemid,storeroomid,itemcount,productionNumber,ProductSN,productionColor) "
             "values(9,1,1,40,1,'J1','藏青')",
             roll5 + "billdetailId,itemid,taskno,checkCode,onCount,batchId) values(5,11,1,'J1','003',40,9)"},
            [reopen](RollForm& r, InspectionSettings& s) { reopen(r, s); s.postToStock = true; }, "003",
            {"select itemcount||'/'||productionNumber from iteminBatch=102/1"}};
        QTest::newRow("package: pallet and article stored, pallet kept") << Saving{true, {}, None, "001",
            {"select bagnumber||'/'||itemid from checkinfo=P7/1"}};
        const QString article8 = "insert into item(itemid,itemname,item5,item6) values(8,'涤棉府绸','','')";
        QTest::newRow("package: automatic article found") << Saving{true, {article8},
            [](RollForm& r, InspectionSettings& s) { s.itemAutoSave = true; r.chosenItem.clear(); }, "001",
            {"select itemid from checkinfo=8", "select count(*) from item=2"}};
        QTest::newRow("package: automatic article made") << Saving{true, {"insert into itemtype(itemtypeId,itemtypeName) values(3,'成品')"},
            [](RollForm& r, InspectionSettings& s) { NewItem(r, s); r[CheckField::Color] = "红"; r[CheckField::SpareB] = "S捻"; },
            "001", {"select itemname||'/'||item5||'/'||item6||'/'||itemcode||'/'||itemtypeid from item "
                    "where itemid=(select itemid from checkinfo)=新品/S捻/红/0001/3"}};
        QTest::newRow("package: numbered in its automatic article's scope") << Saving{true,
            {article8, "insert into checkinfo(itemid,checkCode) values(8,'001')"},
            [](RollForm& r, InspectionSettings& s) { s.itemAutoSave = true; s.codeType = "面料编码"; r.chosenItem.clear(); },
            "001~002", {"select count(*) from checkinfo where itemid=8=2"}};
        QTest::newRow("package: made article goes with a failed save") << Saving{true, {"drop table checkDetail"}, NewItem, {},
            {"select count(*) from item=1"}, "no such table: checkDetail"};
    }
    void save()
    {
        QFETCH(Saving, c);
        const auto& [package, before, edit, number, checks, error] = c;
        for (const QString& sql : before)
            m_db->conn.execute(sql);
        InspectionSettings settings;
        RollForm form = typedRoll();
        edit(form, settings);
        const std::unique_ptr<InspectionRoll> r = rules(package, settings);
        const RollSave saving(*r, m_journal.get());
        try {
            const RollSave::Saved saved = saving.save(m_db->conn, form, TwoDefects, r->numberCondition(form));
            QVERIFY2(error.isEmpty(), "saved");
            QCOMPARE(saved.roll[CheckField::RollNumber], number.section(u'~', -1));
            QCOMPARE(saved.shownNumber, number.contains(u'~') ? number.section(u'~', 0, 0) : QString());
            QCOMPARE(scalar("select checkCode from checkinfo where id=" + QString::number(saved.id)), saved.roll[CheckField::RollNumber]);
            if (package)
                QCOMPARE(m_journal->lookup(MaitouPackage::keptPalletKind(), settings.machineId)->text(0), "P7");
        } catch (const DbError& e) {
            const QString message = e.isRowMissing() ? u"row missing"_s : e.message();
            QVERIFY2(!error.isEmpty() && message.startsWith(error, Qt::CaseInsensitive), qPrintable(message));
            QVERIFY(!m_db->conn.inTransaction());
        }
        for (const QString& check : checks)
            QCOMPARE(scalar(check.section(u'=', 0, -2)), check.section(u'=', -1));
    }

    // A defect's picture row that the database refuses (its table gone after the store checked
    // it) takes the roll and its defects with it.
    void refusedPictureRowWritesNothing()
    {
        DefectPhotos photos(m_db->home.file(u"照片"_s));
        QVERIFY(photos.prepare(m_db->conn));
        m_db->conn.execute(u"drop table checkDetailPhoto"_s);
        InspectionSettings settings;
        InspectionRoll r(settings);
        RollSave saving(r, m_journal.get());
        saving.setPhotos(&photos);
        QList<QStringList> defects = TwoDefects;
        defects[0] << u"2603/001-K1-001-1.jpg"_s; // the picture's column
        QVERIFY(throwsWith<DbError>([&] { saving.save(m_db->conn, typedRoll(), defects, r.numberCondition(typedRoll())); },
                                    u"checkDetailPhoto"_s));
        QVERIFY(!m_db->conn.inTransaction());
        QCOMPARE(scalar("select (select count(*) from checkinfo) + (select count(*) from checkDetail)"), u"0"_s);
    }

    // The number proposed under the scope the form showed, and a number proposed under another
    // scope (another line chosen after it was proposed) is not kept.
    void numberOfAnotherScopeIsReplaced()
    {
        m_db->conn.execute(u"insert into checkinfo(billdetailId,checkCode) values(12,'006')"_s);
        InspectionSettings settings;
        InspectionRoll r(settings);
        RollForm form = typedRoll();
        const QString line11 = r.numberCondition(form);
        form.lineId = u"12"_s;
        const RollSave saving(r, m_journal.get());
        QCOMPARE(saving.save(m_db->conn, form, {}, line11).roll[CheckField::RollNumber], u"007"_s);
        // Rolls waiting in the journal hold numbers the database does not know yet.
        JournalRecord waiting = JournalRecord::create(u"001/test"_s, u"卷号 009"_s);
        waiting.number = saving.numberScope(form);
        waiting.number.value = u"009"_s;
        m_journal->add(waiting);
        QCOMPARE(saving.proposeNumber(m_db->conn, form, 1), u"010"_s);
        QCOMPARE(saving.proposeNumber(m_db->conn, form, 0), u"008"_s);
        form[CheckField::RollNumber] = u"012"_s;
        QCOMPARE(saving.offlineNumber(form), u"012"_s);
    }

    // While the database is away: the record holds the statements the online save runs, with the
    // new roll's id and number marked for the replay; the line's offset as last looked up here.
    void keep_data()
    {
        QTest::addColumn<Keeping>("c");
        const QStringList defects{"insert into checkinfo", "checkDetail", "checkDetail"};
        QTest::newRow("new roll: insert, defects, numbered") << Keeping{false, None, true, defects};
        QTest::newRow("line never looked up: item5 empty") << Keeping{false, None, false, defects};
        QTest::newRow("reopened roll with stock: defects, stock, update, stock")
            << Keeping{false, [](RollForm& r, InspectionSettings& s) { r.id = 5; s.postToStock = true; }, true,
                       {"delete", "5", "update checkinfo", "checkDetail", "checkDetail", "102"}};
        QTest::newRow("package of an article never made here")
            << Keeping{true, NewItem, true, {}, "数据库离线：商品「新品」还没有建立，离线时不能新建商品。这一箱没有保存，数据库连上后请再按保存。"};
    }
    void keep()
    {
        QFETCH(Keeping, c);
        const auto& [package, edit, lineLookedUp, steps, error] = c;
        InspectionSettings settings;
        RollForm form = typedRoll();
        edit(form, settings);
        const std::unique_ptr<InspectionRoll> r = rules(package, settings);
        if (lineLookedUp)
            m_journal->keptRead(r->item5Source(u"11"_s).kind, u"11"_s,
                                [&] { return m_db->conn.execute(r->item5Source(u"11"_s).sql); });
        m_db->conn.close(); // the database is away from here on
        try {
            const RollSave::Kept kept = RollSave(*r, m_journal.get()).keep(form, TwoDefects);
            QVERIFY(error.isEmpty());
            QCOMPARE(kept.record.steps.size(), steps.size());
            for (qsizetype i = 0; i < steps.size(); ++i) {
                const JournalStep& step = kept.record.steps[i];
                QVERIFY2((step.sql + step.routine).contains(steps[i], Qt::CaseInsensitive), qPrintable(step.sql));
            }
            if (form.id <= 0) { // the new roll's id and number are marked for the replay
                const QString insert = kept.record.steps[0].sql;
                QVERIFY(kept.record.steps[0].identity && insert.contains(JournalRecord::numberMark()));
                QVERIFY2(insert.contains(lineLookedUp ? "'101'" : "''"), qPrintable(insert));
                QCOMPARE(kept.record.number.value, "001");
            }
            QCOMPARE(kept.card, "K001");
        } catch (const DbError& e) {
            QCOMPARE(e.message(), error);
        }
    }
};

QTEST_GUILESS_MAIN(TestRollSave)
#include "TestRollSave.moc"
