// The journal file: records, kept lookups and offline numbers in three small tables.
#include "journal/JournalStore.h"

#include "config/FolderMode.h"
#include "config/ProgramFolder.h"
#include "db/DbError.h"
#include "journal/JournalRows.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const char* const Schema = R"(
CREATE TABLE IF NOT EXISTS records (
  seq INTEGER PRIMARY KEY AUTOINCREMENT,
  id TEXT NOT NULL UNIQUE,
  body TEXT NOT NULL,
  state INTEGER NOT NULL DEFAULT 0,
  reason TEXT,
  newNumber TEXT,
  changed TEXT
);
CREATE INDEX IF NOT EXISTS records_state ON records(state, seq);
CREATE TABLE IF NOT EXISTS lookups (
  kind TEXT NOT NULL, key TEXT NOT NULL, saved TEXT NOT NULL, body TEXT NOT NULL,
  PRIMARY KEY (kind, key)
);
CREATE TABLE IF NOT EXISTS numbers (scope TEXT PRIMARY KEY, value INTEGER NOT NULL);
)";

// Entries read by every list of records.
const QString EntryColumns = u"select seq, body, state, reason, newNumber from records "_s;

JournalStore::Entry entryOf(const JournalSql::Row& row)
{
    JournalStore::Entry e;
    e.seq = row.value(0).toLongLong();
    e.record = JournalRecord::fromJson(row.value(1).toByteArray());
    e.state = JournalStore::State(row.value(2).toInt());
    e.reason = row.value(3).toString();
    e.newNumber = row.value(4).toString();
    return e;
}

} // namespace

JournalStore::JournalStore(const QString& path) : m_path(path)
{
    // Made here with the folder's access: every station user of the panel shares the file.
    FolderMode::precreate(path);
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(u"离线日志无法打开：%1"_s.arg(path), u"SQLITE_CANTOPEN"_s, rc);
    }
    // Several station processes of one panel share the file: they wait for each other.
    sqlite3_busy_timeout(m_db, 10000);
    try {
        exec(u"PRAGMA journal_mode=WAL"_s);
        exec(u"PRAGMA synchronous=FULL"_s);
        exec(QString::fromUtf8(Schema));
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

JournalStore::~JournalStore()
{
    sqlite3_close(m_db);
}

void JournalStore::checkWritable() const
{
    // Taking the write lock is refused on a file the process may only read.
    exec(u"BEGIN IMMEDIATE"_s);
    exec(u"ROLLBACK"_s);
}

QString JournalStore::defaultPath()
{
    return ProgramFolder::file(u"/mirel-journal.db"_s);
}

void JournalStore::exec(const QString& sql) const
{
    JournalSql::run(m_db, sql);
}

void JournalStore::add(const JournalRecord& record)
{
    JournalSql::Transaction tx(m_db);
    JournalSql::run(m_db, u"insert into records(id, body, changed) values(?, ?, datetime('now'))"_s,
                    {record.id, QString::fromUtf8(record.toJson())});
    if (record.number.isSet())
        JournalSql::run(m_db,
                        u"insert into numbers(scope, value) values(?1, ?2) on conflict(scope) do "
                        "update set value = max(value, ?2)"_s,
                        {scopeKey(record.number), record.number.value.toLongLong()});
    tx.commit();
}

QList<JournalStore::Entry> JournalStore::entries(State state) const
{
    QList<Entry> out;
    for (const JournalSql::Row& row :
         JournalSql::run(m_db, EntryColumns + u"where state = ? order by seq"_s, {int(state)}))
        out.append(entryOf(row));
    return out;
}

std::optional<JournalStore::Entry> JournalStore::entry(const QString& id) const
{
    const auto rows = JournalSql::run(m_db, EntryColumns + u"where id = ?"_s, {id});
    if (rows.isEmpty())
        return std::nullopt;
    return entryOf(rows.first());
}

int JournalStore::count(State state) const
{
    return JournalSql::run(m_db, u"select count(*) from records where state = ?"_s, {int(state)})
        .value(0)
        .value(0)
        .toInt();
}

void JournalStore::markDone(const QString& id, const QString& newNumber)
{
    JournalSql::run(m_db,
                    u"update records set state = ?, reason = null, newNumber = ?, "
                    "changed = datetime('now') where id = ?"_s,
                    {int(State::Done), newNumber.isEmpty() ? QVariant() : newNumber, id});
}

void JournalStore::markRefused(const QString& id, const QString& reason)
{
    JournalSql::run(m_db,
                    u"update records set state = ?, reason = ?, changed = datetime('now') "
                    "where id = ? and state = ?"_s,
                    {int(State::Refused), reason, id, int(State::Pending)});
}

void JournalStore::retry(const QString& id)
{
    JournalSql::run(m_db,
                    u"update records set state = ?, changed = datetime('now') where id = ? and "
                    "state = ?"_s,
                    {int(State::Pending), id, int(State::Refused)});
}

void JournalStore::drop(const QString& id)
{
    JournalSql::run(m_db,
                    u"update records set state = ?, changed = datetime('now') where id = ? and "
                    "state = ?"_s,
                    {int(State::Dropped), id, int(State::Refused)});
}

QString JournalStore::scopeKey(const JournalNumber& scope)
{
    return scope.table.toLower() + u'|' + scope.column.toLower() + u'|' + scope.filter;
}

qint64 JournalStore::lastNumber(const JournalNumber& scope) const
{
    return JournalSql::run(m_db, u"select value from numbers where scope = ?"_s, {scopeKey(scope)})
        .value(0)
        .value(0)
        .toLongLong();
}

QString JournalStore::nextNumber(const JournalNumber& scope, const QString& shown) const
{
    const qint64 last = lastNumber(scope);
    const qint64 current = shown.toLongLong();
    const qint64 n = current > last && !shown.isEmpty() ? current : last + 1;
    return QString::number(n).rightJustified(scope.length, u'0');
}

QString JournalStore::offlineLookupMessage()
{
    return u"数据库离线，这个号码以前没有查过，离线时无法查询"_s;
}

Recordset JournalStore::keptRead(const QString& kind, const QString& key,
                                 const std::function<Recordset()>& read, bool* online)
{
    if (online)
        *online = false;
    try {
        const Recordset rs = read();
        if (online)
            *online = true;
        try {
            putLookup(kind, key, rs);
        } catch (const DbError&) {
            // Keeping it is a convenience for later; the lookup itself succeeded.
        }
        return rs;
    } catch (const DbError& e) {
        if (!e.offline())
            throw;
        if (std::optional<Recordset> rows = lookup(kind, key))
            return *rows;
        throw DbError(offlineLookupMessage(), e.code(), e.nativeCode()).markConnectionLost();
    }
}

void JournalStore::putLookup(const QString& kind, const QString& key, const Recordset& rows)
{
    // Unchanged rows seen again today are not written again: a lookup costs no disk write.
    JournalSql::run(m_db,
                    u"insert into lookups(kind, key, saved, body) values(?1, ?2, datetime('now'), "
                    "?3) on conflict(kind, key) do update set saved = excluded.saved, body = "
                    "excluded.body where body != excluded.body or saved < datetime('now', "
                    "'-1 day')"_s,
                    {kind, key, QString::fromUtf8(JournalSql::recordsetJson(rows))});
}

void JournalStore::putLookups(const QString& kind,
                              const QList<std::pair<QString, Recordset>>& keyed)
{
    // A box of twenty rolls is one disk sync, not twenty, on the packing table's save.
    JournalSql::Transaction tx(m_db);
    for (const auto& [key, rows] : keyed)
        putLookup(kind, key, rows);
    tx.commit();
}

std::optional<Recordset> JournalStore::lookup(const QString& kind, const QString& key,
                                              int maxAgeDays) const
{
    const auto rows = JournalSql::run(
        m_db,
        u"select body from lookups where kind = ? and key = ? and saved >= datetime('now', ?)"_s,
        {kind, key, u"-%1 days"_s.arg(maxAgeDays)});
    if (rows.isEmpty())
        return std::nullopt;
    return JournalSql::recordsetFrom(rows.first().value(0).toByteArray());
}
