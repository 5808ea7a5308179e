// The ODBC back end for real, against the SQLite ODBC driver: dialect detection, batches with
// identity, manual-commit transactions, Chinese text, binary columns, bound values, writes that
// must touch their row, diagnostics.
#include "DbTestUtil.h"

#include "db/EmbeddedSchema.h"
#include "db/Transaction.h"
#include "support/SqliteOdbc.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestOdbc : public QObject {
    Q_OBJECT

private:
    QString m_driver;
    QTemporaryDir m_dir;
    Connection m_conn;
    QString connectionString() const
    {
        // NoCreat=0: this test makes its database through the driver.
        return u"Driver="_s + m_driver + u";Database="_s + m_dir.path() +
               u"/odbc.db;Timeout=30000;NoCreat=0"_s;
    }

private slots:
    void initTestCase()
    {
        m_driver = SqliteOdbc::driver();
        if (m_driver.isEmpty())
            QSKIP("The SQLite ODBC driver (libsqliteodbc, libsqlite3odbc.so) is not installed");
        m_conn.open(connectionString());
        EmbeddedSchema::create(m_conn);
        QCOMPARE(m_conn.dialect(), SqlDialect::Sqlite);
    }

    // A batch (T-SQL, translated for this data source) and the rows a check query then returns;
    // {id} in the check is the batch's first value. The translation rules, identities, Chinese
    // text and quotes also run through this driver in the translator's test. The SQLite ODBC
    // driver converts UTF-16 without surrogate pairs, so characters outside the basic plane are
    // left to the SQL Server driver.
    void statements_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        const QString text = u"insert checkinfo(remark) values(N'%1'); select SCOPE_IDENTITY()"_s;
        const QString remark = u"select remark from checkinfo where id={id}"_s;
        QTest::newRow("rare characters") << text.arg(u"㐀䶵龥"_s) << remark << u"㐀䶵龥"_s;
        QTest::newRow("long") << text.arg(QString(3000, QChar(0x7EBA))) << remark << QString(3000, QChar(0x7EBA));
        QByteArray bytes;
        for (int i = 0; i < 10000; ++i)
            bytes.append(char(i * 7));
        QTest::newRow("binary")
            << u"insert billFiles(fileName, billFile, fileType, fkid) values('匹唛.grf', 0x"_s +
                   QString::fromLatin1(bytes.toHex()) + u", 'Bill', 1); select SCOPE_IDENTITY()"_s
            << u"select billFile, fileName from billFiles where id={id}"_s
            << u"0x"_s + QString::fromLatin1(bytes.toHex()) + u"|匹唛.grf"_s;
    }

    void statements()
    {
        QFETCH(QString, batch);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        Recordset rs = m_conn.execute(batch);
        const QString id = rs.field(0).toString();
        if (!check.isEmpty())
            rs = m_conn.execute(QString(check).replace(u"{id}"_s, id));
        QCOMPARE(rowsText(rs), expected.replace(u"{id}"_s, id));
    }

    // Manual commit: rolled back unless committed, every statement commits on its own afterwards;
    // values bound with SQLBindParameter; SQLRowCount tells a write that touched its row from one
    // whose row is gone.
    void transactions()
    {
        {
            Transaction t(m_conn);
            m_conn.execute(u"insert item(itemcode) values('rolled back')"_s);
        }
        {
            Transaction t(m_conn);
            m_conn.execute(u"insert item(itemcode, itemname) values('kept', '织''3')"_s);
            t.commit();
        }
        const QString id = m_conn.execute(u"insert item(itemcode, Price) values('auto', 60.5); select SCOPE_IDENTITY()"_s).field(0).toString();
        Connection other;
        other.open(connectionString());
        QCOMPARE(rowsText(other.execute(u"select itemcode from item order by itemid"_s)), u"kept\nauto"_s);
        const QString sql = u"select count(*) from item where itemname = ? or Price > ?"_s;
        QCOMPARE(m_conn.execute(sql, {DbValue(u"织'3"_s), DbValue(70.0)}).field(0).toInt(), 1);
        QCOMPARE(m_conn.execute(sql, {DbValue(u"织3"_s), DbValue(60.0)}).field(0).toInt(), 1);
        QCOMPARE(m_conn.execute(sql, {DbValue(u"织3"_s), DbValue(61.0)}).field(0).toInt(), 0);
        QVERIFY_THROWS_EXCEPTION(DbError, m_conn.execute(sql, {DbValue(u"x"_s)}));
        QCOMPARE(m_conn.executeOnRow(u"update item set itemname=? where itemid="_s + id, {DbValue(u"y"_s)}), 1);
        QCOMPARE(m_conn.executeOnRow(u"delete item where itemid="_s + id), 1);
        for (const QString& gone : {u"delete item where itemid="_s + id, u"update item set itemname='x' where itemid="_s + id}) {
            try {
                m_conn.executeOnRow(gone);
                QFAIL("no error for a write that touched no row");
            } catch (const DbError& e) {
                QVERIFY(e.isRowMissing());
            }
        }
    }

    // Diagnostics carry the SQLSTATE and the reason: a bad column, a driver unixODBC cannot load.
    void errors()
    {
        for (const auto& [open, sql, fragment] :
             {std::tuple{false, u"select nosuchcolumn from checkinfo"_s, u"nosuchcolumn"_s},
              std::tuple{true, u"Driver={No Such Driver};Server=x"_s, u"No Such Driver"_s}}) {
            Connection c;
            try {
                open ? c.open(sql) : void(m_conn.execute(sql));
                QFAIL("no error");
            } catch (const DbError& e) {
                QCOMPARE(e.code().size(), 5);
                QVERIFY2(e.message().contains(fragment), qPrintable(e.message()));
            }
            QVERIFY(!c.isOpen());
        }
    }
};

QTEST_GUILESS_MAIN(TestOdbc)
#include "TestOdbc.moc"
