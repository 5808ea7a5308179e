// The defect list of the inspection window.
#include "stations/inspection/CheckDefectGrid.h"

#include "stations/inspection/DefectPhotos.h"
#include "stations/inspection/frmCheck.h"
#include "widgets/EditGrid.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int Photo = DefectPhotos::Column;
constexpr int FileRole = Qt::UserRole + 2;
constexpr int TicketRole = Qt::UserRole + 3;

} // namespace

CheckDefectGrid::CheckDefectGrid(frmCheck* form)
    : m_form(form), m_grid(new EditGrid(form->controls().Frame5))
{
    m_grid->setObjectName(u"pggCheck"_s);
    m_grid->setAccessibleName(u"疵点列表"_s);
    m_grid->setFormatString(u"^序|^疵点|^位置|^数量|^扣分|^工号|^备注|^图"_s);
    m_grid->setRows(2);
    const int widths[] = {400, 1100, 800, 700, 700, 800, 1000, 0};
    for (int i = 0; i < 8; ++i)
        m_grid->setColWidth(i, widths[i]);
    // The picture's mark beside the points, the remark last: it takes the width that is left.
    m_grid->table()->horizontalHeader()->moveSection(Photo, Photo - 1);
    m_grid->setColFitsText(2, true); // a long defect's "20-23.5" is read whole
    // The remark takes what the other columns leave, so the list never scrolls sideways on the
    // frame's panel (the scroll bar of a long list would push the remark out of sight).
    m_grid->table()->horizontalHeader()->setStretchLastSection(true);
    // Scrolled to the newest defect, the list starts at a whole row: a row cut at the top reads
    // as another defect's.
    m_grid->setWholeRows(true);
    placeTwips(m_grid, QRect(50, 3000, 6000, 2250));
}

QList<QStringList> CheckDefectGrid::rows() const
{
    QList<QStringList> rows;
    for (int r = 1; r < m_grid->rows(); ++r) {
        QStringList cols;
        for (int col = 0; col < 7; ++col)
            cols << m_grid->textMatrix(r, col);
        if (cols[1].isEmpty())
            continue;
        if (const QString file = photoOf(r); !file.isEmpty())
            cols << file;
        rows << cols;
    }
    return rows;
}

void CheckDefectGrid::setRows(const QList<QStringList>& rows)
{
    m_grid->setRows(1);
    for (const QStringList& r : rows)
        append(r);
    if (rows.isEmpty())
        m_grid->setRows(2); // the grid always ends with one empty row
    emit m_form->defectsReplaced();
}

void CheckDefectGrid::append(const QStringList& cols)
{
    int row = m_grid->rows() - 1;
    if (row < 1 || !m_grid->textMatrix(row, 1).isEmpty()) {
        m_grid->setRows(m_grid->rows() + 1);
        row = m_grid->rows() - 1;
    }
    m_grid->setTextMatrix(row, 0, QString::number(row));
    for (int col = 1; col < 7; ++col)
        m_grid->setTextMatrix(row, col, cols.value(col));
    if (!cols.value(Photo).isEmpty())
        setPhoto(row, cols[Photo]);
    m_grid->setRows(m_grid->rows() + 1);
    m_grid->setTopRow(m_grid->rows() - 1);
}

void CheckDefectGrid::applyWidths(const QString& list)
{
    m_grid->applyColWidthList(list.count(u',') == Photo - 1 ? list + u",0"_s : list);
}

void CheckDefectGrid::showPhotoColumn(bool shown)
{
    // The remark, stretched over what is left, gives the mark its room.
    m_grid->setColWidth(Photo, shown ? 650 : 0); // "无图" whole
    if (shown)
        m_grid->setColWidth(Photo - 1, 400);
}

void CheckDefectGrid::waitForPhoto(int row, int ticket)
{
    m_grid->setTextMatrix(row, Photo, u"…"_s);
    if (QTableWidgetItem* item = m_grid->table()->item(row - 1, Photo)) {
        item->setData(TicketRole, ticket);
        item->setForeground(QColor(0x90, 0x90, 0x90));
    }
}

int CheckDefectGrid::rowOfTicket(int ticket) const
{
    for (int r = 1; r < m_grid->rows(); ++r)
        if (const QTableWidgetItem* item = m_grid->table()->item(r - 1, Photo);
            item && item->data(TicketRole).toInt() == ticket)
            return r;
    return 0;
}

void CheckDefectGrid::setPhoto(int row, const QString& file)
{
    m_grid->setTextMatrix(row, Photo, file.isEmpty() ? u"无图"_s : u"图"_s);
    if (QTableWidgetItem* item = m_grid->table()->item(row - 1, Photo)) {
        item->setData(FileRole, file);
        item->setForeground(file.isEmpty() ? QColor(0x90, 0x90, 0x90) : QColor(0x00, 0x50, 0xc0));
    }
}

QString CheckDefectGrid::photoOf(int row) const
{
    const QTableWidgetItem* item = m_grid->table()->item(row - 1, Photo);
    return item ? item->data(FileRole).toString() : QString();
}
