// The transaction guard.
#include "db/Transaction.h"

#include "db/Connection.h"

Transaction::Transaction(Connection& conn) : m_conn(conn)
{
    m_conn.beginTrans();
    m_active = true;
}

Transaction::~Transaction()
{
    if (!m_active)
        return;
    try {
        m_conn.rollbackTrans();
    } catch (...) {
        // A rollback that fails leaves nothing to undo: the server already dropped the
        // transaction (lost connection). Destructors must not throw.
    }
}

void Transaction::commit()
{
    m_conn.commitTrans();
    m_active = false;
}

void Transaction::rollback()
{
    m_active = false;
    m_conn.rollbackTrans();
}
