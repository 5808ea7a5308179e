// The database error type.
#include "db/DbError.h"

DbError::DbError(QString message, QString code, int native)
    : m_message(std::move(message)), m_code(std::move(code)), m_native(native),
      m_utf8(m_message.toUtf8())
{
}
