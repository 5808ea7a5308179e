// Conversions of field values, following what the stations did with ADO field values.
#include "db/DbValue.h"

#include "db/DateText.h"
#include "text/Vb.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Shortest text of a decimal that reads back to the same double, with "." and no exponent.
QString decimalText(double x)
{
    if (std::isnan(x) || std::isinf(x))
        return QString::number(x);
    QString s = QString::number(x, 'f', 15);
    if (s.contains(u'.')) {
        // Trim to the shortest form that still reads back as the same double.
        for (int decimals = 0; decimals <= 15; ++decimals) {
            QString t = QString::number(x, 'f', decimals);
            if (t.toDouble() == x) {
                s = t;
                break;
            }
        }
    }
    if (s == u"-0"_s)
        s = u"0"_s;
    return s;
}

} // namespace

QString DbValue::toString() const
{
    switch (type()) {
    case Type::Null:
        return QString();
    case Type::Integer:
        return QString::number(std::get<qint64>(m_v));
    case Type::Decimal:
        return decimalText(std::get<double>(m_v));
    case Type::Text:
        return std::get<QString>(m_v);
    case Type::DateTime:
        return DateText::display(std::get<QDateTime>(m_v));
    case Type::Bytes:
        return QString::fromUtf8(std::get<QByteArray>(m_v));
    }
    return QString();
}

double DbValue::toDouble() const
{
    switch (type()) {
    case Type::Integer:
        return double(std::get<qint64>(m_v));
    case Type::Decimal:
        return std::get<double>(m_v);
    case Type::Text:
        return vb::Val(std::get<QString>(m_v));
    case Type::Bytes:
        return vb::Val(QString::fromUtf8(std::get<QByteArray>(m_v)));
    default:
        return 0;
    }
}

qint64 DbValue::toLongLong() const
{
    if (type() == Type::Integer)
        return std::get<qint64>(m_v);
    return qint64(std::trunc(toDouble()));
}

QDateTime DbValue::toDateTime() const
{
    if (type() == Type::DateTime)
        return std::get<QDateTime>(m_v);
    if (type() == Type::Text)
        return DateText::parse(std::get<QString>(m_v));
    return QDateTime();
}

QByteArray DbValue::toBytes() const
{
    if (type() == Type::Bytes)
        return std::get<QByteArray>(m_v);
    return toString().toUtf8();
}

QVariant DbValue::toVariant() const
{
    switch (type()) {
    case Type::Null:
        return QVariant();
    case Type::Integer:
        return QVariant(std::get<qint64>(m_v));
    case Type::Decimal:
        return QVariant(std::get<double>(m_v));
    case Type::Text:
        return QVariant(std::get<QString>(m_v));
    case Type::DateTime:
        return QVariant(std::get<QDateTime>(m_v));
    case Type::Bytes:
        return QVariant(std::get<QByteArray>(m_v));
    }
    return QVariant();
}
