// SQLite back end: WAL journal so that readers do not block the writer, a busy timeout so that
// several stations on one file wait for each other instead of failing, and a cache of translated
// and prepared batches kept by their shape (the stations send the same statements all day, with
// other card numbers and weights in them).
#include "db/SqliteBackend.h"

#include "config/FolderMode.h"
#include "db/DateText.h"
#include "db/DbProcedures.h"
#include "db/EmbeddedSchema.h"
#include "db/SqlShape.h"
#include "db/SqliteFunctions.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <sqlite3.h>
#include <iterator>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The name of a result's primary code, as SQLite's header spells it ("SQLITE_BUSY" for a busy
// database, also for its extended codes); the native code keeps the extended one.
QString codeName(int rc)
{
    static const char* const names[] = {
        "OK",        "ERROR",  "INTERNAL", "PERM",     "ABORT",    "BUSY",     "LOCKED",
        "NOMEM",     "READONLY", "INTERRUPT", "IOERR", "CORRUPT",  "NOTFOUND", "FULL",
        "CANTOPEN",  "PROTOCOL", "EMPTY",  "SCHEMA",   "TOOBIG",   "CONSTRAINT", "MISMATCH",
        "MISUSE",    "NOLFS",  "AUTH",     "FORMAT",   "RANGE",    "NOTADB",   "NOTICE",
        "WARNING"};
    const int primary = rc & 0xff;
    return primary < int(std::size(names)) ? u"SQLITE_"_s + QLatin1String(names[primary])
                                           : u"SQLITE_%1"_s.arg(primary);
}

bool isDdl(const QString& sql)
{
    const QString head = sql.trimmed().left(8).toUpper();
    return head.startsWith(u"CREATE"_s) || head.startsWith(u"ALTER"_s) ||
           head.startsWith(u"DROP"_s);
}

int bindText(sqlite3_stmt* st, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text64(st, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                               SQLITE_TRANSIENT, SQLITE_UTF8);
}

DbValue columnValue(sqlite3_stmt* st, int i, bool dateColumn)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return DbValue(qint64(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return DbValue(sqlite3_column_double(st, i));
    case SQLITE_TEXT: {
        QString s = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                      sqlite3_column_bytes(st, i));
        // Date columns are ISO texts; hand them out as dates, as SQL Server's driver does.
        if (dateColumn) {
            const QDateTime t = DateText::parse(s);
            if (t.isValid())
                return DbValue(t);
        }
        return DbValue(std::move(s));
    }
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(st, i));
        return DbValue(QByteArray(p, sqlite3_column_bytes(st, i)));
    }
    default:
        return DbValue();
    }
}

// A row read straight from the statement: numbers and plain texts without a DbValue between.
// Texts repeat down a column (machines, inspectors, grades, defect names), so the last few texts
// of each column are kept with their bytes and a repeated one is not converted again.
class SqliteRow final : public DbRow {
public:
    /// utf8: the database stores its texts as UTF-8, so that their bytes are read as they lie,
    /// without the terminating copy sqlite3_column_text makes.
    SqliteRow(sqlite3_stmt* st, const QList<bool>& dateColumns, bool utf8)
        : m_st(st), m_dates(dateColumns), m_recent(dateColumns.size()), m_utf8(utf8)
    {
    }
    int size() const override { return int(m_dates.size()); }
    DbValue value(int i) const override { return columnValue(m_st, i, m_dates.at(i)); }
    double number(int i) const override
    {
        switch (sqlite3_column_type(m_st, i)) {
        case SQLITE_INTEGER:
            return double(sqlite3_column_int64(m_st, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_st, i);
        case SQLITE_NULL:
            return 0;
        default:
            return value(i).toDouble();
        }
    }
    qint64 integer(int i) const override
    {
        if (sqlite3_column_type(m_st, i) == SQLITE_INTEGER)
            return sqlite3_column_int64(m_st, i);
        return value(i).toLongLong();
    }
    QString text(int i) const override
    {
        if (sqlite3_column_type(m_st, i) != SQLITE_TEXT || m_dates.at(i))
            return value(i).toString();
        const void* p = m_utf8 ? sqlite3_column_blob(m_st, i) : sqlite3_column_text(m_st, i);
        const QByteArrayView bytes(static_cast<const char*>(p), sqlite3_column_bytes(m_st, i));
        Recent& recent = m_recent[i];
        for (const auto& [seenBytes, seenText] : recent.seen)
            if (QByteArrayView(seenBytes) == bytes)
                return seenText;
        QString text = QString::fromUtf8(bytes);
        if (recent.seen.size() < Recent::Kept)
            recent.seen.append({bytes.toByteArray(), text});
        else
            recent.seen[std::exchange(recent.next, (recent.next + 1) % Recent::Kept)] = {
                bytes.toByteArray(), text};
        return text;
    }

private:
    struct Recent {
        static constexpr int Kept = 8;
        QList<std::pair<QByteArray, QString>> seen;
        int next = 0; ///< the entry replaced next once Kept are seen
    };
    sqlite3_stmt* m_st;
    const QList<bool>& m_dates;
    mutable QList<Recent> m_recent;
    bool m_utf8;
};

} // namespace

SqliteBackend::SqliteBackend(const QString& path, bool create)
{
    const bool exists = QFileInfo::exists(path);
    if (!exists && !create)
        throw DbError(u"数据库文件不存在：%1"_s.arg(path), u"SQLITE_CANTOPEN"_s, SQLITE_CANTOPEN);
    if (!exists)
        FolderMode::precreate(path); // with the folder's access, for every user of the folder
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) |
                      SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                 : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(u"%1：%2"_s.arg(msg, path), codeName(rc), rc);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 30000);
    try {
        // Reading the schema finds a file that is no database before anything is written.
        executeNative(u"SELECT count(*) FROM sqlite_master"_s);
        SqliteFunctions::registerAll(m_db);
        try {
            executeNative(u"PRAGMA journal_mode=WAL"_s);
        } catch (const DbError&) {
            // A read-only folder keeps the rollback journal; the database still works.
        }
        executeNative(u"PRAGMA foreign_keys=OFF"_s);
        if (!exists) {
            executeNative(EmbeddedSchema::sqliteSchema());
        } else {
            try {
                sqlite3_stmt* st = nullptr;
                int version = 0;
                if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
                    sqlite3_step(st) == SQLITE_ROW)
                    version = sqlite3_column_int(st, 0);
                sqlite3_finalize(st);
                if (version < SqliteFunctions::collationVersion)
                    executeNative(SqliteFunctions::reindexSql());
            } catch (const DbError&) {
                // A read-only file keeps its indexes as they are.
            }
        }
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

SqliteBackend::~SqliteBackend()
{
    m_cache.clear(); // finalizes the prepared statements
    sqlite3_close(m_db);
}

void SqliteBackend::fail(int rc, const QString& sql)
{
    QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (!sql.isEmpty())
        msg += u"\n"_s + sql;
    throw DbError(msg, codeName(rc), rc);
}

void SqliteBackend::executeNative(const QString& sql)
{
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        throw DbError(msg, codeName(rc), rc);
    }
}

void SqliteBackend::loadSchema()
{
    SqlSchemaInfo info;
    sqlite3_stmt* st = nullptr;
    const char* sql = "SELECT m.name, p.name, p.type FROM sqlite_master m "
                      "JOIN pragma_table_info(m.name) p WHERE m.type IN ('table','view')";
    if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            auto text = [&](int i) {
                return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            };
            info.add(text(0), text(1), SqlSchemaInfo::kindOfDeclaredType(text(2)));
        }
    }
    sqlite3_finalize(st);
    m_translator = SqlTranslator(std::move(info));
    m_cache.clear();
    m_schemaLoaded = true;
}

const SqlTranslator& SqliteBackend::translator()
{
    if (!m_schemaLoaded)
        loadSchema();
    return m_translator;
}

std::shared_ptr<SqliteBatch> SqliteBackend::batchFor(const QString& batch, const SqlShape& shape)
{
    if (shape.isShaped()) {
        std::shared_ptr<SqliteBatch> b = m_cache.find(shape.key(), true);
        if (b && !b->byTextOnly)
            return b;
        if (!b) {
            QList<SqlStatement> translated;
            b = SqliteBatches::byShape(translator(), batch, shape, translated);
            if (b)
                return m_cache.insert(shape.key(), true, b);
            auto byTextOnly = std::make_shared<SqliteBatch>();
            byTextOnly->byTextOnly = true;
            m_cache.insert(shape.key(), true, byTextOnly);
            return m_cache.insert(batch, false, SqliteBatches::byText(translated));
        }
    }
    if (std::shared_ptr<SqliteBatch> b = m_cache.find(batch, false))
        return b;
    return m_cache.insert(batch, false, SqliteBatches::byText(translator().translateBatch(batch)));
}

sqlite3_stmt* SqliteBackend::prepare(SqlitePrepared& s, const SqlShape* shape)
{
    if (s.prepared) {
        if (s.stmt)
            sqlite3_reset(s.stmt);
        return s.stmt;
    }
    sqlite3_stmt* st = nullptr;
    const QByteArray utf8 = s.sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &st, &tail);
    if (rc != SQLITE_OK)
        fail(rc, shownText(s, shape));
    if (tail && QByteArray(tail).trimmed().size() > 0) {
        sqlite3_finalize(st);
        throw DbError(u"一条语句中有多余的文字：%1"_s.arg(QString::fromUtf8(tail)),
                      u"SQLITE_ERROR"_s, SQLITE_ERROR);
    }
    s.stmt = st; // nullptr for a comment only
    s.prepared = true;
    return st;
}

int SqliteBackend::preparedStatements() const
{
    int count = 0;
    for (sqlite3_stmt* st = sqlite3_next_stmt(m_db, nullptr); st; st = sqlite3_next_stmt(m_db, st))
        ++count;
    return count;
}

void SqliteBackend::bind(sqlite3_stmt* st, const QList<DbValue>& params, const QString& sql)
{
    sqlite3_clear_bindings(st);
    if (sqlite3_bind_parameter_count(st) != params.size())
        throw DbError(u"语句有 %1 个参数，给了 %2 个值：%3"_s.arg(sqlite3_bind_parameter_count(st))
                          .arg(params.size())
                          .arg(sql),
                      u"SQLITE_RANGE"_s, SQLITE_RANGE);
    for (int i = 0; i < params.size(); ++i) {
        const DbValue& v = params.at(i);
        int rc = SQLITE_OK;
        switch (v.type()) {
        case DbValue::Type::Null:
            rc = sqlite3_bind_null(st, i + 1);
            break;
        case DbValue::Type::Integer:
            rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
            break;
        case DbValue::Type::Decimal:
            rc = sqlite3_bind_double(st, i + 1, v.toDouble());
            break;
        case DbValue::Type::Bytes: {
            const QByteArray b = v.toBytes();
            rc = sqlite3_bind_blob64(st, i + 1, b.constData(), sqlite3_uint64(b.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        case DbValue::Type::DateTime:
            // Dates are stored as ISO text; a midnight date compares as "yyyy-mm-dd 00:00:00".
            rc = bindText(st, i + 1, v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s));
            break;
        case DbValue::Type::Text:
            rc = bindText(st, i + 1, v.toString());
            break;
        }
        if (rc != SQLITE_OK)
            fail(rc, sql);
    }
}

QString SqliteBackend::shownText(const SqlitePrepared& s, const SqlShape* shape)
{
    return shape && !s.valueIndex.isEmpty() ? shape->withLiterals(s.shapeSql) : s.sql;
}

Recordset SqliteBackend::run(SqlitePrepared& s, qint64& rowsAffected, const QList<DbValue>* params,
                             const SqlShape* shape, const DbRowHandler* onRow)
{
    const QString& sql = s.sql;
    sqlite3_stmt* st = prepare(s, shape);
    if (!st)
        return Recordset();
    if (params)
        bind(st, *params, sql);
    else if (sqlite3_bind_parameter_count(st) > 0)
        sqlite3_clear_bindings(st); // values of an earlier call with parameters do not linger
    const int columns = sqlite3_column_count(st);
    if (!s.described || s.columns.size() != columns) {
        s.columns.clear();
        s.dateColumns.clear();
        for (int i = 0; i < columns; ++i) {
            s.columns << QString::fromUtf8(sqlite3_column_name(st, i));
            const char* decl = sqlite3_column_decltype(st, i);
            s.dateColumns << (decl && qstrnicmp(decl, "DATE", 4) == 0);
        }
        s.described = true;
    }
    const QList<bool>& dates = s.dateColumns;
    Recordset rs = columns > 0 && !onRow ? Recordset(s.columns) : Recordset();
    // Reset however the loop ends: a handler may throw.
    const auto reset = qScopeGuard([st] { sqlite3_reset(st); });
    const SqliteRow current(st, dates, onRow && storesUtf8());
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (onRow) {
            (*onRow)(current);
            continue;
        }
        QList<DbValue> row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row.append(columnValue(st, i, dates.at(i)));
        rs.addRow(std::move(row));
    }
    if (rc != SQLITE_DONE)
        fail(rc, shownText(s, shape));
    if (columns == 0)
        rowsAffected = sqlite3_changes64(m_db);
    if (isDdl(sql))
        m_schemaLoaded = false;
    return rs;
}

bool SqliteBackend::storesUtf8()
{
    if (m_utf8 < 0) {
        sqlite3_stmt* st = nullptr;
        m_utf8 = sqlite3_prepare_v2(m_db, "PRAGMA encoding", -1, &st, nullptr) == SQLITE_OK &&
                 sqlite3_step(st) == SQLITE_ROW &&
                 qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "UTF-8") == 0;
        sqlite3_finalize(st);
    }
    return m_utf8 > 0;
}

void SqliteBackend::checkMoved()
{
    // A database file deleted or moved away under an open connection still answers from the old
    // file; the station must learn that its database is gone, as it would from a server.
    if (!SqliteFunctions::databaseMoved(m_db))
        return;
    throw DbError(u"数据库文件已被删除或移走"_s, u"SQLITE_CANTOPEN"_s, SQLITE_CANTOPEN)
        .markConnectionLost();
}

std::shared_ptr<SqliteBatch> SqliteBackend::single(const QString& statement)
{
    checkMoved();
    std::shared_ptr<SqliteBatch> b = batchFor(statement, SqlShape());
    if (b->statements.size() != 1 || !b->statements.first().procedure.isEmpty() || b->script)
        throw DbError(u"带参数的语句只能是一条查询或写入：%1"_s.arg(statement));
    return b;
}

Recordset SqliteBackend::executeWith(const QString& statement, const QList<DbValue>& params,
                                     qint64& rowsAffected)
{
    const std::shared_ptr<SqliteBatch> b = single(statement); // held while it runs
    return run(b->statements.first(), rowsAffected, &params);
}

void SqliteBackend::forEachRow(const QString& statement, const QList<DbValue>& params,
                               const DbRowHandler& onRow, qint64& rowsAffected)
{
    const std::shared_ptr<SqliteBatch> b = single(statement);
    run(b->statements.first(), rowsAffected, &params, nullptr, &onRow);
}

Recordset SqliteBackend::execute(const QString& batch, qint64& rowsAffected)
{
    checkMoved();
    Recordset last;
    const SqlShape shape = SqlShape::of(batch);
    // Held while it runs: a DDL statement or a procedure's own statements may drop it from the
    // cache.
    const std::shared_ptr<SqliteBatch> b = batchFor(batch, shape);
    if (b->script)
        return SqlScript::run(batch, *this, rowsAffected);
    QList<DbValue> values;
    for (SqlitePrepared& s : b->statements) {
        Recordset rs;
        if (!s.procedure.isEmpty()) {
            rs = DbProcedures::run(s.procedure, s.arguments, [this, &rowsAffected](const QString& q) {
                return execute(q, rowsAffected);
            });
        } else if (!s.valueIndex.isEmpty()) {
            values.clear();
            for (int v : std::as_const(s.valueIndex))
                values.append(shape.values().at(v));
            rs = run(s, rowsAffected, &values, &shape);
        } else {
            rs = run(s, rowsAffected);
        }
        if (rs.isOpen())
            last = std::move(rs);
    }
    if (!m_schemaLoaded)
        m_cache.clear();
    return last;
}

Recordset SqliteBackend::executeReadOnly(const QString& batch, qint64& rowsAffected)
{
    // The connection itself refuses writes while the query runs, whatever the translation
    // makes of it (a procedure call, a function).
    executeNative(u"PRAGMA query_only=1"_s);
    const auto writable = qScopeGuard(
        [this] { sqlite3_exec(m_db, "PRAGMA query_only=0", nullptr, nullptr, nullptr); });
    try {
        return execute(batch, rowsAffected);
    } catch (const DbError& e) {
        if ((e.nativeCode() & 0xff) == SQLITE_READONLY)
            throw DbError::readOnlyRefusal(batch.trimmed());
        throw;
    }
}

void SqliteBackend::begin()
{
    executeNative(u"BEGIN IMMEDIATE"_s);
}

void SqliteBackend::commit()
{
    executeNative(u"COMMIT"_s);
}

void SqliteBackend::rollback()
{
    // After some errors SQLite has already rolled back; a second ROLLBACK would fail.
    if (!sqlite3_get_autocommit(m_db))
        executeNative(u"ROLLBACK"_s);
}

bool SqliteBackend::inTransaction() { return !sqlite3_get_autocommit(m_db); }

void SqliteBackend::setTimeout(int seconds)
{
    // A station waits for another one's write at most half a minute: longer would freeze the
    // operator's screen, which runs on the same thread.
    sqlite3_busy_timeout(m_db, (seconds <= 0 ? 30 : qMin(seconds, 30)) * 1000);
}
