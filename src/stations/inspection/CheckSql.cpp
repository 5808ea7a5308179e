// Statement texts of the inspection station. Blanks inside the fragments are kept as the mill's
// stored SQL and reports expect them; operator texts have their quotes doubled.
#include "stations/inspection/CheckSql.h"

#include "shell/SqlText.h"
#include "stations/inspection/CheckGrading.h"

using namespace Qt::StringLiterals;

namespace CheckSql {

namespace {
QString q(const QString& text) { return sqlText(text); }
} // namespace

QString cardLookup(const QString& billTypes, const QString& card)
{
    return u"SELECT cast(b.billid as varchar) as ID,b.billid,"_s +
           u" CONVERT(varchar,b.transactdate,23) as 开卡日期,CONVERT(varchar,b.contractEndDate,23) as 交货日期,b.BillCode as 凭证号,b.relateorder as 订单号,"_s +
           u" dbo.getDictionary('BillType',b.BillType) as 凭证类型,b.remark as 单据备注,"_s +
           u" a.productionDateId as 生产单号,  d.companyName 客户,isnull(a.productionSN,'') as productionSN,a.productionJarNo,a.productionProcess,"_s +
           u" f.itemName as 品种,f.itemspec as 规格,a.productionColor as 颜色,a.viewCount as 数量,a.TaxPercent as 送检数量, "_s +
           u" g.UserName as 开卡人,a.remark as 备注,BillDetailId,a.itemid,isNull(backItem1,'') as 款号,a.productionJarno as 染号,f.*,a.* "_s +
           u"  FROM BillDetail a left join Bill b on a.billId=b.BillId"_s +
           u" left join Company d on d.companyId=b.companyId"_s +
           u" left join item f on a.itemid=f.itemid"_s +
           u" left join UserInfo g on b.transactorId=g.UserID"_s + u" Where b.billtype in("_s +
           billTypes + u") /*And b.AssessorID > 0 */ and b.BillCode='"_s + q(card) + u"'"_s;
}

QString storedCardLookup(const QString& stored, const QString& card)
{
    QString sql = stored;
    return sql.replace(u'?', q(card));
}

QString progressHistory(const QString& lineId)
{
    return u"select viewcount,billstatus,usercode from billstatusdetail where billdetailid="_s +
           lineId + u" order by id desc"_s;
}

QString lineTotals(const QString& firstGrade, long long lineId)
{
    return u"SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where grade='"_s +
           q(firstGrade) + u"' and  BillDetailId ="_s + QString::number(lineId);
}

QString cardTotals(const QString& card)
{
    return u"SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where billCode ='"_s +
           q(card) + u"'"_s;
}

QString insertRoll(const Roll& r, const QString& extraColumns, const QString& extraValues)
{
    const auto t = [](const QString& s) { return u"'"_s + q(s) + u"'"_s; };
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
    return u"Insert into checkInfo (billCode,billdetailId,itemid,checkCode,onCount,checkcount,cutcount,patchcount,grade,machineId,checkUsercode,taskno,remark,item1,item2,item3,item4,item6,item7,"_s +
           u"item8,item9,item10,item11,item12,item13,"_s + u" item5,"_s + extraColumns +
           u"createDate) values( "_s + values.join(u',') + u")"_s;
}

QString updateRoll(const Roll& r, long long id, const QString& extraSets, const QString& dateSet)
{
    const auto t = [](const QString& s) { return q(s); };
    return u"Update CheckInfo set  billcode = '"_s + t(r.billCode) + u"',"_s +
           u"  checkCode = '"_s + t(r.checkCode) + u"',"_s + u"  taskno = '"_s + t(r.taskno) +
           u"',"_s + u"  onCount = "_s + sqlNum(r.onCount) + u","_s + u"  checkCount = "_s +
           sqlNum(r.checkCount) + u","_s + u"  billDetailId = "_s + sqlNum(r.billDetailId) +
           u","_s + u"  itemid = "_s + sqlNum(r.itemId) + u","_s + u"  grade = '"_s + t(r.grade) +
           u"',"_s + u"  item1 = '"_s + t(r.items[1]) + u"',"_s + u"  item2 = '"_s + t(r.items[2]) +
           u"',"_s + u"  cutcount = "_s + sqlNum(r.cutCount) + u","_s + u"  patchcount = "_s +
           sqlNum(r.patchCount) + u","_s + u"  item3 = '"_s + t(r.items[3]) + u"',  item4 = '"_s +
           t(r.items[4]) + u"',"_s + u"  item6 = '"_s + t(r.items[6]) + u"',  item7 = '"_s +
           t(r.items[7]) + u"',"_s + u"  item8 = '"_s + t(r.items[8]) + u"',  item9 = '"_s +
           t(r.items[9]) + u"',"_s + u"  item10 = '"_s + t(r.items[10]) + u"',  item11 = '"_s +
           t(r.items[11]) + u"',"_s + u"  item12 = '"_s + t(r.items[12]) + u"',  item13 = '"_s +
           t(r.items[13]) + u"',"_s + u"  checkUsercode = '"_s + t(r.userCode) + u"',"_s +
           u"  remark='"_s + t(r.remark) + u"',"_s + u"  item5 ='"_s + t(r.items[5]) + u"',"_s +
           u"  machineId = '"_s + t(r.machineId) + u"',"_s + extraSets +
           (dateSet.isEmpty() ? u"  createDate = '"_s + t(r.today) + u"'"_s : dateSet) +
           u" where id = "_s + QString::number(id);
}

QString deleteDefects(long long rollId)
{
    return u"DELETE checkDetail where checkid="_s + QString::number(rollId);
}

QString oldQuantity(long long rollId)
{
    return u"SELECT isnull(SUM(oncount),0) FROM checkInfo where id = "_s + QString::number(rollId);
}

QString lastIdentity()
{
    return u"select SCOPE_IDENTITY(); "_s;
}

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
    return u"Insert into checkDetail (checkId,checkCode,remark,bugName,bugPosition,"_s +
           (isLong ? u"bugEnd,"_s : QString()) + u"bugCount,bugScore,createDate) values( "_s +
           rollId + u",'"_s + col(5) + u"','"_s + col(6) + u"','"_s + col(1) + u"','"_s +
           (isLong ? sqlNum(span.start) + u"',"_s + sqlNum(span.end) + u",'"_s
                   : col(2) + u"','"_s) +
           col(3) + u"',"_s + sqlNum(vb::Val(cols.value(4))) + u",'"_s + q(today) + u"')"_s;
}

QString item5Lookup(const QString& lineId)
{
    return u" select isnull(backitem2,0) as backitem2 from billdetail where billdetailid="_s +
           lineId;
}

QString loadRoll(long long rollId)
{
    return u"SELECT a.*,isnull(b.productionColor,'') as 颜色 FROM CHECKINFO a left join billdetail b on a.billdetailid=b.billdetailid WHERE ID="_s +
           QString::number(rollId);
}

QString loadDefects(long long rollId)
{
    // In the order they were recorded: the defects of a roll are read through whichever index the
    // database picks, and a reopened roll must list them as the inspector pressed them.
    return u"SELECT * FROM CheckDetail WHERE checkId="_s + QString::number(rollId) +
           u" ORDER BY id"_s;
}

QString rollExists(const QString& idText)
{
    return u" select id  from checkinfo where id="_s + sqlNum(vb::Val(idText));
}

QString rollNumberCondition(const QString& codetype, const QString& itemId, const QString& taskno,
                            const QString& lineId)
{
    if (codetype == u"面料编码")
        return u"   itemid  ="_s + sqlNum(vb::Val(itemId));
    if (codetype == u"缸号")
        return u"   taskno  ='"_s + q(taskno) + u"'"_s;
    return u"   billdetailid  ="_s + sqlNum(vb::Val(lineId));
}

QString rollNumberTaken(const QString& checkCode, const QString& condition)
{
    return u"select count(*) from checkInfo where checkCode='"_s + q(checkCode) + u"' and "_s +
           condition;
}

} // namespace CheckSql
