// The fully fetched rows of a statement.
#include "db/Recordset.h"

#include "db/DbError.h"

using namespace Qt::StringLiterals;

Recordset::Recordset(QStringList columns) : m_columns(std::move(columns)), m_open(true) {}

void Recordset::addRow(QList<DbValue> row)
{
    row.resize(m_columns.size());
    m_rows.append(std::move(row));
}

void Recordset::close()
{
    m_open = false;
    m_rows.clear();
    m_columns.clear();
    m_pos = 0;
}

void Recordset::moveNext()
{
    if (m_pos < m_rows.size())
        ++m_pos;
}

void Recordset::movePrevious()
{
    if (m_pos >= 0)
        --m_pos;
}

void Recordset::setPosition(qsizetype row) { m_pos = qBound<qsizetype>(0, row, m_rows.size()); }

int Recordset::fieldIndex(const QString& name) const
{
    // The first of duplicate names wins ("select f.*, a.*" has two "remark" columns).
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const DbValue& Recordset::field(int index) const
{
    if (!m_open)
        throw DbError(u"记录集已关闭，不能读取字段"_s);
    if (index < 0 || index >= m_columns.size())
        throw DbError(u"记录集中没有第 %1 列"_s.arg(index));
    if (m_pos < 0 || m_pos >= m_rows.size())
        throw DbError(u"记录集没有当前行（BOF 或 EOF）"_s);
    return m_rows.at(m_pos).at(index);
}

const DbValue& Recordset::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0 && m_open)
        throw DbError(u"记录集中没有列“%1”"_s.arg(name));
    return field(i);
}
