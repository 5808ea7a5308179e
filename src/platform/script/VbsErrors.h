// VBScript's error numbers and the Chinese texts that the stations show for them.
#pragma once

#include <QString>

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
    return QStringLiteral("无效的过程调用或参数");
}
inline QString overflowText()
{
    return QStringLiteral("溢出");
}
inline QString divisionByZeroText()
{
    return QStringLiteral("被零除");
}
inline QString typeMismatchText()
{
    return QStringLiteral("类型不匹配");
}
inline QString argumentCountText()
{
    return QStringLiteral("错误的参数个数或无效的参数属性值");
}
inline QString undefinedText()
{
    return QStringLiteral("变量未定义");
}
inline QString syntaxErrorText()
{
    return QStringLiteral("语法错误");
}
inline QString missingParenText()
{
    return QStringLiteral("缺少 ')'");
}
inline QString missingBracketText()
{
    return QStringLiteral("缺少 ']'");
}
inline QString missingExpressionText()
{
    return QStringLiteral("缺少表达式");
}
inline QString tooComplexText()
{
    return QStringLiteral("表达式太复杂");
}
inline QString unterminatedStringText()
{
    return QStringLiteral("未结束的字符串常量");
}
inline QString invalidCharacterText()
{
    return QStringLiteral("无效字符");
}

/// "类型不匹配: 'Foo'": VBScript names the culprit after the description.
inline QString named(const QString& description, const QString& name)
{
    return QStringLiteral("%1: '%2'").arg(description, name);
}

} // namespace script::detail
