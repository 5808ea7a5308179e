// The save of the roll on the inspection window: checked, saved in one transaction, and while the
// mill's database is away saved into the offline journal with the statements the database would
// have run; the form moves on, and the roll numbers go on from the number the frame had reserved.
#include "stations/inspection/CheckSavePanel.h"

#include "shell/Database.h"
#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "stations/inspection/CheckCardPanel.h"
#include "stations/inspection/CheckDefectGrid.h"
#include "stations/inspection/CheckDevicePanel.h"
#include "stations/inspection/CheckRollPanel.h"
#include "stations/inspection/DefectCamera.h"
#include "stations/inspection/frmCheck.h"
#include "text/Vb.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
const QString OfflineSaved = u"离线保存：卷号 "_s;
} // namespace

CheckSavePanel::CheckSavePanel(frmCheck* form) : QObject(form), m_form(form), c(form->controls())
{
    connect(Journal::status(), &Journal::Status::replayed, this, &CheckSavePanel::journalReplayed);
}

void CheckSavePanel::saveCommand()
{
    if (!validateRoll())
        return;
    const bool update = vb::Val(c.checkId->text()) > 0;
    const long long id = saveRoll(true);
    if (id == SavedOffline) {
        rollSavedOffline();
        return;
    }
    if (!c.reviewCheckCode->isChecked() && id >= 1) {
        m_form->setStatus(savedStatus(update));
        if (c.autoHuanJuan->isChecked())
            m_form->rollPanel().newRoll();
        else
            m_form->rollPanel().keepSavedRoll(id);
        sayRenumbered(update);
    }
}

RollSave CheckSavePanel::rollSave(bool withJournal) const
{
    JournalStore* journal = nullptr;
    try {
        if (withJournal)
            journal = &Journal::store();
    } catch (const DbError&) {
        // Lookups are not kept and nothing can be saved offline; the save itself goes on.
    }
    RollSave save(m_form->rules(), journal);
    save.setPhotos(m_form->defectCamera().store());
    return save;
}

bool CheckSavePanel::validateRoll()
{
    m_form->runCommand(CheckCmd::Recompute);
    std::optional<RollProblem> problem =
        m_form->rules().validate(m_form->readRoll(), [this](int lab) {
            const QLabel* caption = lab >= 0 && lab < c.LabBox.size() ? c.LabBox[lab] : nullptr;
            return caption ? caption->text() : QString();
        });
    if (!problem) {
        if (!m_form->devicePanel().confirmCounterLength() ||
            !m_form->devicePanel().confirmScaleWeight())
            return false;
        problem = m_form->rules().checkExtra(m_form->readRoll());
    }
    if (problem)
        showProblem(*problem);
    return !problem;
}

void CheckSavePanel::showProblem(const RollProblem& problem)
{
    m_form->setStatus(problem.message);
    if (problem.field >= 0 && problem.field < c.TxtBox.size() && c.TxtBox[problem.field])
        c.TxtBox[problem.field]->setFocus();
}

long long CheckSavePanel::saveRoll(bool refreshTotals)
{
    // A reopened roll that cannot be saved stays as it is on screen: the counter must not
    // write the length of the roll now on the frame over it.
    const bool wasPolling = m_form->devicePanel().polling();
    m_form->devicePanel().setPolling(true);
    m_renumbered.clear();
    // While rolls wait in the journal, the next ones follow them there: they reach the
    // database in the order they were saved, and the window never waits for a server that is
    // still coming back.
    if (Journal::status()->pending() > 0)
        return saveRollOffline();
    m_form->beforeSave();
    RollSave::Saved saved;
    try {
        saved = rollSave().save(Database::conn(), m_form->readRoll(), m_form->defectGrid().rows(),
                                m_form->rollPanel().numberScope());
    } catch (const DbError& e) {
        if (e.offline())
            return saveRollOffline();
        // Rolled back; everything typed stays on the form, the operator saves again.
        m_form->devicePanel().setPolling(wasPolling);
        if (e.isRowMissing())
            rollWasDeleted();
        MessageBox::critical(e.isRowMissing()
                                 ? rowDeletedMessage(c.TxtBox[CheckField::RollNumber]->text())
                                 : e.message(),
                             m_form);
        return 0;
    }
    m_lastSaved = saved.roll;
    m_form->devicePanel().weightSaved();
    QLineEdit* number = c.TxtBox[CheckField::RollNumber];
    m_form->rollPanel().showSavedNumber(saved.roll);
    // The operator saw the number on the form; once the form moves on it is gone.
    if (!saved.shownNumber.isEmpty())
        m_renumbered = number->accessibleName() + u"已改："_s + saved.shownNumber + u" → "_s +
                       saved.roll[CheckField::RollNumber];
    if (!saved.stockError.isEmpty())
        MessageBox::show(u"error"_s, MessageBox::Critical); // the roll stays saved
    if (refreshTotals)
        m_form->cardPanel().showTotals(qint64(vb::Val(c.BillDetailId->text())));
    emit m_form->rollSaved(saved.id);
    return saved.id;
}

QString CheckSavePanel::rowDeletedMessage(const QString& newNumber)
{
    // The number the roll will be saved with: a label printed with the old one is wrong now.
    return u"这条记录已被删除，已改为新记录（卷号%1），请再按保存"_s.arg(newNumber);
}

void CheckSavePanel::rollWasDeleted()
{
    // What was typed stays; the next save inserts it as a new roll with a number of its own.
    const long long id = qint64(vb::Val(c.checkId->text()));
    const QString number = c.TxtBox[CheckField::RollNumber]->text();
    c.checkId->setText(u"0"_s);
    m_form->rollPanel().assignRollNumber();
    emit m_form->rollDeletedElsewhere(id, number);
    m_form->setStatus(u"新"_s);
    m_form->enableCommands();
}

long long CheckSavePanel::saveRollOffline()
{
    try {
        m_form->beforeSave();
        RollSave save = rollSave();
        save.setPhotos(m_form->defectCamera().store(true)); // the pictures of the journal's folder
        m_offline = save.keep(m_form->readRoll(), m_form->defectGrid().rows());
        Journal::save(m_offline.record);
        m_form->devicePanel().weightSaved();
    } catch (const DbError& e) {
        // A package that cannot be prepared offline, or the journal file itself failed.
        MessageBox::critical(e.message(), m_form);
        return 0;
    }
    return SavedOffline;
}

void CheckSavePanel::rollSavedOffline()
{
    m_form->rollPanel().newRoll();
    m_form->setStatus(OfflineSaved + m_offline.roll[CheckField::RollNumber]);
}

QList<JournalLabelRows::Table> CheckSavePanel::lastOfflineLabelRows() const
{
    QList<JournalLabelRows::Table> rows = JournalLabelRows::kept(m_offline.card, m_offline.article);
    rows.append({QString(), m_form->cardPanel().cardRows()});
    return rows;
}

void CheckSavePanel::journalReplayed(const JournalReplayResult& result)
{
    // The number counted offline may now be a roll's (renumbered, or another frame's).
    if (vb::Val(c.checkId->text()) == 0 && m_form->rules().databaseNumbers() &&
        !c.TxtBox[CheckField::RollNumber]->text().isEmpty())
        m_form->rollPanel().assignRollNumber();
    m_form->cardPanel().showTotals(qint64(vb::Val(c.BillDetailId->text())));
    m_form->setStatus(Journal::statusAfterReplay(m_form->status(), OfflineSaved, result));
    if (result.warnings.isEmpty())
        return;
    QStringList lines{u"离线保存的卷已上传，但没有入库："_s};
    for (const JournalReplayResult::Warning& w : result.warnings)
        lines << w.record.summary +
                     (w.number.isEmpty() ? QString() : u"（卷号已改为 %1）"_s.arg(w.number)) +
                     u"："_s + w.text;
    MessageBox::critical(lines.join(u'\n'), m_form);
}

QString CheckSavePanel::savedStatus(bool update)
{
    return update ? u" 修改成功！"_s : u" 新增成功！"_s;
}

void CheckSavePanel::sayRenumbered(bool update)
{
    // Said over the new roll's "新": the number now on the form is the next one.
    if (!m_renumbered.isEmpty())
        m_form->setStatus(savedStatus(update) + m_renumbered);
}
