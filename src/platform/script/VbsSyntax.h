// The compiled form of a VBScript expression: tokens, the syntax tree and the internal fault.
#pragma once

#include "script/ScriptValue.h"

#include <memory>
#include <vector>

namespace script::detail {

/// Thrown inside the script folder only; the public functions turn it into a ScriptError.
struct Fault {
    ScriptError error;
};

[[noreturn]] void fail(int number, const QString& description, qsizetype position = -1);

enum class Tok { End, Number, Text, Name, Op };

struct Token {
    Tok kind = Tok::End;
    QString text; ///< operator or name as written (bracketed names without the brackets)
    double number = 0;
    qsizetype pos = 0;
    bool bracketed = false; ///< a [name]: never a keyword or function
};

/// Splits an expression into tokens; throws a Fault on an unterminated string or [name].
std::vector<Token> tokenize(QStringView text);

enum class Op {
    Neg,
    Not,
    Pow,
    Mul,
    Div,
    IntDiv,
    Mod,
    Add,
    Sub,
    Concat,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    And,
    Or,
    Xor
};

struct Node {
    enum class Kind { Literal, Unary, Binary, Call, Name } kind = Kind::Literal;
    Value value;                             ///< Literal
    Op op = Op::Neg;                         ///< Unary, Binary
    QString name;                            ///< Call, Name (as written)
    std::vector<std::unique_ptr<Node>> args; ///< operands or call arguments
    qsizetype pos = 0;
    int depth = 1;
};

/// Parses a whole expression; throws a Fault with a syntax error.
std::unique_ptr<Node> parse(QStringView text);

/// Evaluates a tree; throws a Fault with a run-time error.
Value evaluate(const Node& node);

/// Applies a unary or binary operator with VBScript's conversions and errors.
Value applyUnary(Op op, const Value& a);
Value applyBinary(Op op, const Value& a, const Value& b);

/// Calls a built-in function by name (any case); false when there is no such function.
bool callFunction(const QString& name, const std::vector<Value>& args, Value* result);

/// CDbl of a value; throws type mismatch (13).
double numberOf(const Value& v);

/// A checked double result: overflow (6) when infinite, invalid argument (5) when not a number.
Value checkedNumber(double x);

/// A whole number in the range of VBScript's Long, rounded half to even; overflow (6) outside.
qint32 longOf(const Value& v);

} // namespace script::detail
