// The journal file's statements and the JSON form of kept lookups.
#include "journal/JournalRows.h"

#include "db/DbError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace JournalSql {

namespace {

[[noreturn]] void fail(sqlite3* db, int rc)
{
    throw DbError(u"离线日志：%1"_s.arg(QString::fromUtf8(sqlite3_errmsg(db))),
                  QString::fromLatin1(sqlite3_errstr(rc)), rc);
}

void bind(sqlite3* db, sqlite3_stmt* st, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        int rc = SQLITE_OK;
        if (!v.isValid() || v.isNull())
            rc = sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
        else {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(st, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            fail(db, rc);
    }
}

Row rowOf(sqlite3_stmt* st)
{
    Row row;
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
        switch (sqlite3_column_type(st, c)) {
        case SQLITE_NULL:
            row.append(QVariant());
            break;
        case SQLITE_INTEGER:
            row.append(qint64(sqlite3_column_int64(st, c)));
            break;
        default:
            row.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                         sqlite3_column_bytes(st, c)));
        }
    }
    return row;
}

} // namespace

QList<Row> run(sqlite3* db, const QString& sql, const QVariantList& values)
{
    const QByteArray text = sql.toUtf8();
    const char* tail = text.constData();
    QList<Row> rows;
    while (tail && *tail) {
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db, tail, -1, &st, &tail);
        if (rc != SQLITE_OK)
            fail(db, rc);
        if (!st)
            break; // only blanks or a comment were left
        rows.clear();
        bind(db, st, values);
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            rows.append(rowOf(st));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            fail(db, rc);
    }
    return rows;
}

Transaction::Transaction(sqlite3* db) : m_db(db)
{
    run(db, u"BEGIN IMMEDIATE"_s);
}

Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    run(m_db, u"COMMIT"_s);
    m_open = false;
}

namespace {

QJsonValue valueJson(const DbValue& v)
{
    switch (v.type()) {
    case DbValue::Type::Null:
        return QJsonValue();
    case DbValue::Type::Integer:
        return QJsonArray{u"i"_s, v.toString()};
    case DbValue::Type::Decimal:
        return QJsonArray{u"d"_s, v.toDouble()};
    case DbValue::Type::DateTime:
        return QJsonArray{u"t"_s, v.toDateTime().toString(Qt::ISODate)};
    case DbValue::Type::Bytes:
        return QJsonArray{u"b"_s, QString::fromLatin1(v.toBytes().toBase64())};
    case DbValue::Type::Text:
        break;
    }
    return v.toString();
}

DbValue valueFrom(const QJsonValue& j)
{
    if (j.isNull())
        return {};
    if (j.isString())
        return j.toString();
    const QJsonArray a = j.toArray();
    const QString type = a.at(0).toString();
    if (type == u"i")
        return a.at(1).toString().toLongLong();
    if (type == u"d")
        return a.at(1).toDouble();
    if (type == u"t")
        return QDateTime::fromString(a.at(1).toString(), Qt::ISODate);
    return QByteArray::fromBase64(a.at(1).toString().toLatin1());
}

} // namespace

QByteArray recordsetJson(const Recordset& rs)
{
    QJsonArray rows;
    for (const QList<DbValue>& row : rs.rows()) {
        QJsonArray cells;
        for (const DbValue& v : row)
            cells.append(valueJson(v));
        rows.append(cells);
    }
    const QJsonObject o{{u"columns"_s, QJsonArray::fromStringList(rs.columns())},
                        {u"rows"_s, rows}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

Recordset recordsetFrom(const QByteArray& json)
{
    const QJsonObject o = QJsonDocument::fromJson(json).object();
    QStringList columns;
    for (const QJsonValue& c : o.value(u"columns"_s).toArray())
        columns << c.toString();
    Recordset rs(columns);
    for (const QJsonValue& r : o.value(u"rows"_s).toArray()) {
        QList<DbValue> row;
        for (const QJsonValue& v : r.toArray())
            row.append(valueFrom(v));
        if (row.size() == columns.size())
            rs.addRow(std::move(row));
    }
    return rs;
}

} // namespace JournalSql
