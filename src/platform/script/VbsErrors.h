// VBScript's error numbers and the Chinese texts that the stations show for them.
#pragma once

#include <QString>

using namespace Qt::StringLiterals;

namespace script::detail {

enum ErrorNumber {
    errInvalidCall = 5,
    errOverflow = 6,
    errDivisionByZero = 11,
    errTypeMismatch = 13,
    errArgumentCount = 450,
    errUndefined = 500,
    errSyntax = 1002,
    errMissingParen = 1006,
    errUnterminatedString = 1033,
    errInvalidCharacter = 1032,
};

inline QString invalidCallText()
{
    return u"无效的过程调用或参数"_s;
}
inline QString overflowText()
{
    return u"溢出"_s;
}
inline QString divisionByZeroText()
{
    return u"被零除"_s;
}
inline QString typeMismatchText()
{
    return u"类型不匹配"_s;
}
inline QString argumentCountText()
{
    return u"错误的参数个数或无效的参数属性值"_s;
}
inline QString undefinedText()
{
    return u"变量未定义"_s;
}
inline QString syntaxErrorText()
{
    return u"语法错误"_s;
}
inline QString missingParenText()
{
    return u"缺少 ')'"_s;
}
inline QString missingBracketText()
{
    return u"缺少 ']'"_s;
}
inline QString missingExpressionText()
{
    return u"缺少表达式"_s;
}
inline QString tooComplexText()
{
    return u"表达式太复杂"_s;
}
inline QString unterminatedStringText()
{
    return u"未结束的字符串常量"_s;
}
inline QString invalidCharacterText()
{
    return u"无效字符"_s;
}

/// "类型不匹配: 'Foo'": VBScript names the culprit after the description.
inline QString named(const QString& description, const QString& name)
{
    return u"%1: '%2'"_s.arg(description, name);
}

} // namespace script::detail
