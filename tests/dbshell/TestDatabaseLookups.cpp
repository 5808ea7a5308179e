// The shared connection and the lookups every station makes: connection settings, DBInfo
// captions, dictionary texts and user names, each with the failures the stations rely on.
#include "codec/TextCodec.h"
#include "db/Connection.h"
#include "shell/Database.h"
#include "shell/DbInfoCache.h"
#include "shell/MessageBox.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "support/TempProgramFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

class TestDatabaseLookups : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempProgramFolder> m_folder; // a fresh program folder for every test

private slots:
    void init();
    void withoutSettingTheDefaultDatabaseIsCreated();
    void encodedSettingIsDecoded();
    void failedOpenShowsTheMessageAndLeavesConnectionClosed_data();
    void failedOpenShowsTheMessageAndLeavesConnectionClosed();
    void openingTwiceReopens();
    void buildConnectionString_data();
    void buildConnectionString();
    void hasRecords();
    void dbInfoDefaults_data();
    void dbInfoDefaults();
    void dbInfoFirstOfSameCodeWins();
    void itemNameAndReportSql_data();
    void itemNameAndReportSql();
    void reportSqlSwallowsErrorsItemNameDoesNot();
    void userName_data();
    void userName();
    void dictionaryValue();
    void editedCaptionIsKeptForLaterLoads_data();
    void editedCaptionIsKeptForLaterLoads();
};

void TestDatabaseLookups::init()
{
    Database::conn().close();
    DbInfoCache::clear();
    MessageBox::clearShown();
    MessageBox::clearAnswers();
    m_folder.reset();
    m_folder = std::make_unique<TempProgramFolder>();
}

void TestDatabaseLookups::withoutSettingTheDefaultDatabaseIsCreated()
{
    QVERIFY(Database::openConnection());
    QVERIFY(Database::conn().isOpen());
    QVERIFY(QFile::exists(m_folder->file(u"mirel.db"_s)));
    QVERIFY(MessageBox::shown().isEmpty());
    // Gone after that first start: offline at every later start, nothing is made in its place.
    Database::conn().close();
    QVERIFY(QFile::remove(m_folder->file(u"mirel.db"_s)));
    QVERIFY(!Database::openConnection());
    QCOMPARE(MessageBox::lastShown().text, u"数据库连接失败"_s);
    QVERIFY(!QFile::exists(m_folder->file(u"mirel.db"_s)));
}

void TestDatabaseLookups::encodedSettingIsDecoded()
{
    const QString path = m_folder->file(u"werk.db"_s);
    const QString plain = u"Provider=SQLite;Data Source="_s + path;
    {
        Connection c;
        c.openOrCreate(plain);
    }
    SysUtil::writeIni(u"CUSTOMER.SETTING"_s, u"CONNECTIONSTRING"_s,
                      TextCodec::encodeText(plain, u"orvex"_s), u"/config.ini"_s);
    QCOMPARE(Database::connectionSetting(), plain);
    QVERIFY(Database::openConnection());
    QCOMPARE(Database::conn().connectionString(), plain);
}

void TestDatabaseLookups::failedOpenShowsTheMessageAndLeavesConnectionClosed_data()
{
    QTest::addColumn<QString>("setting");
    QTest::newRow("missing file") << u"Provider=SQLite;Data Source=/nonexistent/x.db"_s;
    QTest::newRow("not a connection string") << u"hello"_s;
    QTest::newRow("wrong key for the codec") << TextCodec::encodeText(u"缺省"_s, u"other"_s);
    QTest::newRow("unknown odbc driver") << u"Driver={No Such Driver};Server=.;"_s;
}

void TestDatabaseLookups::failedOpenShowsTheMessageAndLeavesConnectionClosed()
{
    QFETCH(QString, setting);
    QVERIFY(Database::openConnection()); // an open connection first: it must be closed
    SysUtil::writeIni(u"CUSTOMER.SETTING"_s, u"CONNECTIONSTRING"_s, setting, u"/config.ini"_s);
    QVERIFY(!Database::openConnection());
    QCOMPARE(MessageBox::lastShown().text, u"数据库连接失败"_s);
    QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
    QVERIFY(!Database::conn().isOpen());
    // Later statements fail in the caller's error handling.
    QVERIFY_THROWS_EXCEPTION(DbError, Database::conn().execute(u"select 1"_s));
}

void TestDatabaseLookups::openingTwiceReopens()
{
    QVERIFY(Database::openConnection());
    Database::conn().beginTrans();
    Database::conn().execute(u"insert bill(billcode) values('uncommitted')"_s);
    // Reopening closes the old connection: its open transaction does not survive.
    QVERIFY(Database::openConnection());
    QVERIFY(!Database::conn().inTransaction());
    QCOMPARE(Database::conn().execute(u"select count(*) from bill"_s).field(0).toInt(), 0);
}

void TestDatabaseLookups::buildConnectionString_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sql login") << 2
        << u"Provider=SQLOLEDB.1;Persist Security Info=False;Data Source=srv;Initial Catalog=erp;User ID=sa;Password=pw;"_s;
    QTest::newRow("integrated") << 1
        << u"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Data Source=srv;Initial Catalog=erp;User ID=sa;Password=pw;"_s;
    QTest::newRow("other modes are integrated") << 0
        << u"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Data Source=srv;Initial Catalog=erp;User ID=sa;Password=pw;"_s;
}

void TestDatabaseLookups::buildConnectionString()
{
    QFETCH(int, mode);
    QFETCH(QString, expected);
    QCOMPARE(Database::buildConnectionString(u"srv"_s, u"sa"_s, u"pw"_s, u"erp"_s, mode), expected);
}

void TestDatabaseLookups::hasRecords()
{
    QVERIFY(!Database::hasRecords(nullptr));
    Recordset closed;
    QVERIFY(!Database::hasRecords(closed));
    Recordset empty(QStringList{u"a"_s});
    QVERIFY(!Database::hasRecords(empty));
    Recordset one(QStringList{u"a"_s});
    one.addRow({DbValue(1)});
    QVERIFY(Database::hasRecords(one));
    one.moveNext();
    QVERIFY(!Database::hasRecords(one));
    QVERIFY(!SysUtil::recordsetHasRows(one));
}

void TestDatabaseLookups::dbInfoDefaults_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("empty DBInfo") << true;
    QTest::newRow("no connection") << false;
}

// AppPath is the program folder when a database answers, the caller's default otherwise.
void TestDatabaseLookups::dbInfoDefaults()
{
    QFETCH(bool, connected);
    if (connected)
        QVERIFY(Database::openConnection());
    QCOMPARE(Database::getDbInfo(u"checkpassword"_s, u"5862"_s), u"5862"_s);
    QCOMPARE(Database::getDbInfo(u"AppPath"_s, u"d"_s), connected ? m_folder->path() : u"d"_s);
}

void TestDatabaseLookups::dbInfoFirstOfSameCodeWins()
{
    QVERIFY(Database::openConnection());
    Database::conn().execute(u"insert DBInfo(InfoCode, InfoValue) values('Label-item-pibu-batchNo', '批号');"
                             u"insert DBInfo(InfoCode, InfoValue) values('LABEL-ITEM-PIBU-BATCHNO', '缸号');"
                             u"insert DBInfo(InfoCode, InfoValue) values('checkpassword', '1234')"_s);
    QCOMPARE(Database::getDbInfo(u"label-item-pibu-batchno"_s, u"x"_s), u"批号"_s);
    QCOMPARE(Database::getDbInfo(u"CHECKPASSWORD"_s, u"5862"_s), u"1234"_s);
    // Loaded once: a later change shows at the next start only.
    Database::conn().execute(u"update DBInfo set InfoValue='9999' where InfoCode='checkpassword'"_s);
    QCOMPARE(Database::getDbInfo(u"checkpassword"_s, u"5862"_s), u"1234"_s);
}

void TestDatabaseLookups::itemNameAndReportSql_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sql");
    QTest::newRow("found") << u"listSQL"_s << u"LoadCheckSQL"_s << u"卡片查询"_s << u"select * from bill where billcode='?'"_s;
    QTest::newRow("case and blanks ignored") << u"LISTSQL"_s << u"loadchecksql "_s << u"卡片查询"_s << u"select * from bill where billcode='?'"_s;
    QTest::newRow("empty type takes the first row") << QString() << u"whatever"_s << u"生产卡"_s << QString();
    QTest::newRow("not found") << u"listSQL"_s << u"Nothing"_s << QString() << QString();
    QTest::newRow("quote in value") << u"listSQL"_s << u"O'Neil"_s << QString() << QString();
}

void TestDatabaseLookups::itemNameAndReportSql()
{
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QString, name);
    QFETCH(QString, sql);
    QVERIFY(Database::openConnection());
    Database::conn().execute(
        u"insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '55', '生产卡');"
        u"insert Dictionary(ITEMTYPE, ItemValues, ItemName, ReportSQL) values('listSQL', 'LoadCheckSQL', '卡片查询', 'select * from bill where billcode=''?''')"_s);
    QCOMPARE(Database::getItemName(type, value), name);
    QCOMPARE(Database::getReportSql(type, value), sql);
    QCOMPARE(SysUtil::getListSql(Database::conn(), type, value), type.isEmpty() ? QString() : sql);
}

void TestDatabaseLookups::reportSqlSwallowsErrorsItemNameDoesNot()
{
    QVERIFY(Database::openConnection());
    Database::conn().execute(u"drop table Dictionary"_s);
    QCOMPARE(Database::getReportSql(u"listSQL"_s, u"x"_s), QString());
    QVERIFY_THROWS_EXCEPTION(DbError, Database::getItemName(u"listSQL"_s, u"x"_s));
}

void TestDatabaseLookups::userName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("active") << u"001"_s << u"王建国"_s;
    QTest::newRow("stopped") << u"005"_s << QString();
    QTest::newRow("unknown") << u"999"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestDatabaseLookups::userName()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QVERIFY(Database::openConnection());
    Database::conn().execute(u"insert UserInfo(usercode, username, ISSTOP) values('001', '王建国', 0);"
                             u"insert UserInfo(usercode, username, ISSTOP) values('005', '刘志强', 1)"_s);
    QCOMPARE(Database::getUserName(code), name);
}

void TestDatabaseLookups::dictionaryValue()
{
    QVERIFY(Database::openConnection());
    Database::conn().execute(u"insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('CheckFill', '99', '3|productionJarNo,5|款号,')"_s);
    QCOMPARE(SysUtil::getDictionaryValue(Database::conn(), u"CheckFill"_s, u"99"_s), u"3|productionJarNo,5|款号,"_s);
    QCOMPARE(SysUtil::getDictionaryValue(Database::conn(), u"CheckFill"_s, u"简单检验"_s), QString());
}

void TestDatabaseLookups::editedCaptionIsKeptForLaterLoads_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QVariant>("answer"); // invalid = cancel
    QTest::addColumn<QString>("caption");
    QTest::newRow("renamed") << u"Label-item-pibu-batchNo"_s << QVariant(u"缸号'二'"_s) << u"缸号'二'"_s;
    QTest::newRow("cancel") << u"Label-item-pibu-batchNo"_s << QVariant() << u"批号"_s;
    QTest::newRow("not a label tag") << u"other"_s << QVariant(u"x"_s) << u"批号"_s;
}

void TestDatabaseLookups::editedCaptionIsKeptForLaterLoads()
{
    QFETCH(QString, tag);
    QFETCH(QVariant, answer);
    QFETCH(QString, caption);
    QVERIFY(Database::openConnection());
    QCheckBox box(u"批号"_s);
    box.setProperty("Tag", tag);
    MessageBox::setNextInput(answer.isValid() ? std::optional<QString>(answer.toString()) : std::nullopt);
    SysUtil::editCaption(Database::conn(), &box, QString());
    MessageBox::clearAnswers();
    QCOMPARE(box.text(), caption);
    // The next start reads it from DBInfo.
    DbInfoCache::clear();
    QCOMPARE(Database::getDbInfo(tag, u"批号"_s), caption);
}

QTEST_MAIN(TestDatabaseLookups)
#include "TestDatabaseLookups.moc"
