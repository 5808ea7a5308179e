// Two embedded databases for the loom-event import.
#include "MesFixture.h"

#include "db/SqlText.h"
#include "shell/MesImport.h"

#include <sqlite3.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

MesFixture::MesFixture()
{
    m_mill.openOrCreate(u"Provider=SQLite;Data Source="_s + millFile());
    m_mes.openOrCreate(u"Provider=SQLite;Data Source="_s + mesFile());
}

MesFixture::~MesFixture()
{
    m_mill.close();
    m_mes.close();
}

void MesFixture::addMasterData()
{
    m_mes.execute(u"insert into 员工信息(编号,姓名) values ('E01','张秀英');"
                  "insert into 员工信息(编号,姓名) values ('E02','李春梅');"
                  "insert into 员工信息(编号,姓名) values ('E03','王海燕');"
                  "insert into 坯布信息(坯布编号,坯布名称,原料规格,门幅,克重) values "
                  "('PB-2001','涤棉平纹坯布','T/C 45x45','160cm','115g');"
                  "insert into 坯布信息(坯布编号,坯布名称,原料规格,门幅,克重) values "
                  "('PB-3005','纯棉斜纹坯布','C 32x32','150cm','180g')"_s);
}

void MesFixture::addBeam(int id, const QString& product, double warpLength)
{
    m_mes.execute(
        u"insert into 生产卡(id,写卡时间,备注,总经长,产品编号) values (%1,'2026-03-01','上轴',%2,'%3')"_s
            .arg(id)
            .arg(SqlText::number(warpLength), product));
}

int MesFixture::addEvent(int type, int beam, const QString& roll, const QString& loom, double length,
                         const QString& time, const QString& worker, const QString& next)
{
    auto idOrNull = [](const QString& w) { return w.isEmpty() ? u"null"_s : SqlText::quoted(w); };
    m_mes.execute(
        u"insert into "
        u"织机事件表(事件类型,上轴ID,卷号,织机编号,挡车工ID,参数2,当前布长,累计产量,事件时间,"
        u"是否检验) "
        "values (%1,%2,'%3','%4',%5,%6,%7,%7,'%8',0)"_s.arg(type)
            .arg(beam)
            .arg(roll, loom, idOrNull(worker), idOrNull(next), SqlText::number(length), time));
    return scalar(m_mes, u"select max(id) from 织机事件表"_s).toInt();
}

int MesFixture::addA01Event(int type, int beam, double length, int hour, const QString& worker,
                            const QString& next)
{
    return addEvent(type, beam, u"1"_s, u"A01"_s, length,
                    u"2026-03-10 %1:00:00"_s.arg(hour, 2, 10, QLatin1Char('0')), worker, next);
}

void MesFixture::addMasterDataAndBeam()
{
    addMasterData();
    addBeam(1, u"PB-2001"_s);
}

int MesFixture::markedEvents()
{
    return scalar(m_mes, u"select count(*) from 织机事件表 where 是否检验=1"_s).toInt();
}

QString MesFixture::scalar(Connection& c, const QString& sql)
{
    const Recordset rs = c.execute(sql);
    return rs.isOpen() && !rs.eof() ? rs.field(0).toString() : QString();
}

int MesFixture::count(Connection& c, const QString& table)
{
    return scalar(c, u"select count(*) from "_s + table).toInt();
}

void MesFixture::native(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open test database");
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(text);
}

QString MesFixture::sync(const QString& since)
{
    return MesImport::syncMesEvents(m_mill, m_mes, since, today());
}
