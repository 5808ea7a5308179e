#include "stations/inspection/RollSave.h"

#include "db/Connection.h"
#include "db/Transaction.h"
#include "journal/JournalStore.h"
#include "shell/JournalNumbers.h"
#include "shell/StockPosting.h"
#include "shell/SysUtilDb.h"
#include "stations/inspection/DefectPhotos.h"
#include "text/Vb.h"
#include "time/Clock.h"

using namespace Qt::StringLiterals;

namespace {

const QString RollTable = u"checkInfo"_s;
const QString NumberColumn = u"checkCode"_s;

} // namespace

JournalNumber RollSave::numberScope(const RollForm& roll) const
{
    return {RollTable,           NumberColumn,
            m_rules.numberCondition(roll),
            SysUtil::stationKey(),
            int(m_rules.settings().codeLen.size()),
            roll[CheckField::RollNumber]};
}

QString RollSave::proposeNumber(Connection& conn, const RollForm& roll, int waiting) const
{
    const QString code = SysUtil::nextCode(conn, RollTable, NumberColumn,
                                           int(m_rules.settings().codeLen.size()),
                                           m_rules.numberCondition(roll));
    // Rolls saved offline and not yet sent hold numbers the database does not know.
    if (waiting > 0 && m_journal)
        return m_journal->nextNumber(numberScope(roll), code);
    return code;
}

QString RollSave::offlineNumber(const RollForm& roll) const
{
    if (!m_journal)
        throw DbError(u"离线记录文件打不开，离线时不能保存"_s);
    return m_journal->nextNumber(numberScope(roll), roll[CheckField::RollNumber]);
}

QString RollSave::item5(Connection* conn, const RollForm& roll, const QString& checkCode) const
{
    const QString line = vb::sqlNumber(vb::Val(roll.lineId));
    const InspectionRoll::Item5Source source = m_rules.item5Source(line);
    if (!conn) {
        // Offline: the line's values as last seen here; never looked up, the field stays empty.
        const std::optional<Recordset> kept = m_journal ? m_journal->lookup(source.kind, line)
                                                        : std::nullopt;
        return kept ? m_rules.item5(checkCode, *kept) : QString();
    }
    const auto read = [&] { return conn->execute(source.sql); };
    return m_rules.item5(checkCode, m_journal ? m_journal->keptRead(source.kind, line, read) : read());
}

QString RollSave::photoOf(const QStringList& defect) const
{
    return m_photos && m_photos->keepsRows() ? defect.value(DefectPhotos::Column) : QString();
}

RollSave::Saved RollSave::save(Connection& conn, RollForm roll, const QList<QStringList>& defects,
                               const QString& proposedUnder) const
{
    Saved saved;
    Transaction tx(conn);
    m_rules.prepare(roll, &conn, m_journal);
    long long id = roll.id;
    double oldQuantity = 0;
    const bool photoRows = m_photos && m_photos->keepsRows();
    if (id > 0) {
        if (photoRows)
            conn.execute(DefectPhotos::deleteOfRoll(id));
        conn.execute(CheckSql::deleteDefects(id));
        oldQuantity = conn.execute(CheckSql::oldQuantity(id)).field(0).toDouble();
        CheckSql::Roll r = m_rules.values(roll);
        r.items[5] = item5(&conn, roll, r.checkCode);
        // Another station may have deleted the roll since it was opened here.
        conn.executeOnRow(m_rules.updateStatement(roll, r, id));
    } else {
        // A number still free is kept, so that the roll gets the number the inspector saw. A
        // number proposed for another card line or article is not this roll's: it would leave
        // a gap in that scope.
        const bool numbered = m_rules.databaseNumbers();
        const QString shown = roll[CheckField::RollNumber];
        const QString scope = m_rules.numberCondition(roll);
        if (numbered
            && (shown.isEmpty() || scope != proposedUnder
                || conn.execute(CheckSql::rollNumberTaken(shown, scope)).field(0).toLongLong() > 0))
            roll[CheckField::RollNumber] = proposeNumber(conn, roll, 0);
        CheckSql::Roll r = m_rules.values(roll);
        r.items[5] = item5(&conn, roll, r.checkCode);
        // One batch, so that SQL Server returns the identity of this insert.
        id = conn.execute(m_rules.insertStatement(roll, r) + u";"_s + CheckSql::lastIdentity())
                 .field(0)
                 .toLongLong();
        if (!shown.isEmpty() && r.checkCode != shown)
            saved.shownNumber = shown;
        if (numbered)
            SysUtil::codeSaved(conn, RollTable, NumberColumn, scope, r.checkCode);
    }
    const QString today = Clock::todayText();
    for (const QStringList& row : defects) {
        const QString photo = photoOf(row);
        if (photo.isEmpty()) {
            conn.execute(CheckSql::insertDefect(id, row, today));
            continue;
        }
        const qint64 detail =
            conn.execute(CheckSql::insertDefect(id, row, today) + u";"_s + CheckSql::lastIdentity())
                .field(0)
                .toLongLong();
        m_photos->addRow(conn, detail, photo, m_photos->takenAt(photo));
    }
    if (m_rules.settings().postToStock) {
        const double difference = m_rules.values(roll).onCount - oldQuantity;
        if (!StockPosting::postRoll(conn, id, difference, &saved.stockError)
            && saved.stockError.isEmpty())
            saved.stockError = u"error"_s;
    }
    tx.commit();
    saved.id = id;
    saved.roll = std::move(roll);
    saved.roll.id = id;
    return saved;
}

RollSave::Kept RollSave::keep(RollForm roll, const QList<QStringList>& defects) const
{
    if (!m_journal)
        throw DbError(u"离线记录文件打不开，离线时不能保存"_s);
    const long long id = roll.id;
    const bool numbered = id <= 0 && m_rules.databaseNumbers();
    // The station's own preparation (an article, a batch number) from what is kept here.
    m_rules.prepare(roll, nullptr, m_journal);
    CheckSql::Roll r = m_rules.values(roll);
    Kept kept;
    kept.record = JournalRecord::create(SysUtil::stationKey(),
                                        u"卷号 %1  卡号 %2"_s.arg(r.checkCode, r.billCode));
    if (numbered) {
        kept.record.number = numberScope(roll);
        if (kept.record.number.value.isEmpty()) // the station came up without its database
            kept.record.number.value = m_journal->nextNumber(kept.record.number, QString());
        r.checkCode = kept.record.number.value;
        roll[CheckField::RollNumber] = r.checkCode;
    }
    r.items[5] = item5(nullptr, roll, r.checkCode);
    if (numbered)
        r.checkCode = JournalRecord::numberMark(); // the replay may have to change it
    // The stock booking of the online save, in the same transaction when it is replayed.
    const bool stock = m_rules.settings().postToStock;
    QString rollId = QString::number(id);
    QList<JournalStep>& steps = kept.record.steps;
    if (id > 0) {
        if (m_photos && m_photos->keepsRows())
            steps.append({DefectPhotos::deleteOfRoll(id)});
        steps.append({CheckSql::deleteDefects(id)});
        if (stock)
            steps.append(JournalNumbers::stockBefore(rollId));
        steps.append({m_rules.updateStatement(roll, r, id), false, true});
    } else {
        steps.append({m_rules.insertStatement(roll, r), true});
        rollId = JournalRecord::identityMark(0);
    }
    const QString today = Clock::todayText();
    for (const QStringList& row : defects) {
        const QString photo = photoOf(row);
        steps.append({CheckSql::insertDefect(rollId, row, today), !photo.isEmpty()});
        if (!photo.isEmpty())
            steps.append({DefectPhotos::insertRow(JournalRecord::identityMark(int(steps.size()) - 1),
                                                  photo, m_photos->takenAt(photo))});
    }
    if (stock)
        steps.append(JournalNumbers::stockPost(rollId, r.onCount));
    kept.card = r.billCode;
    kept.article = qint64(r.itemId);
    kept.roll = std::move(roll);
    return kept;
}
