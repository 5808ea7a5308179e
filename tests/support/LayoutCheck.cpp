// Layout checks shared by the stations' layout tests.
#include "support/LayoutCheck.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QWidget>

// Every visible control placed by design lies inside its parent; every visible grid caption
// fits its column.
void checkInsideAndReadable(QWidget& f, const QString& where)
{
    for (QWidget* w : f.findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->property("designRect").isValid())
            continue;
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()),
                 qPrintable(w->objectName() + " leaves its frame at " + where));
    }
    // Captions of the fields are read whole, not cut at the edge.
    for (const QLabel* label : f.findChildren<QLabel*>()) {
        if (!label->isVisible() || !label->buddy() || label->wordWrap())
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable("caption " + label->text() + " cut at " + where));
    }
    for (const QHeaderView* header : f.findChildren<QHeaderView*>()) {
        if (!header->isVisible() || header->orientation() != Qt::Horizontal)
            continue;
        const QFontMetrics fm(header->font());
        for (int col = 0; col < header->count(); ++col) {
            const QString caption = header->model()->headerData(col, Qt::Horizontal).toString();
            if (header->isSectionHidden(col) || caption.isEmpty())
                continue;
            QVERIFY2(header->sectionSize(col) >= fm.horizontalAdvance(caption),
                     qPrintable(header->parentWidget()->parentWidget()->objectName() + ": " + caption
                                + " at " + where));
        }
    }
}

void checkLabelsWhole(QWidget& f, const QString& where)
{
    for (const QLabel* label : f.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const bool whole = label->wordWrap()
                               ? label->heightForWidth(label->width()) <= label->height()
                               : label->fontMetrics().horizontalAdvance(label->text())
                                     <= label->contentsRect().width() - 2 * label->margin();
        QVERIFY2(whole, qPrintable(label->objectName() + " " + label->text() + " cut at " + where));
    }
}

void checkCommandsInView(QWidget& f, const QString& where)
{
    const QList<QWidget*> onForm = f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    int commands = 0;
    for (const QWidget* b : onForm) {
        if (!b->isVisible() || !b->objectName().startsWith("checkCommand_"))
            continue;
        ++commands;
        QVERIFY2(f.rect().contains(b->geometry()),
                 qPrintable(b->objectName() + " off the window at " + where));
        for (const QWidget* other : onForm)
            QVERIFY2(
                other == b || !other->isVisible() || !other->geometry().intersects(b->geometry()),
                qPrintable(other->objectName() + " covers " + b->objectName() + " at " + where));
    }
    QVERIFY2(commands >= 9,
             qPrintable(QString::number(commands) + " commands in view at " + where));
}

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
