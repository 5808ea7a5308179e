// Writing values into T-SQL text: quotes doubled, numbers with "." and no exponent, dates as ISO.
#pragma once

#include <QDateTime>
#include <QString>

namespace SqlText {

/// The text with every single quote doubled, to be pasted between quotes: "O'Neil" -> "O''Neil".
QString escape(const QString& text);
/// The text as a literal: "O'Neil" -> "'O''Neil'".
QString quoted(const QString& text);
/// A number literal: "12.5", "-3", never an exponent.
QString number(double x);
/// "yyyy-MM-dd hh:mm:ss".
QString dateTime(const QDateTime& t);
/// "yyyy-MM-dd".
QString date(const QDate& d);

} // namespace SqlText
