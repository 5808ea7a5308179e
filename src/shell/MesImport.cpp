// The loom-event import: one card per loom and day, one line per product and roll, one progress
// record per event; events are marked in the MES once copied.
#include "shell/MesImport.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "text/Vb.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace MesImport {

namespace {

// Columns of the card query, by position (the statement is fixed, names differ between servers).
enum CardColumn { CardId = 0, Loom = 2, Quantity = 4, WarpLength = 7, Batch = 8, ItemCode = 9,
                  ItemName = 10, ItemSpec = 11, ItemWidth = 12, ItemWeight = 13 };
// Columns of the event query.
enum EventColumn { EventId = 0, EventType = 1, PreviousWorker = 5, CurrentWorker = 6, EventQuantity = 7 };

QString text(const Recordset& rs, int column) { return rs.field(column).toString(); }
QString quotedText(const Recordset& rs, int column) { return SqlText::escape(text(rs, column)); }
QString number(const Recordset& rs, int column) { return SqlText::number(rs.field(column).toDouble()); }

QString cardQuery(const QString& since)
{
    return u" select distinct   id,是否检验,b.织机编号,挡车工,送检数,convert(varchar,写卡时间,23),"
           "a.备注,总经长,卷号 as 批号,产品编号,c.坯布名称,c.原料规格,c.门幅,c.克重  from 生产卡 a"_s +
           u" inner join (select 是否检验,上轴ID,卷号,织机编号,b.姓名 as 挡车工,当前布长/10.0 as "
           u"送检数,"
           "累计产量 as 订单数,事件时间 from 织机事件表 a left join 员工信息 b on "
           "a.挡车工ID=b.编号 "
           "where 事件类型=33) as b on a.id=b.上轴ID "_s +
           u" left join 坯布信息 c on c.坯布编号=a.产品编号"_s +
           u" where isnull(是否检验,0)=0 and  事件时间 >'"_s + SqlText::escape(since) + u'\'';
}

// The first field of the first row, or "" when there is none.
QString firstValue(Connection& conn, const QString& sql)
{
    const Recordset rs = conn.execute(sql);
    return rs.isOpen() && !rs.eof() ? rs.field(0).toString() : QString();
}

QString findOrAddItem(Connection& mill, const Recordset& card)
{
    const QString code = quotedText(card, ItemCode);
    QString id = firstValue(mill, u"select itemid from item where itemcode='"_s + code + u'\'');
    if (!id.isEmpty())
        return id;
    mill.execute(
        u"insert item(itemcode,itemname,itemspec,item5,item6,itemclass,itemtypeid,"
        "itemunitB,itemUnit,itemUnitS,itemUnitL,itemUnitLS,defaultUnit,Price) values ('"_s +
        code + u"','"_s + quotedText(card, ItemName) + u"','"_s + quotedText(card, ItemSpec) +
        u"','"_s + quotedText(card, ItemWidth) + u"','"_s + quotedText(card, ItemWeight) +
        u"','1',1,'米',1,'米',1,'米','米',0);"_s);
    return firstValue(mill, u" SELECT MAX(ITEMID) AS ITEMID from ITEM;"_s);
}

QString findOrAddBill(Connection& mill, const Recordset& card, const QString& cardNo,
                      const QString& since, const QDate& today)
{
    QString id = firstValue(mill, u"select billid from bill where billcode='"_s + cardNo + u'\'');
    if (!id.isEmpty())
        return id;
    mill.execute(u" Insert into Bill(Billcode,companyid,TransactDate,TransactorId,OperatorDate,"
                 "OperatorId,BillType,remark) values ('"_s +
                 cardNo + u"','1','"_s + SqlText::escape(since) + u"','1','"_s +
                 today.toString(u"yyyy-MM-dd"_s) + u"','1','55','"_s + quotedText(card, CardId) +
                 u"-MES同步')"_s);
    return firstValue(mill, u"select max(billid) as billid from bill"_s);
}

// The line's id; created tells whether it was added now.
QString findOrAddLine(Connection& mill, const Recordset& card, const QString& billId,
                      const QString& itemId, bool* created)
{
    const QString batch = quotedText(card, Batch);
    QString id =
        firstValue(mill, u"select billdetailId from billdetail where billid="_s + billId +
                             u" and itemid="_s + itemId + u" and productionsn='"_s + batch + u'\'');
    *created = id.isEmpty();
    if (!id.isEmpty())
        return id;
    mill.execute(u"Insert into BillDetail(BillId,ItemCount,viewcount,taxPercent,sellunitcount,"
                 "viewPrice,UnitPrice,OriganPrice,remark,productionProcess,productionJarno,"
                 "backItem1,itemId,StoreRoomId,productionsn) values ("_s +
                 billId + u',' + number(card, WarpLength) + u',' + number(card, WarpLength) + u',' +
                 number(card, Quantity) + u",1,"_s + u"0,0,0,"_s + u"'','','"_s +
                 quotedText(card, CardId) + u"','"_s + quotedText(card, Loom) + u" ',"_s + itemId +
                 u",16,'"_s + batch + u"')"_s);
    return firstValue(mill, u"select max(BillDetailid) as BillDetailid from BillDetail"_s);
}

// The roll number goes into the event query unquoted, as the MES keeps it as a number; a roll
// number that is not one is quoted so that the statement still reads.
QString batchLiteral(const Recordset& card)
{
    const QString batch = text(card, Batch);
    return vb::IsNumeric(batch) ? batch.trimmed() : SqlText::quoted(batch);
}

QString eventQuery(const Recordset& card)
{
    return u" select id,事件类型,上轴ID,卷号,织机编号,isnull(b.姓名,'') as 之前挡车工,c.姓名 as "
           u"当前挡车工,"
           "当前布长/10.0 as 送检数,累计产量 as 订单数,事件时间 from 织机事件表 a "_s +
           u" left join 员工信息 b on a.挡车工ID=b.编号 left join 员工信息 c on c.编号=a.参数2 "
           "where isnull(是否检验,0)=0 and 事件类型 in (10,11,12,13,14,15,16,22,33) and 上轴ID="_s +
           number(card, CardId) + u" and 卷号="_s + batchLiteral(card) + u"  order by 事件时间"_s;
}

// Marks the event copied, and only while it is unmarked: the scheduled run and an operator's
// 同 at the same time read the same events; the later of the two finds the mark made and
// writes nothing (both transactions roll back), instead of copying the rolls a second time.
void markEvent(Connection& mes, const QString& eventId)
{
    try {
        mes.executeOnRow(u"update 织机事件表 set 是否检验=1 where id="_s + eventId +
                         u" and isnull(是否检验,0)=0"_s);
    } catch (const DbError& e) {
        if (!e.isRowMissing())
            throw;
        throw DbError(
            u"织机事件 %1 已被另一次同步导入，这次同步没有写入任何记录；请再同步一次"_s.arg(
                eventId));
    }
}

void importEvents(Connection& mill, Connection& mes, const Recordset& card, const QString& cardNo,
                  const QString& lineId)
{
    Recordset events = mes.execute(eventQuery(card));
    // Doffs and hand-overs report the length since the beam went on; the roll is the difference.
    double last = 0;
    for (events.moveFirst(); !events.eof(); events.moveNext()) {
        const QString type = text(events, EventType);
        const double length = events.field(EventQuantity).toDouble();
        double quantity = length;
        QString worker = text(events, PreviousWorker);
        if (type == u"22" || type == u"33") {
            quantity = length - last;
            last = length;
            if (worker.isEmpty())
                worker = text(events, CurrentWorker);
        }
        const QString eventId = number(events, EventId);
        mill.execute(u" Insert into BillStatusDetail(barcode,billstatusid,viewcount,billstatus,"
                     "remark,usercode,billdetailid) values ("_s +
                     u'\'' + cardNo + u"',0,"_s + vb::Format(quantity, u"0.00") + u",'"_s +
                     SqlText::escape(type) + u"','"_s + u"EMS同步-"_s + eventId + u"' ,'"_s +
                     SqlText::escape(worker) + u"',"_s + lineId + u')');
        markEvent(mes, eventId);
    }
}

// Returns 1 when a card line was created for this card row.
int importCard(Connection& mill, Connection& mes, const Recordset& card, const QString& since,
               const QDate& today)
{
    const QString itemId = findOrAddItem(mill, card);
    // All events of one loom imported on one day share one card.
    const QString cardNo = today.toString(u"yyMMdd"_s) + u'-' + quotedText(card, Loom);
    const QString billId = findOrAddBill(mill, card, cardNo, since, today);
    bool created = false;
    const QString lineId = findOrAddLine(mill, card, billId, itemId, &created);
    importEvents(mill, mes, card, cardNo, lineId);
    return created ? 1 : 0;
}

} // namespace

QString syncMesEvents(Connection& mill, Connection& mes, const QString& since, const QDate& today)
{
    Recordset cards = mes.execute(cardQuery(since));
    if (!cards.isOpen() || cards.eof())
        return u"0"_s;
    Transaction millWork(mill);
    // The marks commit after the mill's rows: a failed run marks nothing and the next run retries.
    std::optional<Transaction> mesMarks;
    if (&mes != &mill)
        mesMarks.emplace(mes);
    int created = 0;
    for (cards.moveFirst(); !cards.eof(); cards.moveNext())
        created += importCard(mill, mes, cards, since, today);
    millWork.commit();
    if (mesMarks)
        mesMarks->commit();
    return QString::number(created);
}

} // namespace MesImport
