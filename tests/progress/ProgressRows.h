// The progress station's database: two customers (storeroom 0 and 3), cards K001 (no status yet)
// and K002 (织造, two lines), stock batches of the lines' items, worker 001.
#pragma once

inline const char* const ProgressRows[] = {
    "insert into company(companyid,companyname,stock) values(1,'杭州锦华服饰',0)",
    "insert into company(companyid,companyname,stock) values(2,'绍兴恒远纺织',3)",
    "insert into UserInfo(usercode,username,ISSTOP) values('001','王建国',0)",
    "insert into bill(billid,billcode,billtype,companyid,remark) values(1,'K001',55,1,'加急')",
    "insert into bill(billid,billcode,billtype,companyid,billstatus) values(2,'K002',57,2,'织造')",
    // The allotment stands for the card's first line, whatever order the lines were added.
    "insert into BillDetail(BillDetailId,BillId,itemId,viewcount) values(40,2,2,100)",
    "insert into BillDetail(BillDetailId,BillId,itemId,viewcount) values(35,2,1,100)",
    "insert into iteminBatch(itemid,storeroomid,itemcount,productionNumber) values(1,3,100,2)",
    "insert into iteminBatch(itemid,storeroomid,itemcount,productionNumber) values(1,3,50.5,1)",
    "insert into iteminBatch(itemid,storeroomid,itemcount,productionNumber) values(2,3,999,9)",
    "insert into iteminBatch(itemid,storeroomid,itemcount,productionNumber) values(1,1,7,7)",
};
