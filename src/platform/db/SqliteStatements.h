// The embedded database's translated and prepared batches, kept by their shape (or their text),
// at most a fixed number of them: the least recently used batch goes first.
#pragma once

#include "db/SqlTranslator.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class SqlShape;
struct sqlite3_stmt;

/// One statement of a batch as SQLite runs it.
struct SqlitePrepared {
    /// SQLite text; "?n" markers take the values of the batch's shape.
    QString sql;
    /// For "exec name args": the procedure and its argument texts (no SQLite text).
    QString procedure;
    QStringList arguments;
    /// For marker n (1-based): the index of its value in the shape's values, and the translated
    /// text with the shape's placeholders (for messages).
    QList<int> valueIndex;
    QString shapeSql;
    /// Prepared on first use (nullptr before, and for a text that is only a comment).
    sqlite3_stmt* stmt = nullptr;
    bool prepared = false;
    /// Column names and which columns are declared as dates, read on the first run.
    QStringList columns;
    QList<bool> dateColumns;
    bool described = false;
};

/// A batch's statements. Owns its prepared statements.
struct SqliteBatch {
    SqliteBatch() = default;
    SqliteBatch(const SqliteBatch&) = delete;
    SqliteBatch& operator=(const SqliteBatch&) = delete;
    ~SqliteBatch();

    QList<SqlitePrepared> statements;
    /// A shape whose translation depends on its literals: run the batch by its text instead.
    bool byTextOnly = false;
    /// Control flow or variables: the interpreter runs the batch (SqlScript).
    bool script = false;
};

namespace SqliteBatches {

/// A batch run by its text: the statements as translated.
std::shared_ptr<SqliteBatch> byText(const QList<SqlStatement>& statements);
/// A shaped batch: the translation of the shape with markers for its values. nullptr when the
/// translation depends on the values (a placeholder changed by a rewrite, or the shape's
/// translation with the batch's literals put back differs from the batch's own translation);
/// translated is then the batch's own translation.
std::shared_ptr<SqliteBatch> byShape(const SqlTranslator& translator, const QString& batch,
                                     const SqlShape& shape, QList<SqlStatement>& translated);

} // namespace SqliteBatches

class SqliteStatementCache {
public:
    explicit SqliteStatementCache(int capacity) : m_capacity(capacity) {}

    /// The batch kept under a shape key (shaped) or under the batch text; nullptr when none.
    std::shared_ptr<SqliteBatch> find(const QString& key, bool shaped);
    /// Keeps a batch, dropping the least recently used one when full. A batch still running
    /// (a procedure that runs statements of its own) lives on until it has finished.
    std::shared_ptr<SqliteBatch> insert(const QString& key, bool shaped,
                                        std::shared_ptr<SqliteBatch> batch);
    void clear() { m_entries.clear(); }
    int size() const { return int(m_entries.size()); }
    int capacity() const { return m_capacity; }

private:
    struct Entry {
        std::shared_ptr<SqliteBatch> batch;
        quint64 used = 0;
    };
    struct Key {
        QString text;
        bool shaped;
        bool operator==(const Key&) const = default;
        friend size_t qHash(const Key& k, size_t seed = 0)
        {
            return qHash(k.text, seed) ^ k.shaped;
        }
    };

    QHash<Key, Entry> m_entries;
    quint64 m_clock = 0;
    int m_capacity;
};
