// The box area of the packing window: the list of rolls in the box, its totals, taking rolls
// out, listing a saved box, and writing the box onto every roll of the list.
#include "stations/packing/frmBag.h"

#include "db/DbError.h"
#include "db/Transaction.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "stations/packing/BagSql.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "time/Clock.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMap>

using namespace Qt::StringLiterals;

void frmBag::addRollToBox()
{
    if (bagNumber[0]->text().isEmpty()) {
        LabMsg->setText(u"箱号没有输入"_s);
        bagNumber[0]->setFocus();
        return;
    }
    if (!barcodeLookedUp())
        return;
    if (shownRoll() <= 0) {
        MessageBox::information(u"没有细码"_s, this);
        return;
    }
    if (!packingListAllows(shownRoll()))
        return;
    const QString id = barcode->property("Tag").toString();
    if (rowOfRoll(id) > 0) {
        LabMsg->setText(u"这个唛头已经存在"_s);
        return;
    }
    // A roll packed into another box before: its box label lists it, so it moves knowingly.
    QString earlier;
    try {
        Recordset rs = Database::conn().execute(BagSql::rollBox(shownRoll()));
        earlier = rs.eof() ? QString() : rs.text(0);
    } catch (const DbError& e) {
        // Offline the roll's earlier box is unknown: it goes into this box without the
        // question, as a roll never packed does.
        if (!Journal::isOffline(e)) {
            MessageBox::critical(e.message(), this);
            return;
        }
    }
    if (earlier == bagNumber[0]->text())
        earlier.clear();
    if (!earlier.isEmpty() &&
        !MessageBox::question(u"该卷已在箱 %1 中，移到本箱？"_s.arg(earlier), this))
        return;
    const int row = ximaGrid->rows() - 1;
    // Built as fields, not as one comma text: an item name with a comma still goes in.
    addXimaFields({id, txtUser[0]->text(), txtUser[3]->text(), bagNumber[0]->text(),
                   txtUser[11]->text(), QString(), bagNumber[2]->text()});
    ximaGrid->setTextMatrix(row, kEarlierBoxColumn, earlier);
    sumPggCheck();
    clearMark();
    m_addedRolls.insert(id);
    keepBoxDraft();
}

void frmBag::addXima(const QString& line)
{
    addXimaFields(line.split(u','));
}

int frmBag::rowOfRoll(const QString& id) const
{
    for (int r = 1; r < ximaGrid->rows() - 1; ++r) {
        if (ximaGrid->textMatrix(r, 1) == id)
            return r;
    }
    return 0;
}

void frmBag::addXimaFields(const QStringList& fields)
{
    if (fields.size() != 7)
        return;
    if (rowOfRoll(fields[0]) > 0) {
        LabMsg->setText(u"这个唛头已经存在"_s);
        return;
    }
    const int last = ximaGrid->rows() - 1;
    ximaGrid->setTextMatrix(last, 0, QString::number(last));
    for (int c = 1; c <= 4; ++c)
        ximaGrid->setTextMatrix(last, c, fields[c - 1]);
    ximaGrid->setTextMatrix(last, 5, vb::CStr(vb::Val(fields[4])));
    ximaGrid->setTextMatrix(last, 6, fields[5]);
    ximaGrid->setRows(last + 2);
    ximaGrid->setRow(last + 1);
}

QString frmBag::movedRollsNote() const
{
    QMap<QString, QStringList> byBox;
    for (int r = 1; r < ximaGrid->rows() - 1; ++r) {
        const QString earlier = ximaGrid->textMatrix(r, kEarlierBoxColumn);
        if (!earlier.isEmpty() && !ximaGrid->textMatrix(r, 4).isEmpty())
            byBox[earlier] << ximaGrid->textMatrix(r, 1);
    }
    QString note;
    for (auto it = byBox.cbegin(); it != byBox.cend(); ++it)
        note += u"；卷 %1 已从箱 %2 移到本箱"_s.arg(it.value().join(u'、'), it.key());
    return note;
}

void frmBag::sumPggCheck()
{
    double total = 0;
    for (int r = 1; r < ximaGrid->rows(); ++r)
        total += vb::Val(ximaGrid->textMatrix(r, 5));
    Label4->setText(QString::number(ximaGrid->rows() - 2) + u'/' + vb::CStr(total));
}

void frmBag::removeRollFromBox()
{
    const int row = ximaGrid->row();
    // The header and the empty row for the next roll are not rolls.
    if (row < 1 || row >= ximaGrid->rows() - 1)
        return;
    const QString roll = ximaGrid->textMatrix(row, 1);
    const QString remove = BagSql::removeRoll(vb::Val(roll), bagNumber[0]->text());
    // Offline, or after the saves that wait in the journal, in their order.
    const auto offline = [&] {
        return keepOffline(u"箱 %1 去掉卷 %2"_s.arg(bagNumber[0]->text(), roll), {{remove}});
    };
    try {
        if (Journal::queued()) {
            if (!offline())
                return;
        } else {
            // A roll that is not (or no longer) in this box keeps its box: no row is touched,
            // and it only leaves the list.
            Database::conn().executeOnRow(remove);
            JournalLabelRows::keepBox(Database::conn(), bagNumber[0]->text());
        }
    } catch (const DbError& e) {
        if (Journal::isOffline(e) && !offline())
            return;
        // A roll deleted at another station leaves the box all the same.
        if (!Journal::isOffline(e) && !e.isRowMissing()) {
            MessageBox::critical(e.message(), this);
            return;
        }
    }
    removeBoxRow(row);
    keepBoxDraft();
    LabMsg->setText(u"卷 %1 已从箱 %2 去掉"_s.arg(roll, bagNumber[0]->text()));
}

void frmBag::removeBoxRow(int row)
{
    ximaGrid->removeItem(row);
    for (int r = 1; r < ximaGrid->rows() - 1; ++r)
        ximaGrid->setTextMatrix(r, 0, QString::number(r));
    sumPggCheck();
}

void frmBag::clearList()
{
    ximaGrid->setRows(1);
    ximaGrid->setRows(2);
    sumPggCheck();
}

void frmBag::loadBox(const QString& box)
{
    clearList();
    forgetBoxDraft();
    try {
        Recordset rs = Database::conn().execute(BagSql::loadBox(box));
        // Its label printed offline lists these rolls too, when they are no longer on the list.
        JournalLabelRows::keepBox(Database::conn(), box);
        // The box comes back with its remarks and weight, so that saving it again after a
        // roll was taken out or added keeps them.
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            addXimaFields({rs.text(u"id"_s), rs.text(u"itemname"_s), rs.text(u"itemspec"_s),
                           rs.text(u"bagnumber"_s), rs.text(u"oncount"_s), rs.text(u"bagremark"_s),
                           rs.text(u"bagweight"_s)});
        if (rs.recordCount() > 0) {
            rs.moveFirst();
            bagNumber[1]->setText(rs.text(u"bagweight"_s));
        }
        LabMsg->setText(u"查看箱唛 %1（%2 卷）"_s.arg(box).arg(rs.recordCount()));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
    sumPggCheck();
}

bool frmBag::savebags()
{
    m_savedOffline = false;
    const double weight = vb::Val(bagNumber[1]->text());
    const QDateTime now = Clock::now();
    QList<JournalStep> rolls; // each row's statement, in list order
    QList<int> rowOf;
    // The box remark typed above the list goes onto the rolls that have no remark of their own.
    for (int r = 1; r < ximaGrid->rows(); ++r) {
        const QString remark = ximaGrid->textMatrix(r, 6);
        BagSql::BagRow row{vb::Val(ximaGrid->textMatrix(r, 1)), ximaGrid->textMatrix(r, 4),
                           remark.isEmpty() ? bagNumber[2]->text() : remark};
        if (row.id > 0 && !row.bagNumber.isEmpty()) {
            rolls.append({BagSql::saveBag(row, weight, now, m_machine), false, true});
            rowOf.append(r);
        }
    }
    // Offline the box is one journal record: replayed in one transaction, every roll of the box
    // or none (a roll deleted meanwhile refuses the whole box, which waits in the refused list).
    const auto offline = [&] {
        m_savedOffline =
            keepOffline(u"箱 %1（%2 卷）"_s.arg(bagNumber[0]->text()).arg(rolls.size()), rolls);
        // Its label, printed offline, lists them after the list is cleared.
        QList<qint64> ids;
        for (int r : rowOf)
            ids << qint64(vb::Val(ximaGrid->textMatrix(r, 1)));
        if (m_savedOffline)
            JournalLabelRows::addToBox(bagNumber[0]->text(), ids);
        return m_savedOffline;
    };
    if (Journal::queued())
        return offline();
    qsizetype done = 0;
    int r = 1;
    try {
        Connection& conn = Database::conn();
        Transaction trans(conn);
        for (; done < rolls.size(); ++done) {
            r = rowOf[done];
            conn.executeOnRow(rolls[done].sql);
        }
        trans.commit();
        // The box as saved, for its label printed offline: rolls boxed earlier are listed too.
        JournalLabelRows::keepBox(conn, bagNumber[0]->text());
        return true;
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            return offline();
        // The guard has rolled back: no roll of the box carries half the box.
        if (e.isRowMissing()) {
            // The roll was deleted at another station: it leaves the list, the rest is saved
            // with the next 保存.
            const QString roll = ximaGrid->textMatrix(r, 1);
            removeBoxRow(r);
            MessageBox::critical(u"细码 %1 已被删除，已从箱中去掉，请再按保存"_s.arg(roll), this);
            return false;
        }
        MessageBox::show(u"savebags 保存失败"_s + e.message(), MessageBox::Critical, MessageBox::Ok,
                         QString(), this);
        return false;
    }
}

void frmBag::printPoolJob(const QString& kind, const QString& pid)
{
    // A job from another machine is printed from its own rows. The packer's form is his: his
    // roll, his box number, his list and his cursor stay as they are, so that his next roll
    // goes into his own box and not into the box of the job. Inside the pool's claim nothing
    // may wait on a person: never a preview.
    if (kind == u"箱唛"_s) {
        if (pid.isEmpty())
            return;
        const auto print = [this, pid] { PrintBag(printTemplate(u"箱唛"_s), pid, false); };
        if (printsOffline())
            printOffline(pid, {}, print);
        else
            print();
    } else if (kind == u"匹唛"_s) {
        // A label barcode is the roll id, often zero-padded by the label printer.
        const double id = vb::Val(pid);
        if (!Database::hasRecords(Database::conn().execute(BagSql::findMark(vb::CStr(id))))) {
            LabMsg->setText(u"打印池：没有这个唛头条码 %1"_s.arg(pid));
            return;
        }
        const auto print = [this, id] { PrintBill(printTemplate(u"唛头"_s), id, false); };
        if (printsOffline())
            printOffline(QString(), {qint64(id)}, print);
        else
            print();
    }
    // "单据": nothing is printed, and the roll field stays the packer's.
}
