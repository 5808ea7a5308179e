// Statement texts of the inspection station. Blanks inside the fragments are kept as the mill's
// stored SQL and reports expect them; operator texts have their quotes doubled.
#include "stations/inspection/CheckSql.h"

#include "shell/SqlText.h"
#include "stations/inspection/CheckGrading.h"

namespace CheckSql {

namespace {
QString q(const QString& text) { return sqlText(text); }
} // namespace

QString cardLookup(const QString& billTypes, const QString& card)
{
    return QStringLiteral("SELECT cast(b.billid as varchar) as ID,b.billid,")
         + QStringLiteral(" CONVERT(varchar,b.transactdate,23) as 开卡日期,CONVERT(varchar,b.contractEndDate,23) as 交货日期,b.BillCode as 凭证号,b.relateorder as 订单号,")
         + QStringLiteral(" dbo.getDictionary('BillType',b.BillType) as 凭证类型,b.remark as 单据备注,")
         + QStringLiteral(" a.productionDateId as 生产单号,  d.companyName 客户,isnull(a.productionSN,'') as productionSN,a.productionJarNo,a.productionProcess,")
         + QStringLiteral(" f.itemName as 品种,f.itemspec as 规格,a.productionColor as 颜色,a.viewCount as 数量,a.TaxPercent as 送检数量, ")
         + QStringLiteral(" g.UserName as 开卡人,a.remark as 备注,BillDetailId,a.itemid,isNull(backItem1,'') as 款号,a.productionJarno as 染号,f.*,a.* ")
         + QStringLiteral("  FROM BillDetail a left join Bill b on a.billId=b.BillId")
         + QStringLiteral(" left join Company d on d.companyId=b.companyId")
         + QStringLiteral(" left join item f on a.itemid=f.itemid")
         + QStringLiteral(" left join UserInfo g on b.transactorId=g.UserID")
         + QStringLiteral(" Where b.billtype in(") + billTypes
         + QStringLiteral(") /*And b.AssessorID > 0 */ and b.BillCode='") + q(card) + QStringLiteral("'");
}

QString storedCardLookup(const QString& stored, const QString& card)
{
    QString sql = stored;
    return sql.replace(u'?', q(card));
}

QString progressHistory(const QString& lineId)
{
    return QStringLiteral("select viewcount,billstatus,usercode from billstatusdetail where billdetailid=")
         + lineId + QStringLiteral(" order by id desc");
}

QString lineTotals(const QString& firstGrade, long long lineId)
{
    return QStringLiteral("SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where grade='")
         + q(firstGrade) + QStringLiteral("' and  BillDetailId =") + QString::number(lineId);
}

QString cardTotals(const QString& card)
{
    return QStringLiteral("SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where billCode ='")
         + q(card) + QStringLiteral("'");
}

QString insertRoll(const Roll& r, const QString& extraColumns, const QString& extraValues)
{
    const auto t = [](const QString& s) { return QStringLiteral("'") + q(s) + QStringLiteral("'"); };
    QStringList values = {t(r.billCode), sqlNum(r.billDetailId), sqlNum(r.itemId), t(r.checkCode),
                          sqlNum(r.onCount), sqlNum(r.checkCount), sqlNum(r.cutCount),
                          sqlNum(r.patchCount), t(r.grade), t(r.machineId), t(r.userCode),
                          t(r.taskno), t(r.remark)};
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13})
        values << t(r.items[i]);
    values << t(r.items[5]);
    if (!extraValues.isEmpty())
        values << extraValues;
    values << t(r.today);
    return QStringLiteral("Insert into checkInfo (billCode,billdetailId,itemid,checkCode,onCount,checkcount,cutcount,patchcount,grade,machineId,checkUsercode,taskno,remark,item1,item2,item3,item4,item6,item7,")
         + QStringLiteral("item8,item9,item10,item11,item12,item13,")
         + QStringLiteral(" item5,") + extraColumns + QStringLiteral("createDate) values( ")
         + values.join(u',') + QStringLiteral(")");
}

QString updateRoll(const Roll& r, long long id, const QString& extraSets, const QString& dateSet)
{
    const auto t = [](const QString& s) { return q(s); };
    return QStringLiteral("Update CheckInfo set  billcode = '") + t(r.billCode) + QStringLiteral("',")
         + QStringLiteral("  checkCode = '") + t(r.checkCode) + QStringLiteral("',")
         + QStringLiteral("  taskno = '") + t(r.taskno) + QStringLiteral("',")
         + QStringLiteral("  onCount = ") + sqlNum(r.onCount) + QStringLiteral(",")
         + QStringLiteral("  checkCount = ") + sqlNum(r.checkCount) + QStringLiteral(",")
         + QStringLiteral("  billDetailId = ") + sqlNum(r.billDetailId) + QStringLiteral(",")
         + QStringLiteral("  itemid = ") + sqlNum(r.itemId) + QStringLiteral(",")
         + QStringLiteral("  grade = '") + t(r.grade) + QStringLiteral("',")
         + QStringLiteral("  item1 = '") + t(r.items[1]) + QStringLiteral("',")
         + QStringLiteral("  item2 = '") + t(r.items[2]) + QStringLiteral("',")
         + QStringLiteral("  cutcount = ") + sqlNum(r.cutCount) + QStringLiteral(",")
         + QStringLiteral("  patchcount = ") + sqlNum(r.patchCount) + QStringLiteral(",")
         + QStringLiteral("  item3 = '") + t(r.items[3]) + QStringLiteral("',  item4 = '") + t(r.items[4]) + QStringLiteral("',")
         + QStringLiteral("  item6 = '") + t(r.items[6]) + QStringLiteral("',  item7 = '") + t(r.items[7]) + QStringLiteral("',")
         + QStringLiteral("  item8 = '") + t(r.items[8]) + QStringLiteral("',  item9 = '") + t(r.items[9]) + QStringLiteral("',")
         + QStringLiteral("  item10 = '") + t(r.items[10]) + QStringLiteral("',  item11 = '") + t(r.items[11]) + QStringLiteral("',")
         + QStringLiteral("  item12 = '") + t(r.items[12]) + QStringLiteral("',  item13 = '") + t(r.items[13]) + QStringLiteral("',")
         + QStringLiteral("  checkUsercode = '") + t(r.userCode) + QStringLiteral("',")
         + QStringLiteral("  remark='") + t(r.remark) + QStringLiteral("',")
         + QStringLiteral("  item5 ='") + t(r.items[5]) + QStringLiteral("',")
         + QStringLiteral("  machineId = '") + t(r.machineId) + QStringLiteral("',") + extraSets
         + (dateSet.isEmpty() ? QStringLiteral("  createDate = '") + t(r.today) + QStringLiteral("'")
                              : dateSet)
         + QStringLiteral(" where id = ") + QString::number(id);
}

QString deleteDefects(long long rollId)
{
    return QStringLiteral("DELETE checkDetail where checkid=") + QString::number(rollId);
}

QString oldQuantity(long long rollId)
{
    return QStringLiteral("SELECT isnull(SUM(oncount),0) FROM checkInfo where id = ") + QString::number(rollId);
}

QString lastIdentity() { return QStringLiteral("select SCOPE_IDENTITY(); "); }

QString insertDefect(long long rollId, const QStringList& cols, const QString& today)
{
    return insertDefect(QString::number(rollId), cols, today);
}

QString insertDefect(const QString& rollId, const QStringList& cols, const QString& today)
{
    const auto col = [&](int i) { return i < cols.size() ? q(cols[i]) : QString(); };
    const FourPoint::Defect span = CheckGrading::defectOf(cols);
    // A point defect keeps the statement of databases made before the end column existed.
    const bool isLong = span.isLong();
    return QStringLiteral(
               "Insert into checkDetail (checkId,checkCode,remark,bugName,bugPosition,") +
           (isLong ? QStringLiteral("bugEnd,") : QString()) +
           QStringLiteral("bugCount,bugScore,createDate) values( ") + rollId +
           QStringLiteral(",'") + col(5) + QStringLiteral("','") + col(6) + QStringLiteral("','") +
           col(1) + QStringLiteral("','") +
           (isLong ? sqlNum(span.start) + QStringLiteral("',") + sqlNum(span.end) +
                         QStringLiteral(",'")
                   : col(2) + QStringLiteral("','")) +
           col(3) + QStringLiteral("',") + sqlNum(vb::Val(cols.value(4))) + QStringLiteral(",'") +
           q(today) + QStringLiteral("')");
}

QString item5Lookup(const QString& lineId)
{
    return QStringLiteral(" select isnull(backitem2,0) as backitem2 from billdetail where billdetailid=") + lineId;
}

QString loadRoll(long long rollId)
{
    return QStringLiteral("SELECT a.*,isnull(b.productionColor,'') as 颜色 FROM CHECKINFO a left join billdetail b on a.billdetailid=b.billdetailid WHERE ID=")
         + QString::number(rollId);
}

QString loadDefects(long long rollId)
{
    // In the order they were recorded: the defects of a roll are read through whichever index the
    // database picks, and a reopened roll must list them as the inspector pressed them.
    return QStringLiteral("SELECT * FROM CheckDetail WHERE checkId=") + QString::number(rollId) +
           QStringLiteral(" ORDER BY id");
}

QString rollExists(const QString& idText)
{
    return QStringLiteral(" select id  from checkinfo where id=") + sqlNum(vb::Val(idText));
}

QString rollNumberCondition(const QString& codetype, const QString& itemId, const QString& taskno,
                            const QString& lineId)
{
    if (codetype == u"面料编码")
        return QStringLiteral("   itemid  =") + sqlNum(vb::Val(itemId));
    if (codetype == u"缸号")
        return QStringLiteral("   taskno  ='") + q(taskno) + QStringLiteral("'");
    return QStringLiteral("   billdetailid  =") + sqlNum(vb::Val(lineId));
}

QString rollNumberTaken(const QString& checkCode, const QString& condition)
{
    return QStringLiteral("select count(*) from checkInfo where checkCode='") + q(checkCode)
         + QStringLiteral("' and ") + condition;
}

} // namespace CheckSql
