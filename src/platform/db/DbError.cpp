// The database error type.
#include "db/DbError.h"

DbError::DbError(QString message, QString code, int native)
    : m_message(std::move(message)), m_code(std::move(code)), m_native(native),
      m_utf8(m_message.toUtf8())
{
}

namespace {
const QString rowMissingCode = QStringLiteral("ROW_MISSING");
}

DbError DbError::rowMissing(const QString& statement)
{
    return DbError(QStringLiteral("这条记录已不在数据库中（已被删除）：\n") + statement.trimmed(),
                   rowMissingCode);
}

bool DbError::isRowMissing() const noexcept
{
    return m_code == rowMissingCode;
}

namespace {
const QString readOnlyCode = QStringLiteral("READ_ONLY");
}

DbError DbError::readOnlyRefusal(const QString& message)
{
    return DbError(QStringLiteral("只能查询，没有执行：") + message, readOnlyCode);
}

bool DbError::isReadOnlyRefusal() const noexcept
{
    return m_code == readOnlyCode;
}
