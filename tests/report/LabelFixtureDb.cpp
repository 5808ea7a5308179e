// The fixture database of the label tests: the program's schema, rows written with SQLite directly
// so that the engine reads it like any mill database.
#include "LabelFixture.h"

#include "db/Connection.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

void LabelFixture::exec(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    QVERIFY2(sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK, "cannot open fixture");
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    const QByteArray msg = err ? QByteArray(err) : QByteArray();
    sqlite3_free(err);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, msg.constData());
}

QString LabelFixture::createDatabase(const QString& path, int rolls)
{
    for (const char* end : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(end));
    Connection().openOrCreate(u"Provider=SQLite;Data Source="_s + path); // the program's own schema
    QString sql =
        u"insert into checkDetail(checkId,bugName,bugPosition,bugEnd,bugScore) values"
        " (1,'破洞',12.3,0,3),(1,'油污',12.8,0,2),(1,'断经',40.5,0,4),(1,'纬档',60,72,2),"
        " (1,'区段报警',70,0,0);"
        "insert into company(companyname) values('杭州明远服饰有限公司');"
        "insert into bill(billcode,companyid,relateorder) values('SC2026-0158',1,'PO-88123');"
        "insert into item(itemcode,itemname,itemspec,item1,item2,item3,itembarcode) values"
        " ('ML-2045','全棉斜纹布','21S/2 108x58','100%棉','220g','150cm','6901234567892');"
        "insert into billdetail(billid,itemid,productionColor) values(1,1,'藏青');"_s;
    for (int i = 1; i <= rolls; ++i) {
        sql += u"insert into checkinfo(billcode,billdetailid,itemid,checkcode,oncount,grade,"
               "taskno,checkusercode,createdate,bagnumber,bagweight,bagtime,checkcount) values"
               " ('SC2026-0158',1,1,'%1',%2,'%3','L2611','012','2026-12-05 10:31:00',"
               "'261205001',61.25,'2026-12-05 11:02:00',%4);"_s // roll 008 in yards
                   .arg(i + 6, 3, 10, QLatin1Char('0'))
                   .arg(98.5 + (i - 1))
                   .arg(i % 3 == 0 ? u"二等品"_s : u"一等品"_s)
                   .arg(i == 2 ? 0.9144 : 1);
    }
    // One transaction: the fixture is rebuilt for every test case and must not wait on the disk.
    exec(path, u"begin;"_s + sql + u"commit;"_s);
    return u"Provider=SQLite;Data Source="_s + path;
}
