// Label printing of the inspection window: the roll on screen with the grade's or the remembered
// template, and the template menu.
#include "stations/inspection/CheckLabelPanel.h"

#include "config/ProgramFolder.h"
#include "db/SqlText.h"
#include "shell/Database.h"
#include "shell/JournalLabel.h"
#include "shell/MessageBox.h"
#include "shell/Print.h"
#include "shell/SysUtil.h"
#include "stations/inspection/LabelTemplates.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"
#include "widgets/EditGrid.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/CheckSavePanel.h"
#include "stations/inspection/CheckDevicePanel.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

const char RollListProperty[] = "rollListRecordset";

QString templateSection()
{
    return u"PrintTemplate"_s;
}

QString remembered(const QString& key, const QString& def)
{
    return SysUtil::getSetting(ProgramFolder::executableName(), templateSection(), key, def);
}

} // namespace

CheckLabelPanel::CheckLabelPanel(frmCheck* form)
    : QObject(form)
    , m_form(form)
    , m_print(printMarkLabel)
{
    m_menu = new QMenu(form);
    m_menu->setObjectName(u"Modle1"_s);
    buildTab();
    connect(form, &frmCheck::commandRequested, this, &CheckLabelPanel::onCommand);
    connect(form, &frmCheck::rollCleared, this, [this] {
        m_printedId = 0;
        m_printedNumber.clear();
    });
    connect(form, &frmCheck::rollDeletedElsewhere, this,
            [this](long long id, const QString& number) {
                if (id > 0 && id == m_printedId)
                    m_printedNumber = number;
                m_printedId = 0;
            });
    connect(form, &frmCheck::rollSaved, this, &CheckLabelPanel::offerReprint);
    form->installEventFilter(this);
}

void CheckLabelPanel::offerReprint(long long id)
{
    if (m_printedNumber.isEmpty() || m_printing || id <= 0)
        return;
    const QString old = std::exchange(m_printedNumber, QString());
    CheckControls& c = m_form->controls();
    // The cloth runs on: the saved roll's quantity must not follow the counter while the
    // inspector answers (the save keeps the roll on the form or starts the next one after).
    m_form->devicePanel().setPolling(false);
    // Its barcode carries the deleted roll's id, whatever its number says.
    if (!MessageBox::question(
            u"已打印的标签（卷号%1）是被删除的记录的，重新打印卷号%2的标签？"_s.arg(
                old, c.TxtBox[CheckField::RollNumber]->text()),
            m_form))
        return;
    if (m_printedCommand == CheckCmd::PrintMark)
        printMark(id);
    else
        print(rollTemplate(), id, c.isPrintreview->isChecked(), c.UpDown1->value());
}

void CheckLabelPanel::onCommand(int index)
{
    CheckControls& c = m_form->controls();
    switch (index) {
    case CheckCmd::PrintLabel:
    case CheckCmd::PrintMark: printRoll(index); break;
    case CheckCmd::ChooseTemplate: {
        getPrintTemplate();
        // A pop-up is a window of its own and does not take the window's type: the templates
        // are chosen with a finger, at the size of the window's own texts.
        m_menu->setFont(m_form->font());
        QPushButton* b = c.checkCommand[CheckCmd::ChooseTemplate];
        m_menu->popup(b->mapToGlobal(QPoint(0, b->height())));
        break;
    }
    case CheckCmd::VariableLabels: m_tagType[1]->setChecked(true); break;
    case CheckCmd::FixedLength: m_tagType[0]->setChecked(true); break;
    default: break;
    }
}

void CheckLabelPanel::chooseTemplate(const QString& caption)
{
    SysUtil::saveSetting(ProgramFolder::executableName(), templateSection(), m_form->rules().templateSetting(),
                         caption);
}

QString CheckLabelPanel::markTemplate()
{
    return remembered(u"check2"_s, u"订单唛头2"_s);
}

QString CheckLabelPanel::rollTemplate() const
{
    return rollTemplate(m_form->currentGrade());
}

QString CheckLabelPanel::rollTemplate(const QString& grade) const
{
    return CheckLabels::rollTemplate(grade,
                                     remembered(m_form->rules().templateSetting(), m_form->rules().defaultTemplate()));
}

bool CheckLabelPanel::print(const QString& name, qint64 id, bool preview, int copies)
{
    if (!CheckLabels::templateExists(name)) {
        m_form->setStatus(u"没有标签模板："_s + name);
        return false;
    }
    return m_print(name, id, preview, copies);
}

void CheckLabelPanel::printRoll(int command)
{
    CheckControls& c = m_form->controls();
    if (!m_form->savePanel().validateRoll())
        return;
    long long id = static_cast<long long>(vb::Val(c.checkId->text()));
    const bool update = id > 0;
    const bool saving = id <= 0 || m_form->settings().mayChangeSaved;
    if (saving) {
        m_printing = true;
        id = m_form->savePanel().saveRoll(true);
        m_printing = false;
    }
    // One label per roll from this button: the next roll (newRoll) enables it again.
    c.checkCommand[command]->setEnabled(false);
    if (id == CheckSavePanel::SavedOffline) {
        // The grade's template is the saved roll's: taken before the form moves on.
        const QString name = command == CheckCmd::PrintLabel ? rollTemplate() : markTemplate();
        const JournalRecord record = m_form->savePanel().lastOfflineRecord();
        const QList<JournalLabelRows::Table> rows = m_form->savePanel().lastOfflineLabelRows();
        m_form->savePanel().rollSavedOffline();
        printOffline(name, record, rows);
        return;
    }
    if (id <= 0)
        return;
    const bool nextRoll = command == CheckCmd::PrintLabel && c.autoHuanJuan->isChecked();
    if (!nextRoll) // before the print: a printer's error box lets the counter tick meanwhile
        m_form->rollPanel().keepSavedRoll(id);
    // The roll kept on screen is saved: "新" there would send the packer to save it again. A
    // printer's complaint, said after this, is the newer news.
    if (saving && !c.reviewCheckCode->isChecked()) {
        m_form->setStatus(CheckSavePanel::savedStatus(update));
        m_form->savePanel().sayRenumbered(update);
    }
    const bool printed =
        command == CheckCmd::PrintLabel ? print(rollTemplate(), id, c.isPrintreview->isChecked(), c.UpDown1->value())
                     : printMark(id);
    m_printedNumber.clear(); // this roll's label carries its number now
    if (printed && !nextRoll) {
        m_printedId = id;
        m_printedCommand = command;
    }
    if (nextRoll) {
        m_form->runCommand(CheckCmd::NewRoll);
        if (saving && !c.reviewCheckCode->isChecked())
            m_form->savePanel().sayRenumbered(update);
    }
}

void CheckLabelPanel::reprintRenumbered(const QList<JournalReplayResult::Renumbered>& list)
{
    const CheckControls& c = m_form->controls();
    for (const auto& r : list) {
        const JournalNumber& n = r.record.number;
        Recordset rs;
        try {
            // The roll as the replay saved it: its number's scope and the new number.
            rs = Database::conn().execute(
                u"select id, grade from %1 where (%2) and %3=%4 order by id desc"_s.arg(
                    n.table, n.filter.trimmed().isEmpty() ? u"1=1"_s : n.filter, n.column,
                    SqlText::quoted(r.newNumber)));
        } catch (const DbError& e) {
            m_form->setStatus(u"标签没有重新打印："_s + e.message());
            return;
        }
        if (rs.isOpen() && !rs.eof())
            print(rollTemplate(rs.text(1)), rs.field(0).toLongLong(), false, c.UpDown1->value());
    }
}

void CheckLabelPanel::printOffline(const QString& name, const JournalRecord& record,
                                  const QList<JournalLabelRows::Table>& kept)
{
    const CheckControls& c = m_form->controls();
    try {
        // The label cannot read the roll from the database: it is filled from the roll as it was
        // kept in the journal, with the rows kept for its card and article, and marks itself
        // 离线.
        JournalLabelRows rows(record, kept);
        if (rows.id() < 0) {
            m_form->setStatus(m_form->status() + u"；标签在上传后补打"_s);
            return;
        }
        print(name, rows.id(), c.isPrintreview->isChecked(), c.UpDown1->value());
    } catch (const DbError& e) {
        m_form->setStatus(m_form->status() + u"；标签没有打印："_s + e.message());
    }
}

bool CheckLabelPanel::printMark(qint64 id)
{
    const CheckControls& c = m_form->controls();
    return print(markTemplate(), id, c.isPrintreview->isChecked(), c.UpDown1->value());
}

void CheckLabelPanel::getPrintTemplate()
{
    const QStringList captions = CheckLabels::templateNames();
    while (m_templateItems.size() < captions.size()) {
        QAction* a = m_menu->addAction(QString());
        a->setObjectName(u"PrintTemplate_"_s + QString::number(m_templateItems.size()));
        connect(a, &QAction::triggered, this, [this, a] { chooseTemplate(a->text()); });
        m_templateItems << a;
    }
    for (qsizetype k = 0; k < m_templateItems.size(); ++k) {
        m_templateItems[k]->setVisible(k < captions.size());
        if (k < captions.size())
            m_templateItems[k]->setText(captions[k]);
    }
}

void CheckLabelPanel::publishRollList(frmCheck* form, const Recordset& rs)
{
    form->setProperty(RollListProperty, QVariant::fromValue(rs));
}

std::optional<Recordset> CheckLabelPanel::rollList(const frmCheck* form)
{
    const QVariant v = form->property(RollListProperty);
    if (v.isValid())
        return v.value<Recordset>();
    // Otherwise the list as the tab shows it, cell texts as they are (roll numbers keep "001").
    const auto* grid = form->findChild<EditGrid*>(u"ppgCheckGrid"_s);
    if (!grid || grid->rows() <= 1)
        return std::nullopt;
    Recordset rs(grid->header());
    for (int r = 1; r < grid->rows(); ++r) {
        QList<DbValue> row;
        for (int col = 0; col < grid->cols(); ++col)
            row << DbValue(grid->textMatrix(r, col));
        rs.addRow(row);
    }
    return rs;
}
