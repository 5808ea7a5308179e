// The packing table's database: bills K001 (invoice 是, rolls 42 and 43 on its packing list), K002
// (否, roll 50) and K003 (no list); rolls 42, 43 and 44 of item 1 with quantities 10, 20.5 and 30.
#pragma once

inline const char* const PackingRows[] = {
    "insert into item(itemid,itemcode,itemname,itemspec,item1,item2,item3) values(1,'T1','涤棉府绸','45x45','65/35','120','150')",
    "insert into bill(billid,billcode,billtype,invoice) values(1,'K001',55,'是')",
    "insert into bill(billid,billcode,billtype,invoice) values(2,'K002',55,'否')",
    "insert into bill(billid,billcode,billtype) values(3,'K003',55)",
    "insert into BillDetail(BillDetailId,BillId,itemId,productionColor) values(11,1,1,'藏青')",
    "insert into BillDetail(BillDetailId,BillId,itemId,productionColor) values(21,2,1,'米白')",
    "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade,taskno,item1,item3,checkUsercode)"
    " values(42,'K001',11,1,'001',10,'A','J1','118','M3','001')",
    "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade,taskno,item3,checkUsercode)"
    " values(43,'K001',11,1,'002',20.5,'A','J1','M3','001')",
    "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade,taskno,item3,checkUsercode)"
    " values(44,'K001',11,1,'003',30,'A','J1','M4','002')",
    "insert into checkinfo(id,billCode,billdetailId,itemid,checkCode,onCount,grade) values(50,'K002',21,1,'001',100,'B')",
    "insert into billprodetail(checkinfoid,billprocount,billdetailid) values(42,1,11)",
    "insert into billprodetail(checkinfoid,billprocount,billdetailid) values(43,1,11)",
    "insert into billprodetail(checkinfoid,billprocount,billdetailid) values(50,1,21)",
};
