#include "stations/inspection/InspectionCard.h"

#include "stations/inspection/CheckSql.h"
#include "text/Vb.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace InspectionCard {

namespace {

QString nonNullNumber(const DbValue& v) { return v.isNull() ? u"0"_s : v.toString(); }

// A sum of metres or kilograms as the inspector reads it: the embedded database adds in binary
// floating point (120.3 + 29.56 comes back as 149.85999999999999). No rolls yet: 0 of them.
QString amountText(const DbValue& v) { return vb::CStr(v.isNull() ? 0.0 : v.toDouble()); }

} // namespace

QString cleanNumber(const QString& text)
{
    QString t = text;
    while (t.endsWith(u'\r') || t.endsWith(u'\n'))
        t.chop(1);
    return t;
}

QString lookupSql(const QString& stored, const QString& billTypes, const QString& card)
{
    return stored.isEmpty() ? CheckSql::cardLookup(billTypes, card)
                            : CheckSql::storedCardLookup(stored, card);
}

QList<std::pair<QString, QString>> lines(Recordset& rs)
{
    QList<std::pair<QString, QString>> list;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        list.append({rs.text(u"品种"_s) + u'-' + rs.text(u"颜色"_s) + u'-' + rs.text(u"productionSN"_s),
                     rs.text(u"BillDetailId"_s)});
    return list;
}

Line line(const Recordset& rs)
{
    Line l;
    l.inspect = nonNullNumber(rs.field(u"送检数量"_s));
    l.quantity = rs.text(u"数量"_s);
    l.order = nonNullNumber(rs.field(u"生产单号"_s));
    l.id = rs.text(u"BillDetailId"_s);
    l.itemId = rs.text(u"itemid"_s);
    l.billId = rs.text(u"billid"_s);
    l.remark = rs.text(u"单据备注"_s);
    l.customer = u"客户："_s + rs.text(u"客户"_s) + u"  订单号："_s + rs.text(u"生产单号"_s)
                 + u"  交期："_s + rs.text(u"交货日期"_s);
    l.article = u"品种："_s + rs.text(u"品种"_s) + u"  规格："_s + rs.text(u"规格"_s) + u"  颜色："_s
                + rs.text(u"颜色"_s) + u" 数量:"_s + rs.text(u"数量"_s) + u"  备注："_s
                + rs.text(u"备注"_s);
    return l;
}

QList<std::pair<int, QString>> presets(const QString& fill, const Recordset& rs, int fieldCount,
                                       const std::function<bool(int)>& kept)
{
    QList<std::pair<int, QString>> set;
    for (const QString& item : fill.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u'|');
        const int index = int(vb::Val(parts[0]));
        if (parts.size() < 2 || index < 0 || index >= fieldCount || !rs.hasField(parts[1].trimmed())
            || (kept && kept(index)))
            continue;
        set.append({index, rs.text(parts[1].trimmed())});
    }
    return set;
}

History history(Recordset& rs)
{
    History h;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString status = rs.text(u"billstatus"_s).trimmed();
        if (status == u"22" || status == u"33") {
            h.workerCodes += rs.text(u"usercode"_s) + u',';
            h.workers.append({rs.text(u"usercode"_s), std::abs(rs.number(u"viewcount"_s))});
        } else {
            h.marks.append(rs.number(u"viewcount"_s));
        }
    }
    return h;
}

QString lineTotals(const Recordset& rs, const QString& inspect, const QString& quantity, bool byWeight)
{
    const QString after = byWeight ? amountText(rs.field(u"重量"_s))
                                   : vb::CStr(vb::Val(quantity) - rs.field(0).toDouble());
    return u" 送检数量："_s + inspect + u" 已检A品数量："_s + amountText(rs.field(0)) + u'/' + after
           + u" 匹数："_s + rs.text(1);
}

QString cardTotals(const Recordset& rs)
{
    return u" 已检数量："_s + amountText(rs.field(0)) + u'/' + amountText(rs.field(u"重量"_s))
           + u" 匹数："_s + rs.text(1);
}

} // namespace InspectionCard
