// A layout rule the station table and the journal list share.
#include "support/LayoutCheck.h"

#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QWidget>

void checkCellsWhole(QWidget& f, const QString& where)
{
    for (const QTableView* view : f.findChildren<QTableView*>()) {
        if (!view->isVisible())
            continue;
        // The item's text sits inside a margin at either side of its cell.
        const int margin =
            2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        const QAbstractItemModel* m = view->model();
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c) {
                const QModelIndex i = m->index(r, c);
                const QRect cell = view->visualRect(i);
                const QString text = i.data().toString();
                if (view->isColumnHidden(c) || view->isRowHidden(r) || text.isEmpty())
                    continue;
                const QRect need =
                    view->fontMetrics().boundingRect(QRect(0, 0, cell.width() - margin, 1 << 20),
                                                     view->wordWrap() ? Qt::TextWordWrap : 0, text);
                QVERIFY2(need.width() <= cell.width() - margin && need.height() <= cell.height(),
                         qPrintable(view->objectName() + " cuts " + text + " at " + where));
            }
    }
}
