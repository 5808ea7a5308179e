// The board on the panel sizes of the mill: everything inside the window, the title, clock and
// grid captions whole, the settings frame's captions readable.
#include "KanbanFixture.h"

#include "shell/SysUtil.h"
#include "stations/kanban/KanbanSettings.h"
#include "support/LayoutCheck.h"
#include "widgets/EditGrid.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

frmKanban& show(KanbanFixture& fx, const QSize& size)
{
    frmKanban& f = fx.open();
    f.resize(size);
    f.show();
    if (!QTest::qWaitForWindowExposed(&f))
        qWarning("board not exposed");
    return f;
}

// The captions and values of the board that do not fit their columns.
QStringList cutTexts(frmKanban& f)
{
    const QTableWidget* table = f.pGrid->table();
    QStringList cut;
    for (int row = 0; row < f.pGrid->rows(); ++row)
        for (int col = 0; col < f.pGrid->cols(); ++col) {
            const QFont font = row == 0 ? table->horizontalHeader()->font() : table->font();
            const QString text = f.pGrid->textMatrix(row, col);
            if (QFontMetrics(font).horizontalAdvance(text) >= table->columnWidth(col))
                cut << text;
        }
    return cut;
}

} // namespace

class TestKanbanLayout : public QObject {
    Q_OBJECT
private slots:
    void fitsThePanel_data()
    {
        QTest::addColumn<QSize>("size");
        for (const QSize& s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080)})
            QTest::newRow(qPrintable(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()))) << s;
    }
    // Started three times (the widths go to kanban.ini at close and come back): the same board
    // in the same type every time, every text whole, and everything inside the window.
    void fitsThePanel()
    {
        QFETCH(QSize, size);
        KanbanFixture fx(12,
                         "库存看板=杭州锦华一号成品仓库存看板\n跑马灯内容=今日到货请及时入库\n");
        // Values as wide as the warehouse's: a long colour, a quantity with decimals, a remark.
        KanbanFixture::setBatch(fx.databasePath(), QStringLiteral("P2"),
                                QStringLiteral("productionColor='香槟金',itemcount=1580.5,"
                                               "descrtion='客户指定包装'"));
        QStringList first;
        for (int start = 1; start <= 3; ++start) {
            if (start > 1)
                fx.form().close();
            frmKanban& f = show(fx, size);
            QStringList board{QString::number(f.pGrid->fontSize())};
            for (int col = 0; col < f.pGrid->cols(); ++col)
                board << QString::number(f.pGrid->table()->columnWidth(col));
            first = start == 1 ? board : first;
            QCOMPARE(board, first);
            QCOMPARE(cutTexts(f), QStringList());
            if (const QString dir = qEnvironmentVariable("MIREL_SHOT_DIR"); !dir.isEmpty())
                f.grab().save(u"%1/kanban-%2-start%3.png"_s.arg(dir).arg(size.width()).arg(start));
        }
        frmKanban& f = fx.form();
        const QRect window = f.rect();
        for (QWidget* w : {static_cast<QWidget*>(f.lab_info[0]),
                           static_cast<QWidget*>(f.lab_info[1]), static_cast<QWidget*>(f.pGrid)})
            QVERIFY2(window.contains(w->geometry()), qPrintable(w->objectName()));
        // The scrolling line may run past the right edge, never below the window.
        QVERIFY(f.lab_info[2]->geometry().bottom() <= window.bottom());
        QVERIFY(f.lab_info[1]->geometry().top() > f.pGrid->geometry().bottom());
        for (QLabel* label : {f.lab_info[0], f.lab_info[1]}) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                         label->contentsRect().width(),
                     qPrintable(label->text()));
            QVERIFY(label->fontMetrics().height() <= label->contentsRect().height());
        }
        const QTableWidget* table = f.pGrid->table();
        const QHeaderView* header = table->horizontalHeader();
        // Every column on the board, none behind a scroll bar, the whole width in use.
        QVERIFY(!table->horizontalScrollBar()->isVisible());
        QCOMPARE(header->length(), table->viewport()->width());
        QVERIFY(f.pGrid->table()->rowHeight(0) >= QFontMetrics(f.pGrid->table()->font()).height());

        // The stale mark leaves the title whole.
        SysUtil::writeIni(KanbanSettings::section(), KanbanSettings::sqlKey(), u"select x"_s,
                          KanbanSettings::iniFile());
        QVERIFY(!f.loadData());
        QLabel* title = f.lab_info[0];
        const QRect text = QStyle::alignedRect(
            Qt::LeftToRight, Qt::AlignCenter,
            QSize(title->fontMetrics().horizontalAdvance(title->text()), title->height()),
            title->geometry());
        QVERIFY(title->geometry().contains(text));
        QVERIFY(!text.intersects(f.labOffline->geometry()));

        f.showSettings();
        QVERIFY(window.contains(f.Frame1->geometry()));
        for (QWidget* w : f.Frame1->findChildren<QWidget*>())
            QVERIFY2(f.Frame1->rect().contains(w->geometry()), qPrintable(w->objectName()));
        checkLabelsWhole(*f.Frame1, QString::fromLatin1(QTest::currentDataTag()));
    }
};

QTEST_MAIN(TestKanbanLayout)
#include "TestKanbanLayout.moc"
