// Statement texts of the mark-label station; blanks inside the fragments are kept as the mill's
// stored SQL expects them, operator texts have their quotes doubled.
#include "stations/marklabel/MaitouSql.h"

#include "shell/SqlText.h"

using namespace Qt::StringLiterals;

namespace MaitouSql {

QString palletList(const QString& stored, const QString& pallet, const QString& machineId)
{
    QString sql = stored.trimmed().isEmpty()
        ? u"SELECT top 200 A.ID, a.item9 as 规格,a.item1 as 色别,a.taskno as 批号,a.bagnumber as 板号,a.checkcode as 箱号,a.cutcount as 毛重,a.oncount as 净重,a.item6 as 筒数,a.item13 as 筒色,a.item10 as 等级 , "_s
              + u" a.item4 as 箱重,a.item7 as 筒重,a.item11 as 捻向,a.item8 as 品种,a.item3 as 机台, checkusercode as 工号 "_s
              + u" FROM  checkinfo a "_s + u" left join item d on d.itemid=a.itemid"_s
              + u" where 1=1 and machineId like '%{machineId}%' "_s
              + u" and a.bagnumber  = '"_s + sqlText(pallet) + u"'"_s + u" ORDER BY a.id desc "_s
        : QString(stored).replace(u'?', sqlText(pallet));
    return sql.replace(u"{machineId}"_s, sqlText(machineId));
}

QString rollListBase()
{
    return u"SELECT top 200 a.id ,convert(varchar,a.createdate,23)  as 日期,a.checkcode as 卷号,a.item8 as 品名,a.item9 as 颜色,"_s
           + u" a.taskno as 缸号,a.item1 as 克重,a.item2 as 款号,a.oncount as 数量,a.grade as 等级,a.checkuserCode as 工号,a.remark as 备注 "_s
           + u" FROM  checkinfo a "_s + u" left join item d on d.itemid=a.itemid"_s + u" where 1=1 "_s;
}

QString item5Lookup(const QString& lineId)
{
    return u" select backitem2 from billdetail where billdetailid="_s + lineId;
}

QString loadItem(const QString& itemId) { return u"SELECT *  FROM Item Where itemid = "_s + itemId; }

QString maxItemType() { return u" select max(itemtypeId) from itemtype;"_s; }

QString findAutoItem(const QString& name, const QString& spareB, const QString& colour)
{
    return u" select itemid from item where itemname ='"_s + sqlText(name) + u"' and item5='"_s
           + sqlText(spareB) + u"' and item6='"_s + sqlText(colour) + u"'"_s;
}

QString insertAutoItem(const QString& name, const QString& itemType, const QString& spareB,
                       const QString& colour)
{
    // Code "0001" marks the articles made at the packing table for the office to complete;
    // units are metres like the packages, prices and stock limits stay 0 until then.
    return u"Insert into item ("_s + u" itemcode,itemname, itemtypeid,itemspec,"_s
           + u" ProduceArea, price, minStock, maxStock,"_s + u" remark,isstop, itemunitB,itemunit,"_s
           + u" itemUnitS, itemUnitL, itemUnitLS,"_s + u" stockPrice, price1, price2, price3,"_s
           + u" defaultUnit, itembarcode,pinyin,item5,item6)"_s + u" values ('"_s + u"0001','"_s
           + sqlText(name) + u"',"_s + itemType + u",'','',0,0,0,'',0,'米',1,'米',1,'米',0,0,0,0,'米','','','"_s
           + sqlText(spareB) + u"','"_s + sqlText(colour) + u"')"_s;
}

QString lastPallet(const QString& machineId)
{
    // A packing table's box number is written onto inspected rolls with the packing time; the
    // packages and boxes of these stations carry their pallet number without one.
    return u"select top 1 bagnumber, item2 from checkinfo where machineId='"_s +
           sqlText(machineId) + u"' and isnull(bagnumber,'')<>'' and bagTime is null order by id desc"_s;
}

QString packageSaved(const QString& number, const QString& pallet, const QString& machineId,
                     double lineId)
{
    return u"select count(*) from checkinfo where checkcode='"_s + sqlText(number)
           + u"' and isnull(bagnumber,'')='"_s + sqlText(pallet) + u"' and machineId='"_s
           + sqlText(machineId) + u"' and isnull(billdetailid,0)="_s + sqlNum(lineId);
}

QString rollNumber(long long id)
{
    return u"select checkcode from checkinfo where id="_s + QString::number(id);
}

} // namespace MaitouSql
