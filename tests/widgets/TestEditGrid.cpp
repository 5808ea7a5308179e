// The grid: header row 0, data rows, recordset binding, widths in twips, current row and
// selection, editable columns, and the one-row mouse wheel; the pick list bound to a recordset.
#include "db/Recordset.h"
#include "widgets/ComboEx.h"
#include "widgets/EditGrid.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

// The grid's texts: rows joined by '/', cells by '|'.
QString cells(const EditGrid& g)
{
    QStringList rows;
    for (int r = 0; r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.cols(); ++c)
            row << g.textMatrix(r, c);
        rows << row.join(u'|');
    }
    return rows.join(u'/');
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

Recordset users()
{
    Recordset rs(QStringList{"userid", "usercode", "username"});
    rs.addRow({DbValue(1), DbValue(u"001"_s), DbValue(u"张三"_s)});
    rs.addRow({DbValue(2), DbValue(u"002"_s), DbValue(u"李四"_s)});
    rs.addRow({DbValue(3), DbValue(u"003"_s), DbValue()});
    return rs;
}

} // namespace

class TestEditGrid : public QObject {
    Q_OBJECT

private slots:
    void headerIsRowZero()
    {
        EditGrid g;
        g.setFormatString(u"^商品id|^选中|<商品代码|价格"_s);
        QCOMPARE(g.rows(), 1);
        g.addItem(u"7\t√\tA01"_s);
        g.setTextMatrix(5, 0, u"x"_s); // outside the grid: nothing
        QCOMPARE(cells(g), u"商品id|选中|商品代码|价格/7|√|A01|"_s);
        QCOMPARE((QList<int>{g.colAlignment(0), g.colAlignment(2), g.colAlignment(3)}),
                 (QList<int>{EditGrid::AlignCenterCenter, EditGrid::AlignLeftCenter,
                             EditGrid::AlignGeneral}));
    }

    void addInsertRemoveRows()
    {
        EditGrid g;
        g.setCols(2);
        g.setRows(4);
        g.setTextMatrix(1, 0, u"a"_s);
        g.setTextMatrix(3, 0, u"c"_s);
        g.addItem(u"b"_s, 2); // before data row 2
        QCOMPARE(cells(g), u"|/a|/b|/|/c|"_s);
        g.removeItem(1);
        g.removeItem(0); // the header stays
        QCOMPARE(cells(g), u"|/b|/|/c|"_s);
        g.clearRows();
        QCOMPARE(cells(g), u"|"_s);
    }

    void bindsRecordset()
    {
        EditGrid g;
        Recordset rs(QStringList{"id", "卷号", "数量"});
        rs.addRow({DbValue(1), DbValue(u"001"_s), DbValue(12.5)});
        rs.addRow({DbValue(2), DbValue(), DbValue(0.5)});
        g.bindRecordset(rs);
        QCOMPARE(cells(g), u"id|卷号|数量/1|001|12.5/2||0.5"_s);
        // The same columns again (the board reloads every round): widths stay.
        g.setColWidth(1, 3000);
        Recordset fewer(QStringList{"id", "卷号", "数量"});
        fewer.addRow({DbValue(9), DbValue(u"009"_s), DbValue(1)});
        g.bindRecordset(fewer);
        QCOMPARE(cells(g), u"id|卷号|数量/9|009|1"_s);
        QCOMPARE(g.colWidth(1), 3000);
        // Other columns replace the header; an empty result keeps only the header.
        g.bindRecordset(Recordset(QStringList{"编码", "产品名称"}));
        QCOMPARE(g.header(), (QStringList{"编码", "产品名称"}));
        QCOMPARE(g.rows(), 1);
        g.bindRecordset(Recordset());
        QCOMPARE(g.rows(), 1);
    }

    void widthsInTwips()
    {
        EditGrid g;
        g.setTwips(Twips(QSize(1920, 1080)));
        g.setCols(3);
        g.setColWidth(0, 600);
        g.setColWidth(1, 1500);
        g.setColWidth(2, 0);
        QVERIFY(g.table()->isColumnHidden(2));
        QVERIFY(!g.applyColWidthList(u"900,900"_s, 1)); // one entry short
        QVERIFY(!g.applyColWidthList(u"900,900,900,900"_s, 1));
        QCOMPARE(g.colWidthList(), u"600,1500,0"_s);
        QVERIFY(g.applyColWidthList(u"900,2400,1200"_s, 1)); // column 0 keeps its width
        QCOMPARE(g.colWidthList(), u"600,2400,1200"_s);
        QVERIFY(!g.table()->isColumnHidden(2));
    }

    void currentRowAndSelection()
    {
        TallGrid g(10);
        QCOMPARE(g.row(), 0); // nothing chosen yet
        QSignalSpy current(&g, &EditGrid::currentCellChanged);
        g.setRow(3);
        QCOMPARE(QPoint(g.row(), current.last().at(0).toInt()), QPoint(3, 3));
        g.setRow(8);
        g.setRowSel(2);
        QCOMPARE(QPoint(g.row(), g.rowSel()), QPoint(8, 2));
        // A tap on a row makes it current.
        QTableWidget* t = g.table();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                          t->visualRect(t->model()->index(1, 1)).center());
        QCOMPARE(QPoint(g.row(), g.rowSel()), QPoint(2, 2));
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
        g.setTextMatrix(3, 6, u"by program"_s); // not an operator's edit
        QCOMPARE(g.textMatrix(2, 6) + u'/' + g.textMatrix(2, 1), u"abc/破洞"_s);
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.at(0), (QVariantList{2, 6}));
    }

    void wheelStepsOneRow()
    {
        TallGrid g(30);
        g.setWheelStepsOneRow(true);
        // From a top row, the wheel's turns, the rows moved: one a notch towards the operator
        // (< 0) or away, half notches adding up; never above the first data row, nor past the
        // last rows in view.
        for (const auto& [from, deltas, moved] :
             {std::tuple{3, QList<int>{-120}, 1}, {3, {120}, -1}, {3, {-60, -60}, 1}, {1, {120}, 0},
              {30, {-120}, 0}}) {
            g.setTopRow(from);
            const int top = g.topRow();
            for (int delta : deltas)
                wheel(g, delta);
            QCOMPARE(g.topRow() - top, moved);
        }
        QVERIFY(g.topRow() > 20 && g.topRow() < 30);
        g.setTopRow(0); // the header row is never the top row
        QCOMPARE(g.topRow(), 1);
        EditGrid empty;
        empty.setTopRow(3);
        QCOMPARE(empty.topRow(), 1);
    }

    void comboReportsTheSelectedEntry_data()
    {
        QTest::addColumn<int>("valueField");
        QTest::addColumn<int>("textField");
        QTest::addColumn<QString>("chosen"); // value/text
        QTest::newRow("id with code and name") << 0 << -1 << "2/002 李四";
        QTest::newRow("code with name") << 1 << 2 << "002/李四";
        QTest::newRow("last field alone") << 2 << -1 << "李四/李四";
    }
    void comboReportsTheSelectedEntry()
    {
        QFETCH(int, valueField);
        QFETCH(int, textField);
        ComboEx c;
        QSignalSpy changed(&c, &ComboEx::selectionChanged);
        c.bindRecordset(users(), valueField, textField);
        QCOMPARE(c.count(), 3);
        QCOMPARE(c.selectedValue() + c.selectedText(),
                 QString()); // nothing until the operator picks
        c.setCurrentIndex(1);
        QTEST(c.selectedValue() + u'/' + c.selectedText(), "chosen");
        QCOMPARE(changed, (QList<QVariantList>{{c.selectedValue(), c.selectedText()}})); // once
    }

    void comboSelectsByValue()
    {
        ComboEx c;
        c.bindRecordset(users());
        QVERIFY(c.selectValue(u"3"_s));
        QCOMPARE(c.selectedText(), u"003 "_s); // a null name stays empty
        QVERIFY(!c.selectValue(u"9"_s));       // the choice stays
        QCOMPARE(c.selectedValue(), u"3"_s);
        c.addEntry(u"0"_s, u"全部"_s);
        QVERIFY(c.selectValue(u"0"_s));
        QCOMPARE(c.selectedText(), u"全部"_s);
        c.bindRecordset(Recordset());
        QCOMPARE(c.selectedValue() + QString::number(c.count()), u"0"_s);
    }
};

QTEST_MAIN(TestEditGrid)
#include "TestEditGrid.moc"
