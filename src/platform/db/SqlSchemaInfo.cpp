// Column kinds for the translator.
#include "db/SqlSchemaInfo.h"

void SqlSchemaInfo::add(const QString& table, const QString& column, Kind kind)
{
    const QString c = column.toLower();
    m_tables[table.toLower()].insert(c, kind);
    const auto it = m_columns.constFind(c);
    if (it == m_columns.constEnd())
        m_columns.insert(c, kind);
    else if (*it != kind)
        m_columns.insert(c, Kind::Unknown);
}

SqlSchemaInfo::Kind SqlSchemaInfo::kind(const QString& table, const QString& column) const
{
    const auto t = m_tables.constFind(table.toLower());
    if (t == m_tables.constEnd())
        return Kind::Unknown;
    return t->value(column.toLower(), Kind::Unknown);
}

SqlSchemaInfo::Kind SqlSchemaInfo::kindOf(const QString& column) const
{
    return m_columns.value(column.toLower(), Kind::Unknown);
}

bool SqlSchemaInfo::hasTable(const QString& table) const
{
    return m_tables.contains(table.toLower());
}

SqlSchemaInfo::Kind SqlSchemaInfo::kindOfDeclaredType(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QStringLiteral("DATE")) || t.contains(QStringLiteral("TIME")))
        return Kind::Date;
    if (t.contains(QStringLiteral("CHAR")) || t.contains(QStringLiteral("TEXT")) ||
        t.contains(QStringLiteral("CLOB")))
        return Kind::Text;
    if (t.contains(QStringLiteral("INT")) || t.contains(QStringLiteral("NUM")) ||
        t.contains(QStringLiteral("DEC")) || t.contains(QStringLiteral("REAL")) ||
        t.contains(QStringLiteral("FLOA")) || t.contains(QStringLiteral("DOUB")) ||
        t.contains(QStringLiteral("MONEY")) || t.contains(QStringLiteral("BIT")))
        return Kind::Number;
    return Kind::Unknown;
}
