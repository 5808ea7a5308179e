// The label rules without a window: the rows a generation plans, the template a roll's grade
// gets and the template menu, and what a worksheet import writes, on an embedded database.
#include "db/Connection.h"
#include "db/Recordset.h"
#include "sheet/SheetFile.h"
#include "stations/inspection/CheckLabelImport.h"
#include "stations/inspection/CheckLabelRows.h"
#include "stations/inspection/LabelTemplates.h"
#include "support/TempProgramFolder.h"

#include <QTest>

using namespace CheckLabels;
using namespace Qt::StringLiterals;

namespace {

// The card line K001/11 on screen, with its worker, dye lot and remark.
ImportContext lineOnScreen()
{
    return {u"K001"_s, 11, 1, 21.5, 0, u"003"_s, u"001"_s, u"J1"_s, u"边'破"_s, {u"P1"_s}, u"2026-12-05"_s};
}

// Labels of a fixed length each (piece) or a given number (piece) of labels of the same quantity,
// numbered from first: the rows (number:quantity) or the error.
struct Pieces { bool byCount; double total, piece, first; QString codeLen, rows, error = {}; };
// Worksheet cells (4 a row: columns 1, 2, 10, 11) with the card line on screen: statements, bad rows.
struct Planned { QVariantList cells; double line; int statements, bad; };
// What is wrong with the rows or the file: part of the message, critical, the rolls afterwards.
struct Imported { QString bad, message; bool critical; QString rolls; };

} // namespace

class TestCheckLabelRows : public QObject {
    Q_OBJECT
private slots:
    void labelRows_data()
    {
        QTest::addColumn<Pieces>("c");
        QTest::newRow("whole pieces") << Pieces{false, 1000, 250, 1, "000", "001:250,002:250,003:250,004:250"};
        QTest::newRow("remainder gets next number") << Pieces{false, 1000, 300, 7, "000", "007:300,008:300,009:300,010:100"};
        QTest::newRow("fractional total rest") << Pieces{false, 520.5, 250, 1, "00", "01:250,02:250,03:20.5"};
        QTest::newRow("piece as typed") << Pieces{false, 1000, 250.5, 1, "000", "001:250.5,002:250.5,003:250.5,004:248.5"};
        QTest::newRow("tenths add up exactly") << Pieces{false, 0.9, 0.3, 1, "0", "1:0.3,2:0.3,3:0.3"};
        QTest::newRow("less than one piece") << Pieces{false, 90, 250, 12, "000", "012:90"};
        QTest::newRow("nothing inspected") << Pieces{false, 0, 250, 1, "000", ""};
        QTest::newRow("zero piece refused") << Pieces{false, 1000, 0, 1, "000", "", "每支长度必须大于0"};
        QTest::newRow("negative piece refused") << Pieces{false, 1000, -250, 1, "000", "", "每支长度必须大于0"};
        QTest::newRow("three from 5") << Pieces{true, 120, 3, 5, "000", "005:120,006:120,007:120"};
        QTest::newRow("four digits") << Pieces{true, 80.5, 2, 999, "0000", "0999:80.5,1000:80.5"};
        QTest::newRow("past the width") << Pieces{true, 10, 2, 99, "00", "99:10,100:10"};
        QTest::newRow("no pattern") << Pieces{true, 10, 1, 42, "", "42:10"};
        QTest::newRow("zero count") << Pieces{true, 120, 0, 5, "000", "", "标签数量必须大于0"};
    }
    void labelRows()
    {
        QFETCH(Pieces, c);
        const auto& [byCount, total, piece, first, codeLen, expected, error] = c;
        const LabelRows out = byCount ? variableCount(total, int(piece), first, codeLen)
                                      : fixedLength(total, piece, first, codeLen);
        QStringList rows;
        for (const LabelRow& r : out.rows)
            rows << r.number + u':' + QString::number(r.quantity);
        QCOMPARE(rows.join(u','), expected);
        QCOMPARE(out.error, error);
    }

    // Worksheet rows (id, number, quantity, grade as typed) and what the import makes of them.
    void plan_data()
    {
        QTest::addColumn<Planned>("c");
        QTest::newRow("update and insert") << Planned{{17.0, "002", 250.0, "二等品", -1.0, "009", "99.5", "一等品"}, 11.0, 2, 0};
        QTest::newRow("stops at id 0") << Planned{{17.0, "002", 250.0, "A", 0.0, "", 1.0, "", 18.0, "", 1.0, ""}, 11.0, 1, 0};
        QTest::newRow("stops at empty id") << Planned{{17.0, "", 250.0, "A", "", "", "", "", 18.0, "", "x", ""}, 11.0, 1, 0};
        QTest::newRow("id as text") << Planned{{"17", "", "250", "A"}, 11.0, 1, 0};
        QTest::newRow("text id") << Planned{{"卷1", "", 250.0, "A"}, 11.0, 0, 1};
        QTest::newRow("fractional id") << Planned{{17.5, "", 250.0, "A"}, 11.0, 0, 1};
        QTest::newRow("negative id") << Planned{{-3.0, "005", 250.0, "A"}, 11.0, 0, 1};
        QTest::newRow("quantity with unit") << Planned{{17.0, "", "250米", "A", 18.0, "", 3.0, "B"}, 11.0, 1, 1};
        QTest::newRow("empty quantity") << Planned{{17.0, "", "", "A"}, 11.0, 0, 1};
        QTest::newRow("new roll without number") << Planned{{-1.0, "", 250.0, "A"}, 11.0, 0, 1};
        QTest::newRow("new roll without card line") << Planned{{-1.0, "001", 10.0, ""}, 0.0, 0, 1};
        QTest::newRow("header only") << Planned{{}, 11.0, 0, 0};
    }
    void plan()
    {
        QFETCH(Planned, c);
        sheet::SheetGrid grid;
        grid.setCell(1, 1, u"ID"_s);
        const int columns[4] = {1, 2, 10, 11};
        for (int i = 0; i < c.cells.size(); ++i)
            grid.setCell(2 + i / 4, columns[i % 4], c.cells[i]);
        ImportContext ctx = lineOnScreen();
        ctx.billDetailId = c.line;
        const ImportPlan p = planImport(grid, ctx);
        QCOMPARE(int(p.statements.size()), c.statements);
        QCOMPARE(int(p.badRows.size()), c.bad);
    }

    // The menu lists the folder's templates and "bill"; a grade prints with its own template.
    void templates_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("printed");
        QTest::newRow("the grade's own template") << "A品" << "A品";
        QTest::newRow("a grade without one: the remembered choice") << "B品" << "特殊";
        QTest::newRow("no grade") << "" << "特殊";
    }
    void templates()
    {
        TempProgramFolder home;
        for (const char* name : {"唛头", "订单唛头2", "A品"})
            home.writeFile(u"打印/唛头/"_s + QString::fromUtf8(name) + u".grf"_s, "[report]\n");
        home.writeFile(u"打印/唛头/说明.txt"_s, "not a template");
        QCOMPARE(templateNames(), (QStringList{u"A品"_s, u"唛头"_s, u"订单唛头2"_s, u"bill"_s}));
        QFETCH(QString, grade);
        QTEST(rollTemplate(grade, u"特殊"_s), "printed");
    }

    // Roll 17 exported; the worksheet corrects it and adds roll 009 to the card line, all rows in
    // one transaction: a number the database refuses takes back the first row's update too.
    void import_data()
    {
        QTest::addColumn<Imported>("c");
        const QString untouched = u"17:100A品"_s;
        QTest::newRow("written") << Imported{"", "导入成功", false, u"17:250.5二等品;18:80一等品K00111001边'破"_s};
        QTest::newRow("quantity in words") << Imported{"row", "不符合规格的数据：\n第4行（18, 002, 八十, A品）数量不是数字", false, untouched};
        QTest::newRow("roll deleted since the export") << Imported{"roll", "已被删除", true, untouched};
        QTest::newRow("database refuses a row") << Imported{"clash", "", true, u"17:100A品;18:7A品K00111"_s};
        QTest::newRow("no valid row") << Imported{"empty", "没有有效的数据。", false, untouched};
        QTest::newRow("file gone") << Imported{"gone", "", true, untouched};
    }
    void import()
    {
        QFETCH(Imported, c);
        const auto& [bad, message, critical, rolls] = c;
        TempProgramFolder home;
        Connection conn;
        conn.openOrCreate(u"Provider=SQLite;Data Source="_s + home.file(u"mirel.db"_s));
        const QString insert = u"insert into checkinfo(id,billcode,billdetailId,itemid,checkCode,onCount,grade) values"_s;
        conn.execute(insert + u"(17,'K001',11,1,'001',100,'A品')"_s);
        if (bad == u"clash") {
            conn.execute(insert + u"(18,'K001',11,1,'009',7,'A品')"_s);
            conn.execute(u"create unique index ux_test_checkcode on checkinfo(checkCode)"_s);
        }
        // The worksheet as exported (a .xls is read into the same cells: tests/sheet).
        const QVariant e;
        sheet::SheetTable table{{u"ID"_s, u"卷号"_s, u"卡号"_s, {}, {}, {}, {}, {}, {}, u"数量"_s, u"等级"_s},
                                {{17, u"001"_s, e, e, e, e, e, e, e, 250.5, u"二等品"_s},
                                 {-1, u"009"_s, e, e, e, e, e, e, e, 80, u"一等品"_s}}};
        if (bad == u"row" || bad == u"roll")
            table.rows << QVariantList{bad == u"row" ? 18 : 999, u"002"_s, e, e, e, e, e, e, e,
                                       bad == u"row" ? QVariant(u"八十"_s) : QVariant(80), u"A品"_s};
        if (bad == u"empty")
            table.rows.clear();
        table.rows << QVariantList{0, u"003"_s, e, e, e, e, e, e, e, 5, u"A品"_s}; // the end of the list
        const QString path = home.file(u"rolls.xlsx"_s);
        if (bad != u"gone")
            QVERIFY(sheet::writeXlsx(path, table));
        const ImportResult done = importSheet(conn, path, lineOnScreen());
        QVERIFY2(done.message.contains(message) && !done.message.isEmpty(), qPrintable(done.message));
        QCOMPARE(done.critical, critical);
        QCOMPARE(done.written, message == u"导入成功");
        const Recordset rs = conn.execute(u"select group_concat(id || ':' || onCount || grade || case when id=17 then '' else "
                                          "billcode || billdetailId || ifnull(checkUsercode,'') || ifnull(remark,'') end, ';') "
                                          "from (select * from checkinfo order by id)"_s);
        QCOMPARE(rs.text(0), rolls);
    }
};

QTEST_GUILESS_MAIN(TestCheckLabelRows)
#include "TestCheckLabelRows.moc"
