// The grid: header row 0, data rows, recordset binding, widths in twips, current row and
// selection, editable columns, and the one-row mouse wheel.
#include "db/Recordset.h"
#include "widgets/EditGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

Recordset rolls()
{
    Recordset rs(QStringList{"id", "卷号", "数量"});
    rs.addRow({DbValue(1), DbValue(u"001"_s), DbValue(12.5)});
    rs.addRow({DbValue(2), DbValue(), DbValue(0.5)});
    rs.addRow({DbValue(3), DbValue(u"003"_s), DbValue(100)});
    return rs;
}

// Turns the wheel over the grid's rows; notches > 0 away from the operator.
void wheel(EditGrid& g, int delta)
{
    QWidget* vp = g.table()->viewport();
    const QPointF pos(vp->width() / 2.0, vp->height() / 2.0);
    QWheelEvent e(pos, vp->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vp, &e);
}

struct TallGrid : EditGrid {
    explicit TallGrid(int dataRows)
    {
        setHeader({u"序号"_s, u"疵点"_s});
        for (int r = 1; r <= dataRows; ++r)
            addItem(QString::number(r) + u'\t' + u"破洞"_s);
        resize(400, 300);
        show();
    }
};

} // namespace

class TestEditGrid : public QObject {
    Q_OBJECT

private slots:
    void headerIsRowZero()
    {
        EditGrid g;
        g.setFormatString(u"^商品id|^选中|<商品代码|价格"_s);
        QCOMPARE(g.cols(), 4);
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.textMatrix(0, 0), u"商品id"_s);
        QCOMPARE(g.textMatrix(0, 3), u"价格"_s);
        QCOMPARE(g.colAlignment(0), int(EditGrid::AlignCenterCenter));
        QCOMPARE(g.colAlignment(2), int(EditGrid::AlignLeftCenter));
        QCOMPARE(g.colAlignment(3), int(EditGrid::AlignGeneral));
        g.addItem(u"7\t√\tA01"_s);
        QCOMPARE(g.rows(), 2);
        QCOMPARE(g.textMatrix(1, 1), u"√"_s);
        QCOMPARE(g.textMatrix(1, 3), QString());
        QCOMPARE(g.textMatrix(2, 0), QString()); // outside the grid
        g.setTextMatrix(5, 0, u"x"_s);
        QCOMPARE(g.rows(), 2);
    }

    void addInsertRemoveRows()
    {
        EditGrid g;
        g.setCols(2);
        g.setRows(4);
        QCOMPARE(g.rows(), 4);
        g.setTextMatrix(1, 0, u"a"_s);
        g.setTextMatrix(3, 0, u"c"_s);
        g.addItem(u"b"_s, 2); // before data row 2
        QCOMPARE(g.textMatrix(2, 0), u"b"_s);
        QCOMPARE(g.textMatrix(4, 0), u"c"_s);
        g.removeItem(1);
        QCOMPARE(g.textMatrix(1, 0), u"b"_s);
        g.removeItem(0); // the header stays
        QCOMPARE(g.rows(), 4);
        g.clearRows();
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.cols(), 2);
    }

    void bindsRecordset()
    {
        EditGrid g;
        const Recordset rs = rolls();
        g.bindRecordset(rs);
        QCOMPARE(g.rows(), 4);
        QCOMPARE(g.cols(), 3);
        QCOMPARE(g.header(), (QStringList{"id", "卷号", "数量"}));
        QCOMPARE(g.textMatrix(1, 2), u"12.5"_s);
        QCOMPARE(g.textMatrix(2, 1), QString()); // null
        QCOMPARE(g.textMatrix(2, 2), u"0.5"_s);
        QCOMPARE(g.textMatrix(3, 0), u"3"_s);
        // The same columns again (the board reloads every round): widths stay.
        g.setColWidth(1, 3000);
        Recordset fewer(QStringList{"id", "卷号", "数量"});
        fewer.addRow({DbValue(9), DbValue(u"009"_s), DbValue(1)});
        g.bindRecordset(fewer);
        QCOMPARE(g.rows(), 2);
        QCOMPARE(g.colWidth(1), 3000);
        QCOMPARE(g.textMatrix(1, 1), u"009"_s);
        // Other columns replace the header; an empty result keeps only the header.
        Recordset other(QStringList{"编码", "产品名称"});
        g.bindRecordset(other);
        QCOMPARE(g.rows(), 1);
        QCOMPARE(g.header(), (QStringList{"编码", "产品名称"}));
        g.bindRecordset(Recordset());
        QCOMPARE(g.rows(), 1);
    }

    void widthsInTwips_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("1024 x 768") << QSize(1024, 768);
        QTest::newRow("1920 x 1080") << QSize(1920, 1080);
    }
    void widthsInTwips()
    {
        QFETCH(QSize, window);
        EditGrid g;
        g.setTwips(Twips(window));
        g.setCols(3);
        g.setColWidth(0, 600);
        g.setColWidth(1, 1500);
        g.setColWidth(2, 0);
        QCOMPARE(g.colWidthList(), u"600,1500,0"_s);
        QVERIFY(g.table()->isColumnHidden(2));
        QVERIFY(!g.applyColWidthList(u"900,900"_s, 1)); // one entry short
        QVERIFY(!g.applyColWidthList(u"900,900,900,900"_s, 1));
        QCOMPARE(g.colWidthList(), u"600,1500,0"_s);
        QVERIFY(g.applyColWidthList(u"900,2400,1200"_s, 1)); // column 0 keeps its width
        QCOMPARE(g.colWidthList(), u"600,2400,1200"_s);
        QVERIFY(!g.table()->isColumnHidden(2));
        g.setRowHeight(0, 600);
        QCOMPARE(g.rowHeight(0), 600);
        g.addItem(u"x"_s);
        g.setRowHeight(1, 900);
        QCOMPARE(g.rowHeight(1), 900);
    }

    void currentRowAndSelection()
    {
        TallGrid g(10);
        QCOMPARE(g.row(), 0); // nothing chosen yet
        QSignalSpy current(&g, &EditGrid::currentCellChanged);
        g.setRow(3);
        QCOMPARE(g.row(), 3);
        QCOMPARE(current.last().at(0).toInt(), 3);
        g.setRow(8);
        g.setRowSel(2);
        QCOMPARE(g.row(), 8);
        QCOMPARE(g.rowSel(), 2);
        // A tap on a row makes it current.
        QTableWidget* t = g.table();
        const QRect cell = t->visualRect(t->model()->index(1, 1));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(g.row(), 2);
        QCOMPARE(g.rowSel(), 2);
        g.setRow(0);
        QCOMPARE(g.row(), 0);
    }

    void editableColumn()
    {
        TallGrid g(3);
        g.setCols(7);
        g.setColEditable(6, true);
        QSignalSpy edited(&g, &EditGrid::cellEdited);
        QApplication::setActiveWindow(&g);
        QVERIFY(QTest::qWaitForWindowActive(&g));
        g.setTopRow(1);
        g.table()->setFocus();
        for (int c : {6, 1}) {
            g.setRow(2);
            g.setCol(c);
            // Keys go where the focus is: the view first, then the editor it opened.
            for (char ch : {'a', 'b', 'c'})
                QTest::keyClick(QApplication::focusWidget(), ch);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(g.textMatrix(2, 6), u"abc"_s);
        QCOMPARE(g.textMatrix(2, 1), u"破洞"_s);
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0).at(0).toInt(), 2);
        QCOMPARE(edited.at(0).at(1).toInt(), 6);
        g.setTextMatrix(3, 6, u"by program"_s); // not an operator's edit
        QCOMPARE(edited.size(), 1);
    }

    void wheelStepsOneRow()
    {
        TallGrid g(30);
        g.setWheelStepsOneRow(true);
        QCOMPARE(g.topRow(), 1);
        wheel(g, -120); // towards the operator
        QCOMPARE(g.topRow(), 2);
        for (int i = 0; i < 3; ++i)
            wheel(g, -120);
        QCOMPARE(g.topRow(), 5);
        wheel(g, 120);
        QCOMPARE(g.topRow(), 4);
        wheel(g, -60); // half notches add up
        QCOMPARE(g.topRow(), 4);
        wheel(g, -60);
        QCOMPARE(g.topRow(), 5);
        for (int i = 0; i < 10; ++i)
            wheel(g, 120);
        QCOMPARE(g.topRow(), 1); // never above the first data row
        int last = 0;
        for (int i = 0; i < 40; ++i) {
            wheel(g, -120);
            QVERIFY(g.topRow() >= last);
            last = g.topRow();
        }
        QVERIFY(last > 20 && last < 30); // stops when the last rows are in view
        wheel(g, 120);
        QCOMPARE(g.topRow(), last - 1);
        g.setTopRow(0); // the header row is never the top row
        QCOMPARE(g.topRow(), 1);
        EditGrid empty;
        empty.setCols(2);
        empty.setTopRow(3);
        QCOMPARE(empty.topRow(), 1);
    }
};

QTEST_MAIN(TestEditGrid)
#include "TestEditGrid.moc"
