// Stock batches are keyed like the warehouse counts them: item, storeroom, batch text, colour.
#include "shell/StockPosting.h"

#include "shell/SqlText.h"

namespace StockPosting {

namespace {

void postStatements(Connection& conn, long long rollId, double difference)
{
    const QString id = QString::number(rollId);
    Recordset roll = conn.execute(
        QStringLiteral("select a.itemid,a.taskno,isnull(a.batchId,0) as "
                       "batchId,isnull(b.StoreRoomId,0) as StoreRoomId,") +
        QStringLiteral("isnull(b.productionColor,'') as productionColor from checkinfo a left join "
                       "billdetail b on a.billdetailid=b.billdetailid where a.id=") +
        id);
    if (roll.eof())
        throw DbError(QStringLiteral("没有这个卷号"));
    const QString item = sqlNum(roll.number(QStringLiteral("itemid")));
    const QString store = sqlNum(roll.number(QStringLiteral("StoreRoomId")));
    const QString batch = sqlText(roll.text(QStringLiteral("taskno")));
    const QString color = sqlText(roll.text(QStringLiteral("productionColor")));
    const bool firstTime = roll.number(QStringLiteral("batchId")) <= 0;
    Recordset found = conn.execute(
        QStringLiteral("select id from iteminBatch where itemid=") + item +
        QStringLiteral(" and storeroomid=") + store + QStringLiteral(" and ProductSN='") + batch +
        QStringLiteral("' and isnull(productionColor,'')='") + color + QStringLiteral("'"));
    QString batchId;
    if (found.eof()) {
        Recordset created =
            conn.execute(QStringLiteral("insert into "
                                        "iteminBatch(itemid,storeroomid,itemcount,productionNumber,"
                                        "ProductSN,productionColor,descrtion) values(") +
                         item + u',' + store + u',' + sqlNum(difference) + u',' +
                         (firstTime ? QStringLiteral("1") : QStringLiteral("0")) +
                         QStringLiteral(",'") + batch + QStringLiteral("','") + color +
                         QStringLiteral("','检验入库');select SCOPE_IDENTITY();"));
        batchId = created.text(0);
    } else {
        batchId = found.text(0);
        conn.executeOnRow(QStringLiteral("update iteminBatch set itemcount=itemcount+") +
                          sqlNum(difference) +
                          QStringLiteral(",productionNumber=productionNumber+") +
                          (firstTime ? QStringLiteral("1") : QStringLiteral("0")) +
                          QStringLiteral(" where id=") + batchId);
    }
    conn.executeOnRow(QStringLiteral("update checkinfo set batchId=") + batchId +
                      QStringLiteral(" where id=") + id);
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
    conn.execute(sqlite ? QStringLiteral("savepoint stockpost")
                        : QStringLiteral("save transaction stockpost"));
    try {
        postStatements(conn, rollId, difference);
    } catch (const DbError&) {
        try {
            conn.execute(sqlite ? QStringLiteral("rollback to stockpost")
                                : QStringLiteral("rollback transaction stockpost"));
        } catch (const DbError&) {
            // The transaction itself is gone: the caller's rollback takes everything.
        }
        throw;
    }
    if (sqlite)
        conn.execute(QStringLiteral("release stockpost"));
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
