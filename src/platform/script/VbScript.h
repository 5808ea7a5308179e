// Evaluates the VBScript expressions held in the stations' settings: the quantity formula
// ("[重量] * [系数]" once its placeholders are filled in) and the length ratios "BiliA"/"BiliB".
#pragma once

#include "script/ScriptValue.h"

#include <QList>
#include <QStringView>
#include <memory>
#include <utility>

namespace script {

namespace detail {
struct Node;
}

/// One expression, compiled once and evaluated as often as needed. Understands numbers
/// (12, .5, 1E3, &H1F), "texts", True/False, + - * / \ Mod ^ &, unary minus, parentheses,
/// comparisons, Not/And/Or/Xor and the functions Abs, Atn, CDbl, CInt, CLng, Cos, Exp, Fix, Int,
/// Log, Round, Sgn, Sin, Sqr, Tan, with VBScript's precedence, conversions and errors.
class Expression {
public:
    Expression();
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    /// Compiles text; returns false with a syntax error (and the expression stays invalid).
    bool compile(QStringView text, ScriptError* error = nullptr);

    /// True after a successful compile.
    bool isValid() const { return root_ != nullptr; }

    /// Evaluates the compiled expression; returns false with a run-time error such as "被零除".
    bool evaluate(Value* result, ScriptError* error = nullptr) const;

private:
    std::unique_ptr<detail::Node> root_;
};

/// Compiles and evaluates text in one go. Returns false with the error.
bool eval(QStringView text, Value* result, ScriptError* error = nullptr);

/// The numeric value of text as VBScript's CDbl(Eval(text)) gives it. Returns false with a
/// message the station can show (syntax error, "被零除", "类型不匹配: 'abc'" ...) and leaves
/// *value unchanged.
bool evalNumber(QStringView text, double* value, QString* error = nullptr);

/// Replaces every occurrence of each placeholder (e.g. "[重量]") by the shortest text of its
/// number ("25", ".5", "-2"), the way the stations fill their formulas before evaluating them.
QString fillPlaceholders(QString formula, const QList<std::pair<QString, double>>& values);

} // namespace script
