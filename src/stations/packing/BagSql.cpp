// The packing table's statements, as the order system's database expects them.
#include "stations/packing/BagSql.h"

#include "db/SqlText.h"

using namespace Qt::StringLiterals;

namespace BagSql {

QString findMark(const QString& id)
{
    return u" Select itemid from checkinfo where id="_s + id;
}

QString showMark(const QString& id)
{
    return u"SELECT  'check'+ convert(  varchar ,a.id ) as ID,a.checkcode as 卷号,a.billcode as 生产单号,d.itemname as 品名,"_s
           u" d.itemspec as 规格,d.itemcode as 编码,c.productionColor as 颜色,d.item3 as 门幅, a.taskno as 批号,a.item5 as 染号,"_s
           u" a.item1 as 克重,a.item2 as 款号,a.oncount as 数量,d.item1 as 成分,d.item2 as 克重,a.taskno as 批号,"_s
           u" a.grade as 等级,a.remark as 备注,case when batchid>0 then '已入库' else '未入库' end as 是否入库,(a.oncount-a.itemcount) as 余数,"_s
           u" a.item3 as 机台号,checkusercode as 检验工  FROM  checkinfo a"_s
           u" left join billdetail c on c.billdetailid=a.billdetailid"_s
           u" left join item d on d.itemid=c.itemid where 1=1 and a.id="_s +
           id + u"   order by a.id"_s;
}

QString packingList(const QString& billCode)
{
    return u" select a.checkinfoid,a.billprocount,c.invoice from billprodetail a left join billdetail b on a.billdetailid=b.billdetailid"_s
           u" left join  bill c on c.billid=b.billid   where c.billcode='"_s +
           SqlText::escape(billCode) + u"'"_s;
}

QString saveMark(double quantity, const QString& inspector, const QString& machine,
                 const QString& id)
{
    return u" Update checkinfo set oncount="_s + SqlText::number(quantity) + u", checkusercode='"_s +
           SqlText::escape(inspector) + u"' , item3='"_s + SqlText::escape(machine) +
           u"' where id="_s + id;
}

QString rollBox(double id)
{
    return u"select isnull(bagNumber,'') from checkinfo where id = "_s + SqlText::number(id);
}

QString removeRoll(double id, const QString& bagNumber)
{
    return u"update checkinfo set bagNumber='' where id = "_s + SqlText::number(id) +
           u" and bagNumber='"_s + SqlText::escape(bagNumber) + u"'"_s;
}

QString loadBox(const QString& bagNumber)
{
    return u"SELECT  bagnumber,bagweight,bagremark,id,itemname,itemspec,oncount from checkinfo a left join item b on a.itemid=b.itemid where bagnumber='"_s +
           SqlText::escape(bagNumber) + u"'"_s;
}

QString saveBag(const BagRow& row, double weight, const QDateTime& when, const QString& machine)
{
    return u"update checkinfo set bagNumber= '"_s + SqlText::escape(row.bagNumber) + u"',"_s +
           u" bagremark='"_s + SqlText::escape(row.remark) + u"',"_s + u" bagWeight="_s +
           SqlText::number(weight) + u","_s + u" bagTime='"_s + SqlText::dateTime(when) +
           u"',"_s + u" bagMachine='"_s + SqlText::escape(machine) + u"'"_s + u" where id = "_s +
           SqlText::number(row.id);
}

QString claimPoolJob()
{
    // SQL Server: the OUTPUT clause hands back the row the DELETE took, under the delete's lock,
    // so two packing tables never both get it. A foreign job at the head stays where it is and
    // blocks the pool, as it always did, until its own printer takes it.
    // OUTPUT goes INTO a table variable: SQL Server refuses a bare OUTPUT on a table with an
    // enabled trigger, and the mill owns the schema (error 334).
    return u"declare @job table (ID int, PrintType nvarchar(200), PID nvarchar(200));"_s
           u" delete top (1) from printPool output deleted.ID,deleted.PrintType,deleted.PID into @job"_s
           u" where id=(select min(id) from printPool) and PrintType in ('箱唛','匹唛','单据');"_s
           u" select ID,PrintType,PID from @job"_s;
}

} // namespace BagSql
