-- Demo rows for trying the stations: a small weaving and dyeing mill with three customers, a few
-- fabrics and production cards. T-SQL, so the same script fills a SQL Server test database.
insert into company(companyname, stock) values('杭州锦华服饰有限公司', 1);
insert into company(companyname, stock) values('绍兴柯桥恒远纺织贸易', 0);
insert into company(companyname, stock) values('苏州盛泽丝绸进出口公司', 2);

insert into storeroom(storeRoomname) values('成品仓');
insert into storeroom(storeRoomname) values('坯布仓');

insert into UserInfo(usercode, username, ISSTOP) values('001', '王建国', 0);
insert into UserInfo(usercode, username, ISSTOP) values('002', '李秀英', 0);
insert into UserInfo(usercode, username, ISSTOP) values('003', '张伟', 0);
insert into UserInfo(usercode, username, ISSTOP) values('004', '陈丽娟', 0);
insert into UserInfo(usercode, username, ISSTOP) values('005', '刘志强', 1);

insert into itemtype(itemtypeName) values('梭织面料');
insert into itemtype(itemtypeName) values('针织面料');

insert into item(itemcode, itemname, itemspec, item1, item2, item3, item5, item6, itemclass, itemtypeid,
  itemunitB, itemUnit, itemUnitS, itemUnitL, itemUnitLS, defaultUnit, Price, isstop, pinyin, ItemBarCode)
values('T2101', '涤棉府绸', '45x45 133x72', '65%涤 35%棉', '115', '150', '150', '115', 1, 1,
  '米', 1, '米', 1, '米', '米', 12.5, 0, 'dmfc', '6901234500011');
insert into item(itemcode, itemname, itemspec, item1, item2, item3, item5, item6, itemclass, itemtypeid,
  itemunitB, itemUnit, itemUnitS, itemUnitL, itemUnitLS, defaultUnit, Price, isstop, pinyin, ItemBarCode)
values('T2102', '全棉斜纹', '21x21 108x58', '100%棉', '240', '160', '160', '240', 1, 1,
  '米', 1, '米', 1, '米', '米', 18, 0, 'qmxw', '6901234500028');
insert into item(itemcode, itemname, itemspec, item1, item2, item3, item5, item6, itemclass, itemtypeid,
  itemunitB, itemUnit, itemUnitS, itemUnitL, itemUnitLS, defaultUnit, Price, isstop, pinyin, ItemBarCode)
values('T2103', '天丝弹力缎', '60Sx40D+40D', '70%天丝 25%锦纶 5%氨纶', '180', '145', '145', '180', 1, 1,
  '米', 1, '米', 1, '米', '米', 32.8, 0, 'tstld', '6901234500035');
insert into item(itemcode, itemname, itemspec, item1, item2, item3, item5, item6, itemclass, itemtypeid,
  itemunitB, itemUnit, itemUnitS, itemUnitL, itemUnitLS, defaultUnit, Price, isstop, pinyin, ItemBarCode)
values('K3201', '棉氨汗布', '40S+30D', '95%棉 5%氨纶', '200', '170', '170', '200', 1, 2,
  '公斤', 1, '公斤', 1, '公斤', '公斤', 45, 0, 'mahb', '6901234500042');
insert into item(itemcode, itemname, itemspec, item1, item2, item3, item5, item6, itemclass, itemtypeid,
  itemunitB, itemUnit, itemUnitS, itemUnitL, itemUnitLS, defaultUnit, Price, isstop, pinyin, ItemBarCode)
values('T2099', '涤纶春亚纺', '75Dx75D', '100%涤纶', '68', '150', '150', '68', 1, 1,
  '米', 1, '米', 1, '米', '米', 6.2, 1, 'dlcyf', '6901234500059');

insert into iteminstore(itemid, storeRoomid, stocks) values(1, 1, 3260);
insert into iteminstore(itemid, storeRoomid, stocks) values(2, 1, 1580.5);
insert into iteminstore(itemid, storeRoomid, stocks) values(3, 1, 842);
insert into iteminBatch(itemid, storeroomid, itemcount, productionNumber, ProductSN, productionColor, descrtion)
  values(1, 1, 1260, 21, 'P2611-018', '漂白', '一等品');
insert into iteminBatch(itemid, storeroomid, itemcount, productionNumber, ProductSN, productionColor, descrtion)
  values(2, 1, 980.5, 16, 'P2611-022', '藏青', '');
insert into iteminBatch(itemid, storeroomid, itemcount, productionNumber, ProductSN, productionColor, descrtion)
  values(3, 1, 842, 14, 'P2611-031', '香槟金', '客户指定包装');

insert into bill(billcode, billtype, companyid, TransactDate, OperatorDate, TransactorId, OperatorId,
  AssessorID, billstatus, remark, contractEndDate, ExpresscarId, ExpressCarName, ExpressAmt, relateorder)
values('SC2611001', 55, 1, '2026-11-20', '2026-11-20 09:12:00', 1, 1, 1, '染色',
  '门幅不低于148cm，每卷60米±2米，卷装纸管', '2026-12-15', '1', '1', 2.5, 'DD-2611-0087');
insert into bill(billcode, billtype, companyid, TransactDate, OperatorDate, TransactorId, OperatorId,
  AssessorID, billstatus, remark, contractEndDate, ExpresscarId, ExpressCarName, ExpressAmt, relateorder)
values('SC2611002', 55, 2, '2026-11-24', '2026-11-24 14:30:00', 2, 2, 1, '织造',
  '色牢度4级以上，反面打卷', '2026-12-20', '1', '2', 3.2, 'DD-2611-0102');
insert into bill(billcode, billtype, companyid, TransactDate, OperatorDate, TransactorId, OperatorId,
  AssessorID, billstatus, remark, contractEndDate, ExpresscarId, ExpressCarName, ExpressAmt, relateorder)
values('SC2612003', 57, 3, '2026-12-01', '2026-12-01 08:05:00', 1, 3, 1, '配布',
  '回修卡：复检色差，按原卷号包装', '2026-12-10', '2', '1', 0, 'DD-2611-0076');

insert into BillDetail(BillId, itemId, ItemCount, viewcount, sellunitcount, taxPercent, viewPrice, UnitPrice,
  OriganPrice, remark, productionProcess, productionJarno, backItem1, backitem2, StoreRoomId, productionsn,
  productionColor, productionDateId)
values(1, 1, 3000, 3000, 1, 2800, 12.5, 12.5, 12.5, '大货', '前处理-染色-定型', 'R2611-105', 'KS-8801', 0, 1,
  'P2611-018', '漂白', 'SCD-26-1120');
insert into BillDetail(BillId, itemId, ItemCount, viewcount, sellunitcount, taxPercent, viewPrice, UnitPrice,
  OriganPrice, remark, productionProcess, productionJarno, backItem1, backitem2, StoreRoomId, productionsn,
  productionColor, productionDateId)
values(1, 1, 1500, 1500, 1, 1450, 12.5, 12.5, 12.5, '', '前处理-染色-定型', 'R2611-106', 'KS-8801', 0, 1,
  'P2611-019', '浅灰', 'SCD-26-1120');
insert into BillDetail(BillId, itemId, ItemCount, viewcount, sellunitcount, taxPercent, viewPrice, UnitPrice,
  OriganPrice, remark, productionProcess, productionJarno, backItem1, backitem2, StoreRoomId, productionsn,
  productionColor, productionDateId)
values(2, 2, 2000, 2000, 1, 1900, 18, 18, 18, '样布先行', '织造-退浆-染色', 'R2611-131', 'KS-9020', 60, 1,
  'P2611-022', '藏青', 'SCD-26-1124');
insert into BillDetail(BillId, itemId, ItemCount, viewcount, sellunitcount, taxPercent, viewPrice, UnitPrice,
  OriganPrice, remark, productionProcess, productionJarno, backItem1, backitem2, StoreRoomId, productionsn,
  productionColor, productionDateId)
values(3, 3, 850, 850, 1, 842, 32.8, 32.8, 32.8, '复检', '复检-包装', 'R2611-077', 'KS-7710', 0, 1,
  'P2611-031', '香槟金', 'SCD-26-1201');

insert into BillStatusDetail(barcode, billstatusID, billstatus, viewcount, viewnumber, remark, usercode,
  address, createdate, endUser, billdetailid)
values('SC2611001', 0, '织造', 3000, 50, '', '003', '003', '2026-11-22 10:15:00', '001', 1);
insert into BillStatusDetail(barcode, billstatusID, billstatus, viewcount, viewnumber, remark, usercode,
  address, createdate, endUser, billdetailid)
values('SC2611001', 0, '配布', 2950, 49, '', '004', '004', '2026-11-25 16:40:00', '001', 1);
insert into BillStatusDetail(barcode, billstatusID, billstatus, viewcount, viewnumber, remark, usercode,
  address, createdate, endUser, billdetailid)
values('SC2611001', 0, '染色', 2900, 48, '第一缸', '003', '003', '2026-11-28 08:30:00', '002', 1);
insert into BillStatusDetail(barcode, billstatusID, billstatus, viewcount, viewnumber, remark, usercode,
  address, createdate, endUser, billdetailid)
values('SC2611002', 0, '织造', 1200, 20, '', '003', '003', '2026-11-29 13:05:00', '001', 3);
insert into billStatus(billcode, amount, billstatus) values('SC2611001', 0, '包装');

insert into checkinfo(billCode, billdetailId, itemid, checkCode, onCount, checkcount, cutcount, patchcount, grade,
  machineId, checkUsercode, taskno, remark, item1, item2, createDate)
values('SC2611001', 1, 1, '001', 60.5, 60.5, 18.2, 0.5, 'A品', '001', '002', 'C-01', '', '115', 'R2611-105',
  '2026-12-02 09:20:00');
insert into checkinfo(billCode, billdetailId, itemid, checkCode, onCount, checkcount, cutcount, patchcount, grade,
  machineId, checkUsercode, taskno, remark, item1, item2, createDate)
values('SC2611001', 1, 1, '002', 59.8, 59.8, 18.0, 0.3, 'A品', '001', '002', 'C-01', '边中色差轻微', '115',
  'R2611-105', '2026-12-02 09:41:00');
insert into checkinfo(billCode, billdetailId, itemid, checkCode, onCount, checkcount, cutcount, patchcount, grade,
  machineId, checkUsercode, taskno, remark, item1, item2, createDate)
values('SC2611001', 1, 1, '003', 61.2, 61.2, 18.4, 1.0, 'B品', '001', '004', 'C-01', '破洞2处', '115',
  'R2611-105', '2026-12-02 10:05:00');
insert into checkDetail(checkId, checkCode, remark, bugName, bugPosition, bugCount, bugScore, createDate)
  values(3, '003', '', '破洞', 12.5, 1, 4, '2026-12-02 10:01:00');
insert into checkDetail(checkId, checkCode, remark, bugName, bugPosition, bugCount, bugScore, createDate)
  values(3, '003', '', '破洞', 40.2, 1, 4, '2026-12-02 10:03:00');
insert into checkDetail(checkId, checkCode, remark, bugName, bugPosition, bugCount, bugScore, createDate)
  values(2, '002', '', '色差', 30, 1, 1, '2026-12-02 09:35:00');

insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '55', '生产卡');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '57', '回修卡');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '99', '打样卡');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('sourcetype', '1', '自织');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('sourcetype', '2', '外购坯布');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('worktype', '1', '染色');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('worktype', '2', '印花');
insert into Dictionary(ITEMTYPE, ItemValues, ItemName) values('CheckFill', '99', '3|productionJarNo,5|款号,');

insert into DBInfo(InfoCode, InfoValue) values('checkpassword', '5862');
insert into DBInfo(InfoCode, InfoValue) values('CompanyName', '浙江锦程印染有限公司');

insert into RFID_CARDINFO(CARDNO, refCode, CARDTYPE) values('A1B2C3D4', '001', '1');
insert into RFID_CARDINFO(CARDNO, refCode, CARDTYPE) values('E5F60718', 'SC2611001', '2');
