// Generates the benchmark database with plain sqlite3 inserts in one transaction.
#include "BenchData.h"

#include "db/Connection.h"
#include "db/EmbeddedSchema.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace BenchData {

namespace {

void exec(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        qFatal("%s: %s", sql, err);
    }
}

void bindText(sqlite3_stmt* st, int i, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

void generate(const QString& path)
{
    {
        Connection schema; // the program's own schema and indexes
        schema.openOrCreate(u"Provider=SQLite;Data Source="_s + path);
        schema.execute(
            u"insert company(companyname, stock) values('杭州锦华服饰有限公司', 1);"
            "insert UserInfo(usercode, username, ISSTOP) values('001', '王建国', 0);"
            "insert Dictionary(ITEMTYPE, ItemValues, ItemName) values('BillType', '55', '生产卡')"_s);
        // Names as a mill's item list has them: fibre and weave, then a number.
        const QStringList fibres = {u"涤棉"_s, u"全棉"_s, u"人棉"_s, u"真丝"_s,
                                    u"锦纶"_s, u"亚麻"_s, u"羊毛"_s, u"腈纶"_s};
        const QStringList weaves = {u"府绸"_s, u"帆布"_s, u"斜纹"_s, u"牛津"_s,
                                    u"雪纺"_s, u"汗布"_s, u"罗纹"_s, u"提花"_s};
        for (int i = 1; i <= 200; ++i)
            schema.execute(u"insert item(itemcode, itemname, itemspec, item3) values('T%1', "
                           "'%2%3%1', '45x45', '150')"_s.arg(i)
                               .arg(fibres.at(i % 8), weaves.at(i / 8 % 8)));
    }
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    sqlite3_stmt *bill, *line, *roll;
    sqlite3_prepare_v2(db, "insert into bill(billcode, billtype, companyid, TransactDate, TransactorId, remark, "
                           "contractEndDate) values(?1, 55, 1, ?2, 1, '每卷60米', ?2)", -1, &bill, nullptr);
    sqlite3_prepare_v2(db, "insert into BillDetail(BillId, itemId, viewcount, taxPercent, productionsn, "
                           "productionColor, productionDateId, productionJarno) values(?1, ?2, 3000, "
                           "2800, ?3, ?4, ?5, ?6)", -1, &line, nullptr);
    sqlite3_prepare_v2(db, "insert into checkinfo(billCode, billdetailId, itemid, checkCode, onCount, "
                           "checkcount, cutcount, grade, machineId, checkUsercode, taskno, item1, item2, "
                           "createDate) values(?1, ?2, ?3, ?4, ?5, ?5, 18.2, 'A品', '001', '002', 'C-01', "
                           "'115', 'R1', ?6)", -1, &roll, nullptr);
    const QStringList colours = {u"漂白"_s, u"藏青"_s, u"浅灰"_s};
    const QDateTime start(QDate(2023, 1, 1), QTime(8, 0));
    auto* rnd = QRandomGenerator::global();
    for (int c = 1; c <= cards; ++c) {
        bindText(bill, 1, cardCode(c));
        bindText(bill, 2, start.addSecs(qint64(c) * 900).toString(u"yyyy-MM-dd HH:mm:ss"_s));
        sqlite3_step(bill);
        sqlite3_reset(bill);
        for (int l = 0; l < linesPerCard; ++l) {
            sqlite3_bind_int(line, 1, c);
            sqlite3_bind_int(line, 2, 1 + (c % 200));
            bindText(line, 3, u"P%1-%2"_s.arg(c).arg(l));
            bindText(line, 4, colours.at(l));
            bindText(line, 5, u"SCD-%1"_s.arg(c));
            bindText(line, 6, u"R%1"_s.arg(c));
            sqlite3_step(line);
            sqlite3_reset(line);
        }
    }
    // Rolls in time order, as inspected: ten rolls per card on average.
    for (int r = 1; r <= rolls; ++r) {
        const int c = 1 + (r - 1) / (rolls / cards);
        bindText(roll, 1, cardCode(c));
        sqlite3_bind_int(roll, 2, (c - 1) * linesPerCard + 1 + int(rnd->bounded(linesPerCard)));
        sqlite3_bind_int(roll, 3, 1 + (c % 200));
        bindText(roll, 4, u"%1"_s.arg((r - 1) % (rolls / cards) + 1, 3, 10, QLatin1Char('0')));
        sqlite3_bind_double(roll, 5, 55 + rnd->bounded(10.0));
        bindText(roll, 6, start.addSecs(qint64(r) * 90).toString(u"yyyy-MM-dd HH:mm:ss"_s));
        sqlite3_step(roll);
        sqlite3_reset(roll);
    }
    sqlite3_finalize(bill);
    sqlite3_finalize(line);
    sqlite3_finalize(roll);
    exec(db, "COMMIT; ANALYZE");
    sqlite3_close(db);
}

// The frames' defects: 0 to 4 rows per roll (two on average) of eight names, counts 1 to 3 and
// 1 to 4 points as on a four-point frame. Added in one transaction, as the rolls are.
void addDefects(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* any = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from (select 1 from checkDetail limit 1)", -1, &any,
                       nullptr);
    sqlite3_step(any);
    const bool present = sqlite3_column_int(any, 0) > 0;
    sqlite3_finalize(any);
    if (present) {
        sqlite3_close(db);
        return;
    }
    static const char* const names[defectKinds] = {"破洞", "油污", "断经", "断纬",
                                                   "色差", "横档", "粗纱", "结头"};
    exec(db, "PRAGMA synchronous=OFF; BEGIN");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db,
        "insert into checkDetail(checkId, checkCode, bugName, bugPosition, bugCount, bugScore) "
        "values(?1, '002', ?2, ?3, ?4, ?5)",
        -1, &st, nullptr);
    QRandomGenerator rnd(20261206);
    for (int r = 1; r <= rolls; ++r) {
        for (int k = 0; k < r % 5; ++k) {
            sqlite3_bind_int(st, 1, r);
            // Skewed towards the first names, as a Pareto of a real mill is.
            const int name = int(rnd.bounded(defectKinds) * rnd.bounded(1.0));
            sqlite3_bind_text(st, 2, names[name], -1, SQLITE_STATIC);
            sqlite3_bind_double(st, 3, rnd.bounded(60.0));
            sqlite3_bind_int(st, 4, 1 + int(rnd.bounded(3)));
            sqlite3_bind_int(st, 5, 1 + int(rnd.bounded(4)));
            sqlite3_step(st);
            sqlite3_reset(st);
        }
    }
    sqlite3_finalize(st);
    exec(db, "COMMIT; ANALYZE");
    sqlite3_close(db);
}

QStringList indexes(sqlite3* db)
{
    QStringList names;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db, "select name from sqlite_master where type='index' and name like 'ix_%' order by 1", -1,
        &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return names;
}

// A database generated before the schema's indexes changed gets the indexes of today's schema.
void indexesAsSchema(const QString& path)
{
    const QString schema = EmbeddedSchema::sqliteSchema();
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    const QStringList before = indexes(db);
    for (const QString& name : before) {
        if (!schema.contains(u' ' + name + u' '))
            exec(db, (u"DROP INDEX "_s + name).toUtf8().constData());
    }
    exec(db, schema.toUtf8().constData());
    if (indexes(db) != before)
        exec(db, "ANALYZE");
    sqlite3_close(db);
}

} // namespace

Connection& connection()
{
    static Connection c;
    if (!c.isOpen())
        c.open(u"Provider=SQLite;Data Source="_s + database());
    return c;
}

QString cardCode(int n)
{
    return u"SC%1"_s.arg(n, 7, 10, QLatin1Char('0'));
}

QString database()
{
    QString path = qEnvironmentVariable("MIREL_BENCH_DB");
    if (path.isEmpty())
        path = u"/tmp/mirel-bench.db"_s;
    if (!QFile::exists(path)) {
        const QString partial = path + u".part"_s;
        QFile::remove(partial);
        generate(partial);
        QFile::rename(partial, path);
    }
    addDefects(path);
    static const bool indexed = (indexesAsSchema(path), true);
    Q_UNUSED(indexed);
    return path;
}

} // namespace BenchData
