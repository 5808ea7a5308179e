// One row of a statement read row by row (Connection::forEachRow): its fields by position, as a
// recordset would hold them, read without keeping the rows.
#pragma once

#include "db/DbValue.h"

#include <functional>

class DbRow {
public:
    virtual ~DbRow() = default;
    virtual int size() const = 0;
    /// The field as a recordset holds it.
    virtual DbValue value(int i) const = 0;
    /// value(i).toDouble(), .toLongLong() and .toString(), without the DbValue where the field
    /// allows it.
    virtual double number(int i) const { return value(i).toDouble(); }
    virtual qint64 integer(int i) const { return value(i).toLongLong(); }
    virtual QString text(int i) const { return value(i).toString(); }
};

using DbRowHandler = std::function<void(const DbRow&)>;

/// A row already fetched into values (back ends that fetch the whole result).
class DbValuesRow final : public DbRow {
public:
    explicit DbValuesRow(const QList<DbValue>& values) : m_values(values) {}
    int size() const override { return int(m_values.size()); }
    DbValue value(int i) const override { return m_values.at(i); }
    double number(int i) const override { return m_values.at(i).toDouble(); }
    qint64 integer(int i) const override { return m_values.at(i).toLongLong(); }
    QString text(int i) const override { return m_values.at(i).toString(); }

private:
    const QList<DbValue>& m_values;
};
