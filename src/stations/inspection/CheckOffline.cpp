// The inspection station while the mill's database is away: a roll is saved into the offline
// journal with the statements the database would have run, the form moves on, and the roll
// numbers go on from the number the frame had reserved.
#include "stations/inspection/frmCheck.h"

#include "config/MirelIni.h"
#include "shell/Journal.h"
#include "shell/JournalNumbers.h"
#include "shell/MessageBox.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"
#include "time/Clock.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

const QString OfflineSaved = u"离线保存：卷号 "_s;

} // namespace

JournalNumber frmCheck::numberScope() const
{
    const QString codeLen = m_cfg.codeLen;
    return {u"checkInfo"_s,        u"checkCode"_s,      rollNumberCondition(),
            SysUtil::stationKey(), int(codeLen.size()), c.TxtBox[CheckField::RollNumber]->text()};
}

QString frmCheck::offlineItem5(const QString& checkCode) const
{
    try {
        return item5For(checkCode);
    } catch (const DbError& e) {
        if (!Journal::isOffline(e))
            throw;
        return QString(); // the line's values were never looked up here: the field stays empty
    }
}

long long frmCheck::saveRollOffline()
{
    const long long id = qint64(vb::Val(c.checkId->text()));
    const bool numbered = id <= 0 && rules().databaseNumbers();
    m_savingOffline = true;
    const auto done = qScopeGuard([this] { m_savingOffline = false; });
    try {
        // The station's own preparation (an article, a batch number) from what is kept here.
        beforeSave();
        CheckSql::Roll r = rollValues();
        JournalRecord record = JournalRecord::create(
            SysUtil::stationKey(), u"卷号 %1  卡号 %2"_s.arg(r.checkCode, r.billCode));
        if (numbered) {
            record.number = numberScope();
            if (record.number.value.isEmpty()) // the station came up without its database
                record.number.value = Journal::nextOfflineNumber(record.number, QString());
            r.checkCode = record.number.value;
        }
        r.items[5] = offlineItem5(r.checkCode);
        if (numbered)
            r.checkCode = JournalRecord::numberMark(); // the replay may have to change it
        // The stock booking of the online save, in the same transaction when it is replayed.
        const bool stock = m_cfg.postToStock;
        QString rollId = QString::number(id);
        if (id > 0) {
            record.steps.append({CheckSql::deleteDefects(id)});
            if (stock)
                record.steps.append(JournalNumbers::stockBefore(rollId));
            record.steps.append({rules().updateStatement(readRoll(), r, id), false, true});
        } else {
            record.steps.append({rules().insertStatement(readRoll(), r), true});
            rollId = JournalRecord::identityMark(0);
        }
        const QString today = Clock::todayText();
        for (const QStringList& row : defectRows())
            record.steps.append({CheckSql::insertDefect(rollId, row, today)});
        if (stock)
            record.steps.append(JournalNumbers::stockPost(rollId, r.onCount));
        Journal::save(record);
        m_offlineRecord = record;
        m_offlineCard = r.billCode;
        m_offlineArticle = qint64(r.itemId);
        m_offlineNumber = numbered ? record.number.value : c.TxtBox[CheckField::RollNumber]->text();
    } catch (const DbError& e) {
        MessageBox::critical(e.message(), this); // the journal file itself failed
        return 0;
    }
    return SavedOffline;
}

void frmCheck::rollSavedOffline()
{
    newRoll();
    setStatus(OfflineSaved + m_offlineNumber);
}

QList<JournalLabelRows::Table> frmCheck::lastOfflineLabelRows() const
{
    QList<JournalLabelRows::Table> rows = JournalLabelRows::kept(m_offlineCard, m_offlineArticle);
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
