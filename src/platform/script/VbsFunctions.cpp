// The VBScript built-in functions that arithmetic formulas use: Int, Fix, Round, Abs, Sgn, Sqr,
// CDbl, CInt, CLng, Exp, Log and the trigonometric ones.
#include "script/VbsErrors.h"
#include "script/VbsSyntax.h"

#include <QHash>
#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace script::detail {

namespace {

using Args = std::vector<Value>;

struct Builtin {
    int minArgs;
    int maxArgs;
    std::function<Value(const Args&)> call;
};

Value invalidCall()
{
    fail(errInvalidCall, invalidCallText());
}

// VBScript's Round: the digits are scaled, then a half goes to the even neighbour. The scaling
// is done in binary, so Round(0.285, 2) is 0.28 as in VBScript (0.285 * 100 is a bit below 28.5).
Value roundTo(const Args& a)
{
    const double x = numberOf(a[0]);
    const qint32 digits = a.size() > 1 ? longOf(a[1]) : 0;
    if (digits < 0)
        invalidCall();
    if (digits > 15 || !std::isfinite(x))
        return Value::number(x);
    const double scale = std::pow(10.0, digits);
    const double scaled = x * scale;
    if (!std::isfinite(scaled))
        return Value::number(x);
    return checkedNumber(std::nearbyint(scaled) / scale);
}

Value ranged(double r, double low, double high)
{
    if (r < low || r > high)
        fail(errOverflow, overflowText());
    return Value::number(r);
}

Value unaryMath(const Args& a, double (*f)(double))
{
    return checkedNumber(f(numberOf(a[0])));
}

const QHash<QString, Builtin>& builtins()
{
    static const QHash<QString, Builtin> table = {
        {u"abs"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::fabs); }}},
        {u"atn"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::atan); }}},
        {u"cos"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::cos); }}},
        {u"sin"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::sin); }}},
        {u"tan"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::tan); }}},
        {u"exp"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::exp); }}},
        {u"fix"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::trunc); }}},
        {u"int"_s, {1, 1, [](const Args& a) { return unaryMath(a, std::floor); }}},
        {u"cdbl"_s, {1, 1, [](const Args& a) { return Value::number(numberOf(a[0])); }}},
        {u"clng"_s, {1, 1, [](const Args& a) { return Value::number(longOf(a[0])); }}},
        {u"cint"_s,
         {1, 1,
          [](const Args& a) { return ranged(std::nearbyint(numberOf(a[0])), -32768, 32767); }}},
        {u"sgn"_s,
         {1, 1,
          [](const Args& a) {
              const double x = numberOf(a[0]);
              return Value::number((x > 0) - (x < 0));
          }}},
        {u"sqr"_s,
         {1, 1,
          [](const Args& a) {
              const double x = numberOf(a[0]);
              return x < 0 ? invalidCall() : Value::number(std::sqrt(x));
          }}},
        {u"log"_s,
         {1, 1,
          [](const Args& a) {
              const double x = numberOf(a[0]);
              return x <= 0 ? invalidCall() : Value::number(std::log(x));
          }}},
        {u"round"_s, {1, 2, roundTo}},
    };
    return table;
}

} // namespace

bool callFunction(const QString& name, const std::vector<Value>& args, Value* result)
{
    const auto it = builtins().constFind(name.toLower());
    if (it == builtins().constEnd())
        return false;
    const int n = static_cast<int>(args.size());
    if (n < it->minArgs || n > it->maxArgs)
        fail(errArgumentCount, named(argumentCountText(), name));
    *result = it->call(args);
    return true;
}

} // namespace script::detail
