#include "stations/packing/BagLabelPanel.h"

#include "config/ProgramFolder.h"
#include "db/DbError.h"
#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/SysUtil.h"
#include "stations/packing/BagBoxPanel.h"
#include "stations/packing/BagMarkPanel.h"
#include "stations/packing/BagSql.h"
#include "stations/packing/frmBag.h"
#include "text/Vb.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

BagLabelPanel::BagLabelPanel(frmBag* form) : m_form(form) {}

QString BagLabelPanel::printTemplate(const QString& kind) const
{
    return SysUtil::getSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, kind, kind);
}

void BagLabelPanel::printMark()
{
    BagMarkPanel& mark = m_form->markPanel();
    // Saving before the print is for the operator's own corrections (and his addend), never
    // for a roll typed over and not looked up.
    if (!mark.barcodeLookedUp())
        return;
    if (m_form->autoSave->isChecked())
        mark.saveMark();
    const double id = mark.shownRoll();
    if (id <= 0)
        return;
    const auto print = [this, id] {
        PrintBill(printTemplate(u"唛头"_s), id, m_form->isPrintreview->isChecked());
    };
    if (printsOffline())
        printOffline(QString(), {qint64(id)}, print);
    else
        print();
}

bool BagLabelPanel::printsOffline() const
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

void BagLabelPanel::printBox()
{
    const QString box = m_form->bagNumber[BagBoxField::Number]->text();
    if (box.isEmpty())
        return;
    const auto print = [this, box] {
        PrintBag(printTemplate(u"箱唛"_s), box, m_form->isPrintreview->isChecked());
    };
    if (!printsOffline()) {
        print();
        return;
    }
    // The rolls of the box: those kept for it (saved into it online or offline) and the list's.
    printOffline(box, m_form->boxPanel().box().rollIds(), print);
}

void BagLabelPanel::printOffline(const QString& box, const QList<qint64>& rolls,
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
    QLabel* msg = m_form->LabMsg;
    if (!note.isEmpty() && !msg->text().endsWith(note))
        msg->setText(msg->text() + note);
}

bool BagLabelPanel::PrintBill(const QString& templateName, double id, bool preview)
{
    return printLabel(ProgramFolder::file(u"\\打印\\唛头\\"_s + templateName + u".grf"_s), id,
                      preview, 1, u"PrintBill发生错误"_s);
}

bool BagLabelPanel::PrintBag(const QString& templateName, const QString& box, bool preview)
{
    return printLabel(ProgramFolder::file(u"\\打印\\箱唛\\"_s + templateName + u".grf"_s), box,
                      preview, 1, u"PrintBag发生错误"_s);
}

void BagLabelPanel::getPrintTemplate(const QString& kind)
{
    QMenu*& menu = m_form->Modle1;
    if (!menu) {
        menu = new QMenu(u"打印模版"_s, m_form);
        menu->setObjectName(u"Modle1"_s);
        connect(menu, &QMenu::triggered, this, [this](QAction* item) {
            const QString chosen = item->data().toString();
            SysUtil::saveSetting(ProgramFolder::executableName(), u"PrintTemplate"_s, chosen,
                                 item->text());
            if (chosen == u"唛头"_s)
                printMark();
            else
                printBox();
        });
    }
    menu->clear();
    const QDir folder(ProgramFolder::file(u"\\打印\\"_s + kind));
    if (!folder.exists()) {
        menu->addAction(u"bill"_s)->setData(kind);
    } else {
        const QStringList files = folder.entryList({u"*.grf"_s}, QDir::Files, QDir::Name);
        if (files.isEmpty() && !folder.isReadable())
            MessageBox::critical(u"getPrintTemplate 函数出错了,"_s + folder.path(), m_form);
        for (const QString& file : files)
            menu->addAction(file.section(u'.', 0, 0))->setData(kind);
    }
    QPushButton* arrow =
        m_form->butFlow[kind == u"唛头"_s ? BagCmd::MarkTemplates : BagCmd::BoxTemplates];
    menu->popup(arrow->mapToGlobal(QPoint(0, arrow->height())));
}

void BagLabelPanel::printPoolJob(const QString& kind, const QString& pid)
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
            m_form->LabMsg->setText(u"打印池：没有这个唛头条码 %1"_s.arg(pid));
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
