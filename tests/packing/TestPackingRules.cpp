// The packing table's rules without a window, on a real embedded database: the roll id of a label
// barcode, the mark fields of a roll, the bill's packing list, the mark's save, the box list (a
// roll listed once), the box's save in one transaction with its moved-roll note, taking a roll out,
// listing a box, the draft of an unsaved box, and the [打包] options.
#include "PackingRows.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "stations/packing/BagSql.h"
#include "stations/packing/PackingBox.h"
#include "stations/packing/PackingMark.h"
#include "stations/packing/PackingSettings.h"
#include "support/RuleDatabase.h"
#include "time/Clock.h"

#include <QTest>
#include <sqlite3.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A box of "id:box:remark:earlier box" rolls (quantity 10 each).
PackingBox boxOf(const QStringList& rolls)
{
    PackingBox box;
    for (const QString& r : rolls) {
        const QStringList p = r.split(u':');
        box.add({p[0], u"涤棉府绸"_s, u"45x45"_s, p.value(1), u"10"_s, p.value(2), QString()}, p.value(3));
    }
    return box;
}

// Rolls "id:box:remark:earlier box" saved after a `failure` ("deleted 43", "trigger 44"): the
// rolls saved (id box remark weight), the list index of the roll that failed, the moved-roll note.
struct BoxSaving { QStringList rolls; QString failure, saved; int failedAt; QString note = {}; };

// With 单号细码校验 ticked or not, the bill scanned and the roll: the list (its rolls, 是 for marks
// printed at once) and the status line's text ("!" when the caret goes to the bill).
struct Listed { bool checked; QString bill; double roll; QString list = {}, problem = {}; };
// Rolls added to the listed ones and rolls in their box on the database by now: the draft kept,
// the box restored.
struct Draft { QStringList added, savedMeanwhile; bool kept, restored; };

QString ids(const PackingBox& box)
{
    QStringList out;
    for (const BoxRoll& r : box.rolls())
        out << r.id;
    return out.join(u',');
}

} // namespace

class TestPackingRules : public QObject {
    Q_OBJECT

    std::unique_ptr<RuleDatabase> m_db;

    QString scalar(const QString& sql) { return m_db->scalar(sql); }
    // SQLite itself, past the dialect (triggers that make statements fail).
    void native(const QString& sql)
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(m_db->home.file(u"mirel.db"_s).toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
    }

private slots:
    void init()
    {
        m_db = std::make_unique<RuleDatabase>(PackingRows);
    }
    void cleanup()
    {
        m_db.reset();
        Clock::set(QDateTime());
    }

    // The roll id of a label barcode, and whether the barcode field still shows the roll looked up
    // (another code in it stops a save or an add).
    void rollId_data()
    {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("id");
        QTest::addColumn<double>("shown");
        QTest::addColumn<bool>("same");
        QTest::newRow("zero-padded label") << u" 00042"_s << u"42"_s << 42.0 << true;
        QTest::newRow("letters") << u"abc"_s << u"0"_s << 0.0 << true;
        QTest::newRow("empty field") << QString() << u"0"_s << 42.0 << true;
        QTest::newRow("scanned over without Enter") << u"43 A"_s << u"43"_s << 42.0 << false;
        QTest::newRow("nothing looked up") << u"42"_s << u"42"_s << 0.0 << false;
    }
    void rollId()
    {
        QFETCH(QString, barcode);
        QFETCH(double, shown);
        QTEST(PackingMark::rollId(barcode), "id");
        QTEST(PackingMark::showsLookedUp(barcode, shown), "same");
    }

    // The roll's row into the mark fields: name, spec, quantity, composition, gram weight (the
    // roll's own 克重, the first of the two), width, lot, machine, inspector.
    void markFields_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("fields");
        QTest::newRow("roll 42") << u"42"_s << u"涤棉府绸|45x45|10|65/35|118|150|J1|M3|001"_s;
        QTest::newRow("no gram weight of its own") << u"43"_s << u"涤棉府绸|45x45|20.5|65/35||150|J1|M3|001"_s;
    }
    void markFields()
    {
        QFETCH(QString, id);
        const auto fields = PackingMark::fields(m_db->conn.execute(BagSql::showMark(id)));
        QMap<int, QString> byField;
        for (const auto& [field, text] : fields)
            byField[field] = text;
        QStringList shown;
        for (int f : {BagField::ItemName, BagField::Spec, BagField::Quantity, BagField::Composition,
                      BagField::GramWeight, BagField::Width, BagField::Lot, BagField::Machine,
                      BagField::Inspector})
            shown << byField.value(f, u"-"_s);
        QTEST(shown.join(u'|'), "fields");
        // The query has neither the item's barcode nor its pinyin: those fields stay as they are.
        QVERIFY(!byField.contains(BagField::ItemBarcode) && !byField.contains(BagField::Pinyin));
    }

    // The bill's packing list (its rolls; its invoice 是 prints marks at once) and, with
    // 单号细码校验 ticked, the roll it lets in. No bill: none scanned.
    void packingList_data()
    {
        QTest::addColumn<Listed>("c");
        QTest::newRow("not checked") << Listed{false, {}, 44};
        QTest::newRow("no bill scanned") << Listed{true, {}, 42, {}, u"先扫描单号!"_s};
        QTest::newRow("bill without list") << Listed{true, u"K003"_s, 42, u"0"_s, u"这个单号没有细码单"_s};
        QTest::newRow("roll not on the list") << Listed{true, u"K001"_s, 44, u"2是"_s, u"这匹布没有在这个单号的细码里面，请确认?"_s};
        QTest::newRow("roll on the list") << Listed{true, u"K001"_s, 43, u"2是"_s};
        QTest::newRow("invoice 否") << Listed{true, u"K002"_s, 50, u"1"_s};
    }
    void packingList()
    {
        QFETCH(Listed, c);
        std::optional<PackingList> list;
        if (!c.bill.isEmpty())
            list = PackingList::load(m_db->conn, c.bill);
        QCOMPARE(list ? QString::number(list->rolls.size()) + (list->autoPrint ? u"是"_s : QString()) : QString(), c.list);
        const auto problem = PackingMark::listProblem(c.checked, list, c.roll);
        QCOMPARE(problem ? problem->message + (problem->toBill ? u"!"_s : QString()) : QString(), c.problem);
    }

    // The addend raises the stored quantity at every save; a roll deleted elsewhere is no save.
    void markSave_data()
    {
        QTest::addColumn<QStringList>("quantities"); // quantity field, then addend, per save
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("addend 2 on 100, saved twice") << QStringList{u"100"_s, u"2"_s, u"102"_s, u"2"_s} << false << u"104"_s;
        QTest::newRow("typed with its unit") << QStringList{u"25.4kg"_s, QString()} << false << u"25.4"_s;
        QTest::newRow("roll deleted elsewhere") << QStringList{u"100"_s, u"2"_s} << true << QString();
    }
    void markSave()
    {
        QFETCH(QStringList, quantities);
        QFETCH(bool, deleted);
        if (deleted)
            m_db->conn.execute(u"delete from checkinfo where id=50"_s);
        for (int i = 0; i + 1 < quantities.size(); i += 2) {
            const MarkSave save{u"50"_s, PackingMark::savedQuantity(quantities[i], quantities[i + 1]),
                                u"007"_s, u"M9"_s};
            try {
                PackingMark::save(m_db->conn, save);
                QVERIFY(!deleted);
            } catch (const DbError& e) {
                QVERIFY(deleted && e.isRowMissing());
            }
        }
        QTEST(scalar(u"select oncount from checkinfo where id=50"_s), "stored");
        if (!deleted)
            QCOMPARE(scalar(u"select checkusercode||item3 from checkinfo where id=50"_s), u"007M9"_s);
    }

    // Rolls scanned into the box one after another ("id,name,spec,box,quantity,remark,box remark").
    void boxList_data()
    {
        QTest::addColumn<QStringList>("scans");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("totals");
        QTest::addColumn<int>("lastAdded"); // PackingBox::Added of the last scan
        const QString r42 = u"42,涤棉府绸,45x45,B1,10,,"_s, r43 = u"43,涤棉府绸,45x45,B1,20.5,,"_s,
                      r44 = u"44,涤棉府绸,45x45,B1,30,,"_s;
        const int yes = int(PackingBox::Added::Yes), twice = int(PackingBox::Added::AlreadyListed);
        QTest::newRow("three rolls") << QStringList{r42, r43, r44} << u"42,43,44"_s << u"3/60.5"_s << yes;
        QTest::newRow("scanned twice in a row") << QStringList{r42, r43, r43} << u"42,43"_s << u"2/30.5"_s << twice;
        QTest::newRow("scanned again later") << QStringList{r42, r43, r42} << u"42,43"_s << u"2/30.5"_s << twice;
        QTest::newRow("six fields") << QStringList{u"42,涤棉府绸,45x45,B1,10,"_s} << QString() << u"0/0"_s
                                    << int(PackingBox::Added::NotSevenFields);
        QTest::newRow("quantity as a plain number") << QStringList{u"42,涤棉府绸,45x45,B1,012.50kg,,"_s}
                                                    << u"42"_s << u"1/12.5"_s << yes;
    }
    void boxList()
    {
        QFETCH(QStringList, scans);
        PackingBox box;
        PackingBox::Added last{};
        for (const QString& line : scans)
            last = box.add(line.split(u','));
        QTEST(ids(box), "listed");
        QTEST(box.totals(), "totals");
        QTEST(int(last), "lastAdded");
    }

    // A roll in a box on the database, packed into box B2: the move asks only for a roll in
    // another box; taking it out of B2 touches it only while it is in B2.
    void rollInBox_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("afterRemove"); // its box after B2 took it out
        QTest::newRow("in another box") << u"B1"_s << u"B1"_s << u"B1"_s;
        QTest::newRow("already in this box") << u"B2"_s << QString() << QString();
        QTest::newRow("in no box") << QString() << QString() << QString();
    }
    void rollInBox()
    {
        QFETCH(QString, stored);
        QFETCH(QString, afterRemove);
        m_db->conn.execute(u"update checkinfo set bagnumber='%1' where id=42"_s.arg(stored));
        QTEST(PackingBox::earlierBox(m_db->conn, 42, u"B2"_s), "earlier");
        QCOMPARE(PackingBox::moveQuestion(u"B1"_s), u"该卷已在箱 B1 中，移到本箱？"_s);
        try {
            PackingBox::removeFromBox(m_db->conn, 42, u"B2"_s);
            QCOMPARE(stored, u"B2"_s);
        } catch (const DbError& e) {
            QVERIFY(stored != u"B2" && e.isRowMissing());
        }
        QCOMPARE(scalar(u"select bagnumber from checkinfo where id=42"_s), afterRemove);
    }

    // The box's save: every roll of the list carries the box's weight, time and machine, in one
    // transaction; a roll that cannot be written leaves every roll as it was. The note after it
    // names every moved roll under the box it came from.
    void boxSave_data()
    {
        QTest::addColumn<BoxSaving>("c");
        const QStringList three{u"42:B1"_s, u"43:B1:外箱破"_s, u"44:B1"_s};
        QTest::newRow("every roll, the box remark where none of its own; moved from two boxes")
            << BoxSaving{{u"42:B1::B7"_s, u"43:B1:外箱破:B8"_s, u"44:B1::B7"_s}, {}, u"42B1B区61.25,43B1外箱破61.25,44B1B区61.25"_s,
                         -1, u"；卷 42、44 已从箱 B7 移到本箱；卷 43 已从箱 B8 移到本箱"_s};
        QTest::newRow("a row without a box number is skipped, in the note too")
            << BoxSaving{{u"42:B1"_s, u"43:::B7"_s, u"44:B1::B8"_s}, {}, u"42B1B区61.25,44B1B区61.25"_s, -1, u"；卷 44 已从箱 B8 移到本箱"_s};
        QTest::newRow("roll deleted elsewhere") << BoxSaving{three, u"deleted 43"_s, {}, 1};
        QTest::newRow("database refuses the last roll") << BoxSaving{three, u"trigger 44"_s, {}, 2};
    }
    void boxSave()
    {
        QFETCH(BoxSaving, c);
        if (c.failure == u"deleted 43")
            m_db->conn.execute(u"delete from checkinfo where id=43"_s);
        if (c.failure == u"trigger 44")
            native(u"create trigger full_disk before update of bagweight on checkinfo when new.id=44"
                   u" begin select raise(abort, 'database or disk is full'); end"_s);
        Clock::set(QDateTime(QDate(2026, 3, 14), QTime(10, 30, 5)));
        const PackingBox box = boxOf(c.rolls);
        QCOMPARE(box.movedNote(), c.note);
        int failed = -1;
        try {
            PackingBox::save(m_db->conn, box.saveSteps(u"61.25kg"_s, u"B区"_s, Clock::now(), u"打包机3号"_s), &failed);
            failed = -1;
        } catch (const DbError& e) {
            QCOMPARE(e.isRowMissing(), c.failure.startsWith(u"deleted"));
        }
        QCOMPARE(failed, c.failedAt);
        QVERIFY(!m_db->conn.inTransaction());
        QCOMPARE(scalar(u"select group_concat(id||bagnumber||bagremark||bagweight) from (select * from checkinfo"
                        u" where bagMachine='打包机3号' and bagTime='2026-03-14 10:30:05' order by id)"_s), c.saved);
        if (c.failedAt >= 0)
            QCOMPARE(scalar(u"select count(*) from checkinfo where bagnumber='B1'"_s), u"0"_s);
    }

    // A saved box comes back with its weight and the rolls' remarks.
    void loadBox()
    {
        m_db->conn.execute(u"update checkinfo set bagnumber='B1', bagweight=30, bagremark='外箱破' where id in (42,44)"_s);
        const PackingBox::Listed listed = PackingBox::load(m_db->conn, u"B1"_s);
        PackingBox box;
        for (const QStringList& fields : listed.rows)
            box.add(fields);
        QCOMPARE(ids(box), u"42,44"_s);
        QCOMPARE(box.totals() + box.rolls().first().remark + listed.weight, u"2/40外箱破30"_s);
        QCOMPARE(PackingBox::load(m_db->conn, u"B7"_s).weight, QString());
    }

    // The draft of a box with rolls listed from the database and rolls added since.
    void draft_data()
    {
        QTest::addColumn<Draft>("c");
        QTest::newRow("rolls added") << Draft{{u"43"_s, u"44"_s}, {}, true, true};
        QTest::newRow("one of them saved meanwhile") << Draft{{u"43"_s, u"44"_s}, {u"44"_s}, true, true};
        QTest::newRow("box saved as the power went") << Draft{{u"43"_s, u"44"_s}, {u"43"_s, u"44"_s}, true, false};
        QTest::newRow("only rolls listed") << Draft{{}, {}, false, false};
    }
    void draft()
    {
        QFETCH(Draft, c);
        const PackingBox box = boxOf({u"42:B1:外箱破"_s, u"43:B1::B7"_s, u"44:B1"_s});
        const PackingBox::DraftRows rows = box.draft({u"B1"_s, u"61.25"_s, u"B区"_s}, QSet<QString>(c.added.begin(), c.added.end()));
        QCOMPARE(!rows.isEmpty(), c.kept);
        for (const QString& id : c.savedMeanwhile)
            m_db->conn.execute(u"update checkinfo set bagnumber='B1' where id="_s + id);
        const auto back = PackingBox::restore(rows, 3, [this](const QString& roll, const QString& in) {
            return PackingBox::savedInto(m_db->conn, roll, in);
        });
        QCOMPARE(bool(back), c.restored);
        if (!back)
            return;
        QCOMPARE(back->box.rolls(), box.rolls());
        QCOMPARE(back->boxFields, (QStringList{u"B1"_s, u"61.25"_s, u"B区"_s}));
        QCOMPARE(back->added.size(), c.added.size() - c.savedMeanwhile.size());
    }

    // [打包] as written: buttons and the box area read flags, the check boxes numbers.
    void settings_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("read"); // save print boxArea weighsBox | eight boxes | machine format
        QTest::newRow("defaults") << QByteArray() << u"0000|00000000|打包机1号 0.00"_s;
        QTest::newRow("packing 1") << QByteArray("[打包]\n是否要打包=1\nisSaveCheck=true\n唛头打印=2\n")
                                   << u"1111|00000000|打包机1号 0.00"_s;
        QTest::newRow("packing true: the roll is weighed")
            << QByteArray("[打包]\n是否要打包=true\nisChen=true\nautoAdd=1\n") << u"0010|01000000|打包机1号 0.00"_s;
        QTest::newRow("every box, machine and format")
            << QByteArray("[MIREL]\nmenchineId=打包机3号\ndispFormat=0.0\n[打包]\nisChen=1\nautoAdd=1\nMaitouAutoPrint=1\n"
                          "PDAautoPrint=1\nautoClear=1\nautoSave=1\nisPrintreview=1\nbillCodeValid=1\n")
            << u"0000|11111111|打包机3号 0.0"_s;
    }
    void settings()
    {
        QFETCH(QByteArray, ini);
        m_db->home.writeFile(u"mirel.ini"_s, ini);
        const PackingSettings s = PackingSettings::read();
        QString read;
        for (bool b : {s.saveCheck, s.markPrint, s.boxArea(), s.weighsBox()})
            read += b ? u'1' : u'0';
        read += u'|';
        for (bool b : {s.isChen, s.autoAdd, s.maitouAutoPrint, s.pdaAutoPrint, s.autoClear, s.autoSave,
                       s.isPrintreview, s.billCodeValid})
            read += b ? u'1' : u'0';
        QTEST(read + u'|' + s.machineId + u' ' + s.dispFormat, "read");
    }
};

QTEST_GUILESS_MAIN(TestPackingRules)
#include "TestPackingRules.moc"
