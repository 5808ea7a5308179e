// The station's local journal: an SQLite file of its own in the program folder that keeps the
// saves made while the mill's database could not be reached, the cards looked up in the last days
// and the running numbers counted offline. Written with synchronous=FULL, one transaction per
// record, so that a save the operator saw succeed survives a power cut.
#pragma once

#include "db/Recordset.h"
#include "journal/JournalRecord.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>

struct sqlite3;

class JournalStore {
public:
    enum class State { Pending, Refused, Done, Dropped };
    struct Entry {
        qint64 seq = 0;
        JournalRecord record;
        State state = State::Pending;
        QString reason;    ///< why the server refused it
        QString newNumber; ///< the number it was saved with, when the replay changed it
    };

    /// Opens (creating when missing) the journal file. Throws DbError when it cannot.
    explicit JournalStore(const QString& path = defaultPath());
    ~JournalStore();
    JournalStore(const JournalStore&) = delete;
    JournalStore& operator=(const JournalStore&) = delete;

    /// The program folder's journal file.
    static QString defaultPath();
    /// Throws DbError when the file can be read but not written (its access, a read-only disk).
    void checkWritable() const;
    const QString& path() const { return m_path; }

    /// Keeps a record (pending) and, when it carries a running number, that number as the last
    /// one counted in its scope; one durable transaction. Throws DbError.
    void add(const JournalRecord& record);
    /// Records of a state, oldest first.
    QList<Entry> entries(State state) const;
    std::optional<Entry> entry(const QString& id) const;
    int count(State state) const;

    /// The replay saved it (with newNumber when it had to change the number).
    void markDone(const QString& id, const QString& newNumber = QString());
    /// The server refused it; it waits for the operator.
    void markRefused(const QString& id, const QString& reason);
    /// The operator sends a refused record again (it goes back into the queue, in its place).
    void retry(const QString& id);
    /// The operator gave a refused record up; it is kept in the file but never sent.
    void drop(const QString& id);

    /// The highest running number counted offline in a scope (0 when none).
    qint64 lastNumber(const JournalNumber& scope) const;
    /// The number a frame goes on with offline in a scope: the one shown while it is above every
    /// number counted offline, else the next after the last one counted.
    QString nextNumber(const JournalNumber& scope, const QString& shown) const;
    /// The scope's key: table, column and condition.
    static QString scopeKey(const JournalNumber& scope);

    /// Keeps the rows of a lookup (a card, an article, a worker) for use while offline.
    void putLookup(const QString& kind, const QString& key, const Recordset& rows);
    /// Keeps several lookups of one kind (a box's rolls) in one durable transaction.
    void putLookups(const QString& kind, const QList<std::pair<QString, Recordset>>& keyed);
    /// The rows kept for a lookup within the last maxAgeDays; nothing when none are kept.
    std::optional<Recordset> lookup(const QString& kind, const QString& key,
                                    int maxAgeDays = 7) const;

    /// The rows read() returns, kept under kind and key for later; while the database is away
    /// (read() throws an offline DbError) the rows kept before, or an offline DbError saying the
    /// lookup was never made here. online, when given, tells which it was.
    Recordset keptRead(const QString& kind, const QString& key,
                       const std::function<Recordset()>& read, bool* online = nullptr);
    static QString offlineLookupMessage();

private:
    void exec(const QString& sql) const;
    QString m_path;
    sqlite3* m_db = nullptr;
};
