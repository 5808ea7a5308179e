// Small helpers of the journal file: statements with bound values, a transaction guard, and
// kept recordsets as JSON.
#pragma once

#include "db/Recordset.h"

#include <QList>
#include <QVariant>

struct sqlite3;

namespace JournalSql {

using Row = QList<QVariant>;

/// Runs sql (several statements when no values are bound) and returns the rows of the last one.
/// Throws DbError with SQLite's message.
QList<Row> run(sqlite3* db, const QString& sql, const QVariantList& values = {});

/// BEGIN IMMEDIATE … COMMIT; rolls back unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    sqlite3* m_db;
    bool m_open = true;
};

/// A recordset's columns and rows with their value types, and back.
QByteArray recordsetJson(const Recordset& rs);
Recordset recordsetFrom(const QByteArray& json);

} // namespace JournalSql
