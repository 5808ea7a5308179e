// The ODBC back end for real, against the SQLite ODBC driver: dialect detection, batches with
// identity, manual-commit transactions, Chinese text, binary columns, diagnostics.
#include "DbTestUtil.h"

#include "db/EmbeddedSchema.h"
#include "db/Transaction.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestOdbc : public QObject {
    Q_OBJECT

private:
    QString m_driver;
    QTemporaryDir m_dir;
    Connection m_conn;

private slots:
    void initTestCase();
    void dialectIsDetected();
    void batchWithIdentity();
    void chineseTextRoundTrips_data();
    void chineseTextRoundTrips();
    void binaryRoundTrips();
    void transactions();
    void markersTakeValues();
    void writesThatMustTouchTheirRow();
    void diagnosticsCarrySqlState();
    void unknownDriverFails();
};

void TestOdbc::initTestCase()
{
    // Registered as "SQLite3" by the package; the library path works without registration.
    const QStringList files = {u"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so"_s,
                               u"/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so"_s,
                               u"/usr/lib/odbc/libsqlite3odbc.so"_s};
    for (const QString& f : files) {
        if (QFile::exists(f)) {
            m_driver = f;
            break;
        }
    }
    if (m_driver.isEmpty())
        QSKIP("The SQLite ODBC driver (libsqliteodbc, libsqlite3odbc.so) is not installed");
    m_conn.open(u"Driver="_s + m_driver + u";Database="_s + m_dir.path() + u"/odbc.db;Timeout=30000"_s);
    EmbeddedSchema::create(m_conn);
}

void TestOdbc::dialectIsDetected()
{
    QCOMPARE(m_conn.dialect(), SqlDialect::Sqlite);
    // T-SQL is translated for this data source.
    QCOMPARE(rowsText(m_conn.execute(u"select top 1 isnull(NULL, 7)"_s)), u"7"_s);
}

void TestOdbc::batchWithIdentity()
{
    const Recordset first = m_conn.execute(
        u"Insert into checkInfo (billCode,checkCode,onCount) values('L05','001',60.5);select SCOPE_IDENTITY(); "_s);
    const Recordset second = m_conn.execute(
        u"insert checkinfo(billCode,checkCode) values('L05','002'); select SCOPE_IDENTITY() as id"_s);
    QCOMPARE(first.recordCount(), 1);
    QCOMPARE(second.field(u"id"_s).toLongLong(), first.field(0).toLongLong() + 1);
    const Recordset rs = m_conn.execute(u"select onCount, remark from checkinfo where id="_s +
                                        first.field(0).toString());
    QCOMPARE(rs.field(0).toDouble(), 60.5);
    QVERIFY(rs.field(1).isNull());
}

void TestOdbc::chineseTextRoundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("chinese") << u"藏青色 天丝弹力缎"_s;
    QTest::newRow("quote") << u"王'师傅'"_s;
    // The SQLite ODBC driver converts UTF-16 without surrogate pairs, so characters outside the
    // basic plane are left to the SQL Server driver.
    QTest::newRow("rare characters") << u"㐀䶵龥"_s;
    QTest::newRow("long") << QString(3000, QChar(0x7EBA));
}

void TestOdbc::chineseTextRoundTrips()
{
    QFETCH(QString, text);
    QString quoted = text;
    quoted.replace(u'\'', u"''"_s);
    const Recordset id = m_conn.execute(u"insert checkinfo(remark) values(N'"_s + quoted +
                                        u"'); select SCOPE_IDENTITY()"_s);
    const Recordset rs = m_conn.execute(u"select remark from checkinfo where id="_s + id.field(0).toString());
    QCOMPARE(rs.field(0).toString(), text);
}

void TestOdbc::binaryRoundTrips()
{
    QByteArray bytes;
    for (int i = 0; i < 10000; ++i)
        bytes.append(char(i * 7));
    m_conn.execute(u"insert billFiles(fileName, billFile, fileType, fkid) values('匹唛.grf', 0x"_s +
                   QString::fromLatin1(bytes.toHex()) + u", 'Bill', 1)"_s);
    const Recordset rs = m_conn.execute(u"select billFile, fileName from billFiles where fkid=1"_s);
    QCOMPARE(rs.field(0).type(), DbValue::Type::Bytes);
    QCOMPARE(rs.field(0).toBytes(), bytes);
    QCOMPARE(rs.field(1).toString(), u"匹唛.grf"_s);
}

void TestOdbc::transactions()
{
    {
        Transaction t(m_conn);
        m_conn.execute(u"insert item(itemcode) values('rolled back')"_s);
    }
    {
        Transaction t(m_conn);
        m_conn.execute(u"insert item(itemcode) values('kept')"_s);
        t.commit();
    }
    QCOMPARE(rowsText(m_conn.execute(u"select itemcode from item"_s)), u"kept"_s);
    // After the transaction every statement commits on its own again.
    m_conn.execute(u"insert item(itemcode) values('auto')"_s);
    Connection other;
    other.open(u"Driver="_s + m_driver + u";Database="_s + m_dir.path() + u"/odbc.db"_s);
    QCOMPARE(rowsText(other.execute(u"select count(*) from item"_s)), u"2"_s);
}

// Values bound with SQLBindParameter: Chinese text with a quote, a number, a timestamp.
void TestOdbc::markersTakeValues()
{
    m_conn.execute(
        u"insert checkinfo(billcode, machineId, onCount, createDate) values('Q1', '织''3', 60.5, '2026-03-04 10:00:00')"_s);
    const QString sql =
        u"select count(*) from checkinfo where machineId = ? and onCount > ? and createDate >= ?"_s;
    auto count = [&](const QString& machine, double above, const QDate& from) {
        return m_conn
            .execute(sql, {DbValue(machine), DbValue(above), DbValue(QDateTime(from, QTime(0, 0)))})
            .field(0)
            .toInt();
    };
    QCOMPARE(count(u"织'3"_s, 60.0, QDate(2026, 3, 4)), 1);
    QCOMPARE(count(u"织'3"_s, 61.0, QDate(2026, 3, 4)), 0);
    QCOMPARE(count(u"织'3"_s, 60.0, QDate(2026, 3, 5)), 0);
    QCOMPARE(count(u"织3"_s, 60.0, QDate(2026, 3, 4)), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, m_conn.execute(sql, {DbValue(u"x"_s)}));
}

// SQLRowCount tells a write that touched its row from one whose row is gone.
void TestOdbc::writesThatMustTouchTheirRow()
{
    const QString id =
        m_conn.execute(u"insert item(itemcode) values('R1'); select SCOPE_IDENTITY()"_s)
            .field(0)
            .toString();
    QCOMPARE(m_conn.executeOnRow(u"update item set itemname='x' where itemid="_s + id), 1);
    QCOMPARE(
        m_conn.executeOnRow(u"update item set itemname=? where itemid="_s + id, {DbValue(u"y"_s)}),
        1);
    QCOMPARE(m_conn.executeOnRow(u"delete item where itemid="_s + id), 1);
    for (const QString& sql : {u"delete item where itemid="_s + id,
                               u"update item set itemname='x' where itemid="_s + id}) {
        try {
            m_conn.executeOnRow(sql);
            QFAIL("no error for a write that touched no row");
        } catch (const DbError& e) {
            QVERIFY(e.isRowMissing());
        }
    }
}

void TestOdbc::diagnosticsCarrySqlState()
{
    try {
        m_conn.execute(u"select nosuchcolumn from checkinfo"_s);
        QFAIL("no error");
    } catch (const DbError& e) {
        QCOMPARE(e.code().size(), 5);
        QVERIFY2(e.message().contains(u"nosuchcolumn"_s), qPrintable(e.message()));
    }
}

void TestOdbc::unknownDriverFails()
{
    Connection c;
    try {
        c.open(u"Driver={No Such Driver};Server=x"_s);
        QFAIL("opened");
    } catch (const DbError& e) {
        // unixODBC reports a driver library it cannot load as 01000 with the reason.
        QCOMPARE(e.code().size(), 5);
        QVERIFY2(e.message().contains(u"No Such Driver"_s), qPrintable(e.message()));
    }
    QVERIFY(!c.isOpen());
}

QTEST_GUILESS_MAIN(TestOdbc)
#include "TestOdbc.moc"
