-- The same tables for a fresh SQL Server database of the mill (sqlcmd -i sqlserver.sql).
-- Text columns take the database collation (case-insensitive, trailing blanks ignored).

IF OBJECT_ID(N'bill', N'U') IS NULL
CREATE TABLE bill (
  billid int IDENTITY(1,1) PRIMARY KEY,
  billcode nvarchar(200),
  billtype int,
  companyid int,
  TransactDate datetime,
  OperatorDate datetime,
  TransactorId int,
  OperatorId int,
  AssessorID int DEFAULT (0),
  billstatus nvarchar(200),
  notprintremark nvarchar(200),
  remark nvarchar(max),
  contractEndDate datetime,
  ExpresscarId nvarchar(200),
  ExpressCarName nvarchar(200),
  ExpressAmt decimal(18,4) DEFAULT (0),
  relateorder nvarchar(200),
  invoice nvarchar(200)
);
GO
IF OBJECT_ID(N'BillDetail', N'U') IS NULL
CREATE TABLE BillDetail (
  BillDetailId int IDENTITY(1,1) PRIMARY KEY,
  BillId int,
  itemId int,
  ItemCount decimal(18,4) DEFAULT (0),
  viewcount decimal(18,4) DEFAULT (0),
  sellunitcount decimal(18,4) DEFAULT (0),
  taxPercent decimal(18,4) DEFAULT (0),
  viewPrice decimal(18,4) DEFAULT (0),
  UnitPrice decimal(18,4) DEFAULT (0),
  OriganPrice decimal(18,4) DEFAULT (0),
  remark nvarchar(max),
  productionProcess nvarchar(200),
  productionJarno nvarchar(200),
  backItem1 nvarchar(200),
  backitem2 decimal(18,4),
  StoreRoomId int,
  productionsn nvarchar(200),
  productionColor nvarchar(200),
  productionDateId nvarchar(200)
);
GO
IF OBJECT_ID(N'checkinfo', N'U') IS NULL
CREATE TABLE checkinfo (
  id int IDENTITY(1,1) PRIMARY KEY,
  billCode nvarchar(200),
  billdetailId int,
  itemid int,
  checkCode nvarchar(200),
  onCount decimal(18,4) DEFAULT (0),
  checkcount decimal(18,4) DEFAULT (0),
  cutcount decimal(18,4) DEFAULT (0),
  patchcount decimal(18,4) DEFAULT (0),
  grade nvarchar(200),
  machineId nvarchar(200),
  checkUsercode nvarchar(200),
  taskno nvarchar(200),
  remark nvarchar(max),
  item1 nvarchar(200),
  item2 nvarchar(200),
  item3 nvarchar(200),
  item4 nvarchar(200),
  item5 nvarchar(200),
  item6 nvarchar(200),
  item7 nvarchar(200),
  item8 nvarchar(200),
  item9 nvarchar(200),
  item10 nvarchar(200),
  item11 nvarchar(200),
  item12 nvarchar(200),
  item13 nvarchar(200),
  createDate datetime DEFAULT getdate(),
  checkDate datetime,
  bagnumber nvarchar(200),
  bagweight decimal(18,4) DEFAULT (0),
  bagremark nvarchar(200),
  bagTime datetime,
  bagMachine nvarchar(200),
  batchId int DEFAULT (0),
  itemcount decimal(18,4) DEFAULT (0)
);
GO
IF OBJECT_ID(N'checkDetail', N'U') IS NULL
CREATE TABLE checkDetail (
  id int IDENTITY(1,1) PRIMARY KEY,
  checkId int,
  checkCode nvarchar(200),
  remark nvarchar(max),
  bugName nvarchar(200),
  bugPosition decimal(18,4),
  bugEnd decimal(18,4) DEFAULT 0,
  bugCount decimal(18,4),
  bugScore decimal(18,4),
  createDate datetime DEFAULT getdate()
);
GO
-- The end of a long defect (a weft bar over several metres); rows saved before it read as point
-- defects.
IF COL_LENGTH(N'checkDetail', N'bugEnd') IS NULL
ALTER TABLE checkDetail ADD bugEnd decimal(18,4) NOT NULL CONSTRAINT DF_checkDetail_bugEnd DEFAULT 0;
GO
-- The picture of a defect: its file under the photo folder, and when the camera took it.
IF OBJECT_ID(N'checkDetailPhoto', N'U') IS NULL
CREATE TABLE checkDetailPhoto (
  id int IDENTITY(1,1) PRIMARY KEY,
  detailId int,
  fileName nvarchar(400),
  takenAt datetime
);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkdetailphoto_detail')
CREATE INDEX ix_checkdetailphoto_detail ON checkDetailPhoto(detailId);
GO
IF OBJECT_ID(N'BillStatusDetail', N'U') IS NULL
CREATE TABLE BillStatusDetail (
  ID int IDENTITY(1,1) PRIMARY KEY,
  barcode nvarchar(200),
  billstatusID int DEFAULT (0),
  billstatus nvarchar(200),
  viewcount decimal(18,4) DEFAULT (0),
  viewnumber decimal(18,4) DEFAULT (0),
  remark nvarchar(max),
  usercode nvarchar(200),
  address nvarchar(200),
  createdate datetime DEFAULT getdate(),
  endUser nvarchar(200),
  billdetailid int
);
GO
IF OBJECT_ID(N'billStatus', N'U') IS NULL
CREATE TABLE billStatus (
  id int IDENTITY(1,1) PRIMARY KEY,
  billcode nvarchar(200),
  amount decimal(18,4) DEFAULT (0),
  billstatus nvarchar(200)
);
GO
IF OBJECT_ID(N'billprodetail', N'U') IS NULL
CREATE TABLE billprodetail (
  id int IDENTITY(1,1) PRIMARY KEY,
  checkinfoid int,
  billprocount decimal(18,4) DEFAULT (0),
  billdetailid int
);
GO
IF OBJECT_ID(N'item', N'U') IS NULL
CREATE TABLE item (
  itemid int IDENTITY(1,1) PRIMARY KEY,
  itemcode nvarchar(200),
  itemname nvarchar(200),
  ItemOtherName nvarchar(200),
  itemspec nvarchar(200),
  item1 nvarchar(200),
  item2 nvarchar(200),
  item3 nvarchar(200),
  item4 nvarchar(200),
  item5 nvarchar(200),
  item6 nvarchar(200),
  itemclass int DEFAULT (1),
  itemtypeid int,
  itemunitB nvarchar(200),
  itemUnit decimal(18,4) DEFAULT (1),
  itemUnitS nvarchar(200),
  itemUnitL decimal(18,4) DEFAULT (1),
  itemUnitLS nvarchar(200),
  defaultUnit nvarchar(200),
  Price decimal(18,4) DEFAULT (0),
  stockPrice decimal(18,4) DEFAULT (0),
  price1 decimal(18,4) DEFAULT (0),
  price2 decimal(18,4) DEFAULT (0),
  price3 decimal(18,4) DEFAULT (0),
  minStock decimal(18,4) DEFAULT (0),
  maxStock decimal(18,4) DEFAULT (0),
  ProduceArea nvarchar(200),
  remark nvarchar(max),
  isstop int DEFAULT (0),
  pic varbinary(max),
  picName nvarchar(200),
  ItemBarCode nvarchar(200),
  pinyin nvarchar(200)
);
GO
IF OBJECT_ID(N'itemtype', N'U') IS NULL
CREATE TABLE itemtype (
  itemtypeId int IDENTITY(1,1) PRIMARY KEY,
  itemtypeName nvarchar(200)
);
GO
IF OBJECT_ID(N'iteminstore', N'U') IS NULL
CREATE TABLE iteminstore (
  id int IDENTITY(1,1) PRIMARY KEY,
  itemid int,
  storeRoomid int,
  stocks decimal(18,4) DEFAULT (0)
);
GO
IF OBJECT_ID(N'storeroom', N'U') IS NULL
CREATE TABLE storeroom (
  storeRoomid int IDENTITY(1,1) PRIMARY KEY,
  storeRoomname nvarchar(200)
);
GO
IF OBJECT_ID(N'companyPrice', N'U') IS NULL
CREATE TABLE companyPrice (
  id int IDENTITY(1,1) PRIMARY KEY,
  itemId int,
  companyid int,
  price decimal(18,4) DEFAULT (0)
);
GO
IF OBJECT_ID(N'iteminBatch', N'U') IS NULL
CREATE TABLE iteminBatch (
  id int IDENTITY(1,1) PRIMARY KEY,
  itemid int,
  storeroomid int,
  itemcount decimal(18,4) DEFAULT (0),
  productionNumber decimal(18,4) DEFAULT (0),
  ProductSN nvarchar(200),
  productionColor nvarchar(200),
  descrtion nvarchar(200)
);
GO
IF OBJECT_ID(N'company', N'U') IS NULL
CREATE TABLE company (
  companyid int IDENTITY(1,1) PRIMARY KEY,
  companyname nvarchar(200),
  stock int DEFAULT (0)
);
GO
IF OBJECT_ID(N'UserInfo', N'U') IS NULL
CREATE TABLE UserInfo (
  UserID int IDENTITY(1,1) PRIMARY KEY,
  usercode nvarchar(200),
  username nvarchar(200),
  ISSTOP int DEFAULT (0)
);
GO
IF OBJECT_ID(N'Dictionary', N'U') IS NULL
CREATE TABLE Dictionary (
  id int IDENTITY(1,1) PRIMARY KEY,
  ITEMTYPE nvarchar(200),
  ItemValues nvarchar(200),
  ItemName nvarchar(200),
  ReportSQL nvarchar(max)
);
GO
IF OBJECT_ID(N'DBInfo', N'U') IS NULL
CREATE TABLE DBInfo (
  id int IDENTITY(1,1) PRIMARY KEY,
  InfoCode nvarchar(200),
  InfoValue nvarchar(200)
);
GO
IF OBJECT_ID(N'printpool', N'U') IS NULL
CREATE TABLE printpool (
  ID int IDENTITY(1,1) PRIMARY KEY,
  pid nvarchar(200),
  PrintType nvarchar(200),
  Content nvarchar(max),
  printfrom nvarchar(200),
  createtime nvarchar(200)
);
GO
IF OBJECT_ID(N'billFiles', N'U') IS NULL
CREATE TABLE billFiles (
  id int IDENTITY(1,1) PRIMARY KEY,
  fileName nvarchar(200),
  billFile varbinary(max),
  fileType nvarchar(200),
  fkid int
);
GO
IF OBJECT_ID(N'RFID_CARDINFO', N'U') IS NULL
CREATE TABLE RFID_CARDINFO (
  id int IDENTITY(1,1) PRIMARY KEY,
  CARDNO nvarchar(200),
  refCode nvarchar(200),
  CARDTYPE nvarchar(200)
);
GO
-- Running numbers of the stations: box and dye-lot counters (one row per kind and day), the
-- highest saved roll number per numbering scope (day ''), and the roll number each station has
-- proposed but not yet saved (day '@' and the station). The stations read a scope's counter row
-- WITH (UPDLOCK, HOLDLOCK), so two stations asking at once take turns.
IF OBJECT_ID(N'mirelNumbers', N'U') IS NULL
CREATE TABLE mirelNumbers (
  kind nvarchar(400) NOT NULL,
  [day] nvarchar(20) NOT NULL,
  [value] int NOT NULL DEFAULT (0),
  PRIMARY KEY (kind, [day])
);
GO
-- Saves a station kept in its local journal while the database was away, one row per record
-- once it has been replayed: the replay writes the row in the record's own transaction, so a
-- record found here is never applied a second time.
IF OBJECT_ID(N'mirelJournal', N'U') IS NULL
CREATE TABLE mirelJournal (
  journalId nvarchar(40) NOT NULL PRIMARY KEY,
  station nvarchar(100),
  saved datetime,
  replayed datetime
);
GO
-- Every station's beat (the office's web view reads it): one row per host, station word and
-- machine number, written every 30 s.
IF OBJECT_ID(N'stationStatus', N'U') IS NULL
CREATE TABLE stationStatus (
  host nvarchar(100) NOT NULL,
  station nvarchar(20) NOT NULL,
  menchineId nvarchar(50) NOT NULL DEFAULT (''),
  version nvarchar(40),
  started datetime,
  lastSeen datetime,
  beatSeconds int NOT NULL DEFAULT (30),
  pending int NOT NULL DEFAULT (0),
  refused int NOT NULL DEFAULT (0),
  devices nvarchar(400),
  lastSave datetime,
  PRIMARY KEY (host, station, menchineId)
);
GO
IF OBJECT_ID(N'生产卡', N'U') IS NULL
CREATE TABLE 生产卡 (
  id int IDENTITY(1,1) PRIMARY KEY,
  写卡时间 datetime,
  备注 nvarchar(200),
  总经长 decimal(18,4),
  产品编号 nvarchar(200)
);
GO
IF OBJECT_ID(N'织机事件表', N'U') IS NULL
CREATE TABLE 织机事件表 (
  id int IDENTITY(1,1) PRIMARY KEY,
  事件类型 int,
  上轴ID int,
  卷号 nvarchar(200),
  织机编号 nvarchar(200),
  挡车工ID nvarchar(200),
  参数2 nvarchar(200),
  当前布长 decimal(18,4),
  累计产量 decimal(18,4),
  事件时间 datetime,
  是否检验 int
);
GO
IF OBJECT_ID(N'员工信息', N'U') IS NULL
CREATE TABLE 员工信息 (
  编号 nvarchar(450) PRIMARY KEY,
  姓名 nvarchar(200)
);
GO
IF OBJECT_ID(N'坯布信息', N'U') IS NULL
CREATE TABLE 坯布信息 (
  坯布编号 nvarchar(450) PRIMARY KEY,
  坯布名称 nvarchar(200),
  原料规格 nvarchar(200),
  门幅 nvarchar(200),
  克重 nvarchar(200)
);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_bill_billcode')
CREATE INDEX ix_bill_billcode ON bill(billcode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_billdetail_billid')
CREATE INDEX ix_billdetail_billid ON BillDetail(BillId);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkinfo_billcode')
CREATE INDEX ix_checkinfo_billcode ON checkinfo(billCode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkinfo_createdate')
CREATE INDEX ix_checkinfo_createdate ON checkinfo(createDate);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkinfo_checkcode')
CREATE INDEX ix_checkinfo_checkcode ON checkinfo(checkCode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkinfo_billdetailid')
CREATE INDEX ix_checkinfo_billdetailid ON checkinfo(billdetailId);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkinfo_bagnumber')
CREATE INDEX ix_checkinfo_bagnumber ON checkinfo(bagnumber);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_checkdetail_checkid')
CREATE INDEX ix_checkdetail_checkid ON checkDetail(checkId) INCLUDE (bugName, bugScore, bugCount);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_billstatusdetail_barcode')
CREATE INDEX ix_billstatusdetail_barcode ON BillStatusDetail(barcode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_billstatusdetail_line')
CREATE INDEX ix_billstatusdetail_line ON BillStatusDetail(billdetailid);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_billstatus_billcode')
CREATE INDEX ix_billstatus_billcode ON billStatus(billcode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_billprodetail_checkinfoid')
CREATE INDEX ix_billprodetail_checkinfoid ON billprodetail(checkinfoid);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_item_itemcode')
CREATE INDEX ix_item_itemcode ON item(itemcode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_iteminstore_itemid')
CREATE INDEX ix_iteminstore_itemid ON iteminstore(itemid);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_iteminbatch_itemid')
CREATE INDEX ix_iteminbatch_itemid ON iteminBatch(itemid, storeroomid);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_userinfo_usercode')
CREATE INDEX ix_userinfo_usercode ON UserInfo(usercode);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_dictionary_type')
CREATE INDEX ix_dictionary_type ON Dictionary(ITEMTYPE, ItemValues);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'ix_rfid_cardno')
CREATE INDEX ix_rfid_cardno ON RFID_CARDINFO(CARDNO);
GO
-- The display text of a dictionary code, used in the stations' SELECT lists.
IF OBJECT_ID(N'dbo.getDictionary', N'FN') IS NULL
EXEC(N'CREATE FUNCTION dbo.getDictionary(@type nvarchar(200), @code nvarchar(200))
RETURNS nvarchar(200) AS
BEGIN
  RETURN (SELECT TOP 1 ItemName FROM Dictionary WHERE ITEMTYPE = @type AND ItemValues = @code)
END');
GO
-- Allots stock batches in the order system; a fresh database has nothing to allot.
IF OBJECT_ID(N'dbo.PeibuBatch', N'P') IS NULL
EXEC(N'CREATE PROCEDURE dbo.PeibuBatch AS BEGIN SET NOCOUNT ON; END');
GO
