// Tokens of a VBScript expression: numbers, "texts", names, [escaped names] and operators.
#include "script/VbsErrors.h"
#include "script/VbsSyntax.h"

#include <QLocale>

namespace script::detail {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool isNameStart(QChar c)
{
    return c.isLetter();
}
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

qsizetype scanDigits(QStringView s, qsizetype i)
{
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

// 12, 1.5, .5, 1., 2E3, 2.5e-1
Token number(QStringView s, qsizetype start)
{
    qsizetype i = scanDigits(s, start);
    if (i < s.size() && s[i] == u'.')
        i = scanDigits(s, i + 1);
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        const qsizetype end = scanDigits(s, j);
        if (end == j)
            fail(errSyntax, syntaxErrorText(), i);
        i = end;
    }
    Token t{Tok::Number, s.mid(start, i - start).toString(), 0, start};
    bool ok = false;
    t.number = QLocale::c().toDouble(t.text, &ok);
    if (!ok)
        fail(errOverflow, overflowText(), start);
    return t;
}

// &H1F (an optional trailing & marks a Long).
Token hexNumber(QStringView s, qsizetype start)
{
    qsizetype i = start + 2;
    while (i < s.size() && s[i].unicode() < 128 && isxdigit(s[i].unicode()))
        ++i;
    if (i == start + 2)
        fail(errSyntax, syntaxErrorText(), start);
    bool ok = false;
    const qulonglong v = s.mid(start + 2, i - start - 2).toULongLong(&ok, 16);
    if (!ok || v > 0xFFFFFFFFull)
        fail(errOverflow, overflowText(), start);
    if (i < s.size() && s[i] == u'&')
        ++i;
    // Four hex digits are an Integer, eight a Long: &HFFFF is -1, as in VBScript.
    double x = static_cast<double>(v);
    if (v <= 0xFFFF && v >= 0x8000)
        x -= 65536.0;
    else if (v > 0xFFFF && v >= 0x80000000ull)
        x -= 4294967296.0;
    return Token{Tok::Number, s.mid(start, i - start).toString(), x, start};
}

// "say ""hi""" — a doubled quote stands for one quote. *end is set after the closing quote.
Token text(QStringView s, qsizetype start, qsizetype* end)
{
    QString out;
    for (qsizetype i = start + 1; i < s.size(); ++i) {
        if (s[i] != u'"') {
            out += s[i];
            continue;
        }
        if (i + 1 < s.size() && s[i + 1] == u'"') {
            out += u'"';
            ++i;
            continue;
        }
        *end = i + 1;
        return Token{Tok::Text, out, 0, start};
    }
    fail(errUnterminatedString, unterminatedStringText(), start);
}

Token bracketName(QStringView s, qsizetype start)
{
    const qsizetype close = s.indexOf(u']', start + 1);
    if (close < 0)
        fail(errSyntax, missingBracketText(), start);
    Token t{Tok::Name, s.mid(start + 1, close - start - 1).toString(), 0, start};
    t.bracketed = true;
    return t;
}

Token operatorAt(QStringView s, qsizetype i)
{
    static const char16_t* const two[] = {u"<>", u"<=", u">="};
    for (const char16_t* op : two) {
        if (s.mid(i).startsWith(QStringView(op)))
            return Token{Tok::Op, QString::fromUtf16(op), 0, i};
    }
    if (QStringView(u"+-*/\\^&=<>(),").contains(s[i]))
        return Token{Tok::Op, QString(s[i]), 0, i};
    fail(errInvalidCharacter, invalidCharacterText(), i);
}

} // namespace

std::vector<Token> tokenize(QStringView s)
{
    std::vector<Token> out;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        Token t;
        qsizetype end;
        if (isDigit(c) || (c == u'.' && i + 1 < s.size() && isDigit(s[i + 1]))) {
            t = number(s, i);
            end = i + t.text.size();
        } else if (c == u'&' && i + 1 < s.size() && (s[i + 1] == u'H' || s[i + 1] == u'h')) {
            t = hexNumber(s, i);
            end = i + t.text.size();
        } else if (c == u'"') {
            t = text(s, i, &end);
        } else if (c == u'[') {
            t = bracketName(s, i);
            end = i + t.text.size() + 2;
        } else if (isNameStart(c)) {
            end = i + 1;
            while (end < s.size() && isNameChar(s[end]))
                ++end;
            t = Token{Tok::Name, s.mid(i, end - i).toString(), 0, i};
        } else {
            t = operatorAt(s, i);
            end = i + t.text.size();
        }
        out.push_back(std::move(t));
        i = end;
    }
    out.push_back(Token{Tok::End, QString(), 0, s.size()});
    return out;
}

} // namespace script::detail
