// One field value of a result row: null, integer, decimal, text, date/time or bytes, with the
// conversions the stations apply to fields (text of a number, number of a text).
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <variant>

class DbValue {
public:
    enum class Type { Null, Integer, Decimal, Text, DateTime, Bytes };

    DbValue() = default;
    DbValue(qint64 v) : m_v(v) {}
    DbValue(int v) : m_v(qint64(v)) {}
    DbValue(double v) : m_v(v) {}
    DbValue(QString v) : m_v(std::move(v)) {}
    DbValue(QDateTime v) : m_v(std::move(v)) {}
    DbValue(QByteArray v) : m_v(std::move(v)) {}

    Type type() const { return Type(m_v.index()); }
    bool isNull() const { return type() == Type::Null; }

    /// Text of the value: "" for null, integers plainly, decimals in their shortest form with "."
    /// ("12.5", "0.5"), dates as "yyyy-MM-dd hh:mm:ss" (only "yyyy-MM-dd" at midnight), bytes as
    /// UTF-8 text.
    QString toString() const;
    /// Number of the value: null is 0, text by its leading number ("12.5米" is 12.5, "abc" is 0).
    double toDouble() const;
    /// toDouble() truncated toward zero.
    qint64 toLongLong() const;
    int toInt() const { return int(toLongLong()); }
    /// Dates; a text in one of the stored date forms is parsed; otherwise invalid.
    QDateTime toDateTime() const;
    /// Bytes; a text gives its UTF-8.
    QByteArray toBytes() const;
    /// As a QVariant (null gives an invalid QVariant).
    QVariant toVariant() const;

    bool operator==(const DbValue& other) const = default;

private:
    std::variant<std::monostate, qint64, double, QString, QDateTime, QByteArray> m_v;
};
