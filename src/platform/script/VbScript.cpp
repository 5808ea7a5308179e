// Compiles and evaluates formula texts; the one place where script faults become ScriptErrors.
#include "script/VbScript.h"

#include "script/VbsErrors.h"
#include "script/VbsSyntax.h"
#include "text/Vb.h"

namespace script {

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

bool Expression::compile(QStringView text, ScriptError* error)
{
    root_.reset();
    try {
        root_ = detail::parse(text);
        return true;
    } catch (const detail::Fault& f) {
        if (error)
            *error = f.error;
    }
    return false;
}

bool Expression::evaluate(Value* result, ScriptError* error) const
{
    if (!root_) {
        if (error)
            *error = ScriptError{detail::errSyntax, detail::missingExpressionText(), 0};
        return false;
    }
    try {
        *result = detail::evaluate(*root_);
        return true;
    } catch (const detail::Fault& f) {
        if (error)
            *error = f.error;
    }
    return false;
}

bool eval(QStringView text, Value* result, ScriptError* error)
{
    Expression e;
    return e.compile(text, error) && e.evaluate(result, error);
}

bool evalNumber(QStringView text, double* value, QString* error)
{
    Value v;
    ScriptError e;
    if (!eval(text, &v, &e)) {
        if (error)
            *error = e.message();
        return false;
    }
    double x = 0;
    if (!v.toNumber(&x)) {
        if (error)
            *error = detail::named(detail::typeMismatchText(), v.toText());
        return false;
    }
    *value = x;
    return true;
}

QString fillPlaceholders(QString formula, const QList<std::pair<QString, double>>& values)
{
    for (const auto& [placeholder, number] : values)
        formula.replace(placeholder, vb::CStr(number));
    return formula;
}

} // namespace script
