// The pallet on the mark-label window: a new pallet number, the pallet's list in its grid (and
// following it while other stations pack onto the same pallet), the roll list's own columns, the
// delete question by roll number and the field-group geometry box. The pallet's rules are
// MaitouPallet's; this file shows what they give.
#include "stations/marklabel/frmMaitou.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/marklabel/MaitouPallet.h"
#include "stations/marklabel/MaitouSql.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <iterator>
#include <utility>

using namespace Qt::StringLiterals;

void frmMaitou::cmdBangbtn_Click()
{
    try {
        c.TxtBox[CheckField::Pallet]->setText(
            SysUtil::nextDailyNumber(Database::conn(), MaitouPallet::numberKind(), Clock::today()));
    } catch (const DbError& e) {
        if (Journal::isOffline(e)) {
            const QString button = m_bangbtn->text();
            setStatus(Journal::offlineDailyNumberMessage(u"板号"_s, button));
            // Once the database answers the line must not go on saying it is away.
            Journal::whenDatabaseBack(this, [this, button, shown = status()] {
                if (status() == shown)
                    setStatus(Journal::dailyNumberBackMessage(u"板号"_s, button));
            });
        } else
            MessageBox::critical(u"cmdBangbtn_Click发生错误"_s + e.message(), this);
        return;
    }
    loadPalletList();
}

void frmMaitou::loadPalletList()
{
    PalletList list;
    try {
        Connection& conn = Database::conn();
        const QString stored = SysUtil::getListSql(conn, u"listSQL"_s, u"MirelQuerySimpleCheck2"_s);
        list = pallet().read(conn, stored, c.TxtBox[CheckField::Pallet]->text());
    } catch (const DbError& e) {
        if (Journal::isOffline(e)) {
            // Offline the packages saved since are in the journal, not on the pallet's list: the
            // list (and the full-pallet question) comes back with the first list after the upload.
            m_palletSum->setText(u"离线：板清单在上传后更新"_s);
            // With nothing to upload no list follows one: the list is read when the database is
            // back, unless the upload's list came first.
            if (!std::exchange(m_palletListWaits, true))
                Journal::whenDatabaseBack(this, [this] {
                    QTimer::singleShot(0, this, [this] {
                        if (std::exchange(m_palletListWaits, false))
                            loadPalletList();
                    });
                });
            return;
        }
        MessageBox::critical(u"loadPalletList发生错误"_s + e.message(), this);
        return;
    }
    m_palletListWaits = false;
    // Another pallet's list starts at its newest package.
    showPalletList(list.rows, std::exchange(m_listedSql, list.statement) == list.statement);
    palletListLoaded(list.rows);
}

void frmMaitou::followPallet()
{
    // Not while a save holds the shared connection, and not while the database is away: a lost
    // server would be dialled again at every tick, and the list says so already.
    Connection& conn = Database::conn();
    if (m_listedSql.isEmpty() || m_palletListWaits || m_followAway || !conn.isOpen()
        || conn.inTransaction() || !isVisible() || !packerIdle())
        return;
    Recordset rs;
    try {
        rs = SysUtil::openRecordset(conn, m_listedSql);
    } catch (const DbError& e) {
        if (Journal::isOffline(e) && !std::exchange(m_followAway, true))
            Journal::whenDatabaseBack(this, [this] { m_followAway = false; });
        // Another error is the next save's or list's to report, not a box over the packer.
        return;
    }
    // The full-pallet question stays with the station's own lists: it is not put to a packer
    // in the middle of a package because another station filled the pallet.
    if (MaitouPallet::changed(m_listed, rs))
        showPalletList(rs, true);
}

bool frmMaitou::packerIdle() const
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    // A packer types a field in bursts, on the keyboard or the keypad; the list waits for a
    // pause rather than stall a key. A keypad left open is no reason to wait.
    return !m_lastTyped.isValid() || m_lastTyped.hasExpired(3000);
}

void frmMaitou::showPalletList(const Recordset& rs, bool keepPlace)
{
    // The packer's place in the list is a package, not a line number: packages come and go above.
    QTableWidget* table = m_palletGrid->table();
    const int current = m_palletGrid->row();
    const int currentCol = m_palletGrid->col();
    const QString currentId = current > 0 ? m_palletGrid->textMatrix(current, 0) : QString();
    const int top = m_palletGrid->topRow();
    const QString topId = top > 1 ? m_palletGrid->textMatrix(top, 0) : QString();
    const int across = table->horizontalScrollBar()->value();
    m_palletGrid->bindRecordset(rs);
    m_listed = rs;
    // The built-in list's columns in twips, so that they grow with the panel like its type.
    // Pallet number (nine digits), batch and weights are read in full on a 1024 x 768 panel.
    static const int widths[] = {500, 1200, 700, 1300, 1750, 650, 950, 950, 650,
                                 650, 650, 650, 650, 650, 1200, 650, 650};
    if (m_palletGrid->cols() == int(std::size(widths)))
        for (int col = 0; col < m_palletGrid->cols(); ++col)
            m_palletGrid->setColWidth(col, widths[col]);
    m_palletSum->setText(pallet().summary(rs));

    if (!keepPlace)
        return;
    const auto rowOf = [this](const QString& id) {
        for (int r = 1; r < m_palletGrid->rows(); ++r)
            if (m_palletGrid->textMatrix(r, 0) == id)
                return r;
        return 0;
    };
    if (const int r = currentId.isEmpty() ? 0 : rowOf(currentId)) {
        m_palletGrid->setRow(r);
        m_palletGrid->setCol(currentCol);
    }
    if (!topId.isEmpty()) {
        const int r = rowOf(topId);
        m_palletGrid->setTopRow(r > 0 ? r : top);
    } else
        m_palletGrid->setTopRow(1);
    table->horizontalScrollBar()->setValue(across);
}

void frmMaitou::LabBox_DblClick(QLabel* label)
{
    QList<QWidget*> group{label};
    for (const QString& name : tagOf(label).split(u'|', Qt::SkipEmptyParts))
        if (QWidget* w = c.Frame6->findChild<QWidget*>(name))
            group << w;
    QStringList current;
    for (QWidget* w : group) {
        const QRect r = designRect(w);
        current << QString::number(r.y()) + u',' + QString::number(r.x()) + u','
                       + QString::number(r.width());
    }
    const auto answer = MessageBox::inputBox(
        u"请输入控件组的top上边距,left左边距,width宽度，用逗号，分号 来分开"_s, u"宽度"_s,
        current.join(u';'), this);
    if (!answer)
        return;
    const QStringList parts = answer->split(u';');
    for (int i = 0; i < group.size() && i < parts.size(); ++i) {
        const QStringList v = parts[i].split(u',');
        // A part that is not three numbers leaves its control where it is.
        if (v.size() < 3 || !vb::IsNumeric(v[0]) || !vb::IsNumeric(v[1]) || !vb::IsNumeric(v[2])
            || vb::Val(v[2]) <= 0)
            continue;
        const QRect r = designRect(group[i]);
        placeTwips(group[i], QRect(int(vb::Val(v[1])), int(vb::Val(v[0])), int(vb::Val(v[2])),
                                   r.height()));
    }
}
