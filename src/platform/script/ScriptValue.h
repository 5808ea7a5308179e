// Values and errors of the VBScript expressions in the stations' formula and ratio settings.
#pragma once

#include <QString>

namespace script {

/// A VBScript variant as the formulas use it: a number (all numeric subtypes are held as double),
/// a text or a Boolean (True counts as -1 in arithmetic).
class Value {
public:
    enum class Type { Number, Text, Boolean };

    Value() = default;
    static Value number(double x);
    static Value text(const QString& s);
    static Value boolean(bool b);

    Type type() const { return type_; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isText() const { return type_ == Type::Text; }
    bool isBoolean() const { return type_ == Type::Boolean; }

    /// The number as VBScript's CDbl sees it: numbers as they are, True -1, False 0, texts when
    /// the whole text (blanks allowed) is a number. Returns false for any other text.
    bool toNumber(double* out) const;

    /// The text as VBScript's CStr gives it: "12", ".5", "True".
    QString toText() const;

private:
    Type type_ = Type::Number;
    double number_ = 0;
    QString text_;
};

/// A compile or run-time error of an expression, with VBScript's error number and a Chinese
/// description that the station can show as it is.
struct ScriptError {
    int number = 0;          ///< VBScript error number: 5, 6, 11, 13, 450, 500, 1002, 1006 ...
    QString description;     ///< e.g. "被零除", "类型不匹配", "变量未定义: '[重]'"
    qsizetype position = -1; ///< 0-based character of a syntax error, -1 for run-time errors

    /// The description, followed by the character position for syntax errors.
    QString message() const;
};

} // namespace script
