// A transaction guard: begins on construction, rolls back on destruction unless committed.
#pragma once

class Connection;

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
