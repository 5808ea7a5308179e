// The text patterns of label boxes: static text with [field], [#parameter#], [field|picture] and
// [=expression] parts filled from the current detail row and the report's parameters.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace ReportExpression {

/// Resolves a name: a detail field or, failing that, a parameter; with parameterOnly only
/// parameters. nullopt when there is no such name.
using Lookup = std::function<std::optional<QVariant>(const QString& name, bool parameterOnly)>;

/// The text of a value as a label shows it: numbers in their shortest form ("12.5", "0.5"),
/// dates as "yyyy-MM-dd" (with " hh:mm:ss" when the time is not midnight).
QString text(const QVariant& value);

/// Formats a value with a picture: a numeric picture ("0.00", "000") for numbers and number
/// texts, a date picture ("yyyy-mm-dd", "yyyy年m月d日", "hh:nn") for dates.
QString format(const QVariant& value, const QString& picture);

/// Evaluates an expression: numbers, "texts", names (fields and parameters, #name# for a
/// parameter only), + - * / & and parentheses, and the functions Format(x, picture), Left(s, n),
/// Right(s, n), Mid(s, start[, n]), Trim(s), Val(s), Date(), Now(). Throws ReportError.
QVariant evaluate(const QString& expression, const Lookup& lookup);

/// Fills a box pattern. "[[" writes "[". Parts that cannot be filled are left empty and
/// described in problems.
QString expand(const QString& pattern, const Lookup& lookup, QStringList* problems);

/// Replaces the [#parameter#] placeholders of a detail query: numbers as SQL numbers, texts with
/// their single quotes doubled (the query writes the quotes around them).
QString expandQuery(const QString& query, const Lookup& lookup, QStringList* problems);

} // namespace ReportExpression
