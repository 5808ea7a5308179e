-- The embedded database of a fresh installation: the order system's tables as the stations use
-- them. Text columns compare like SQL Server's default collation (NOCASE is redefined by the
-- program: letter case and trailing blanks ignored, Chinese in pinyin order), and dates are ISO texts "yyyy-mm-dd hh:mm:ss".
PRAGMA user_version = 2;

CREATE TABLE IF NOT EXISTS bill (
  billid INTEGER PRIMARY KEY AUTOINCREMENT,
  billcode TEXT COLLATE NOCASE,
  billtype INTEGER,
  companyid INTEGER,
  TransactDate DATETIME,
  OperatorDate DATETIME,
  TransactorId INTEGER,
  OperatorId INTEGER,
  AssessorID INTEGER DEFAULT 0,
  billstatus TEXT COLLATE NOCASE,
  notprintremark TEXT COLLATE NOCASE,
  remark TEXT COLLATE NOCASE,
  contractEndDate DATETIME,
  ExpresscarId TEXT COLLATE NOCASE,
  ExpressCarName TEXT COLLATE NOCASE,
  ExpressAmt NUMERIC DEFAULT 0,
  relateorder TEXT COLLATE NOCASE,
  invoice TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_bill_billcode ON bill(billcode);

CREATE TABLE IF NOT EXISTS BillDetail (
  BillDetailId INTEGER PRIMARY KEY AUTOINCREMENT,
  BillId INTEGER,
  itemId INTEGER,
  ItemCount NUMERIC DEFAULT 0,
  viewcount NUMERIC DEFAULT 0,
  sellunitcount NUMERIC DEFAULT 0,
  taxPercent NUMERIC DEFAULT 0,
  viewPrice NUMERIC DEFAULT 0,
  UnitPrice NUMERIC DEFAULT 0,
  OriganPrice NUMERIC DEFAULT 0,
  remark TEXT COLLATE NOCASE,
  productionProcess TEXT COLLATE NOCASE,
  productionJarno TEXT COLLATE NOCASE,
  backItem1 TEXT COLLATE NOCASE,
  backitem2 NUMERIC,
  StoreRoomId INTEGER,
  productionsn TEXT COLLATE NOCASE,
  productionColor TEXT COLLATE NOCASE,
  productionDateId TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_billdetail_billid ON BillDetail(BillId);

CREATE TABLE IF NOT EXISTS checkinfo (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  billCode TEXT COLLATE NOCASE,
  billdetailId INTEGER,
  itemid INTEGER,
  checkCode TEXT COLLATE NOCASE,
  onCount NUMERIC DEFAULT 0,
  checkcount NUMERIC DEFAULT 0,
  cutcount NUMERIC DEFAULT 0,
  patchcount NUMERIC DEFAULT 0,
  grade TEXT COLLATE NOCASE,
  machineId TEXT COLLATE NOCASE,
  checkUsercode TEXT COLLATE NOCASE,
  taskno TEXT COLLATE NOCASE,
  remark TEXT COLLATE NOCASE,
  item1 TEXT COLLATE NOCASE, item2 TEXT COLLATE NOCASE, item3 TEXT COLLATE NOCASE,
  item4 TEXT COLLATE NOCASE, item5 TEXT COLLATE NOCASE, item6 TEXT COLLATE NOCASE,
  item7 TEXT COLLATE NOCASE, item8 TEXT COLLATE NOCASE, item9 TEXT COLLATE NOCASE,
  item10 TEXT COLLATE NOCASE, item11 TEXT COLLATE NOCASE, item12 TEXT COLLATE NOCASE,
  item13 TEXT COLLATE NOCASE,
  createDate DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')),
  checkDate DATETIME,
  bagnumber TEXT COLLATE NOCASE,
  bagweight NUMERIC DEFAULT 0,
  bagremark TEXT COLLATE NOCASE,
  bagTime DATETIME,
  bagMachine TEXT COLLATE NOCASE,
  batchId INTEGER DEFAULT 0,
  itemcount NUMERIC DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_checkinfo_billcode ON checkinfo(billCode);
CREATE INDEX IF NOT EXISTS ix_checkinfo_createdate ON checkinfo(createDate);
CREATE INDEX IF NOT EXISTS ix_checkinfo_checkcode ON checkinfo(checkCode);
CREATE INDEX IF NOT EXISTS ix_checkinfo_billdetailid ON checkinfo(billdetailId);
CREATE INDEX IF NOT EXISTS ix_checkinfo_bagnumber ON checkinfo(bagnumber);

CREATE TABLE IF NOT EXISTS checkDetail (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  checkId INTEGER,
  checkCode TEXT COLLATE NOCASE,
  remark TEXT COLLATE NOCASE,
  bugName TEXT COLLATE NOCASE,
  bugPosition NUMERIC,
  bugEnd NUMERIC DEFAULT 0,
  bugCount NUMERIC,
  bugScore NUMERIC,
  createDate DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'))
);
-- The defects of a roll with what the reports sum of them, read from the index alone.
CREATE INDEX IF NOT EXISTS ix_checkdetail_sums ON checkDetail(checkId, bugName, bugScore, bugCount);
-- The picture of a defect: its file under the photo folder, and when the camera took it.
CREATE TABLE IF NOT EXISTS checkDetailPhoto (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  detailId INTEGER,
  fileName TEXT COLLATE NOCASE,
  takenAt DATETIME
);
CREATE INDEX IF NOT EXISTS ix_checkdetailphoto_detail ON checkDetailPhoto(detailId);

CREATE TABLE IF NOT EXISTS BillStatusDetail (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  barcode TEXT COLLATE NOCASE,
  billstatusID INTEGER DEFAULT 0,
  billstatus TEXT COLLATE NOCASE,
  viewcount NUMERIC DEFAULT 0,
  viewnumber NUMERIC DEFAULT 0,
  remark TEXT COLLATE NOCASE,
  usercode TEXT COLLATE NOCASE,
  address TEXT COLLATE NOCASE,
  createdate DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')),
  endUser TEXT COLLATE NOCASE,
  billdetailid INTEGER
);
CREATE INDEX IF NOT EXISTS ix_billstatusdetail_barcode ON BillStatusDetail(barcode);
CREATE INDEX IF NOT EXISTS ix_billstatusdetail_line ON BillStatusDetail(billdetailid);

CREATE TABLE IF NOT EXISTS billStatus (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  billcode TEXT COLLATE NOCASE,
  amount NUMERIC DEFAULT 0,
  billstatus TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_billstatus_billcode ON billStatus(billcode);

CREATE TABLE IF NOT EXISTS billprodetail (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  checkinfoid INTEGER,
  billprocount NUMERIC DEFAULT 0,
  billdetailid INTEGER
);
CREATE INDEX IF NOT EXISTS ix_billprodetail_checkinfoid ON billprodetail(checkinfoid);

CREATE TABLE IF NOT EXISTS item (
  itemid INTEGER PRIMARY KEY AUTOINCREMENT,
  itemcode TEXT COLLATE NOCASE,
  itemname TEXT COLLATE NOCASE,
  ItemOtherName TEXT COLLATE NOCASE,
  itemspec TEXT COLLATE NOCASE,
  item1 TEXT COLLATE NOCASE, item2 TEXT COLLATE NOCASE, item3 TEXT COLLATE NOCASE,
  item4 TEXT COLLATE NOCASE, item5 TEXT COLLATE NOCASE, item6 TEXT COLLATE NOCASE,
  itemclass INTEGER DEFAULT 1,
  itemtypeid INTEGER,
  itemunitB TEXT COLLATE NOCASE,
  itemUnit NUMERIC DEFAULT 1,
  itemUnitS TEXT COLLATE NOCASE,
  itemUnitL NUMERIC DEFAULT 1,
  itemUnitLS TEXT COLLATE NOCASE,
  defaultUnit TEXT COLLATE NOCASE,
  Price NUMERIC DEFAULT 0,
  stockPrice NUMERIC DEFAULT 0,
  price1 NUMERIC DEFAULT 0,
  price2 NUMERIC DEFAULT 0,
  price3 NUMERIC DEFAULT 0,
  minStock NUMERIC DEFAULT 0,
  maxStock NUMERIC DEFAULT 0,
  ProduceArea TEXT COLLATE NOCASE,
  remark TEXT COLLATE NOCASE,
  isstop INTEGER DEFAULT 0,
  pic BLOB,
  picName TEXT COLLATE NOCASE,
  ItemBarCode TEXT COLLATE NOCASE,
  pinyin TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_item_itemcode ON item(itemcode);

CREATE TABLE IF NOT EXISTS itemtype (
  itemtypeId INTEGER PRIMARY KEY AUTOINCREMENT,
  itemtypeName TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS iteminstore (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  itemid INTEGER,
  storeRoomid INTEGER,
  stocks NUMERIC DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_iteminstore_itemid ON iteminstore(itemid);

CREATE TABLE IF NOT EXISTS storeroom (
  storeRoomid INTEGER PRIMARY KEY AUTOINCREMENT,
  storeRoomname TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS companyPrice (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  itemId INTEGER,
  companyid INTEGER,
  price NUMERIC DEFAULT 0
);

CREATE TABLE IF NOT EXISTS iteminBatch (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  itemid INTEGER,
  storeroomid INTEGER,
  itemcount NUMERIC DEFAULT 0,
  productionNumber NUMERIC DEFAULT 0,
  ProductSN TEXT COLLATE NOCASE,
  productionColor TEXT COLLATE NOCASE,
  descrtion TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_iteminbatch_itemid ON iteminBatch(itemid, storeroomid);

CREATE TABLE IF NOT EXISTS company (
  companyid INTEGER PRIMARY KEY AUTOINCREMENT,
  companyname TEXT COLLATE NOCASE,
  stock INTEGER DEFAULT 0
);

CREATE TABLE IF NOT EXISTS UserInfo (
  UserID INTEGER PRIMARY KEY AUTOINCREMENT,
  usercode TEXT COLLATE NOCASE,
  username TEXT COLLATE NOCASE,
  ISSTOP INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_userinfo_usercode ON UserInfo(usercode);

CREATE TABLE IF NOT EXISTS Dictionary (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  ITEMTYPE TEXT COLLATE NOCASE,
  ItemValues TEXT COLLATE NOCASE,
  ItemName TEXT COLLATE NOCASE,
  ReportSQL TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_dictionary_type ON Dictionary(ITEMTYPE, ItemValues);

CREATE TABLE IF NOT EXISTS DBInfo (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  InfoCode TEXT COLLATE NOCASE,
  InfoValue TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS printpool (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  pid TEXT COLLATE NOCASE,
  PrintType TEXT COLLATE NOCASE,
  Content TEXT COLLATE NOCASE,
  printfrom TEXT COLLATE NOCASE,
  createtime TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS billFiles (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  fileName TEXT COLLATE NOCASE,
  billFile BLOB,
  fileType TEXT COLLATE NOCASE,
  fkid INTEGER
);

CREATE TABLE IF NOT EXISTS RFID_CARDINFO (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  CARDNO TEXT COLLATE NOCASE,
  refCode TEXT COLLATE NOCASE,
  CARDTYPE TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_rfid_cardno ON RFID_CARDINFO(CARDNO);

-- Running numbers of the stations: box and dye-lot counters (one row per kind and day), the
-- highest saved roll number per numbering scope (day ''), and the roll number each station has
-- proposed but not yet saved (day '@' and the station), all changed inside one write transaction.
CREATE TABLE IF NOT EXISTS mirelNumbers (
  kind TEXT COLLATE NOCASE NOT NULL,
  day TEXT COLLATE NOCASE NOT NULL,
  value INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY (kind, day)
);

-- Saves a station kept in its local journal while the database was away, one row per record
-- once it has been replayed: the replay writes the row in the record's own transaction, so a
-- record found here is never applied a second time.
CREATE TABLE IF NOT EXISTS mirelJournal (
  journalId TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
  station TEXT COLLATE NOCASE,
  saved DATETIME,
  replayed DATETIME
);

-- Every station's beat (the office's web view reads it): one row per host, station word and
-- machine number, written every 30 s.
CREATE TABLE IF NOT EXISTS stationStatus (
  host TEXT COLLATE NOCASE NOT NULL,
  station TEXT COLLATE NOCASE NOT NULL,
  menchineId TEXT COLLATE NOCASE NOT NULL DEFAULT '',
  version TEXT,
  started DATETIME,
  lastSeen DATETIME,
  beatSeconds INTEGER NOT NULL DEFAULT 30,
  pending INTEGER NOT NULL DEFAULT 0,
  refused INTEGER NOT NULL DEFAULT 0,
  devices TEXT,
  lastSave DATETIME,
  PRIMARY KEY (host, station, menchineId)
);

-- The weaving hall's MES tables, for an installation that keeps them in the same database file
-- (demos and trials of the loom-event import).
CREATE TABLE IF NOT EXISTS 生产卡 (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  写卡时间 DATETIME,
  备注 TEXT COLLATE NOCASE,
  总经长 NUMERIC,
  产品编号 TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS 织机事件表 (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  事件类型 INTEGER,
  上轴ID INTEGER,
  卷号 TEXT COLLATE NOCASE,
  织机编号 TEXT COLLATE NOCASE,
  挡车工ID TEXT COLLATE NOCASE,
  参数2 TEXT COLLATE NOCASE,
  当前布长 NUMERIC,
  累计产量 NUMERIC,
  事件时间 DATETIME,
  是否检验 INTEGER
);
CREATE TABLE IF NOT EXISTS 员工信息 (
  编号 TEXT COLLATE NOCASE PRIMARY KEY,
  姓名 TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS 坯布信息 (
  坯布编号 TEXT COLLATE NOCASE PRIMARY KEY,
  坯布名称 TEXT COLLATE NOCASE,
  原料规格 TEXT COLLATE NOCASE,
  门幅 TEXT COLLATE NOCASE,
  克重 TEXT COLLATE NOCASE
);
