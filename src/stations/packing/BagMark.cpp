// The mark area of the packing window: roll lookup by its label barcode, the bill's packing
// list, the mark save, and printing of mark and box labels with their template menus.
#include "stations/packing/frmBag.h"

#include "config/ProgramFolder.h"
#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "stations/packing/BagSql.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "widgets/UserControl1.h"
#include "widgets/UserControl4.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

struct Column {
    int field;
    const char16_t* name;
};
// Query columns into mark fields; where a name comes twice the first column is the roll's own.
const Column markColumns[] = {{0, u"品名"},  {1, u"编码"},    {3, u"规格"},   {9, u"备注"},
                              {11, u"数量"}, {20, u"成分"},   {21, u"克重"},  {41, u"门幅"},
                              {42, u"批号"}, {43, u"机台号"}, {44, u"检验工"}};

} // namespace

double frmBag::shownRoll() const
{
    return vb::Val(barcode->property("Tag").toString());
}

bool frmBag::barcodeLookedUp()
{
    const QString shown = barcode->text().trimmed();
    if (shown.isEmpty() || vb::CStr(vb::Val(shown)) == vb::CStr(shownRoll()))
        return true;
    LabMsg->setText(u"卡号已改，请先查询"_s);
    barcode->setFocus();
    barcode->selectAll();
    return false;
}

void frmBag::lookupMark()
{
    barcode->setProperty("Tag", u"0"_s);
    // A label barcode is the roll id, often zero-padded by the label printer.
    const QString id = vb::CStr(vb::Val(barcode->text()));
    barcode->setText(id);
    if (!findMark(id))
        return;
    showMark(id);
    if (shownRoll() <= 0)
        return;
    if (MaitouAutoPrint->isChecked())
        printMark();
    if (autoAdd->isChecked() && vb::Val(txtUser[11]->text()) > 0)
        addRollToBox();
}

bool frmBag::findMark(const QString& id)
{
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
        LabMsg->setText(u"没有这个唛头条码"_s);
    } catch (const DbError& e) {
        showLookupError(e);
    }
    barcode->setFocus();
    barcode->selectAll();
    barcode->setProperty("Tag", u"0"_s);
    return false;
}

void frmBag::showLookupError(const DbError& e)
{
    if (Journal::isOffline(e))
        LabMsg->setText(e.message());
    else
        MessageBox::critical(e.message(), this);
}

void frmBag::showMark(const QString& id)
{
    LabMsg->setText(u"查看唛头"_s);
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
                         this);
        return;
    }
    barcode->setText(id);
    barcode->setProperty("Tag", id);
    for (const Column& c : markColumns) {
        const QString name = QString::fromUtf16(c.name);
        if (rs.hasField(name))
            txtUser[c.field]->setText(rs.text(name));
    }
    QLineEdit* next = m_saveCheck ? txtUser[11] : barcode;
    next->setFocus();
    next->selectAll();
}

bool frmBag::packingListAllows(double id)
{
    if (!billCodeValid->isChecked())
        return true;
    if (!m_packingList) {
        LabMsg->setText(u"先扫描单号"_s);
        txtBillCode->setFocus();
        return false;
    }
    if (m_packingList->isEmpty()) {
        LabMsg->setText(u"这个单号没有细码单"_s);
        return false;
    }
    if (!m_packingList->contains(vb::CStr(id))) {
        LabMsg->setText(u"这匹布没有在这个单号的细码里面，请确认?"_s);
        return false;
    }
    return true;
}

void frmBag::loadPackingList(const QString& billCode)
{
    m_packingList = QHash<QString, double>();
    try {
        Recordset rs = Database::conn().execute(BagSql::packingList(billCode));
        QString invoice;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            m_packingList->insert(vb::CStr(rs.number(u"checkinfoid"_s)),
                                  rs.number(u"billprocount"_s));
            invoice = rs.text(u"invoice"_s);
        }
        // The bill says whether its mark labels print the moment a roll is scanned.
        MaitouAutoPrint->setChecked(invoice.contains(u"是"_s));
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this);
    }
    LabMsg2->setText(QString::number(m_packingList->size()));
}

bool frmBag::saveMark()
{
    if (!barcodeLookedUp())
        return false;
    const QString id = barcode->property("Tag").toString();
    const double quantity = vb::Val(txtUser[11]->text()) + vb::Val(txtUser[2]->text());
    if (Journal::queued())
        return saveMarkOffline(id, quantity);
    try {
        Database::conn().executeOnRow(
            BagSql::saveMark(quantity, txtUser[44]->text(), txtUser[43]->text(), id));
    } catch (const DbError& e) {
        if (Journal::isOffline(e))
            return saveMarkOffline(id, quantity);
        if (e.isRowMissing()) {
            // Deleted at another station: the fields stay for the operator to read, the id goes.
            barcode->setProperty("Tag", u"0"_s);
            MessageBox::critical(u"这匹布已被删除，没有保存"_s, this);
            return false;
        }
        MessageBox::show(u"保存失败"_s, MessageBox::Information, MessageBox::Ok, QString(), this);
        return false;
    }
    // The roll as stored now, for its labels printed offline.
    JournalLabelRows::keepRoll(Database::conn(), qint64(vb::Val(id)));
    // The field shows what is stored now; the addend stays for the next save.
    txtUser[11]->setText(vb::CStr(quantity));
    LabMsg->setText(u"唛头保存成功"_s);
    return true;
}

bool frmBag::saveMarkOffline(const QString& id, double quantity)
{
    // The roll must still be there when the record is replayed: a roll deleted meanwhile
    // refuses the record, which then waits in the refused list.
    if (!keepOffline(u"唛头 %1"_s.arg(id),
                     {{BagSql::saveMark(quantity, txtUser[44]->text(), txtUser[43]->text(), id),
                       false, true}}))
        return false;
    txtUser[11]->setText(vb::CStr(quantity));
    LabMsg->setText(u"离线保存：唛头 %1，数据库连上后上传"_s.arg(id));
    return true;
}

bool frmBag::keepOffline(const QString& summary, const QList<JournalStep>& steps)
{
    JournalRecord record = JournalRecord::create(SysUtil::stationKey(), summary);
    record.steps = steps;
    return Journal::keep(record, this);
}

void frmBag::clearMark()
{
    for (QLineEdit* box : txtUser)
        if (box)
            box->clear();
    barcode->clear();
    barcode->setProperty("Tag", u"0"_s);
    // The pads belonged to the fields just cleared; the next scan starts from the barcode.
    NumberKeybord1->hide();
    UserControl41->hide();
    barcode->setFocus();
}

QString frmBag::printTemplate(const QString& kind) const
{
    return SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, kind, kind);
}

void frmBag::printMark()
{
    // Saving before the print is for the operator's own corrections (and his addend), never
    // for a roll typed over and not looked up.
    if (!barcodeLookedUp())
        return;
    if (autoSave->isChecked())
        saveMark();
    if (shownRoll() <= 0)
        return;
    const auto print = [this] {
        PrintBill(printTemplate(u"唛头"_s), shownRoll(), isPrintreview->isChecked());
    };
    if (printsOffline())
        printOffline(QString(), {qint64(shownRoll())}, print);
    else
        print();
}

bool frmBag::printsOffline() const
{
    // Saves waiting in the journal, or a database that does not answer (nothing saved since it
    // went away): the label is filled from the rows kept here, not left empty.
    if (Journal::queued())
        return true;
    try {
        Database::conn().execute(u"select 1"_s);
        return false;
    } catch (const DbError& e) {
        return Journal::isOffline(e);
    }
}

void frmBag::printBox()
{
    const QString box = bagNumber[0]->text();
    if (box.isEmpty())
        return;
    const auto print = [this, box] {
        PrintBag(printTemplate(u"箱唛"_s), box, isPrintreview->isChecked());
    };
    if (!printsOffline()) {
        print();
        return;
    }
    // The rolls of the box: those kept for it (saved into it online or offline) and the list's.
    QList<qint64> listed;
    for (int r = 1; r < ximaGrid->rows(); ++r)
        if (const qint64 id = qint64(vb::Val(ximaGrid->textMatrix(r, 1))); id > 0)
            listed.append(id);
    printOffline(box, listed, print);
}

void frmBag::printOffline(const QString& box, const QList<qint64>& rolls,
                          const std::function<void()>& print)
{
    // The database cannot fill the label: it is filled from the rolls as they were read here,
    // with the saves that wait, and says 离线. A roll never read here would be left off (or
    // empty): the label waits for the upload.
    QList<qint64> missing;
    const QList<JournalLabelRows::Table> rows = JournalLabelRows::keptRolls(box, rolls, &missing);
    QString note;
    if (!missing.isEmpty()) {
        note = u"；细码 %1 没有在本机联网查过，标签在上传后补打"_s.arg(missing.first());
    } else {
        try {
            JournalLabelRows offline(rows);
            print();
        } catch (const DbError& e) {
            note = u"；标签没有打印："_s + e.message();
        }
    }
    // Printing again says it once.
    if (!note.isEmpty() && !LabMsg->text().endsWith(note))
        LabMsg->setText(LabMsg->text() + note);
}

bool frmBag::PrintBill(const QString& templateName, double id, bool preview)
{
    return printLabel(ProgramFolder::file(u"\\打印\\唛头\\"_s + templateName + u".grf"_s), id,
                      preview, 1, u"PrintBill发生错误"_s);
}

bool frmBag::PrintBag(const QString& templateName, const QString& box, bool preview)
{
    return printLabel(ProgramFolder::file(u"\\打印\\箱唛\\"_s + templateName + u".grf"_s), box,
                      preview, 1, u"PrintBag发生错误"_s);
}

void frmBag::getPrintTemplate(const QString& kind)
{
    if (!Modle1) {
        Modle1 = new QMenu(u"打印模版"_s, this);
        Modle1->setObjectName(u"Modle1"_s);
        connect(Modle1, &QMenu::triggered, this, [this](QAction* item) {
            const QString chosen = item->data().toString();
            SysUtil::saveSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, chosen,
                                 item->text());
            if (chosen == u"唛头"_s)
                printMark();
            else
                printBox();
        });
    }
    Modle1->clear();
    const QDir folder(ProgramFolder::file(u"\\打印\\"_s + kind));
    if (!folder.exists()) {
        Modle1->addAction(u"bill"_s)->setData(kind);
    } else {
        const QStringList files = folder.entryList({u"*.grf"_s}, QDir::Files, QDir::Name);
        if (files.isEmpty() && !folder.isReadable())
            MessageBox::critical(u"getPrintTemplate 函数出错了,"_s + folder.path(), this);
        for (const QString& file : files)
            Modle1->addAction(file.section(u'.', 0, 0))->setData(kind);
    }
    QPushButton* arrow = butFlow[kind == u"唛头"_s ? 3 : 6];
    Modle1->popup(arrow->mapToGlobal(QPoint(0, arrow->height())));
}
