#include "stations/packing/BagBoxPanel.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/FormDraft.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/SysUtilDb.h"
#include "stations/packing/BagMarkPanel.h"
#include "stations/packing/BagScalePanel.h"
#include "stations/packing/frmBag.h"
#include "text/Vb.h"
#include "time/Clock.h"
#include "widgets/EditGrid.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
const QString DraftKind = u"bag.unsavedBox"_s;
}

BagBoxPanel::BagBoxPanel(frmBag* form) : m_form(form) {}

QStringList BagBoxPanel::boxFields() const
{
    QStringList fields;
    for (const QLineEdit* box : m_form->bagNumber)
        fields << box->text();
    return fields;
}

const PackingBox& BagBoxPanel::box()
{
    // The packer types a roll's remark into the list.
    for (int i = 0; i < m_box.size(); ++i)
        m_box.setRemark(i, m_form->ximaGrid->textMatrix(i + 1, BagColumn::Remark));
    return m_box;
}

void BagBoxPanel::newBox()
{
    // A new box is weighed and remarked on its own, with or without a number from the
    // database: the last box's weight and remark would otherwise be saved onto it unnoticed.
    m_form->bagNumber[BagBoxField::Weight]->clear();
    m_form->bagNumber[BagBoxField::Remark]->clear();
    m_form->scalePanel().forgetScaleWeight();
    QLabel* msg = m_form->LabMsg;
    try {
        m_form->bagNumber[BagBoxField::Number]->setText(
            SysUtil::nextDailyNumber(Database::conn(), u"箱号"_s, QDate::currentDate()));
        forgetBoxDraft();
    } catch (const DbError& e) {
        if (!Journal::isOffline(e)) {
            msg->setText(e.message());
            return;
        }
        msg->setText(Journal::offlineDailyNumberMessage(u"箱号"_s, u"取"_s));
        Journal::whenDatabaseBack(this, [msg, shown = msg->text()] {
            if (msg->text() == shown)
                msg->setText(Journal::dailyNumberBackMessage(u"箱号"_s, u"取"_s));
        });
    }
}

void BagBoxPanel::addRollToBox()
{
    QLineEdit* number = m_form->bagNumber[BagBoxField::Number];
    if (number->text().isEmpty()) {
        m_form->LabMsg->setText(u"箱号没有输入"_s);
        number->setFocus();
        return;
    }
    BagMarkPanel& mark = m_form->markPanel();
    if (!mark.barcodeLookedUp())
        return;
    if (mark.shownRoll() <= 0) {
        MessageBox::information(u"没有细码"_s, m_form);
        return;
    }
    if (!mark.packingListAllows(mark.shownRoll()))
        return;
    const QString id = m_form->barcode->property("Tag").toString();
    if (m_box.indexOf(id) >= 0) {
        m_form->LabMsg->setText(PackingBox::alreadyListed());
        return;
    }
    // A roll packed into another box before: its box label lists it, so it moves knowingly.
    QString earlier;
    try {
        earlier = PackingBox::earlierBox(Database::conn(), mark.shownRoll(), number->text());
    } catch (const DbError& e) {
        // Offline the roll's earlier box is unknown: it goes into this box without the
        // question, as a roll never packed does.
        if (!Journal::isOffline(e)) {
            MessageBox::critical(e.message(), m_form);
            return;
        }
    }
    if (!earlier.isEmpty() && !MessageBox::question(PackingBox::moveQuestion(earlier), m_form))
        return;
    const QList<QLineEdit*>& t = m_form->txtUser;
    // Built as fields, not as one comma text: an item name with a comma still goes in.
    m_box.add({id, t[BagField::ItemName]->text(), t[BagField::Spec]->text(), number->text(),
               t[BagField::Quantity]->text(), QString(),
               m_form->bagNumber[BagBoxField::Remark]->text()},
              earlier);
    showAdded();
    showTotals();
    mark.clearMark();
    m_addedRolls.insert(id);
    keepBoxDraft();
}

void BagBoxPanel::showAdded()
{
    EditGrid* grid = m_form->ximaGrid;
    const int last = grid->rows() - 1; // the empty row for the next roll
    const BoxRoll& r = m_box.rolls().at(last - 1);
    const QString cells[] = {
        QString::number(last), r.id, r.itemName, r.spec, r.box, r.quantity, r.remark, r.earlierBox};
    for (int c = BagColumn::Row; c <= BagColumn::EarlierBox; ++c)
        grid->setTextMatrix(last, c, cells[c]);
    grid->setRows(last + 2);
    grid->setRow(last + 1);
}

void BagBoxPanel::showTotals()
{
    m_form->Label4->setText(m_box.totals());
}

void BagBoxPanel::removeRow(int index)
{
    EditGrid* grid = m_form->ximaGrid;
    m_box.remove(index);
    grid->removeItem(index + 1);
    for (int r = 1; r < grid->rows() - 1; ++r)
        grid->setTextMatrix(r, BagColumn::Row, QString::number(r));
    showTotals();
}

void BagBoxPanel::clearList()
{
    m_form->ximaGrid->setRows(1);
    m_form->ximaGrid->setRows(2);
    m_box.clear();
    showTotals();
}

void BagBoxPanel::removeRollFromBox()
{
    const int row = m_form->ximaGrid->row();
    // The header and the empty row for the next roll are not rolls.
    if (row < 1 || row > m_box.size())
        return;
    const QString roll = m_box.rolls().at(row - 1).id;
    const QString number = m_form->bagNumber[BagBoxField::Number]->text();
    // Offline, or after the saves that wait in the journal, in their order.
    const auto offline = [&] {
        return m_form->keepOffline(u"箱 %1 去掉卷 %2"_s.arg(number, roll),
                                   {PackingBox::removeStep(vb::Val(roll), number)});
    };
    try {
        if (Journal::queued()) {
            if (!offline())
                return;
        } else {
            // A roll that is not (or no longer) in this box keeps its box: no row is touched,
            // and it only leaves the list.
            PackingBox::removeFromBox(Database::conn(), vb::Val(roll), number);
            JournalLabelRows::keepBox(Database::conn(), number);
        }
    } catch (const DbError& e) {
        if (Journal::isOffline(e) && !offline())
            return;
        // A roll deleted at another station leaves the box all the same.
        if (!Journal::isOffline(e) && !e.isRowMissing()) {
            MessageBox::critical(e.message(), m_form);
            return;
        }
    }
    removeRow(row - 1);
    keepBoxDraft();
    m_form->LabMsg->setText(u"卷 %1 已从箱 %2 去掉"_s.arg(roll, number));
}

void BagBoxPanel::loadBox(const QString& number)
{
    clearList();
    forgetBoxDraft();
    try {
        const PackingBox::Listed listed = PackingBox::load(Database::conn(), number);
        // Its label printed offline lists these rolls too, when they are no longer on the list.
        JournalLabelRows::keepBox(Database::conn(), number);
        for (const QStringList& fields : listed.rows) {
            if (m_box.add(fields) == PackingBox::Added::Yes)
                showAdded();
            else
                m_form->LabMsg->setText(PackingBox::alreadyListed());
        }
        if (!listed.rows.isEmpty())
            m_form->bagNumber[BagBoxField::Weight]->setText(listed.weight);
        m_form->LabMsg->setText(u"查看箱唛 %1（%2 卷）"_s.arg(number).arg(listed.rows.size()));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
    }
    showTotals();
}

bool BagBoxPanel::savebags()
{
    m_savedOffline = false;
    const QString number = m_form->bagNumber[BagBoxField::Number]->text();
    const QList<PackingBox::SaveStep> steps = box().saveSteps(
        m_form->bagNumber[BagBoxField::Weight]->text(),
        m_form->bagNumber[BagBoxField::Remark]->text(), Clock::now(), m_form->settings().machineId);
    // Offline the box is one journal record: replayed in one transaction, every roll of the box
    // or none (a roll deleted meanwhile refuses the whole box, which waits in the refused list).
    const auto offline = [&] {
        QList<JournalStep> record;
        QList<qint64> ids;
        for (const PackingBox::SaveStep& s : steps) {
            record << s.step;
            ids << qint64(vb::Val(m_box.rolls().at(s.index).id));
        }
        m_savedOffline =
            m_form->keepOffline(u"箱 %1（%2 卷）"_s.arg(number).arg(record.size()), record);
        // Its label, printed offline, lists them after the list is cleared.
        if (m_savedOffline)
            JournalLabelRows::addToBox(number, ids);
        return m_savedOffline;
    };
    if (Journal::queued())
        return offline();
    int failed = 0;
    try {
        PackingBox::save(Database::conn(), steps, &failed);
        // The box as saved, for its label printed offline: rolls boxed earlier are listed too.
        JournalLabelRows::keepBox(Database::conn(), number);
        return true;
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            return offline();
        // Rolled back: no roll of the box carries half the box.
        if (e.isRowMissing()) {
            // The roll was deleted at another station: it leaves the list, the rest is saved
            // with the next 保存.
            const QString roll = m_box.rolls().at(failed).id;
            removeRow(failed);
            MessageBox::critical(u"细码 %1 已被删除，已从箱中去掉，请再按保存"_s.arg(roll), m_form);
            return false;
        }
        MessageBox::show(u"savebags 保存失败"_s + e.message(), MessageBox::Critical, MessageBox::Ok,
                         QString(), m_form);
        return false;
    }
}

bool BagBoxPanel::finishBoxSave()
{
    const QString moved = box().movedNote();
    if (!m_form->scalePanel().confirmBoxWeight() || !savebags())
        return false;
    m_form->LabMsg->setText((m_savedOffline ? u"离线保存：箱 %1，数据库连上后上传"_s.arg(
                                                  m_form->bagNumber[BagBoxField::Number]->text())
                                            : u"箱唛保存成功"_s) +
                            moved);
    clearList();
    forgetBoxDraft();
    return true;
}

void BagBoxPanel::keepBoxDraft()
{
    const PackingBox::DraftRows rows = box().draft(boxFields(), m_addedRolls);
    if (rows.isEmpty())
        m_addedRolls.clear();
    FormDraft::keep(DraftKind, rows);
}

void BagBoxPanel::forgetBoxDraft()
{
    m_addedRolls.clear();
    FormDraft::keep(DraftKind, {});
}

bool BagBoxPanel::restoreBoxDraft()
{
    const FormDraft::Rows kept = FormDraft::kept(DraftKind);
    const auto restored =
        PackingBox::restore(kept, BagBoxField::Count, [](const QString& roll, const QString& box) {
            try {
                return PackingBox::savedInto(Database::conn(), roll, box);
            } catch (const DbError&) {
                return false;
            }
        });
    if (!restored) {
        if (!kept.isEmpty())
            forgetBoxDraft();
        return false;
    }
    clearList();
    for (int i = 0; i < BagBoxField::Count; ++i)
        m_form->bagNumber[i]->setText(restored->boxFields[i]);
    for (const BoxRoll& r : restored->box.rolls()) {
        m_box.add({r.id, r.itemName, r.spec, r.box, r.quantity, r.remark, QString()}, r.earlierBox);
        showAdded();
    }
    m_addedRolls = restored->added;
    showTotals();
    m_form->LabMsg->setText(u"已恢复上次没有保存的箱 %1（%2 卷），请核对后保存"_s
                                .arg(m_form->bagNumber[BagBoxField::Number]->text())
                                .arg(m_box.size()));
    return true;
}
