// The roll list's lookups and the roll delete on the station's connection; roll steps stay on
// this station's machine.
#include "stations/inspection/RollList.h"

#include "db/DbError.h"
#include "db/Recordset.h"
#include "db/Transaction.h"
#include "stations/inspection/DefectPhotos.h"
#include "text/Vb.h"

#include <QSet>

using namespace Qt::StringLiterals;

RollList::RollList(Connection& conn, const InspectionSettings& settings)
    : m_conn(conn), m_settings(settings)
{
}

QString RollList::firstText(const QString& sql)
{
    const Recordset rs = m_conn.execute(sql);
    return rs.isOpen() && !rs.eof() ? rs.text(0) : QString();
}

QString RollList::statement(const QString& base, const CheckListSql::Filters& filters)
{
    const QString stored = firstText(CheckListSql::storedList());
    return CheckListSql::listQuery(stored.trimmed().isEmpty() ? base : stored, filters,
                                   m_settings.machineId);
}

QString RollList::total(const QList<Listed>& rows)
{
    QList<CheckListSql::ListedQuantity> quantities;
    QList<qint64> ids;
    for (const Listed& r : rows) {
        quantities.append({r.quantity, false});
        ids << r.id;
    }
    if (ids.isEmpty())
        return CheckListSql::quantitySum(quantities);
    QSet<qint64> yards;
    Recordset rs = m_conn.execute(CheckListSql::yardRolls(ids));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        yards.insert(rs.field(0).toLongLong());
    for (qsizetype i = 0; i < quantities.size(); ++i)
        quantities[i].yards = yards.contains(ids[i]);
    return CheckListSql::quantitySum(quantities);
}

long long RollList::existing(const QString& idText)
{
    return static_cast<long long>(vb::Val(firstText(CheckListSql::rollId(idText))));
}

RollList::Step RollList::neighbourRoll(long long id, bool backwards, const QString& card)
{
    const QString sql = CheckListSql::neighbourRoll(id, backwards, card, m_settings.machineId);
    Step step;
    if (!sql.isEmpty())
        step.id = static_cast<long long>(vb::Val(firstText(sql)));
    if (step.id == 0)
        step.message = backwards ? u"已经是第一卷了"_s : u"已经是最后卷了"_s;
    return step;
}

QString RollList::latestCard()
{
    try {
        return firstText(CheckListSql::latestCard(m_settings.billTypes));
    } catch (const DbError&) {
        return QString(); // the button then simply finds no card
    }
}

QString RollList::neighbourCard(long long billId, bool backwards)
{
    const QString sql = CheckListSql::neighbourCard(billId, backwards, m_settings.billTypes);
    if (sql.isEmpty())
        return u"0"_s;
    const auto found = static_cast<long long>(vb::Val(firstText(sql)));
    return firstText(CheckListSql::cardCode(found));
}

RollList::Removal RollList::remove(long long id)
{
    Removal done;
    try {
        Transaction t(m_conn);
        Recordset roll = m_conn.execute(CheckListSql::rollForStock(id));
        m_conn.execute(CheckListSql::packingCorrection(id));
        if (m_photos && m_photos->keepsRows())
            m_conn.execute(DefectPhotos::deleteOfRoll(id));
        m_conn.execute(CheckListSql::deleteDefects(id));
        m_conn.executeOnRow(CheckListSql::deleteRoll(id));
        // Only a roll that was booked into a batch has stock to give back.
        const auto batch =
            roll.isOpen() && !roll.eof() ? static_cast<long long>(roll.number(u"batchId"_s)) : 0;
        if (m_settings.postToStock && batch > 0) {
            try {
                m_conn.execute(CheckListSql::reverseStock(batch, roll.number(u"oncount"_s)));
            } catch (const DbError&) {
                done.error = u"error"_s; // rolled back: the roll stays, with its stock
            }
        }
        if (done.error.isEmpty())
            t.commit();
    } catch (const DbError& e) {
        // Deleted at another station meanwhile: what the operator wanted has happened.
        done.gone = e.isRowMissing();
        done.error = done.gone ? u"这卷已被其他工位删除"_s : e.message();
        return done;
    }
    done.gone = done.error.isEmpty();
    return done;
}
