// The refused records: time saved, what it was, the server's reason.
#include "widgets/frmJournal.h"

#include "shell/Journal.h"
#include "shell/MessageBox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

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

} // namespace

frmJournal::frmJournal(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmJournal"_s);
    setWindowTitle(u"离线记录"_s);
    auto* layout = new QVBoxLayout(this);
    m_waiting = new QLabel(this);
    m_waiting->setObjectName(u"labWaiting"_s);
    layout->addWidget(m_waiting);
    m_list = new QTableWidget(0, 3, this);
    m_list->setObjectName(u"lstRefused"_s);
    m_list->setAccessibleName(u"被服务器拒绝的记录"_s);
    m_list->setHorizontalHeaderLabels({u"保存时间"_s, u"记录"_s, u"原因"_s});
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_list);
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
    resize(900, 500);
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
            for (int c = 0; c < cells.size(); ++c)
                m_list->setItem(r, c, new QTableWidgetItem(cells[c]));
            m_list->item(r, 0)->setData(Qt::UserRole, e.record.id);
        }
    } catch (const DbError& e) {
        m_waiting->setText(e.message());
    }
    if (m_list->rowCount() > 0)
        m_list->selectRow(0);
    m_retry->setEnabled(m_list->rowCount() > 0);
    m_drop->setEnabled(m_list->rowCount() > 0);
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
