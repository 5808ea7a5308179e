// Column kinds for the translator.
#include "db/SqlSchemaInfo.h"

using namespace Qt::StringLiterals;

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
    if (t.contains(u"DATE"_s) || t.contains(u"TIME"_s))
        return Kind::Date;
    if (t.contains(u"CHAR"_s) || t.contains(u"TEXT"_s) || t.contains(u"CLOB"_s))
        return Kind::Text;
    if (t.contains(u"INT"_s) || t.contains(u"NUM"_s) || t.contains(u"DEC"_s) ||
        t.contains(u"REAL"_s) || t.contains(u"FLOA"_s) || t.contains(u"DOUB"_s) ||
        t.contains(u"MONEY"_s) || t.contains(u"BIT"_s))
        return Kind::Number;
    return Kind::Unknown;
}
