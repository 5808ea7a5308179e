// A transaction guard: begins on construction, rolls back on destruction unless committed.
#pragma once

#include "db/Connection.h"

class Transaction {
public:
    /// Begins a transaction on conn (throws DbError when it cannot).
    explicit Transaction(Connection& conn);
    /// Rolls back when commit() did not run; never throws.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    /// Commits (throws DbError; the destructor then still rolls back).
    void commit();
    /// Rolls back now (throws DbError).
    void rollback();
    bool active() const { return m_active; }

private:
    Connection& m_conn;
    bool m_active = false;
};

/// Runs work() inside a transaction of its own, or inside the caller's when one is open on conn,
/// and returns its result.
template <typename Work> auto inTransaction(Connection& conn, Work work)
{
    if (conn.inTransaction())
        return work();
    Transaction t(conn);
    auto result = work();
    t.commit();
    return result;
}
