// The roll list's text keeps the blanks the mill's stored list overrides are written against:
// further conditions are appended after "where 1=1 ".
#include "stations/inspection/CheckListSql.h"

#include "shell/SqlText.h"
#include "text/Vb.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace CheckListSql {

namespace {

// The card also appears inside a comment of the roll query; a "*/" typed into the card field
// must not end that comment early.
QString commented(const QString& card)
{
    QString t = sqlText(card);
    return t.replace(u"*/"_s, u"* /"_s);
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
    return u"SELECT top 200 a.id ,a.checkcode as 卷号,a.billcode as 生产单号,d.itemname as 品名,c.productionColor as 颜色,d.item3 as 门幅,"_s +
           u" a.taskno as 色号,a.item1 as 克重,a.item2 as 缸号,a.oncount as 数量,a.grade as 等级,a.checkuserCode as 工号,a.remark as 备注 "_s +
           u" FROM  checkinfo a "_s +
           u" left join billdetail c on c.billdetailid=a.billdetailid "_s +
           u" left join item d on d.itemid=c.itemid"_s + u" where 1=1 "_s;
}

QString yardRolls(const QList<qint64>& ids)
{
    QStringList list;
    for (qint64 id : ids)
        list << QString::number(id);
    // The frame stores the yard's length in metres as the roll's unit factor.
    return u"select id from checkinfo where checkcount = 0.9144 and id in ("_s + list.join(u',') +
           u')';
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
        return u"数量:"_s + vb::CStr(sums[0]);
    QString text = u"数量:"_s;
    if (found[0])
        text += vb::CStr(sums[0]) + u"米 "_s;
    return text + vb::CStr(sums[1]) + u"码"_s;
}

QString listQuery(const QString& stored, const Filters& f, const QString& machineId)
{
    QString base = stored.isEmpty() ? builtInBase() : stored;
    base.replace(u"{machineId}"_s, machineId);

    // In the order of the filter row; the last filled ordering field decides the order.
    const Condition conditions[] = {
        {&f.card, "a.billcode", false, true},    {&f.color, "a.taskno", false, true},
        {&f.dyeLot, "a.item2", false, true},     {&f.rollNo, "a.checkcode", true, true},
        {&f.worker, "a.checkuserCode", true, true}, {&f.remark, "a.remark", false, false},
    };
    QString where;
    QString order = u" ORDER BY a.id desc "_s;
    for (const Condition& c : conditions) {
        if (c.text->isEmpty())
            continue;
        const QString column = QString::fromLatin1(c.column);
        where += u" and "_s + column + u"  like '"_s + (c.startsWith ? QString() : u"%"_s) +
                 sqlText(*c.text) + u"%'"_s;
        if (c.orders)
            order = u" ORDER BY "_s + column + u' ';
    }
    where += u" and convert(varchar,a.createdate,23) between   '"_s +
             f.from.toString(u"yyyy-MM-dd"_s) + u"' and '"_s + f.to.toString(u"yyyy-MM-dd"_s) +
             u"'"_s;
    return base + where + order;
}

QString rollForStock(long long rollId)
{
    return u"select itemid,batchId,oncount from checkinfo where id="_s + QString::number(rollId);
}

QString packingCorrection(long long rollId)
{
    return u" Update billStatus set amount = amount-checkinfo.checkcount "_s +
           u" From billStatus"_s +
           u" left Join checkinfo  on BILLSTATUS.billcode=checkinfo.billcode"_s +
           u" where checkinfo.id="_s + QString::number(rollId) + u" and billstatus='包装'"_s;
}

QString deleteDefects(long long rollId)
{
    return u"delete CheckDetail where checkid="_s + QString::number(rollId);
}

QString deleteRoll(long long rollId)
{
    return u"delete CheckInfo where id="_s + QString::number(rollId);
}

QString reverseStock(long long batchId, double quantity)
{
    // Parenthesised: a negative quantity must not turn "--" into a comment.
    return u"update iteminBatch set itemcount=itemcount-("_s + sqlNum(quantity) +
           u"),productionNumber=productionNumber-1 where id="_s + QString::number(batchId);
}

QString storedList()
{
    return u"select ReportSQL from Dictionary where ITEMTYPE='listSQL' and "
           "ItemValues='MirelQueryCheck'"_s;
}

QString neighbourRoll(long long id, bool backwards, const QString& card, const QString& machine)
{
    QString sql;
    if (!backwards) {
        if (id == 0)
            return QString();
        sql = u" select isnull(min(id),0) from checkinfo where /*billcode='"_s + commented(card) +
              u"'and*/ id> "_s + QString::number(id);
    } else if (id != 0) {
        sql = u" select isnull(max(id),0) from checkinfo where /*billcode='"_s + commented(card) +
              u"' and */ id< "_s + QString::number(id);
    } else {
        sql = u" select isnull(max(id),0) from checkinfo where 1=1 "_s;
    }
    if (!card.isEmpty())
        sql += u" and billcode='"_s + sqlText(card) + u"'"_s;
    return sql + u" and machineId='"_s + sqlText(machine) + u"'"_s;
}

QString latestCard(const QString& billTypes)
{
    return u" select top 1 billcode from bill where billtype in ("_s + billTypes +
           u")  order by billid desc"_s;
}

QString neighbourCard(long long billId, bool backwards, const QString& billTypes)
{
    const QString base =
        u" select isnull(%1(billid),0) from bill where billtype in ("_s + billTypes;
    if (!backwards) {
        if (billId == 0)
            return QString();
        return base.arg(u"min"_s) + u")  and  billid> "_s + QString::number(billId);
    }
    if (billId != 0)
        return base.arg(u"max"_s) + u")  and billid< "_s + QString::number(billId);
    return base.arg(u"max"_s) + u")  "_s;
}

QString cardCode(long long billId)
{
    return u"select billcode from bill where billid="_s + QString::number(billId);
}

QString rollId(const QString& idText)
{
    return u" select id  from checkinfo where id="_s + sqlNum(vb::Val(idText));
}

} // namespace CheckListSql
