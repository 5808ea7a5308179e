// The grid on a QTableWidget: the header row lives in the table's horizontal header so that it
// stays in place while the data rows scroll, and data row r is table row r - 1.
#include "widgets/EditGrid.h"

#include "db/Recordset.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QScroller>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

class GridView : public QTableWidget {
public:
    GridView(EditGrid* grid) : QTableWidget(grid), m_grid(grid) {}
    using QTableWidget::updateGeometries;

protected:
    void wheelEvent(QWheelEvent* e) override
    {
        if (!m_grid->m_wheelStepsOneRow) {
            QTableWidget::wheelEvent(e);
            return;
        }
        // A wheel notch is 120; finer wheels and touchpads send parts of it, which add up.
        m_grid->m_wheelRemainder += e->angleDelta().y();
        const int notches = m_grid->m_wheelRemainder / 120;
        m_grid->m_wheelRemainder -= notches * 120;
        m_grid->wheelNotches(notches);
        e->accept();
    }

private:
    EditGrid* m_grid;
};

EditGrid::EditGrid(QWidget* parent) : QWidget(parent), m_view(new GridView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    m_view->verticalHeader()->hide();
    // The sideways scroll bar comes and goes with the columns: the rows' room changes with it.
    m_view->horizontalScrollBar()->installEventFilter(this);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setSectionsClickable(false);
    m_view->setWordWrap(false);
    // Fingers drag the rows; the mouse keeps its usual selection behaviour.
    QScroller::grabGesture(m_view->viewport(), QScroller::TouchGesture);
    setFontSize(font().pointSizeF());

    connect(m_view, &QTableWidget::currentCellChanged, this,
            [this](int r, int c, int, int) { emit currentCellChanged(r + 1, c); });
    connect(m_view, &QTableWidget::cellClicked, this,
            [this](int r, int c) { emit cellClicked(r + 1, c); });
    connect(m_view, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int c) { emit cellDoubleClicked(r + 1, c); });
    connect(m_view, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling)
            emit cellEdited(item->row() + 1, item->column());
    });
}

EditGrid::~EditGrid() = default;

QTableWidget* EditGrid::table() const { return m_view; }

int EditGrid::rows() const { return m_view->rowCount() + 1; }

void EditGrid::setRows(int n)
{
    m_view->setRowCount(std::max(0, n - 1));
    ensureItems();
}

int EditGrid::cols() const { return m_view->columnCount(); }

void EditGrid::setCols(int n)
{
    n = std::max(0, n);
    m_view->setColumnCount(n);
    m_colAlign.resize(n, AlignGeneral);
    m_colEditable.resize(n, false);
    m_colTwips.resize(n, -1);
    ensureItems();
}

void EditGrid::ensureItems()
{
    // A cell without an item would be editable whatever its column says, so every cell gets one.
    m_filling = true;
    for (int r = 0; r < m_view->rowCount(); ++r)
        for (int c = 0; c < cols(); ++c)
            if (!m_view->item(r, c))
                m_view->setItem(r, c, makeItem(c, QString()));
    m_filling = false;
}

QString EditGrid::textMatrix(int r, int c) const
{
    if (c < 0 || c >= cols() || r < 0 || r >= rows())
        return QString();
    const QTableWidgetItem* item =
        r == 0 ? m_view->horizontalHeaderItem(c) : m_view->item(r - 1, c);
    return item ? item->text() : QString();
}

void EditGrid::setTextMatrix(int r, int c, const QString& text)
{
    if (c < 0 || c >= cols() || r < 0 || r >= rows())
        return;
    m_filling = true;
    if (r == 0) {
        if (auto* h = m_view->horizontalHeaderItem(c))
            h->setText(text);
        else
            m_view->setHorizontalHeaderItem(c, new QTableWidgetItem(text));
    } else if (auto* item = m_view->item(r - 1, c)) {
        item->setText(text);
    } else {
        m_view->setItem(r - 1, c, makeItem(c, text));
    }
    m_filling = false;
    if (r > 0)
        fitColText(c);
}

QTableWidgetItem* EditGrid::makeItem(int c, const QString& text) const
{
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (colEditable(c))
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setTextAlignment(qtAlignment(c));
    return item;
}

void EditGrid::setHeader(const QStringList& header)
{
    setCols(int(header.size()));
    for (int c = 0; c < header.size(); ++c)
        setTextMatrix(0, c, header.at(c));
}

QStringList EditGrid::header() const
{
    QStringList h;
    for (int c = 0; c < cols(); ++c)
        h << textMatrix(0, c);
    return h;
}

void EditGrid::setFormatString(const QString& format)
{
    const QStringList parts = format.split(u'|');
    QStringList names;
    QVector<int> aligns;
    for (QString p : parts) {
        int align = AlignGeneral;
        if (p.startsWith(u'^'))
            align = AlignCenterCenter;
        else if (p.startsWith(u'<'))
            align = AlignLeftCenter;
        else if (p.startsWith(u'>'))
            align = AlignRightCenter;
        if (align != AlignGeneral)
            p.remove(0, 1);
        names << p;
        aligns << align;
    }
    setHeader(names);
    for (int c = 0; c < aligns.size(); ++c) {
        if (aligns.at(c) != AlignGeneral) {
            setColAlignment(c, aligns.at(c));
            m_view->horizontalHeaderItem(c)->setTextAlignment(qtAlignment(c));
        }
    }
}

void EditGrid::addItem(const QString& cells, int r)
{
    const int at = (r >= 1 && r < rows()) ? r - 1 : m_view->rowCount();
    m_view->insertRow(at);
    ensureItems();
    const QStringList parts = cells.split(u'\t');
    for (int c = 0; c < parts.size() && c < cols(); ++c)
        setTextMatrix(at + 1, c, parts.at(c));
}

void EditGrid::removeItem(int r)
{
    if (r >= 1 && r < rows())
        m_view->removeRow(r - 1);
}

void EditGrid::clearRows() { m_view->setRowCount(0); }

void EditGrid::bindRows(const QStringList& columns, const QList<QStringList>& records)
{
    const bool sameColumns = columns == header();
    m_view->setUpdatesEnabled(false);
    m_filling = true;
    clearRows();
    if (!sameColumns) {
        setCols(0); // fresh columns: drop alignments and editability of the old ones
        setHeader(columns);
    }
    m_view->setRowCount(int(records.size()));
    for (int r = 0; r < records.size(); ++r) {
        const QStringList& cells = records.at(r);
        for (int c = 0; c < cells.size() && c < cols(); ++c)
            m_view->setItem(r, c, makeItem(c, cells.at(c)));
    }
    m_filling = false;
    ensureItems();
    if (!sameColumns) {
        // Contents decide the widths of new columns, but one long remark must not push the
        // others off the panel.
        m_view->resizeColumnsToContents();
        const int cap = std::max(120, m_view->viewport()->width() / 2);
        for (int c = 0; c < cols(); ++c)
            m_view->setColumnWidth(c, std::min(m_view->columnWidth(c) + 12, cap));
    }
    m_view->setUpdatesEnabled(true);
}

void EditGrid::bindRecordset(const Recordset& rs)
{
    if (!rs.isOpen()) {
        clearRows();
        return;
    }
    QList<QStringList> records;
    records.reserve(rs.recordCount());
    for (const QList<DbValue>& record : rs.rows()) {
        QStringList cells;
        cells.reserve(record.size());
        for (const DbValue& v : record)
            cells << v.toString();
        records << cells;
    }
    bindRows(rs.columns(), records);
}

int EditGrid::row() const
{
    const int r = m_view->currentRow();
    return r < 0 ? 0 : r + 1;
}

void EditGrid::setRow(int r)
{
    if (r >= 1 && r < rows())
        m_view->setCurrentCell(r - 1, std::max(0, m_view->currentColumn()));
    else
        m_view->setCurrentCell(-1, -1);
}

int EditGrid::col() const { return std::max(0, m_view->currentColumn()); }

void EditGrid::setCol(int c)
{
    if (c >= 0 && c < cols())
        m_view->setCurrentCell(std::max(0, m_view->currentRow()), c);
}

int EditGrid::rowSel() const
{
    const int current = row();
    const auto ranges = m_view->selectedRanges();
    for (const auto& range : ranges) {
        const int top = range.topRow() + 1;
        const int bottom = range.bottomRow() + 1;
        if (current >= top && current <= bottom)
            return current == top ? bottom : top;
    }
    return current;
}

void EditGrid::setRowSel(int r)
{
    const int current = row();
    if (current < 1 || r < 1 || r >= rows() || cols() == 0)
        return;
    m_view->clearSelection();
    const int top = std::min(current, r) - 1;
    const int bottom = std::max(current, r) - 1;
    m_view->setRangeSelected(QTableWidgetSelectionRange(top, 0, bottom, cols() - 1), true);
}

int EditGrid::topRow() const
{
    m_view->updateGeometries();
    const int r = m_view->rowAt(0);
    return r < 0 ? 1 : r + 1;
}

void EditGrid::setTopRow(int r)
{
    if (rows() <= 1)
        return;
    r = std::clamp(r, 1, rows() - 1);
    // The scroll range follows the rows only after a layout pass; make sure it is current.
    m_view->updateGeometries();
    m_view->verticalScrollBar()->setValue(m_view->verticalHeader()->sectionPosition(r - 1));
}

void EditGrid::setWheelStepsOneRow(bool on)
{
    m_wheelStepsOneRow = on;
    m_wheelRemainder = 0;
}

void EditGrid::hookWheel(QWidget* window)
{
    if (!window)
        return;
    const auto grids = window->findChildren<EditGrid*>();
    for (EditGrid* g : grids)
        g->setWheelStepsOneRow(true);
}

void EditGrid::wheelNotches(int notches)
{
    // Positive notches turn the wheel away from the operator: the rows move back up.
    for (; notches > 0; --notches) {
        const int top = topRow();
        if (top > 1)
            setTopRow(top - 1);
    }
    for (; notches < 0; ++notches) {
        const int top = topRow();
        if (top < rows() - 1)
            setTopRow(top + 1);
    }
}

void EditGrid::setTwips(const Twips& twips)
{
    m_twips = twips;
    applyFont();
    // Column widths and the header height were given in twips: they grow with the window too.
    for (int c = 0; c < cols(); ++c)
        if (m_colTwips.value(c, -1) > 0)
            m_view->setColumnWidth(c, std::max(1, m_twips.x(m_colTwips[c])));
    if (m_headerTwips >= 0)
        setRowHeight(0, m_headerTwips);
}

int EditGrid::colWidth(int c) const
{
    if (c < 0 || c >= cols())
        return 0;
    if (m_view->isColumnHidden(c))
        return 0;
    // Give back the twips that were set as long as the column still has that width, so that
    // stored width lists do not creep by a few twips on every save at odd scales.
    const int px = m_view->columnWidth(c);
    const int set = m_colTwips.value(c, -1);
    if (set > 0 && m_twips.x(set) == px)
        return set;
    return m_twips.toTwipsX(px);
}

void EditGrid::setColWidth(int c, int twips)
{
    if (c < 0 || c >= cols() || twips < 0)
        return;
    m_view->setColumnHidden(c, twips == 0);
    m_colTwips[c] = twips;
    if (twips > 0)
        m_view->setColumnWidth(c, std::max(1, m_twips.x(twips)));
    fitColText(c);
}

QString EditGrid::colWidthList() const
{
    QStringList parts;
    for (int c = 0; c < cols(); ++c)
        parts << QString::number(colWidth(c));
    return parts.join(u',');
}

bool EditGrid::applyColWidthList(const QString& list, int firstCol)
{
    const QStringList parts = list.split(u',');
    if (list.isEmpty() || parts.size() != cols())
        return false;
    for (int c = std::max(0, firstCol); c < cols(); ++c) {
        bool ok = false;
        const double w = parts.at(c).trimmed().toDouble(&ok);
        if (ok)
            setColWidth(c, int(w));
    }
    return true;
}

namespace {
// The twips a row's height was set in ride on its first cell, so they move with the row.
const int RowTwipsRole = Qt::UserRole + 1;

// The height set in twips while the row still has it, else the pixels converted.
int rowTwips(const QVariant& set, int px, const Twips& t)
{
    const int tw = set.isValid() ? set.toInt() : -1;
    return (tw >= 0 && t.y(tw) == px) ? tw : t.toTwipsY(px);
}
} // namespace

int EditGrid::rowHeight(int r) const
{
    if (r == 0) {
        const int px = m_headerHeight >= 0 ? m_headerHeight
                                           : m_view->horizontalHeader()->sizeHint().height();
        return rowTwips(m_headerTwips >= 0 ? QVariant(m_headerTwips) : QVariant(), px, m_twips);
    }
    if (r < 0 || r >= rows())
        return 0;
    const QTableWidgetItem* first = m_view->item(r - 1, 0);
    return rowTwips(first ? first->data(RowTwipsRole) : QVariant(), m_view->rowHeight(r - 1),
                    m_twips);
}

void EditGrid::setRowHeight(int r, int twips)
{
    if (twips < 0)
        return;
    const int px = m_twips.y(twips);
    if (r == 0) {
        m_headerHeight = px;
        m_headerTwips = twips;
        m_view->horizontalHeader()->setFixedHeight(px);
    } else if (r >= 1 && r < rows()) {
        m_view->setRowHeight(r - 1, px);
        if (QTableWidgetItem* first = m_view->item(r - 1, 0)) {
            m_filling = true;
            first->setData(RowTwipsRole, twips);
            m_filling = false;
        }
    }
}

int EditGrid::colAlignment(int c) const
{
    return (c >= 0 && c < m_colAlign.size()) ? m_colAlign.at(c) : int(AlignGeneral);
}

void EditGrid::setColAlignment(int c, int alignment)
{
    if (c < 0 || c >= cols() || alignment < AlignLeftTop || alignment > AlignGeneral)
        return;
    m_colAlign[c] = alignment;
    applyAlignment(c);
}

Qt::Alignment EditGrid::qtAlignment(int c) const
{
    const int a = colAlignment(c);
    if (a == AlignGeneral)
        return Qt::AlignLeft | Qt::AlignVCenter;
    static const Qt::Alignment h[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment v[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return h[a / 3] | v[a % 3];
}

void EditGrid::applyAlignment(int c)
{
    const Qt::Alignment a = qtAlignment(c);
    m_filling = true;
    for (int r = 0; r < m_view->rowCount(); ++r)
        if (auto* item = m_view->item(r, c))
            item->setTextAlignment(a);
    m_filling = false;
}

void EditGrid::setFontSize(double points)
{
    if (points <= 0)
        return;
    m_fontPoints = points;
    applyFont();
}

void EditGrid::setCompactRows(bool on)
{
    m_compactRows = on;
    applyFont();
}

void EditGrid::setWholeRows(bool on)
{
    m_wholeRows = on;
    // At the grid's top, where it would be without the rows cut.
    layout()->setAlignment(m_view, on ? Qt::AlignTop : Qt::Alignment());
    fitWholeRows();
}

void EditGrid::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    fitWholeRows();
}

bool EditGrid::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_view->horizontalScrollBar() || watched == m_banner)
        && (event->type() == QEvent::Show || event->type() == QEvent::Hide
            || (watched == m_banner && event->type() == QEvent::Resize))) {
        const QScrollBar* down = m_view->verticalScrollBar();
        const bool atEnd = down->value() == down->maximum();
        fitWholeRows();
        // A list kept at its newest rows stays there when the banner takes room from it.
        if (atEnd && watched == m_banner) {
            m_view->updateGeometries();
            m_view->scrollToBottom();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EditGrid::setBanner(QWidget* banner)
{
    m_banner = banner;
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, banner);
    banner->installEventFilter(this);
    fitWholeRows();
}

void EditGrid::setColFitsText(int col, bool on)
{
    if (col < 0 || col >= cols())
        return;
    m_colFitsText.resize(cols());
    m_colFitsText[col] = on;
    fitColText(col);
}

void EditGrid::fitColText(int col)
{
    if (!m_colFitsText.value(col) || m_view->isColumnHidden(col))
        return;
    const QFontMetrics fm(m_view->font());
    // The cell's text keeps the focus frame's margin on either side, and the grid line.
    const int margins =
        2 * (m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1) + 4;
    int widest = 0;
    for (int r = 0; r < m_view->rowCount(); ++r)
        if (const QTableWidgetItem* item = m_view->item(r, col))
            widest = std::max(widest, fm.horizontalAdvance(item->text()) + margins);
    if (widest > m_view->columnWidth(col))
        m_view->setColumnWidth(col, widest);
}

void EditGrid::fitWholeRows()
{
    if (!m_wholeRows) {
        m_view->setMinimumHeight(0);
        m_view->setMaximumHeight(QWIDGETSIZE_MAX);
        return;
    }
    const int row = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    const QScrollBar* across = m_view->horizontalScrollBar();
    const int header = m_headerHeight >= 0 ? m_headerHeight : m_view->horizontalHeader()->sizeHint().height();
    const int chrome = header + 2 * m_view->frameWidth() +
                       (across->isVisible() ? across->height() : 0);
    const int room = height() - (m_banner && !m_banner->isHidden()
                                     ? m_banner->height() + layout()->spacing()
                                     : 0);
    m_view->setFixedHeight(chrome + std::max(1, (room - chrome) / row) * row);
}

void EditGrid::applyFont()
{
    QFont f = m_view->font();
    f.setPointSizeF(m_twips.font(m_fontPoints));
    // A font already in place is not set again: every change walks the view's children and
    // lays out their text anew (a window's font pass asks for the same size several times).
    if (!m_view->testAttribute(Qt::WA_SetFont) || m_view->font() != f)
        m_view->setFont(f);
    QHeaderView* header = m_view->horizontalHeader();
    if (!header->testAttribute(Qt::WA_SetFont) || header->font() != f)
        header->setFont(f);
    // Rows tall enough for a fingertip, whatever the font.
    const int line = QFontMetrics(f).height();
    const int h = m_compactRows ? line * 3 / 2 : std::max(line * 9 / 5, 36);
    m_view->verticalHeader()->setDefaultSectionSize(h);
    m_view->verticalHeader()->setMinimumSectionSize(std::min(h, 12));
    fitWholeRows();
    for (int c = 0; c < m_colFitsText.size(); ++c)
        fitColText(c);
}

void EditGrid::setColEditable(int c, bool editable)
{
    if (c < 0 || c >= cols())
        return;
    m_colEditable[c] = editable;
    m_filling = true;
    for (int r = 0; r < m_view->rowCount(); ++r) {
        if (auto* item = m_view->item(r, c))
            item->setFlags(editable ? item->flags() | Qt::ItemIsEditable
                                    : item->flags() & ~Qt::ItemIsEditable);
    }
    m_filling = false;
}

bool EditGrid::colEditable(int c) const
{
    return c >= 0 && c < m_colEditable.size() && m_colEditable.at(c);
}
