// Stock batches are keyed like the warehouse counts them: item, storeroom, batch text, colour.
#include "shell/StockPosting.h"

#include "shell/SqlText.h"

using namespace Qt::StringLiterals;

namespace StockPosting {

namespace {

void postStatements(Connection& conn, long long rollId, double difference)
{
    const QString id = QString::number(rollId);
    Recordset roll =
        conn.execute(u"select a.itemid,a.taskno,isnull(a.batchId,0) as "
                     "batchId,isnull(b.StoreRoomId,0) as StoreRoomId,"_s +
                     u"isnull(b.productionColor,'') as productionColor from checkinfo a left join "
                     "billdetail b on a.billdetailid=b.billdetailid where a.id="_s +
                     id);
    if (roll.eof())
        throw DbError(u"没有这个卷号"_s);
    const QString item = sqlNum(roll.number(u"itemid"_s));
    const QString store = sqlNum(roll.number(u"StoreRoomId"_s));
    const QString batch = sqlText(roll.text(u"taskno"_s));
    const QString color = sqlText(roll.text(u"productionColor"_s));
    const bool firstTime = roll.number(u"batchId"_s) <= 0;
    Recordset found = conn.execute(u"select id from iteminBatch where itemid="_s + item +
                                   u" and storeroomid="_s + store + u" and ProductSN='"_s + batch +
                                   u"' and isnull(productionColor,'')='"_s + color + u"'"_s);
    QString batchId;
    if (found.eof()) {
        Recordset created = conn.execute(
            u"insert into "
            "iteminBatch(itemid,storeroomid,itemcount,productionNumber,"
            "ProductSN,productionColor,descrtion) values("_s +
            item + u',' + store + u',' + sqlNum(difference) + u',' + (firstTime ? u"1"_s : u"0"_s) +
            u",'"_s + batch + u"','"_s + color + u"','检验入库');select SCOPE_IDENTITY();"_s);
        batchId = created.text(0);
    } else {
        batchId = found.text(0);
        conn.executeOnRow(u"update iteminBatch set itemcount=itemcount+"_s + sqlNum(difference) +
                          u",productionNumber=productionNumber+"_s + (firstTime ? u"1"_s : u"0"_s) +
                          u" where id="_s + batchId);
    }
    conn.executeOnRow(u"update checkinfo set batchId="_s + batchId + u" where id="_s + id);
}

} // namespace

void post(Connection& conn, long long rollId, double difference)
{
    if (!conn.inTransaction()) {
        postStatements(conn, rollId, difference);
        return;
    }
    // Inside the roll's save the posting stands or falls as a whole: a batch counted for a roll
    // that does not point at it would count the roll twice at the next posting.
    const bool sqlite = conn.dialect() == SqlDialect::Sqlite;
    conn.execute(sqlite ? u"savepoint stockpost"_s : u"save transaction stockpost"_s);
    try {
        postStatements(conn, rollId, difference);
    } catch (const DbError&) {
        try {
            conn.execute(sqlite ? u"rollback to stockpost"_s : u"rollback transaction stockpost"_s);
        } catch (const DbError&) {
            // The transaction itself is gone: the caller's rollback takes everything.
        }
        throw;
    }
    if (sqlite)
        conn.execute(u"release stockpost"_s);
}

bool postRoll(Connection& conn, long long rollId, double difference, QString* error)
{
    try {
        post(conn, rollId, difference);
        return true;
    } catch (const DbError& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

} // namespace StockPosting
