// The inspection station while the mill's database is away: a roll is saved into the offline
// journal with the statements the database would have run, the form moves on, and the roll
// numbers go on from the number the frame had reserved.
#include "stations/inspection/frmCheck.h"

#include "shell/Journal.h"
#include "shell/MessageBox.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

const QString OfflineSaved = u"离线保存：卷号 "_s;

} // namespace

long long frmCheck::saveRollOffline()
{
    try {
        beforeSave();
        m_offline = rollSave().keep(readRoll(), defectRows());
        Journal::save(m_offline.record);
        weightSaved();
    } catch (const DbError& e) {
        // A package that cannot be prepared offline, or the journal file itself failed.
        MessageBox::critical(e.message(), this);
        return 0;
    }
    return SavedOffline;
}

void frmCheck::rollSavedOffline()
{
    newRoll();
    setStatus(OfflineSaved + m_offline.roll[CheckField::RollNumber]);
}

QList<JournalLabelRows::Table> frmCheck::lastOfflineLabelRows() const
{
    QList<JournalLabelRows::Table> rows = JournalLabelRows::kept(m_offline.card, m_offline.article);
    rows.append({QString(), m_cardRs});
    return rows;
}

void frmCheck::journalReplayed(const JournalReplayResult& result)
{
    // The number counted offline may now be a roll's (renumbered, or another frame's).
    if (vb::Val(c.checkId->text()) == 0 && rules().databaseNumbers() &&
        !c.TxtBox[CheckField::RollNumber]->text().isEmpty())
        assignRollNumber();
    showTotals(qint64(vb::Val(c.BillDetailId->text())));
    setStatus(Journal::statusAfterReplay(status(), OfflineSaved, result));
    if (result.warnings.isEmpty())
        return;
    QStringList lines{u"离线保存的卷已上传，但没有入库："_s};
    for (const JournalReplayResult::Warning& w : result.warnings)
        lines << w.record.summary +
                     (w.number.isEmpty() ? QString() : u"（卷号已改为 %1）"_s.arg(w.number)) +
                     u"："_s + w.text;
    MessageBox::critical(lines.join(u'\n'), this);
}
