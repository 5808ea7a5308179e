// What the translator knows of the tables: which columns hold text, numbers or dates, so that
// "+" joins texts, date literals are normalised and UPDATE…FROM can qualify the target's columns.
#pragma once

#include <QHash>
#include <QString>

struct SqlSchemaInfo {
    enum class Kind { Unknown, Text, Number, Date };

    /// Adds a column of a table (names in any letter case).
    void add(const QString& table, const QString& column, Kind kind);
    /// Kind of a column of a table; Unknown when the table or column is not known.
    Kind kind(const QString& table, const QString& column) const;
    /// Kind of a column name over all tables: the kind it has everywhere it appears, Unknown when
    /// tables disagree or no table has it.
    Kind kindOf(const QString& column) const;
    bool hasTable(const QString& table) const;
    bool isEmpty() const { return m_tables.isEmpty(); }

    /// Kind from a declared column type ("NVARCHAR(50)", "DATETIME", "NUMERIC(18,4)").
    static Kind kindOfDeclaredType(const QString& declared);

private:
    QHash<QString, QHash<QString, Kind>> m_tables;
    QHash<QString, Kind> m_columns;
};
