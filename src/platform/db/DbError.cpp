// The database error type.
#include "db/DbError.h"

using namespace Qt::StringLiterals;

DbError::DbError(QString message, QString code, int native)
    : m_message(std::move(message)), m_code(std::move(code)), m_native(native),
      m_utf8(m_message.toUtf8())
{
}

namespace {
const QString rowMissingCode = u"ROW_MISSING"_s;
}

DbError DbError::rowMissing(const QString& statement)
{
    return DbError(u"这条记录已不在数据库中（已被删除）：\n"_s + statement.trimmed(),
                   rowMissingCode);
}

bool DbError::isRowMissing() const noexcept
{
    return m_code == rowMissingCode;
}

namespace {
const QString readOnlyCode = u"READ_ONLY"_s;
}

DbError DbError::readOnlyRefusal(const QString& message)
{
    return DbError(u"只能查询，没有执行："_s + message, readOnlyCode);
}

bool DbError::isReadOnlyRefusal() const noexcept
{
    return m_code == readOnlyCode;
}
