// Label rows of the label tab and the plan of the worksheet import.
#include "stations/inspection/CheckLabelImport.h"
#include "stations/inspection/CheckLabelRows.h"

#include <QTest>

using namespace CheckLabels;

namespace {

// "001:250,002:250" for comparing generated rows in one line.
QString joined(const QList<LabelRow>& rows)
{
    QStringList parts;
    for (const LabelRow& r : rows)
        parts << r.number + QStringLiteral(":") + QString::number(r.quantity);
    return parts.join(u',');
}

ImportContext lineOnScreen()
{
    ImportContext ctx;
    ctx.billCode = QStringLiteral("K001");
    ctx.billDetailId = 11;
    ctx.itemId = 1;
    ctx.weight = 21.5;
    ctx.machineId = QStringLiteral("003");
    ctx.userCode = QStringLiteral("001");
    ctx.taskno = QStringLiteral("J1");
    ctx.remark = QStringLiteral("边'破");
    ctx.items[0] = QStringLiteral("P1");
    ctx.today = QStringLiteral("2026-12-05");
    return ctx;
}

} // namespace

class TestCheckLabelRows : public QObject {
    Q_OBJECT
private slots:
    // Labels of a fixed length each (piece) or a given number of labels of the same quantity.
    void labelRows_data()
    {
        QTest::addColumn<bool>("byCount");
        QTest::addColumn<double>("total");
        QTest::addColumn<double>("piece"); // length of a label, or how many labels
        QTest::addColumn<double>("first");
        QTest::addColumn<QString>("codeLen");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* name, bool byCount, double total, double piece,
                            double first, const char* codeLen, const char* rows,
                            const QString& error = QString()) {
            QTest::newRow(name) << byCount << total << piece << first
                                << QString::fromLatin1(codeLen) << QString::fromLatin1(rows)
                                << error;
        };
        row("whole pieces", false, 1000, 250, 1, "000", "001:250,002:250,003:250,004:250");
        row("remainder gets next number", false, 1000, 300, 7, "000",
            "007:300,008:300,009:300,010:100");
        row("fractional total rest", false, 520.5, 250, 1, "00", "01:250,02:250,03:20.5");
        row("piece as typed", false, 1000, 250.5, 1, "000",
            "001:250.5,002:250.5,003:250.5,004:248.5");
        row("tenths add up exactly", false, 0.9, 0.3, 1, "0", "1:0.3,2:0.3,3:0.3");
        row("less than one piece", false, 90, 250, 12, "000", "012:90");
        row("nothing inspected", false, 0, 250, 1, "000", "");
        row("zero piece refused", false, 1000, 0, 1, "000", "", zeroPieceText());
        row("negative piece refused", false, 1000, -250, 1, "000", "", zeroPieceText());
        row("three from 5", true, 120, 3, 5, "000", "005:120,006:120,007:120");
        row("four digits", true, 80.5, 2, 999, "0000", "0999:80.5,1000:80.5");
        row("past the width", true, 10, 2, 99, "00", "99:10,100:10");
        row("no pattern", true, 10, 1, 42, "", "42:10");
        row("zero count", true, 120, 0, 5, "000", "", zeroCountText());
    }
    void labelRows()
    {
        QFETCH(bool, byCount);
        QFETCH(double, total);
        QFETCH(double, piece);
        QFETCH(double, first);
        QFETCH(QString, codeLen);
        const LabelRows out = byCount ? variableCount(total, int(piece), first, codeLen)
                                      : fixedLength(total, piece, first, codeLen);
        QTEST(joined(out.rows), "rows");
        QTEST(out.error, "error");
    }

    // Worksheet rows (id, number, quantity, grade as typed) and what the import makes of them.
    void plan_data()
    {
        QTest::addColumn<QVariantList>("cells"); // 4 per row: col 1, 2, 10, 11
        QTest::addColumn<int>("statements");
        QTest::addColumn<int>("bad");
        const auto rows = [](std::initializer_list<QVariant> v) { return QVariantList(v); };
        QTest::newRow("update and insert") << rows({17.0, "002", 250.0, "二等品", -1.0, "009", "99.5", "一等品"}) << 2 << 0;
        QTest::newRow("stops at id 0") << rows({17.0, "002", 250.0, "A", 0.0, "", 1.0, "", 18.0, "", 1.0, ""}) << 1 << 0;
        QTest::newRow("stops at empty id") << rows({17.0, "", 250.0, "A", "", "", "", "", 18.0, "", "x", ""}) << 1 << 0;
        QTest::newRow("id as text") << rows({"17", "", "250", "A"}) << 1 << 0;
        QTest::newRow("text id") << rows({"卷1", "", 250.0, "A"}) << 0 << 1;
        QTest::newRow("fractional id") << rows({17.5, "", 250.0, "A"}) << 0 << 1;
        QTest::newRow("negative id") << rows({-3.0, "005", 250.0, "A"}) << 0 << 1;
        QTest::newRow("quantity with unit") << rows({17.0, "", "250米", "A", 18.0, "", 3.0, "B"}) << 1 << 1;
        QTest::newRow("empty quantity") << rows({17.0, "", "", "A"}) << 0 << 1;
        QTest::newRow("new roll without number") << rows({-1.0, "", 250.0, "A"}) << 0 << 1;
        QTest::newRow("header only") << rows({}) << 0 << 0;
    }
    void plan()
    {
        QFETCH(QVariantList, cells);
        sheet::SheetGrid grid;
        grid.setCell(1, 1, QStringLiteral("ID"));
        const int columns[4] = {1, 2, 10, 11};
        for (int i = 0; i < cells.size(); ++i)
            grid.setCell(2 + i / 4, columns[i % 4], cells[i]);
        const ImportPlan p = planImport(grid, lineOnScreen());
        QTEST(int(p.statements.size()), "statements");
        QTEST(int(p.badRows.size()), "bad");
    }

    void newRollNeedsCardLine()
    {
        sheet::SheetGrid grid;
        grid.setCell(2, 1, -1.0);
        grid.setCell(2, 2, QStringLiteral("001"));
        grid.setCell(2, 10, 10.0);
        ImportContext ctx = lineOnScreen();
        ctx.billDetailId = 0;
        QCOMPARE(planImport(grid, ctx).badRows.size(), 1);
    }
};

QTEST_APPLESS_MAIN(TestCheckLabelRows)
#include "TestCheckLabelRows.moc"
