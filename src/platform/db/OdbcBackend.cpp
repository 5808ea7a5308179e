// ODBC back end. Texts travel as UTF-16 (SQL_C_WCHAR) so that Chinese survives any code page of
// the server; batches are read result by result with SQLMoreResults, so that
// "insert …; select SCOPE_IDENTITY();" gives the new id.
#include "db/OdbcBackend.h"

#include "db/ConnectionString.h"
#include "db/DbProcedures.h"
#include "db/SqlTokens.h"
#include "db/SqliteFunctions.h"
#include "module/ModuleFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <list>
#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

using namespace Qt::StringLiterals;

struct OdbcBackend::Handles {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
};

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC wide characters must be UTF-16");

std::u16string wide(const QString& s) { return s.toStdU16String(); }

SQLWCHAR* wptr(std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }

QString fromWide(const SQLWCHAR* p, qsizetype chars)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), chars);
}

// Every diagnostic record of a handle as one error (SQLSTATE of the first).
DbError diagnostics(SQLSMALLINT type, SQLHANDLE handle, const QString& context)
{
    QStringList messages;
    QString firstState;
    int firstNative = 0;
    for (SQLSMALLINT rec = 1;; ++rec) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR text[2048] = {};
        SQLSMALLINT len = 0;
        const SQLRETURN rc = SQLGetDiagRecW(type, handle, rec, state, &native, text,
                                            SQLSMALLINT(std::size(text)), &len);
        if (!SQL_SUCCEEDED(rc))
            break;
        const QString s = fromWide(state, 5);
        // Warnings (class 01) come before the record that says what failed.
        if (firstState.isEmpty() || (firstState.startsWith(u"01"_s) && !s.startsWith(u"01"_s))) {
            firstState = s;
            firstNative = int(native);
        }
        messages << u"[%1] %2"_s.arg(s, fromWide(text, qMin<qsizetype>(len, 2047)));
    }
    if (messages.isEmpty())
        messages << context;
    DbError e(messages.join(u'\n'), firstState, firstNative);
    // Class 08 is a connection failure; HYT01 a connection time-out.
    if (firstState.startsWith(u"08"_s) || firstState == u"HYT01"_s)
        e.markConnectionLost();
    return e;
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE h, const QString& context)
{
    if (!SQL_SUCCEEDED(rc))
        throw diagnostics(type, h, context);
}

// A statement handle freed when it goes out of scope.
struct Stmt {
    SQLHSTMT h = SQL_NULL_HSTMT;
    explicit Stmt(SQLHDBC dbc)
    {
        check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h), SQL_HANDLE_DBC, dbc,
              u"SQLAllocHandle(STMT)"_s);
    }
    ~Stmt() { SQLFreeHandle(SQL_HANDLE_STMT, h); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
};

// Reads a long value in pieces (SQLGetData returns 01004 while more data remains).
template <typename Unit>
bool readLong(SQLHSTMT st, SQLUSMALLINT col, SQLSMALLINT ctype, QByteArray& out)
{
    Unit buf[2048];
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN rc = SQLGetData(st, col, ctype, buf, sizeof(buf), &ind);
        if (rc == SQL_NO_DATA)
            return true;
        check(rc, SQL_HANDLE_STMT, st, u"SQLGetData"_s);
        if (ind == SQL_NULL_DATA)
            return false;
        qsizetype got = sizeof(buf);
        if (ind != SQL_NO_TOTAL && ind < SQLLEN(sizeof(buf)))
            got = ind;
        else if (ctype == SQL_C_WCHAR)
            got = sizeof(buf) - sizeof(Unit); // the terminating zero of a full text buffer
        out.append(reinterpret_cast<const char*>(buf), got);
        if (rc == SQL_SUCCESS)
            return true;
    }
}

DbValue readValue(SQLHSTMT st, SQLUSMALLINT col, SQLSMALLINT sqlType)
{
    SQLLEN ind = 0;
    switch (sqlType) {
    case SQL_BIT: case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT: {
        SQLBIGINT v = 0;
        check(SQLGetData(st, col, SQL_C_SBIGINT, &v, 0, &ind), SQL_HANDLE_STMT, st,
              u"SQLGetData"_s);
        return ind == SQL_NULL_DATA ? DbValue() : DbValue(qint64(v));
    }
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: case SQL_DECIMAL: case SQL_NUMERIC: {
        double v = 0;
        check(SQLGetData(st, col, SQL_C_DOUBLE, &v, 0, &ind), SQL_HANDLE_STMT, st, u"SQLGetData"_s);
        return ind == SQL_NULL_DATA ? DbValue() : DbValue(v);
    }
    case SQL_TYPE_TIMESTAMP: case SQL_TYPE_DATE: case SQL_TIMESTAMP: case SQL_DATE: {
        SQL_TIMESTAMP_STRUCT ts{};
        check(SQLGetData(st, col, SQL_C_TYPE_TIMESTAMP, &ts, sizeof(ts), &ind), SQL_HANDLE_STMT, st,
              u"SQLGetData"_s);
        if (ind == SQL_NULL_DATA)
            return DbValue();
        return DbValue(QDateTime(QDate(ts.year, ts.month, ts.day),
                                 QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000))));
    }
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: {
        QByteArray bytes;
        return readLong<char>(st, col, SQL_C_BINARY, bytes) ? DbValue(bytes) : DbValue();
    }
    default: {
        QByteArray bytes;
        if (!readLong<SQLWCHAR>(st, col, SQL_C_WCHAR, bytes))
            return DbValue();
        return DbValue(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                                          bytes.size() / 2));
    }
    }
}

Recordset fetchAll(SQLHSTMT st, SQLSMALLINT columns)
{
    QStringList names;
    QList<SQLSMALLINT> types;
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columns); ++c) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        check(SQLDescribeColW(st, c, name, 256, &nameLen, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, st, u"SQLDescribeCol"_s);
        // The SQLite ODBC driver counts a name's UTF-8 bytes, not its characters: the name
        // ends at its terminating zero.
        const QString text = fromWide(name, qMin<qsizetype>(nameLen, 255));
        names << text.left(text.indexOf(QChar(0)));
        types << type;
    }
    Recordset rs(names);
    for (;;) {
        const SQLRETURN rc = SQLFetch(st);
        if (rc == SQL_NO_DATA)
            break;
        check(rc, SQL_HANDLE_STMT, st, u"SQLFetch"_s);
        QList<DbValue> row;
        row.reserve(columns);
        for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columns); ++c)
            row.append(readValue(st, c, types.at(c - 1)));
        rs.addRow(std::move(row));
    }
    return rs;
}

// Values bound to the "?" markers of a prepared statement; the driver reads them at SQLExecute,
// so they live until then. Texts go as UTF-16, dates as timestamps (never a text whose reading
// depends on the server's date format).
struct ParamBuffers {
    std::list<std::u16string> texts;
    std::list<QByteArray> bytes;
    std::list<SQLBIGINT> integers;
    std::list<double> decimals;
    std::list<SQL_TIMESTAMP_STRUCT> stamps;
    std::list<SQLLEN> lengths;

    void bind(SQLHSTMT st, SQLUSMALLINT n, const DbValue& v, const QString& sql)
    {
        SQLLEN& len = lengths.emplace_back(0);
        SQLRETURN rc = SQL_SUCCESS;
        switch (v.type()) {
        case DbValue::Type::Null:
            len = SQL_NULL_DATA;
            rc = SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr,
                                  0, &len);
            break;
        case DbValue::Type::Integer:
            rc = SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                  &integers.emplace_back(v.toLongLong()), 0, &len);
            break;
        case DbValue::Type::Decimal:
            rc = SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                  &decimals.emplace_back(v.toDouble()), 0, &len);
            break;
        case DbValue::Type::DateTime: {
            const QDateTime t = v.toDateTime();
            SQL_TIMESTAMP_STRUCT& ts = stamps.emplace_back();
            ts.year = SQLSMALLINT(t.date().year());
            ts.month = SQLUSMALLINT(t.date().month());
            ts.day = SQLUSMALLINT(t.date().day());
            ts.hour = SQLUSMALLINT(t.time().hour());
            ts.minute = SQLUSMALLINT(t.time().minute());
            ts.second = SQLUSMALLINT(t.time().second());
            rc = SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                                  19, 0, &ts, sizeof(ts), &len);
            break;
        }
        case DbValue::Type::Bytes: {
            QByteArray& b = bytes.emplace_back(v.toBytes());
            len = SQLLEN(b.size());
            rc = SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY,
                                  SQLULEN(qMax<qsizetype>(b.size(), 1)), 0, b.data(), len, &len);
            break;
        }
        case DbValue::Type::Text: {
            std::u16string& w = texts.emplace_back(wide(v.toString()));
            len = SQLLEN(w.size() * sizeof(char16_t));
            rc = SQLBindParameter(st, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                  SQLULEN(qMax<size_t>(w.size(), 1)), 0, wptr(w), len, &len);
            break;
        }
        }
        check(rc, SQL_HANDLE_STMT, st, sql);
    }
};

// The text for the SQLite ODBC driver. The driver looks for ";" in the raw text, comments
// included; on SQLite a comment means nothing, so it is left out. It reads no rows from a
// statement that starts with DELETE, INSERT or UPDATE, so one with RETURNING (the print pool's
// "delete top (1) … output deleted.…") is started with an empty WITH, which SQLite allows there.
QString forSqliteDriver(const QString& sql)
{
    SqlTokens t = SqlLex::tokenize(sql);
    bool returning = false;
    for (SqlToken& tok : t) {
        if (tok.is(SqlToken::Comment))
            tok = SqlToken{SqlToken::Space, u" "_s};
        returning = returning || tok.isWord(u"returning");
    }
    const QString text = SqlLex::join(t).trimmed();
    const QString verb = text.section(u' ', 0, 0).toLower();
    const bool write = verb == u"delete" || verb == u"insert" || verb == u"update";
    return returning && write ? u"WITH mirel_rows AS (SELECT 1) "_s + text : text;
}

// A setting of a data source (odbc.ini) or of a driver (odbcinst.ini); "" when none.
QString profileValue(const QString& section, const char* key, const char* file)
{
    if (section.isEmpty())
        return QString();
    char value[1024] = {};
    const QByteArray name = section.toLocal8Bit();
    const int n = SQLGetPrivateProfileString(name.constData(), key, "", value, sizeof(value), file);
    return n > 0 ? QString::fromLocal8Bit(value, qMin(n, int(sizeof(value)) - 1)) : QString();
}

QString missingModule(const QString& module, const QString& why)
{
    return u"SQLite 的 ODBC 数据源没有载入本程序的函数模块 %1"
           "（数据源设置 LoadExt，驱动需支持）：%2"_s.arg(module, why);
}

QString braceless(QString s)
{
    if (s.startsWith(u'{') && s.endsWith(u'}'))
        s = s.mid(1, s.size() - 2);
    return s;
}

// The SQLite ODBC driver, named by the connection string or by its data source, gets two settings
// of its own: NoCreat=1, so that a database file that went away is offline and never made anew
// empty, and LoadExt with the program's SQLite module, which gives its connection the functions,
// collation and moved-file check of the embedded database (the data source's own LoadExt list
// is kept). Other drivers get the text unchanged.
QString withSqliteSettings(const QString& text)
{
    const QString dsn = braceless(ConnectionString::value(text, u"DSN"_s));
    QString driver = braceless(ConnectionString::value(text, u"Driver"_s));
    if (driver.isEmpty())
        driver = profileValue(dsn, "Driver", "odbc.ini");
    const QString library = driver + u' ' + profileValue(driver, "Driver", "odbcinst.ini");
    if (!library.contains(u"sqlite"_s, Qt::CaseInsensitive))
        return text;
    QString out = text.trimmed();
    if (!out.isEmpty() && !out.endsWith(u';'))
        out += u';';
    if (ConnectionString::value(text, u"NoCreat"_s).isEmpty())
        out += u"NoCreat=1;"_s;
    // Writers wait for each other up to 30 s, as on the embedded database (the driver's own
    // default is not to wait).
    if (ConnectionString::value(text, u"Timeout"_s).isEmpty() &&
        profileValue(dsn, "Timeout", "odbc.ini").isEmpty())
        out += u"Timeout=30000;"_s;
    QString extensions = ConnectionString::value(text, u"LoadExt"_s);
    if (extensions.isEmpty())
        extensions = profileValue(dsn, "LoadExt", "odbc.ini");
    if (!extensions.contains(u"mirel_sqlite"_s)) {
        const QString module = OdbcBackend::sqliteModulePath();
        // A module file that is not there is named at once: the driver would only fail to load
        // it (and keep the text of that failure, once per connection tried). A bare name is left
        // to the loader's search path.
        if (module.contains(u'/') && !QFileInfo::exists(module))
            throw DbError(missingModule(module, u"文件不存在"_s), u"HY000"_s);
        out += u"LoadExt="_s + (extensions.isEmpty() ? module : extensions + u',' + module) + u';';
    }
    return out;
}

} // namespace

QString OdbcBackend::sqliteModulePath()
{
    return module::path(u"libmirel_sqlite.so"_s, "MIREL_SQLITE_MODULE");
}

OdbcBackend::OdbcBackend(const QString& text) : m_h(std::make_unique<Handles>())
{
    const QString connectionString = withSqliteSettings(text);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_h->env)))
        throw DbError(u"ODBC 驱动管理器不可用"_s, u"IM001"_s);
    SQLSetEnvAttr(m_h->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    check(SQLAllocHandle(SQL_HANDLE_DBC, m_h->env, &m_h->dbc), SQL_HANDLE_ENV, m_h->env,
          u"SQLAllocHandle(DBC)"_s);
    SQLSetConnectAttr(m_h->dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
    std::u16string cs = wide(connectionString);
    SQLWCHAR out[1024];
    SQLSMALLINT outLen = 0;
    const SQLRETURN rc = SQLDriverConnectW(m_h->dbc, nullptr, wptr(cs), SQLSMALLINT(cs.size()), out,
                                           1024, &outLen, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        DbError e = diagnostics(SQL_HANDLE_DBC, m_h->dbc, u"SQLDriverConnect"_s);
        SQLFreeHandle(SQL_HANDLE_DBC, m_h->dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_h->env);
        m_h->dbc = SQL_NULL_HDBC;
        m_h->env = SQL_NULL_HENV;
        throw e;
    }
    m_h->connected = true;
    SQLWCHAR dbms[256] = {};
    SQLSMALLINT len = 0;
    SQLGetInfoW(m_h->dbc, SQL_DBMS_NAME, dbms, sizeof(dbms), &len);
    m_dbms = fromWide(dbms, qMin<qsizetype>(len / 2, 255));
    if (m_dbms.contains(u"SQLite"_s, Qt::CaseInsensitive)) {
        m_dialect = SqlDialect::Sqlite;
        requireSqliteModule();
        qint64 ignored = 0;
        try {
            if (runDirect(u"PRAGMA user_version"_s, ignored).field(0).toLongLong() <
                SqliteFunctions::collationVersion)
                runDirect(SqliteFunctions::reindexSql(), ignored);
        } catch (const DbError&) {
            // A read-only file keeps its indexes; the embedded database orders them when it can.
        }
    }
}

// Without the module the stations' numbering, lengths, dates and comparisons would fail one by
// one with "no such function"; the connection is refused at once with what to install instead.
void OdbcBackend::requireSqliteModule()
{
    try {
        checkMoved();
    } catch (const DbError& e) {
        if (e.connectionLost())
            throw;
        throw DbError(missingModule(sqliteModulePath(), e.message()), e.code(), e.nativeCode());
    }
}

void OdbcBackend::checkMoved()
{
    qint64 ignored = 0;
    if (runDirect(u"select mirel_moved()"_s, ignored).field(0).toLongLong() != 0)
        throw DbError(u"数据库文件已被删除或移走"_s, u"08S01"_s).markConnectionLost();
}

OdbcBackend::~OdbcBackend()
{
    if (m_h->connected)
        SQLDisconnect(m_h->dbc);
    if (m_h->dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, m_h->dbc);
    if (m_h->env != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, m_h->env);
}

Recordset OdbcBackend::runDirect(const QString& sql, qint64& rowsAffected,
                                 const QList<DbValue>* params)
{
    if (m_dialect == SqlDialect::Sqlite) {
        try {
            return runStatement(sql, rowsAffected, params);
        } catch (const DbError& e) {
            // The SQLite ODBC driver reports a lock held by another station as HY000 with
            // SQLite's code as the native one: named as the embedded database names it, the
            // replay and the saves know to wait and try again.
            if (e.nativeCode() == 5 || e.nativeCode() == 6)
                throw DbError(e.message(),
                              e.nativeCode() == 5 ? u"SQLITE_BUSY"_s : u"SQLITE_LOCKED"_s,
                              e.nativeCode());
            throw;
        }
    }
    return runStatement(sql, rowsAffected, params);
}

Recordset OdbcBackend::runStatement(const QString& sql, qint64& rowsAffected,
                                    const QList<DbValue>* params)
{
    Stmt st(m_h->dbc);
    if (m_timeout > 0)
        SQLSetStmtAttr(st.h, SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(m_timeout)), 0);
    std::u16string text = wide(sql);
    SQLRETURN rc;
    ParamBuffers buffers;
    if (params) {
        check(SQLPrepareW(st.h, wptr(text), SQLINTEGER(text.size())), SQL_HANDLE_STMT, st.h, sql);
        SQLSMALLINT markers = 0;
        if (SQL_SUCCEEDED(SQLNumParams(st.h, &markers)) && markers != params->size())
            throw DbError(
                u"语句有 %1 个参数，给了 %2 个值：%3"_s.arg(markers).arg(params->size()).arg(sql),
                u"07002"_s);
        for (int i = 0; i < params->size(); ++i)
            buffers.bind(st.h, SQLUSMALLINT(i + 1), params->at(i), sql);
        rc = SQLExecute(st.h);
    } else {
        rc = SQLExecDirectW(st.h, wptr(text), SQLINTEGER(text.size()));
    }
    if (rc != SQL_NO_DATA)
        check(rc, SQL_HANDLE_STMT, st.h, sql);
    Recordset last;
    // Every result of the batch: row counts of inserts and updates, then result sets.
    while (rc != SQL_NO_DATA) {
        SQLSMALLINT columns = 0;
        SQLNumResultCols(st.h, &columns);
        if (columns > 0) {
            last = fetchAll(st.h, columns);
        } else {
            SQLLEN count = 0;
            if (SQL_SUCCEEDED(SQLRowCount(st.h, &count)) && count >= 0)
                rowsAffected = count;
        }
        rc = SQLMoreResults(st.h);
        if (rc != SQL_NO_DATA)
            check(rc, SQL_HANDLE_STMT, st.h, sql);
    }
    return last;
}

Recordset OdbcBackend::execute(const QString& batch, qint64& rowsAffected)
{
    if (m_dialect == SqlDialect::SqlServer)
        return runDirect(batch, rowsAffected);
    checkMoved();
    loadSchema();
    Recordset last;
    const QList<SqlStatement> statements = m_translator.translateBatch(batch);
    for (const SqlStatement& s : statements) {
        if (s.control)
            return SqlScript::run(batch, *this, rowsAffected);
    }
    for (const SqlStatement& s : statements) {
        Recordset rs = s.procedure.isEmpty()
                           ? runDirect(forSqliteDriver(s.sql), rowsAffected)
                           : DbProcedures::run(s.procedure, s.arguments,
                                               [this, &rowsAffected](const QString& q) {
                                                   return execute(q, rowsAffected);
                                               });
        if (rs.isOpen())
            last = std::move(rs);
    }
    return last;
}

Recordset OdbcBackend::executeWith(const QString& statement, const QList<DbValue>& params,
                                   qint64& rowsAffected)
{
    if (m_dialect == SqlDialect::SqlServer)
        return runDirect(statement, rowsAffected, &params);
    checkMoved();
    loadSchema();
    const QList<SqlStatement> statements = m_translator.translateBatch(statement);
    if (statements.size() != 1 || !statements.first().procedure.isEmpty() ||
        statements.first().control)
        throw DbError(u"带参数的语句只能是一条查询或写入：%1"_s.arg(statement));
    return runDirect(forSqliteDriver(statements.first().sql), rowsAffected, &params);
}

void OdbcBackend::loadSchema()
{
    if (m_schemaLoaded)
        return;
    // The same column kinds the embedded back end reads, through the driver.
    SqlSchemaInfo info;
    qint64 ignored = 0;
    const Recordset rs = runDirect(u"SELECT m.name, p.name, p.type FROM sqlite_master m JOIN "
                                   "pragma_table_info(m.name) p WHERE m.type IN ('table','view')"_s,
                                   ignored);
    for (const auto& row : rs.rows())
        info.add(row.at(0).toString(), row.at(1).toString(),
                 SqlSchemaInfo::kindOfDeclaredType(row.at(2).toString()));
    m_translator = SqlTranslator(std::move(info));
    m_schemaLoaded = true;
}

QString OdbcBackend::translate(const QString& batch)
{
    if (m_dialect == SqlDialect::SqlServer)
        return batch;
    loadSchema();
    return m_translator.translate(batch);
}

// SQLite: the driver's manual-commit mode begins a deferred transaction, whose first write fails
// at once when another station wrote since its first read; BEGIN IMMEDIATE takes the write lock
// first (waiting for it), as the embedded database does.
void OdbcBackend::begin()
{
    qint64 ignored = 0;
    if (m_dialect == SqlDialect::Sqlite) {
        checkMoved();
        runDirect(u"BEGIN IMMEDIATE"_s, ignored);
        m_inTransaction = true;
        return;
    }
    check(SQLSetConnectAttr(m_h->dbc, SQL_ATTR_AUTOCOMMIT,
                            reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, m_h->dbc, u"BeginTrans"_s);
    m_inTransaction = true;
}

void OdbcBackend::endTransaction(bool commit)
{
    m_inTransaction = false;
    if (m_dialect == SqlDialect::Sqlite) {
        qint64 ignored = 0;
        try {
            runDirect(commit ? u"COMMIT"_s : u"ROLLBACK"_s, ignored);
        } catch (const DbError& e) {
            // After some errors SQLite has already rolled back.
            if (commit || !e.message().contains(u"no transaction is active"_s))
                throw;
        }
        return;
    }
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_h->dbc, commit ? SQL_COMMIT : SQL_ROLLBACK);
    if (!SQL_SUCCEEDED(rc)) {
        DbError e =
            diagnostics(SQL_HANDLE_DBC, m_h->dbc, commit ? u"CommitTrans"_s : u"RollbackTrans"_s);
        if (!commit)
            SQLSetConnectAttr(m_h->dbc, SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
        throw e;
    }
    SQLSetConnectAttr(m_h->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      0);
}

void OdbcBackend::commit() { endTransaction(true); }

void OdbcBackend::rollback() { endTransaction(false); }
