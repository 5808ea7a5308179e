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
    Connection& conn() { return Database::conn(); }

private slots:
    void init()
    {
        Database::conn().close();
        DbInfoCache::clear();
        MessageBox::clearShown();
        MessageBox::clearAnswers();
        m_folder.reset();
        m_folder = std::make_unique<TempProgramFolder>();
    }

    // setting: written to config.ini ("" none: the default database, "encoded": a database of the
    // folder under the stations' codec). A failure shows 数据库连接失败 and leaves the connection
    // closed, also when one was open before; a reopen drops the old connection's transaction.
    void openConnection_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("opens");
        QTest::newRow("no setting: the default database") << QString() << true;
        QTest::newRow("encoded setting") << u"encoded"_s << true;
        QTest::newRow("missing file") << u"Provider=SQLite;Data Source=/nonexistent/x.db"_s << false;
        QTest::newRow("wrong key for the codec") << TextCodec::encodeText(u"缺省"_s, u"other"_s) << false;
    }

    void openConnection()
    {
        QFETCH(QString, setting);
        QFETCH(bool, opens);
        QVERIFY(Database::openConnection()); // the default database, created at this first start
        QVERIFY(QFile::exists(m_folder->file(u"mirel.db"_s)));
        conn().beginTrans();
        conn().execute(u"insert bill(billcode) values('uncommitted')"_s);
        const QString plain = u"Provider=SQLite;Data Source="_s + m_folder->file(u"mirel.db"_s);
        if (!setting.isEmpty())
            SysUtil::writeIni(u"CUSTOMER.SETTING"_s, u"CONNECTIONSTRING"_s,
                              setting == u"encoded" ? TextCodec::encodeText(plain, u"orvex"_s) : setting,
                              u"/config.ini"_s);
        QCOMPARE(Database::openConnection(), opens);
        QCOMPARE(conn().isOpen(), opens);
        QCOMPARE(MessageBox::shown().isEmpty(), opens);
        if (setting == u"encoded")
            QCOMPARE(conn().connectionString(), plain);
        if (!opens) {
            QCOMPARE(MessageBox::lastShown().text, u"数据库连接失败"_s);
            QCOMPARE(MessageBox::lastShown().icon, MessageBox::Critical);
            QVERIFY_THROWS_EXCEPTION(DbError, conn().execute(u"select 1"_s));
            return;
        }
        QVERIFY(!conn().inTransaction());
        QCOMPARE(conn().execute(u"select count(*) from bill"_s).field(0).toInt(), 0);
        // Gone after that first start: offline at every later start, nothing is made in its place.
        conn().close();
        QVERIFY(QFile::remove(m_folder->file(u"mirel.db"_s)));
        QVERIFY(!Database::openConnection());
        QCOMPARE(MessageBox::lastShown().text, u"数据库连接失败"_s);
        QVERIFY(!QFile::exists(m_folder->file(u"mirel.db"_s)));
    }

    void buildConnectionString()
    {
        const QString tail = u"Persist Security Info=False;Data Source=srv;Initial Catalog=erp;User ID=sa;Password=pw;"_s;
        for (const auto& [mode, integrated] : {std::pair{2, false}, {1, true}, {0, true}})
            QCOMPARE(Database::buildConnectionString(u"srv"_s, u"sa"_s, u"pw"_s, u"erp"_s, mode),
                     u"Provider=SQLOLEDB.1;"_s + (integrated ? u"Integrated Security=SSPI;"_s : QString()) + tail);
    }

    // DBInfo: the first row of a code wins, letter case ignored; loaded once (a later change shows at
    // the next start); AppPath is the program folder when a database answers, the default otherwise.
    void dbInfo_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("rows");
        QTest::newRow("two rows of one code")
            << true << u"('Label-item-pibu-batchNo', '批号'), ('LABEL-ITEM-PIBU-BATCHNO', '缸号'), ('checkpassword', '1234')"_s;
        QTest::newRow("empty DBInfo") << true << QString();
        QTest::newRow("no connection") << false << QString();
    }

    void dbInfo()
    {
        QFETCH(bool, connected);
        QFETCH(QString, rows);
        if (connected)
            QVERIFY(Database::openConnection());
        if (!rows.isEmpty())
            conn().execute(u"insert DBInfo(InfoCode, InfoValue) values"_s + rows);
        QCOMPARE(Database::getDbInfo(u"label-item-pibu-batchno"_s, u"x"_s), rows.isEmpty() ? u"x"_s : u"批号"_s);
        QCOMPARE(Database::getDbInfo(u"CHECKPASSWORD"_s, u"5862"_s), rows.isEmpty() ? u"5862"_s : u"1234"_s);
        QCOMPARE(Database::getDbInfo(u"AppPath"_s, u"d"_s), connected ? m_folder->path() : u"d"_s);
        if (connected)
            conn().execute(u"delete DBInfo; insert DBInfo(InfoCode, InfoValue) values('checkpassword', '9999')"_s);
        QCOMPARE(Database::getDbInfo(u"checkpassword"_s, u"5862"_s), rows.isEmpty() ? u"5862"_s : u"1234"_s);
    }

    // Dictionary rows: item names and stored statements by type and value; an empty type takes the
    // first row. The stored statement swallows a database error, the item name does not.
    void dictionaryLookups_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sql");
        const QString sql = u"select * from bill where billcode='?'"_s;
        QTest::newRow("found") << u"listSQL"_s << u"LoadCheckSQL"_s << u"卡片查询"_s << sql;
        QTest::newRow("case and blanks ignored") << u"LISTSQL"_s << u"loadchecksql "_s << u"卡片查询"_s << sql;
        QTest::newRow("empty type takes the first row") << QString() << u"whatever"_s << u"生产卡"_s << QString();
        QTest::newRow("quote in value") << u"listSQL"_s << u"O'Neil"_s << QString() << QString();
        QTest::newRow("preset list") << u"CheckFill"_s << u"99"_s << u"3|productionJarNo,5|款号,"_s << QString();
        QTest::newRow("no dictionary") << u"drop"_s << u"x"_s << QString() << QString();
    }

    void dictionaryLookups()
    {
        QFETCH(QString, type);
        QFETCH(QString, value);
        QFETCH(QString, name);
        QFETCH(QString, sql);
        QVERIFY(Database::openConnection());
        conn().execute(
            u"insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '55', '生产卡');"
            u"insert Dictionary(ITEMTYPE, ItemValues, ItemName, ReportSQL) values('listSQL', 'LoadCheckSQL', '卡片查询', 'select * from bill where billcode=''?''');"
            u"insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('CheckFill', '99', '3|productionJarNo,5|款号,')"_s);
        if (type == u"drop") {
            conn().execute(u"drop table Dictionary"_s);
            QCOMPARE(Database::getReportSql(u"listSQL"_s, value), QString());
            QVERIFY_THROWS_EXCEPTION(DbError, Database::getItemName(u"listSQL"_s, value));
            return;
        }
        QCOMPARE(Database::getItemName(type, value), name);
        QCOMPARE(Database::getReportSql(type, value), sql);
        QCOMPARE(SysUtil::getListSql(conn(), type, value), type.isEmpty() ? QString() : sql);
        if (type == u"CheckFill")
            QCOMPARE(SysUtil::getDictionaryValue(conn(), type, value), name);
    }

    // An active user by code; a stopped, unknown or empty code has no name.
    void userName()
    {
        QVERIFY(Database::openConnection());
        conn().execute(u"insert UserInfo(usercode, username, ISSTOP) values('001', '王建国', 0);"
                       u"insert UserInfo(usercode, username, ISSTOP) values('005', '刘志强', 1)"_s);
        QStringList names;
        for (const QString& code : {u"001"_s, u"005"_s, u"999"_s, QString()})
            names << Database::getUserName(code);
        QCOMPARE(names, QStringList({u"王建国"_s, QString(), QString(), QString()}));
    }

    void editedCaptionIsKeptForLaterLoads_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QVariant>("answer"); // invalid = cancel
        QTest::addColumn<QString>("caption");
        QTest::newRow("renamed") << u"Label-item-pibu-batchNo"_s << QVariant(u"缸号'二'"_s) << u"缸号'二'"_s;
        QTest::newRow("cancel") << u"Label-item-pibu-batchNo"_s << QVariant() << u"批号"_s;
        QTest::newRow("not a label tag") << u"other"_s << QVariant(u"x"_s) << u"批号"_s;
    }

    void editedCaptionIsKeptForLaterLoads()
    {
        QFETCH(QString, tag);
        QFETCH(QVariant, answer);
        QFETCH(QString, caption);
        QVERIFY(Database::openConnection());
        QCheckBox box(u"批号"_s);
        box.setProperty("Tag", tag);
        MessageBox::setNextInput(answer.isValid() ? std::optional<QString>(answer.toString()) : std::nullopt);
        SysUtil::editCaption(conn(), &box, QString());
        MessageBox::clearAnswers();
        QCOMPARE(box.text(), caption);
        // The next start reads it from DBInfo.
        DbInfoCache::clear();
        QCOMPARE(Database::getDbInfo(tag, u"批号"_s), caption);
    }
};

QTEST_MAIN(TestDatabaseLookups)
#include "TestDatabaseLookups.moc"
