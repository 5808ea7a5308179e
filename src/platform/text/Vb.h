// The text and number conversions the stations rely on, with the exact behaviour of the old
// station program (leading-number values, blank-led Str, half-away-from-zero Format).
#pragma once

#include <QString>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace vb {

/// Numeric value of a text: its leading number (blanks skipped, optional sign, digits, one
/// decimal point); 0 when the text does not start with a number. Val("12abc") is 12.
double Val(QStringView text);

/// True when the whole text (surrounding blanks allowed) is a number.
bool IsNumeric(QStringView text);

/// Shortest decimal text of x (15 significant digits, never an exponent), with a leading blank
/// when x >= 0 and no zero before the decimal point: Str(0.5) is " .5", Str(-0.5) is "-.5".
QString Str(double x);

/// Str(x) without its leading blank: CStr(12) is "12", CStr(0.5) is ".5".
QString CStr(double x);

/// Truncates toward zero.
double Fix(double x);

/// Rounds to the nearest whole number, halves to even (CInt, CLng).
long long CInt(double x);

/// Formats x with a numeric picture such as "0", "00", "000", "0.00", "#,##0.0"; rounds half
/// away from zero on the decimal digits of x. An empty picture gives CStr(x).
QString Format(double x, QStringView picture);

/// Characters counted from 1. Mid with length < 0 takes the rest.
QString Mid(const QString& s, qsizetype start, qsizetype length = -1);
QString Left(const QString& s, qsizetype n);
QString Right(const QString& s, qsizetype n);

/// 1-based position of what in s at or after start, 0 when absent; an empty what gives start.
qsizetype InStr(qsizetype start, const QString& s, const QString& what);
inline qsizetype InStr(const QString& s, const QString& what) { return InStr(1, s, what); }

QString StrReverse(const QString& s);

/// Splits a comma list; keeps every element, so "a,b," gives {"a","b",""}.
QStringList Split(const QString& s, const QString& sep = u","_s);

/// Highest index of the list obtained by splitting text at sep (elements minus one).
int arrayUpperBound(const QString& text, const QString& sep = u","_s);

/// The elements of a comma list without the empty last element that lists usually end with.
QStringList listItems(const QString& text, const QString& sep = u","_s);

/// Number text for SQL: "." as decimal point, no exponent, no leading blank.
QString sqlNumber(double x);

} // namespace vb
