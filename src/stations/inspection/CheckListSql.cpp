// The roll list's text keeps the blanks the mill's stored list overrides are written against:
// further conditions are appended after "where 1=1 ".
#include "stations/inspection/CheckListSql.h"

#include "shell/SqlText.h"
#include "text/Vb.h"

#include <QStringList>

namespace CheckListSql {

namespace {

// The card also appears inside a comment of the roll query; a "*/" typed into the card field
// must not end that comment early.
QString commented(const QString& card)
{
    QString t = sqlText(card);
    return t.replace(QStringLiteral("*/"), QStringLiteral("* /"));
}

struct Condition {
    const QString* text;
    const char* column;
    bool startsWith;
    bool orders;
};

} // namespace

QString builtInBase()
{
    return QStringLiteral("SELECT top 200 a.id ,a.checkcode as 卷号,a.billcode as 生产单号,d.itemname as 品名,c.productionColor as 颜色,d.item3 as 门幅,")
         + QStringLiteral(" a.taskno as 色号,a.item1 as 克重,a.item2 as 缸号,a.oncount as 数量,a.grade as 等级,a.checkuserCode as 工号,a.remark as 备注 ")
         + QStringLiteral(" FROM  checkinfo a ")
         + QStringLiteral(" left join billdetail c on c.billdetailid=a.billdetailid ")
         + QStringLiteral(" left join item d on d.itemid=c.itemid")
         + QStringLiteral(" where 1=1 ");
}

QString yardRolls(const QList<qint64>& ids)
{
    QStringList list;
    for (qint64 id : ids)
        list << QString::number(id);
    // The frame stores the yard's length in metres as the roll's unit factor.
    return QStringLiteral("select id from checkinfo where checkcount = 0.9144 and id in (") +
           list.join(u',') + u')';
}

QString quantitySum(const QList<ListedQuantity>& rows)
{
    double sums[2] = {0, 0};
    bool found[2] = {false, false};
    for (const ListedQuantity& r : rows) {
        sums[r.yards] += r.quantity;
        found[r.yards] = true;
    }
    if (!found[1])
        return QStringLiteral("数量:") + vb::CStr(sums[0]);
    QString text = QStringLiteral("数量:");
    if (found[0])
        text += vb::CStr(sums[0]) + QStringLiteral("米 ");
    return text + vb::CStr(sums[1]) + QStringLiteral("码");
}

QString listQuery(const QString& stored, const Filters& f, const QString& machineId)
{
    QString base = stored.isEmpty() ? builtInBase() : stored;
    base.replace(QStringLiteral("{machineId}"), machineId);

    // In the order of the filter row; the last filled ordering field decides the order.
    const Condition conditions[] = {
        {&f.card, "a.billcode", false, true},    {&f.color, "a.taskno", false, true},
        {&f.dyeLot, "a.item2", false, true},     {&f.rollNo, "a.checkcode", true, true},
        {&f.worker, "a.checkuserCode", true, true}, {&f.remark, "a.remark", false, false},
    };
    QString where;
    QString order = QStringLiteral(" ORDER BY a.id desc ");
    for (const Condition& c : conditions) {
        if (c.text->isEmpty())
            continue;
        const QString column = QString::fromLatin1(c.column);
        where += QStringLiteral(" and ") + column + QStringLiteral("  like '") + (c.startsWith ? QString() : QStringLiteral("%"))
               + sqlText(*c.text) + QStringLiteral("%'");
        if (c.orders)
            order = QStringLiteral(" ORDER BY ") + column + u' ';
    }
    where += QStringLiteral(" and convert(varchar,a.createdate,23) between   '") + f.from.toString(QStringLiteral("yyyy-MM-dd"))
           + QStringLiteral("' and '") + f.to.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("'");
    return base + where + order;
}

QString rollForStock(long long rollId)
{
    return QStringLiteral("select itemid,batchId,oncount from checkinfo where id=") + QString::number(rollId);
}

QString packingCorrection(long long rollId)
{
    return QStringLiteral(" Update billStatus set amount = amount-checkinfo.checkcount ")
         + QStringLiteral(" From billStatus")
         + QStringLiteral(" left Join checkinfo  on BILLSTATUS.billcode=checkinfo.billcode")
         + QStringLiteral(" where checkinfo.id=") + QString::number(rollId) + QStringLiteral(" and billstatus='包装'");
}

QString deleteDefects(long long rollId)
{
    return QStringLiteral("delete CheckDetail where checkid=") + QString::number(rollId);
}

QString deleteRoll(long long rollId)
{
    return QStringLiteral("delete CheckInfo where id=") + QString::number(rollId);
}

QString reverseStock(long long batchId, double quantity)
{
    // Parenthesised: a negative quantity must not turn "--" into a comment.
    return QStringLiteral("update iteminBatch set itemcount=itemcount-(") + sqlNum(quantity)
         + QStringLiteral("),productionNumber=productionNumber-1 where id=") + QString::number(batchId);
}

QString storedList()
{
    return QStringLiteral("select ReportSQL from Dictionary where ITEMTYPE='listSQL' and "
                          "ItemValues='MirelQueryCheck'");
}

QString neighbourRoll(long long id, bool backwards, const QString& card, const QString& machine)
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

QString latestCard(const QString& billTypes)
{
    return QStringLiteral(" select top 1 billcode from bill where billtype in (") + billTypes
         + QStringLiteral(")  order by billid desc");
}

QString neighbourCard(long long billId, bool backwards, const QString& billTypes)
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

QString cardCode(long long billId)
{
    return QStringLiteral("select billcode from bill where billid=") + QString::number(billId);
}

QString rollId(const QString& idText)
{
    return QStringLiteral(" select id  from checkinfo where id=") + sqlNum(vb::Val(idText));
}

} // namespace CheckListSql
