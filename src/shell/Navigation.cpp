// The neighbour lookups run on the shared connection; roll steps stay on this station's machine.
#include "shell/Navigation.h"

#include "shell/SqlText.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"

namespace Navigation {

namespace {

QString firstText(Connection& conn, const QString& sql)
{
    Recordset rs = SysUtil::openRecordset(conn, sql);
    return SysUtil::recordsetHasRows(rs) ? rs.text(0) : QString();
}

// The card also appears inside a comment of the roll query; a "*/" typed into the card field
// must not end that comment early.
QString commented(const QString& card)
{
    QString t = sqlText(card);
    return t.replace(QStringLiteral("*/"), QStringLiteral("* /"));
}

} // namespace

QString neighbourRollSql(long long id, bool backwards, const QString& card, const QString& machine)
{
    QString sql;
    if (!backwards) {
        if (id == 0)
            return QString();
        sql = QStringLiteral(" select isnull(min(id),0) from checkinfo where /*billcode='") + commented(card)
            + QStringLiteral("'and*/ id> ") + QString::number(id);
    } else if (id != 0) {
        sql = QStringLiteral(" select isnull(max(id),0) from checkinfo where /*billcode='") + commented(card)
            + QStringLiteral("' and */ id< ") + QString::number(id);
    } else {
        sql = QStringLiteral(" select isnull(max(id),0) from checkinfo where 1=1 ");
    }
    if (!card.isEmpty())
        sql += QStringLiteral(" and billcode='") + sqlText(card) + QStringLiteral("'");
    return sql + QStringLiteral(" and machineId='") + sqlText(machine) + QStringLiteral("'");
}

QString latestCardSql(const QString& billTypes)
{
    return QStringLiteral(" select top 1 billcode from bill where billtype in (") + billTypes
         + QStringLiteral(")  order by billid desc");
}

QString neighbourCardSql(long long billId, bool backwards, const QString& billTypes)
{
    const QString base = QStringLiteral(" select isnull(%1(billid),0) from bill where billtype in (") + billTypes;
    if (!backwards) {
        if (billId == 0)
            return QString();
        return base.arg(QStringLiteral("min")) + QStringLiteral(")  and  billid> ") + QString::number(billId);
    }
    if (billId != 0)
        return base.arg(QStringLiteral("max")) + QStringLiteral(")  and billid< ") + QString::number(billId);
    return base.arg(QStringLiteral("max")) + QStringLiteral(")  ");
}

QString cardCodeSql(long long billId)
{
    return QStringLiteral("select billcode from bill where billid=") + QString::number(billId);
}

QString rollIdSql(const QString& idText)
{
    return QStringLiteral(" select id  from checkinfo where id=") + sqlNum(vb::Val(idText));
}

QString cardProcessRowsSql(const QString& card)
{
    return QStringLiteral(" select a.checkinfoid,a.billprocount,c.invoice from billprodetail a left join billdetail b on a.billdetailid=b.billdetailid")
         + QStringLiteral(" left join  bill c on c.billid=b.billid   where c.billcode='") + sqlText(card) + QStringLiteral("'");
}

QString machineNumber()
{
    return SysUtil::readIni(QStringLiteral("MIREL"), QStringLiteral("menchineId"), QStringLiteral("001"),
                            QStringLiteral("/mirel.ini"));
}

long long neighbourRollId(Connection& conn, long long id, bool backwards, const QString& card)
{
    const QString sql = neighbourRollSql(id, backwards, card, machineNumber());
    if (sql.isEmpty())
        return 0;
    return static_cast<long long>(vb::Val(firstText(conn, sql)));
}

QString latestCardCode(Connection& conn, const QString& billTypes)
{
    try {
        return firstText(conn, latestCardSql(billTypes));
    } catch (const DbError&) {
        return QString(); // the button then simply finds no card
    }
}

QString neighbourCardCode(Connection& conn, long long billId, bool backwards, const QString& billTypes)
{
    const QString sql = neighbourCardSql(billId, backwards, billTypes);
    if (sql.isEmpty())
        return QStringLiteral("0");
    const long long found = static_cast<long long>(vb::Val(firstText(conn, sql)));
    return firstText(conn, cardCodeSql(found));
}

QString rollIdIfExists(Connection& conn, const QString& idText)
{
    Recordset rs = SysUtil::openRecordset(conn, rollIdSql(idText));
    return SysUtil::recordsetHasRows(rs) ? rs.text(QStringLiteral("id")) : QStringLiteral("0");
}

Recordset cardProcessRows(Connection& conn, const QString& card)
{
    return SysUtil::openRecordset(conn, cardProcessRowsSql(card));
}

} // namespace Navigation
