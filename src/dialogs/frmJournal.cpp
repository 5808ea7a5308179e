// The refused records: time saved, what it was, the server's reason. The reason is often long (a
// statement the server refused, after its message): rows grow to show it whole, and the chosen
// record is shown in full below the list.
#include "dialogs/frmJournal.h"

#include "shell/Journal.h"
#include "shell/MessageBox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setMinimumHeight(48); // a finger's size
    return b;
}

// The text as a cell shows it: a statement's column lists and paths have no blank to wrap at,
// so an invisible break follows each separator in them.
QString wrappable(QString text)
{
    static const QRegularExpression separator(u"([,(=/\\\\])"_s);
    return text.replace(separator, u"\\1\u200B"_s);
}

} // namespace

frmJournal::frmJournal(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmJournal"_s);
    setWindowTitle(u"离线记录"_s);
    QFont type = font(); // read at arm's length on a touch panel
    type.setPointSizeF(std::max(type.pointSizeF(), 12.0));
    setFont(type);
    auto* layout = new QVBoxLayout(this);
    m_waiting = new QLabel(this);
    m_waiting->setObjectName(u"labWaiting"_s);
    layout->addWidget(m_waiting);
    m_list = new QTableWidget(0, 3, this);
    m_list->setObjectName(u"lstRefused"_s);
    m_list->setAccessibleName(u"被服务器拒绝的记录"_s);
    m_list->setHorizontalHeaderLabels({u"保存时间"_s, u"记录"_s, u"原因"_s});
    // The time as wide as it is, the record a third of the rest, the reason what is left; the
    // rows as high as their wrapped texts, also after a column was dragged wider or narrower.
    QHeaderView* columns = m_list->horizontalHeader();
    columns->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    columns->setStretchLastSection(true);
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setWordWrap(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide(); // the rows' numbers mean nothing to the operator
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel); // tall rows scroll smoothly
    layout->addWidget(m_list, 3);
    m_detail = new QPlainTextEdit(this);
    m_detail->setObjectName(u"txtDetail"_s);
    m_detail->setAccessibleName(u"所选记录的详情"_s);
    m_detail->setReadOnly(true);
    m_detail->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // long statements too
    layout->addWidget(m_detail, 1);
    connect(m_list, &QTableWidget::currentCellChanged, this, &frmJournal::showChosen);
    auto* row = new QHBoxLayout;
    m_retry = button(u"重试"_s, u"cmdRetry"_s, this);
    m_drop = button(u"放弃"_s, u"cmdDrop"_s, this);
    QPushButton* close = button(u"关闭"_s, u"cmdClose"_s, this);
    row->addWidget(m_retry);
    row->addWidget(m_drop);
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    connect(m_retry, &QPushButton::clicked, this, &frmJournal::retryChosen);
    connect(m_drop, &QPushButton::clicked, this, &frmJournal::dropChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // Over the station window, nearly as large: the reasons need the room.
    const QSize room = parent ? parent->window()->size() : QSize(1024, 768);
    resize(std::max(900, room.width() * 9 / 10), std::max(500, room.height() * 9 / 10));
    reload();
}

void frmJournal::open(QWidget* parent)
{
    frmJournal dialog(parent);
    dialog.exec();
}

void frmJournal::reload()
{
    m_list->setRowCount(0);
    try {
        JournalStore& store = Journal::store();
        m_waiting->setText(u"待上传：%1 条"_s.arg(store.count(JournalStore::State::Pending)));
        for (const JournalStore::Entry& e : store.entries(JournalStore::State::Refused)) {
            const int r = m_list->rowCount();
            m_list->insertRow(r);
            const QStringList cells{e.record.saved.toString(u"yyyy-MM-dd hh:mm:ss"_s),
                                    e.record.summary, e.reason};
            for (int c = 0; c < cells.size(); ++c) {
                auto* item = new QTableWidgetItem(wrappable(cells[c]));
                item->setToolTip(cells[c]);
                m_list->setItem(r, c, item);
            }
            m_list->item(r, 0)->setData(Qt::UserRole, e.record.id);
        }
    } catch (const DbError& e) {
        m_waiting->setText(e.message());
    }
    if (m_list->rowCount() > 0)
        m_list->selectRow(0);
    m_retry->setEnabled(m_list->rowCount() > 0);
    m_drop->setEnabled(m_list->rowCount() > 0);
    showChosen();
}

void frmJournal::showChosen()
{
    const int r = m_list->currentRow();
    // The exact texts, as the tooltips hold them.
    m_detail->setPlainText(r < 0 || !m_list->item(r, 2)
                               ? QString()
                               : u"记录：%1\n保存时间：%2\n原因：%3"_s.arg(
                                     m_list->item(r, 1)->toolTip(), m_list->item(r, 0)->toolTip(),
                                     m_list->item(r, 2)->toolTip()));
}

void frmJournal::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The record's summary is short, the reason long: a third of the room beside the time.
    const int room = m_list->width() - 2 * m_list->frameWidth() -
                     m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    m_list->setColumnWidth(1, std::max(120, (room - m_list->columnWidth(0)) / 3));
}

QString frmJournal::chosenId() const
{
    const int r = m_list->currentRow();
    return r < 0 ? QString() : m_list->item(r, 0)->data(Qt::UserRole).toString();
}

void frmJournal::retryChosen()
{
    const QString id = chosenId();
    if (id.isEmpty())
        return;
    try {
        Journal::store().retry(id);
        Journal::status()->refresh();
        Journal::retryNow();
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
    reload();
}

void frmJournal::dropChosen()
{
    const QString id = chosenId();
    if (id.isEmpty() ||
        !MessageBox::question(u"放弃这条记录？放弃后它不会再上传到数据库。"_s, this))
        return;
    try {
        Journal::store().drop(id);
        Journal::status()->refresh();
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
    reload();
}
