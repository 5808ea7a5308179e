// VBScript's operators on numbers, texts and Booleans, with its conversions and run-time errors.
#include "script/VbsErrors.h"
#include "script/VbsSyntax.h"

#include <cmath>
#include <limits>

namespace script::detail {

void fail(int number, const QString& description, qsizetype position)
{
    throw Fault{ScriptError{number, description, position}};
}

double numberOf(const Value& v)
{
    double x = 0;
    if (!v.toNumber(&x))
        fail(errTypeMismatch, named(typeMismatchText(), v.toText()));
    return x;
}

Value checkedNumber(double x)
{
    if (std::isnan(x))
        fail(errInvalidCall, invalidCallText());
    if (std::isinf(x))
        fail(errOverflow, overflowText());
    return Value::number(x == 0 ? 0.0 : x); // no "-0" in texts made from results
}

qint32 longOf(const Value& v)
{
    // CLng rounds halves to the even neighbour: 2.5 -> 2, 3.5 -> 4.
    const double r = std::nearbyint(numberOf(v));
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        fail(errOverflow, overflowText());
    return static_cast<qint32>(r);
}

namespace {

Value divide(double a, double b)
{
    if (b == 0) {
        // VBScript reports 0/0 as an overflow and x/0 as a division by zero.
        if (a == 0)
            fail(errOverflow, overflowText());
        fail(errDivisionByZero, divisionByZeroText());
    }
    return checkedNumber(a / b);
}

Value power(double a, double b)
{
    if (a == 0 && b < 0)
        fail(errDivisionByZero, divisionByZeroText());
    return checkedNumber(std::pow(a, b));
}

Value integerDivision(Op op, const Value& a, const Value& b)
{
    const qint64 x = longOf(a), y = longOf(b);
    if (y == 0)
        fail(errDivisionByZero, divisionByZeroText());
    // C++ truncates toward zero and gives the remainder the dividend's sign, as VBScript does.
    const qint64 r = op == Op::IntDiv ? x / y : x % y;
    if (r > std::numeric_limits<qint32>::max())
        fail(errOverflow, overflowText());
    return Value::number(static_cast<double>(r));
}

// Both Booleans: a Boolean result; otherwise the bits of two Longs.
Value logical(Op op, const Value& a, const Value& b)
{
    const qint32 x = longOf(a), y = longOf(b);
    qint32 r = 0;
    if (op == Op::And)
        r = x & y;
    else if (op == Op::Or)
        r = x | y;
    else
        r = x ^ y;
    if (a.isBoolean() && b.isBoolean())
        return Value::boolean(r != 0);
    return Value::number(r);
}

// -1, 0, 1. Two texts compare by their characters; a number and a text that reads as a number
// compare as numbers; any other text sorts after every number.
int compareValues(const Value& a, const Value& b)
{
    if (a.isText() && b.isText()) {
        const int c = QString::compare(a.toText(), b.toText(), Qt::CaseSensitive);
        return (c > 0) - (c < 0);
    }
    double x = 0, y = 0;
    const bool xn = a.toNumber(&x), yn = b.toNumber(&y);
    if (!xn || !yn)
        return xn ? -1 : 1;
    return (x > y) - (x < y);
}

Value comparison(Op op, const Value& a, const Value& b)
{
    const int c = compareValues(a, b);
    switch (op) {
    case Op::Eq:
        return Value::boolean(c == 0);
    case Op::Ne:
        return Value::boolean(c != 0);
    case Op::Lt:
        return Value::boolean(c < 0);
    case Op::Gt:
        return Value::boolean(c > 0);
    case Op::Le:
        return Value::boolean(c <= 0);
    default:
        return Value::boolean(c >= 0);
    }
}

} // namespace

Value applyUnary(Op op, const Value& a)
{
    if (op == Op::Not) {
        if (a.isBoolean())
            return Value::boolean(numberOf(a) == 0);
        return Value::number(~longOf(a));
    }
    return checkedNumber(-numberOf(a));
}

Value applyBinary(Op op, const Value& a, const Value& b)
{
    switch (op) {
    case Op::Add:
        // "+" joins two texts and adds everything else.
        if (a.isText() && b.isText())
            return Value::text(a.toText() + b.toText());
        return checkedNumber(numberOf(a) + numberOf(b));
    case Op::Sub:
        return checkedNumber(numberOf(a) - numberOf(b));
    case Op::Mul:
        return checkedNumber(numberOf(a) * numberOf(b));
    case Op::Div:
        return divide(numberOf(a), numberOf(b));
    case Op::Pow:
        return power(numberOf(a), numberOf(b));
    case Op::IntDiv:
    case Op::Mod:
        return integerDivision(op, a, b);
    case Op::Concat:
        return Value::text(a.toText() + b.toText());
    case Op::And:
    case Op::Or:
    case Op::Xor:
        return logical(op, a, b);
    default:
        return comparison(op, a, b);
    }
}

} // namespace script::detail
