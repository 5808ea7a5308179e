// Statement texts of the process-progress station; operator texts go in with quotes doubled.
#include "stations/progress/WorkloadSql.h"

#include "shell/SqlText.h"
#include "text/Vb.h"

#include <QTime>

using namespace Qt::StringLiterals;

namespace WorkloadSql {

QList<Step> parseProjects(const QString& projects)
{
    QList<Step> steps;
    const QStringList parts = projects.split(u',');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString& entry = parts[i];
        const qsizetype cut = entry.indexOf(u'_');
        if (cut < 0)
            steps.append({entry, u"0"_s});
        else
            steps.append({entry.left(cut), entry.mid(cut + 1)});
    }
    return steps;
}

Offset stepOffset(int index, int width, int height)
{
    constexpr int PerRow = 8;
    constexpr int Gap = 75;
    return {(index % PerRow) * (width + Gap), (index / PerRow) * (height + Gap)};
}

QString cardQuery(const QString& card)
{
    return u"SELECT  'B'+cast(b.billtype as varchar) +cast(b.billid as varchar) as ID,"_s
           u" b.billcode as 单号,d.companyname as 客户,b.transactdate as 日期,b.contractEndDate as 交货日期,"_s
           u"  dbo.getDictionary('sourcetype',b.ExpresscarId)  as 单据来源,dbo.getDictionary('worktype',b.ExpressCarName)  as 加工方式,"_s
           u"  b.ExpressAmt as 加工费, b.billstatus as 状态,isnull(a.viewcount,0) as 数量,isnull(a.viewnumber,0) as 匹数,"_s
           u"  f.UserName as 制单人,b.Remark as 备注"_s
           u"  from  bill b"_s
           u"  left join ( select sum(viewcount) as viewcount,sum(viewnumber) as viewnumber ,barcode  from billstatusdetail where billstatus='配布' group by barcode  ) a on a.barcode=b.billcode "_s
           u"  left join UserInfo f on b.TransactorID=f.UserID"_s
           u"  LEFT JOIN UserInfo g On b.OperatorID=g.UserID"_s
           u"  left join UserInfo e on b.AssessorID=e.UserID"_s
           u"  left join company d on d.companyId=b.companyId"_s
           u"  where /*b.billtype in (95)  and */ b.BillCode='"_s
        + sqlText(card) + u"'"_s;
}

QString reportedTotalQuery(const QString& card, const QString& step)
{
    return u"select isnull(sum(viewcount),0)  from billStatusDetail where barcode='"_s + sqlText(card)
        + u"' and billStatus='"_s + sqlText(step) + u"'"_s;
}

QString duplicateQuery(const QString& card, const QString& step)
{
    return u"select id from BillStatusDetail where barcode='"_s + sqlText(card) + u"' and billstatus='"_s
        + sqlText(step) + u"'"_s;
}

QString updateBillStatus(const QString& card, const QString& step, const QDate& date)
{
    return u"update bill  set billstatus ='"_s + sqlText(step) + u"',notprintremark='"_s
        + date.toString(u"yyyy/MM/dd"_s) + u"'"_s + u" where billcode ='"_s + sqlText(card) + u"'"_s;
}

QString insertReport(const Report& r)
{
    return u"INSERT INTO BillStatusDetail(barcode,viewcount,viewnumber,billstatus,remark,usercode,address,billstatusID,createdate,endUser)"_s
           u" values('"_s
        + sqlText(r.card) + u"',"_s + r.viewcount + u","_s + r.viewnumber + u",'"_s + sqlText(r.step)
        + u"','"_s + sqlText(r.remark) + u"','"_s + sqlText(r.worker) + u"','"_s + sqlText(r.worker)
        + u"',"_s + u"0,'"_s + r.createdate + u"','"_s + sqlText(r.machine) + u"')"_s;
}

QString numberOfField(const QString& text) { return vb::CStr(vb::Val(text)); }

QString createDate(const QDate& date, const QTime& now)
{
    return date.toString(u"yyyy/MM/dd"_s) + u' ' + now.toString(u"HH:mm:ss"_s);
}

bool allotsAll(const QString& step) { return step.contains(u"全部"_s, Qt::CaseInsensitive); }

QString allotLinesQuery(const QString& card)
{
    // The first line of the card is the one the allotment row stands for.
    return u"select isnull(c.stock,0) as stock,b.itemid from bill a left join billdetail b on a.billid=b.billid"_s
           u" left join company c on a.companyid=c.companyid where billcode='"_s
        + sqlText(card) + u"' order by b.billdetailid"_s;
}

QString stockQuery(const QString& itemId, const QString& storeroom)
{
    return u"select sum(itemcount) as itemcount,sum(productionnumber) as productionnumber  from iteminbatch a  "_s
           u" Where itemid="_s
        + itemId + u" and storeroomid="_s + storeroom + u" group by itemid,storeroomid "_s;
}

QString autoAllotRemark() { return u"全部用完，系统自动新增"_s; }

QString builtInListQuery()
{
    return u"SELECT a.Id ,a.barcode as 卡号, b.productionColor as 颜色, a.BillStatus as 状态,a.createDate as 日期,a.viewcount as 数量,a.viewNumber as 匹数,a.usercode as 工号,a.remark as 备注 FROM BillStatusDetail a left join billdetail b on a.billdetailid=b.billdetailid "_s;
}

QString listQuery(const QString& base, const ListFilter& f)
{
    QString q = base.isEmpty() ? builtInListQuery() : base;
    q += u" where convert(varchar,a.createDate,23) between   '"_s + f.from.toString(u"yyyy-MM-dd"_s)
        + u"' and '"_s + f.to.toString(u"yyyy-MM-dd"_s) + u"'"_s;
    q += u" and a.enduser='"_s + sqlText(f.machine) + u"'"_s;
    if (!f.card.isEmpty())
        q += u" and a.barcode ='"_s + sqlText(f.card) + u"'"_s;
    if (!f.worker.isEmpty())
        q += u" and a.usercode ='"_s + sqlText(f.worker) + u"'"_s;
    return q + u" order by id "_s;
}

QString deleteRecord(long long id)
{
    return u"DELETE  FROM BillStatusDetail where ID ="_s + QString::number(id);
}

QString reportCard(long long id)
{
    return u"select barcode from BillStatusDetail where ID ="_s + QString::number(id);
}

QString latestStep(const QString& card)
{
    return u"select billstatus from BillStatusDetail where barcode='"_s + sqlText(card) +
           u"' order by createdate desc,id desc"_s;
}

QString setBillStatus(const QString& card, const std::optional<QString>& step)
{
    return u"update bill set billstatus="_s + (step ? u"'"_s + sqlText(*step) + u"'"_s : u"null"_s) +
           u" where billcode='"_s + sqlText(card) + u"'"_s;
}

QString activeWorkers() { return u"SELECT usercode,userName FROM USERINFO WHERE ISSTOP=0"_s; }

} // namespace WorkloadSql
