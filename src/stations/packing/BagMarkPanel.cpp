#include "stations/packing/BagMarkPanel.h"

#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "stations/packing/BagBoxPanel.h"
#include "stations/packing/BagLabelPanel.h"
#include "stations/packing/BagSql.h"
#include "stations/packing/frmBag.h"
#include "text/Vb.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

BagMarkPanel::BagMarkPanel(frmBag* form) : m_form(form) {}

double BagMarkPanel::shownRoll() const
{
    return vb::Val(m_form->barcode->property("Tag").toString());
}

bool BagMarkPanel::barcodeLookedUp()
{
    if (PackingMark::showsLookedUp(m_form->barcode->text(), shownRoll()))
        return true;
    m_form->LabMsg->setText(PackingMark::notLookedUpMessage());
    m_form->barcode->setFocus();
    m_form->barcode->selectAll();
    return false;
}

void BagMarkPanel::lookupMark()
{
    QLineEdit* barcode = m_form->barcode;
    barcode->setProperty("Tag", u"0"_s);
    const QString id = PackingMark::rollId(barcode->text());
    barcode->setText(id);
    if (!findMark(id))
        return;
    showMark(id);
    if (shownRoll() <= 0)
        return;
    if (m_form->MaitouAutoPrint->isChecked())
        m_form->labelPanel().printMark();
    if (m_form->autoAdd->isChecked() && vb::Val(m_form->txtUser[BagField::Quantity]->text()) > 0)
        m_form->boxPanel().addRollToBox();
}

bool BagMarkPanel::findMark(const QString& id)
{
    QLineEdit* barcode = m_form->barcode;
    try {
        // Rolls looked up here in the last days are kept: offline they can still be shown,
        // corrected and packed.
        bool online = false;
        if (Database::hasRecords(
                Journal::cachedRead(u"markRoll"_s, id, BagSql::findMark(id), &online))) {
            // Its labels too: offline they are filled from the roll as it was read here.
            if (online)
                JournalLabelRows::keepRoll(Database::conn(), qint64(vb::Val(id)));
            return true;
        }
        m_form->LabMsg->setText(u"没有这个唛头条码"_s);
    } catch (const DbError& e) {
        showLookupError(e);
    }
    barcode->setFocus();
    barcode->selectAll();
    barcode->setProperty("Tag", u"0"_s);
    return false;
}

void BagMarkPanel::showLookupError(const DbError& e)
{
    if (Journal::isOffline(e))
        m_form->LabMsg->setText(e.message());
    else
        MessageBox::critical(e.message(), m_form);
}

void BagMarkPanel::showMark(const QString& id)
{
    m_form->LabMsg->setText(u"查看唛头"_s);
    Recordset rs;
    try {
        rs = Journal::cachedRead(u"mark"_s, id, BagSql::showMark(id));
    } catch (const DbError& e) {
        showLookupError(e);
        return;
    }
    if (!packingListAllows(vb::Val(id)))
        return;
    if (!Database::hasRecords(rs)) {
        // The roll went away between the two queries (taken back by the inspection station).
        MessageBox::show(u"没有这个唛头条码"_s, MessageBox::Critical, MessageBox::Ok, QString(),
                         m_form);
        return;
    }
    m_form->barcode->setText(id);
    m_form->barcode->setProperty("Tag", id);
    for (const auto& [field, text] : PackingMark::fields(rs))
        m_form->txtUser[field]->setText(text);
    QLineEdit* next =
        m_form->settings().saveCheck ? m_form->txtUser[BagField::Quantity] : m_form->barcode;
    next->setFocus();
    next->selectAll();
}

bool BagMarkPanel::packingListAllows(double id)
{
    const auto problem =
        PackingMark::listProblem(m_form->billCodeValid->isChecked(), m_packingList, id);
    if (!problem)
        return true;
    m_form->LabMsg->setText(problem->message);
    if (problem->toBill)
        m_form->txtBillCode->setFocus();
    return false;
}

void BagMarkPanel::loadPackingList(const QString& billCode)
{
    m_packingList = PackingList();
    try {
        m_packingList = PackingList::load(Database::conn(), billCode);
        // The bill says whether its mark labels print the moment a roll is scanned.
        m_form->MaitouAutoPrint->setChecked(m_packingList->autoPrint);
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), m_form);
    }
    m_form->LabMsg2->setText(QString::number(m_packingList->rolls.size()));
}

MarkSave BagMarkPanel::markSave() const
{
    const QList<QLineEdit*>& t = m_form->txtUser;
    return {m_form->barcode->property("Tag").toString(),
            PackingMark::savedQuantity(t[BagField::Quantity]->text(), t[BagField::Addend]->text()),
            t[BagField::Inspector]->text(), t[BagField::Machine]->text()};
}

bool BagMarkPanel::saveMark()
{
    if (!barcodeLookedUp())
        return false;
    const MarkSave save = markSave();
    if (Journal::queued())
        return saveMarkOffline(save);
    try {
        PackingMark::save(Database::conn(), save);
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            return saveMarkOffline(save);
        if (e.isRowMissing()) {
            // Deleted at another station: the fields stay for the operator to read, the id goes.
            m_form->barcode->setProperty("Tag", u"0"_s);
            MessageBox::critical(u"这匹布已被删除，没有保存"_s, m_form);
            return false;
        }
        MessageBox::show(u"保存失败"_s, MessageBox::Information, MessageBox::Ok, QString(), m_form);
        return false;
    }
    // The roll as stored now, for its labels printed offline.
    JournalLabelRows::keepRoll(Database::conn(), qint64(vb::Val(save.id)));
    // The field shows what is stored now; the addend stays for the next save.
    m_form->txtUser[BagField::Quantity]->setText(vb::CStr(save.quantity));
    m_form->LabMsg->setText(u"唛头保存成功"_s);
    return true;
}

bool BagMarkPanel::saveMarkOffline(const MarkSave& save)
{
    // The roll must still be there when the record is replayed: a roll deleted meanwhile
    // refuses the record, which then waits in the refused list.
    if (!m_form->keepOffline(u"唛头 %1"_s.arg(save.id), {PackingMark::saveStep(save)}))
        return false;
    m_form->txtUser[BagField::Quantity]->setText(vb::CStr(save.quantity));
    m_form->LabMsg->setText(u"离线保存：唛头 %1，数据库连上后上传"_s.arg(save.id));
    return true;
}

void BagMarkPanel::clearMark()
{
    for (QLineEdit* box : m_form->txtUser)
        if (box)
            box->clear();
    m_form->barcode->clear();
    m_form->barcode->setProperty("Tag", u"0"_s);
    // The pads belonged to the fields just cleared; the next scan starts from the barcode.
    m_form->NumberKeybord1->hide();
    m_form->UserControl41->hide();
    m_form->barcode->setFocus();
}
