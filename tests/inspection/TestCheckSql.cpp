// The inspection station's statements, compared with the texts the mill's database and stored
// reports are written against.
#include "stations/inspection/CheckSql.h"

#include <QTest>

class TestCheckSql : public QObject {
    Q_OBJECT

    static CheckSql::Roll sampleRoll()
    {
        CheckSql::Roll r;
        r.billCode = "K2405-01";
        r.checkCode = "007";
        r.taskno = "2405G";
        r.patchCount = 2;
        r.onCount = 102;
        r.checkCount = 0.9144;
        r.billDetailId = 15;
        r.itemId = 3;
        r.grade = "A品";
        for (int i = 1; i <= 13; ++i)
            r.items[i] = QString("i%1").arg(i);
        r.cutCount = 25.5;
        r.userCode = "001";
        r.remark = "早班";
        r.machineId = "003";
        r.today = "2026-12-05";
        return r;
    }

private slots:
    void statements_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        QTest::newRow("card lookup")
            << CheckSql::cardLookup("55,57,99", "K2405-01")
            << QString("SELECT cast(b.billid as varchar) as ID,b.billid, CONVERT(varchar,b.transactdate,23) as 开卡日期,CONVERT(varchar,b.contractEndDate,23) as 交货日期,b.BillCode as 凭证号,b.relateorder as 订单号, dbo.getDictionary('BillType',b.BillType) as 凭证类型,b.remark as 单据备注, a.productionDateId as 生产单号,  d.companyName 客户,isnull(a.productionSN,'') as productionSN,a.productionJarNo,a.productionProcess, f.itemName as 品种,f.itemspec as 规格,a.productionColor as 颜色,a.viewCount as 数量,a.TaxPercent as 送检数量,  g.UserName as 开卡人,a.remark as 备注,BillDetailId,a.itemid,isNull(backItem1,'') as 款号,a.productionJarno as 染号,f.*,a.*   FROM BillDetail a left join Bill b on a.billId=b.BillId left join Company d on d.companyId=b.companyId left join item f on a.itemid=f.itemid left join UserInfo g on b.transactorId=g.UserID Where b.billtype in(55,57,99) /*And b.AssessorID > 0 */ and b.BillCode='K2405-01'");
        QTest::newRow("card lookup quote doubled")
            << CheckSql::cardLookup("55", "K'1").right(21) << QString("and b.BillCode='K''1'");
        QTest::newRow("stored lookup, two placeholders")
            << CheckSql::storedCardLookup("select * from v where code='?' or old='?'", "K9")
            << QString("select * from v where code='K9' or old='K9'");
        QTest::newRow("history") << CheckSql::progressHistory("15")
                                 << QString("select viewcount,billstatus,usercode from billstatusdetail where billdetailid=15 order by id desc");
        QTest::newRow("line totals") << CheckSql::lineTotals("A品", 15)
                                     << QString("SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where grade='A品' and  BillDetailId =15");
        QTest::newRow("card totals") << CheckSql::cardTotals("K1")
                                     << QString("SELECT SUM(ONCOUNT),COUNT(ID),SUM(cutCOUNT) as 重量 FROM CHECKINFO where billCode ='K1'");
        CheckSql::Roll r = sampleRoll();
        QTest::newRow("insert")
            << CheckSql::insertRoll(r)
            << QString("Insert into checkInfo (billCode,billdetailId,itemid,checkCode,onCount,checkcount,cutcount,patchcount,grade,machineId,checkUsercode,taskno,remark,item1,item2,item3,item4,item6,item7,item8,item9,item10,item11,item12,item13, item5,createDate) values( 'K2405-01',15,3,'007',102,0.9144,25.5,2,'A品','003','001','2405G','早班','i1','i2','i3','i4','i6','i7','i8','i9','i10','i11','i12','i13','i5','2026-12-05')");
        QTest::newRow("insert with pallet")
            << CheckSql::insertRoll(r, "bagnumber,", "'P7'").right(29)
            << QString("'i13','i5','P7','2026-12-05')");
        QTest::newRow("update")
            << CheckSql::updateRoll(r, 41)
            << QString("Update CheckInfo set  billcode = 'K2405-01',  checkCode = '007',  taskno = '2405G',  onCount = 102,  checkCount = 0.9144,  billDetailId = 15,  itemid = 3,  grade = 'A品',  item1 = 'i1',  item2 = 'i2',  cutcount = 25.5,  patchcount = 2,  item3 = 'i3',  item4 = 'i4',  item6 = 'i6',  item7 = 'i7',  item8 = 'i8',  item9 = 'i9',  item10 = 'i10',  item11 = 'i11',  item12 = 'i12',  item13 = 'i13',  checkUsercode = '001',  remark='早班',  item5 ='i5',  machineId = '003',  createDate = '2026-12-05' where id = 41");
        r.remark = "O'Neil's";
        QTest::newRow("update quotes") << CheckSql::updateRoll(r, 1).section("remark=", 1).left(13)
                                       << QString("'O''Neil''s',");
        QTest::newRow("long defect")
            << CheckSql::insertDefect(41, {"", "纬档", "20-33.5", "0", "2", "001", ""},
                                      "2026-12-05")
            << QString("Insert into checkDetail "
                       "(checkId,checkCode,remark,bugName,bugPosition,bugEnd,bugCount,bugScore,"
                       "createDate) values( 41,'001','','纬档','20',33.5,'0',2,'2026-12-05')");
        QTest::newRow("defect")
            << CheckSql::insertDefect(41, {"", "破洞", "12.5", "1", "4", "001", "边'上"}, "2026-12-05")
            << QString("Insert into checkDetail (checkId,checkCode,remark,bugName,bugPosition,bugCount,bugScore,createDate) values( 41,'001','边''上','破洞','12.5','1',4,'2026-12-05')");
        QTest::newRow("defect score not a number")
            << CheckSql::insertDefect(1, {"", "油污", "3", "1", "", "", ""}, "2026-12-05").section(',', -2, -2)
            << QString("0");
        QTest::newRow("delete defects") << CheckSql::deleteDefects(41) << QString("DELETE checkDetail where checkid=41");
        QTest::newRow("old quantity") << CheckSql::oldQuantity(41)
                                      << QString("SELECT isnull(SUM(oncount),0) FROM checkInfo where id = 41");
        QTest::newRow("item5") << CheckSql::item5Lookup("15")
                               << QString(" select isnull(backitem2,0) as backitem2 from billdetail where billdetailid=15");
        QTest::newRow("reopen") << CheckSql::rollExists("41")
                                << QString(" select id  from checkinfo where id=41");
        QTest::newRow("reopen junk is a number") << CheckSql::rollExists("41;drop table x")
                                                 << QString(" select id  from checkinfo where id=41");
        QTest::newRow("scope line") << CheckSql::rollNumberCondition("检验单颜色", "3", "2405G", "15")
                                    << QString("   billdetailid  =15");
        QTest::newRow("scope unknown is line") << CheckSql::rollNumberCondition("", "3", "2405G", "15")
                                               << QString("   billdetailid  =15");
        QTest::newRow("scope item") << CheckSql::rollNumberCondition("面料编码", "3", "2405G", "15")
                                    << QString("   itemid  =3");
        QTest::newRow("scope lot") << CheckSql::rollNumberCondition("缸号", "3", "24'05G", "15")
                                   << QString("   taskno  ='24''05G'");
        QTest::newRow("user") << CheckSql::userName("0'1")
                              << QString("SELECT userName FROM USERINFO WHERE ISSTOP=0 AND USERCODE='0''1'");
    }
    void statements()
    {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }
};

QTEST_APPLESS_MAIN(TestCheckSql)
#include "TestCheckSql.moc"
