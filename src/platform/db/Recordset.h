// The rows of a statement, fetched completely (a client-side cursor): move through them and read
// fields by position or by name.
#pragma once

#include "db/DbValue.h"

#include <QList>
#include <QString>
#include <QStringList>

class Recordset {
public:
    /// A closed recordset (state 0): what a statement without a result set gives.
    Recordset() = default;
    /// An open recordset with these columns and no rows yet.
    explicit Recordset(QStringList columns);

    /// Appends a row (builders and back ends); its size must match the columns.
    void addRow(QList<DbValue> row);

    /// 1 when open, 0 when closed.
    int state() const { return m_open ? 1 : 0; }
    bool isOpen() const { return m_open; }
    void close();

    /// True when there is no current row (past the last row, or no rows at all).
    bool eof() const { return m_pos >= m_rows.size(); }
    bool bof() const { return m_pos < 0 || m_rows.isEmpty(); }
    void moveFirst() { m_pos = 0; }
    void moveLast() { m_pos = m_rows.size() - 1; }
    void moveNext();
    void movePrevious();
    /// 0-based current row; eof() when position() == recordCount().
    qsizetype position() const { return m_pos; }
    void setPosition(qsizetype row);

    int recordCount() const { return int(m_rows.size()); }
    int fieldCount() const { return int(m_columns.size()); }
    const QStringList& columns() const { return m_columns; }
    QString fieldName(int index) const { return m_columns.value(index); }
    /// Index of the first column with this name (letter case ignored); -1 when there is none.
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }

    /// Field of the current row. Throws DbError when there is no current row or no such column.
    const DbValue& field(int index) const;
    const DbValue& field(const QString& name) const;
    const DbValue& operator[](int index) const { return field(index); }
    const DbValue& operator[](const QString& name) const { return field(name); }
    /// Shorthands: field(name).toString() / toDouble().
    QString text(const QString& name) const { return field(name).toString(); }
    QString text(int index) const { return field(index).toString(); }
    double number(const QString& name) const { return field(name).toDouble(); }

    /// Every row, for lists and exports.
    const QList<QList<DbValue>>& rows() const { return m_rows; }

private:
    QStringList m_columns;
    QList<QList<DbValue>> m_rows;
    qsizetype m_pos = 0;
    bool m_open = false;
};
