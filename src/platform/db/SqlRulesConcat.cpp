// "+" between texts becomes "||": on SQLite "+" is always numeric, so 'check'+'2' would give 2.
// An addition chain is text from the first "+" that has a text operand on (SQL Server converts
// left to right), unless the other operand is certainly a number (then SQL Server adds too).
#include "db/SqlRules.h"

#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;

using namespace SqlLex;

namespace {

enum class Kind { Text, Number, Unknown };

const QSet<QString>& textFunctions()
{
    static const QSet<QString> names = {
        u"tsql_text"_s, u"tsql_left"_s,     u"tsql_right"_s,   u"substr"_s,        u"substring"_s,
        u"ltrim"_s,     u"rtrim"_s,         u"trim"_s,         u"upper"_s,         u"lower"_s,
        u"replace"_s,   u"getdictionary"_s, u"space"_s,        u"replicate"_s,     u"char"_s,
        u"nchar"_s,     u"str"_s,           u"datename"_s,     u"tsql_datetime"_s, u"reverse"_s,
        u"stuff"_s,     u"getdate"_s,       u"tsql_dateplus"_s};
    return names;
}

const QSet<QString>& numberFunctions()
{
    static const QSet<QString> names = {u"count"_s,
                                        u"sum"_s,
                                        u"avg"_s,
                                        u"len"_s,
                                        u"charindex"_s,
                                        u"datediff"_s,
                                        u"datepart"_s,
                                        u"year"_s,
                                        u"month"_s,
                                        u"day"_s,
                                        u"abs"_s,
                                        u"round"_s,
                                        u"floor"_s,
                                        u"tsql_ceiling"_s,
                                        u"last_insert_rowid"_s,
                                        u"length"_s,
                                        u"tsql_daysbetween"_s};
    return names;
}

Kind groupKind(const SqlTokens& t, qsizetype open, const SqlSchemaInfo& schema);

// Kind of a column reference ending at i ("a.remark", "[remark]", "remark").
Kind columnKind(const SqlTokens& t, qsizetype i, const SqlSchemaInfo& schema)
{
    switch (schema.kindOf(t.at(i).name())) {
    case SqlSchemaInfo::Kind::Text:
        return Kind::Text;
    case SqlSchemaInfo::Kind::Number:
        return Kind::Number;
    default:
        return Kind::Unknown;
    }
}

// Kind of a parenthesised group or function call whose "(" is at open.
Kind callKind(const SqlTokens& t, qsizetype open, const SqlSchemaInfo& schema)
{
    const qsizetype fn = prev(t, open - 1);
    if (fn >= 0 && t.at(fn).is(SqlToken::Word)) {
        const QString name = t.at(fn).text.toLower();
        if (textFunctions().contains(name))
            return Kind::Text;
        if (numberFunctions().contains(name))
            return Kind::Number;
        if (name == u"ifnull"_s || name == u"coalesce"_s || name == u"max"_s || name == u"min"_s) {
            const auto args = arguments(t, open);
            for (const auto& a : args) {
                const qsizetype k = prev(t, a.second - 1);
                if (k >= a.first && t.at(k).is(SqlToken::String))
                    return Kind::Text;
            }
            return args.isEmpty() ? Kind::Unknown : groupKind(t, open, schema);
        }
        if (!name.isEmpty() && name != u"in"_s && name != u"and"_s && name != u"or"_s &&
            name != u"not"_s)
            return Kind::Unknown;
    }
    return groupKind(t, open, schema);
}

Kind operandBefore(const SqlTokens& t, qsizetype plus, const SqlSchemaInfo& schema);
Kind operandAfter(const SqlTokens& t, qsizetype plus, const SqlSchemaInfo& schema);

// A group is text when it contains "||" or a "+" with a text operand at its own level, or its
// last expression is text ("(x COLLATE NOCASE)").
Kind groupKind(const SqlTokens& t, qsizetype open, const SqlSchemaInfo& schema)
{
    const qsizetype close = closing(t, open);
    int depth = 0;
    qsizetype only = -1;
    int count = 0;
    for (qsizetype i = open + 1; i < close; ++i) {
        const SqlToken& tok = t.at(i);
        if (tok.isPunct(u"("))
            ++depth;
        else if (tok.isPunct(u")"))
            --depth;
        if (depth != 0 || !tok.significant())
            continue;
        ++count;
        only = i;
        if (tok.isPunct(u"||") || tok.isWord(u"collate"))
            return Kind::Text;
        if (tok.isPunct(u"+") && (operandBefore(t, i, schema) == Kind::Text ||
                                  operandAfter(t, i, schema) == Kind::Text))
            return Kind::Text;
        if (tok.is(SqlToken::Word) && (tok.isWord(u"select") || tok.isWord(u"case")))
            return Kind::Unknown;
    }
    if (count == 1 && t.at(only).is(SqlToken::String))
        return Kind::Text;
    if (count == 1 && t.at(only).is(SqlToken::Number))
        return Kind::Number;
    return Kind::Unknown;
}

// CASE … END is text when one of its results is a string literal.
Kind caseKind(const SqlTokens& t, qsizetype end)
{
    int depth = 0;
    for (qsizetype i = end - 1; i >= 0; --i) {
        if (t.at(i).isWord(u"end"))
            ++depth;
        else if (t.at(i).isWord(u"case")) {
            if (depth-- == 0)
                return Kind::Unknown;
        } else if (depth == 0 && (t.at(i).isWord(u"then") || t.at(i).isWord(u"else"))) {
            const qsizetype v = next(t, i + 1);
            if (v < t.size() && t.at(v).is(SqlToken::String))
                return Kind::Text;
        }
    }
    return Kind::Unknown;
}

Kind operandBefore(const SqlTokens& t, qsizetype plus, const SqlSchemaInfo& schema)
{
    const qsizetype i = prev(t, plus - 1);
    if (i < 0)
        return Kind::Unknown;
    const SqlToken& tok = t.at(i);
    if (tok.is(SqlToken::String))
        return Kind::Text;
    if (tok.is(SqlToken::Number))
        return Kind::Number;
    if (tok.isPunct(u")"))
        return callKind(t, opening(t, i), schema);
    if (tok.isWord(u"end"))
        return caseKind(t, i);
    if (tok.is(SqlToken::Word) || tok.is(SqlToken::QuotedName)) {
        const qsizetype c = prev(t, i - 1);
        if (c >= 0 && t.at(c).isWord(u"collate"))
            return Kind::Text;
        return columnKind(t, i, schema);
    }
    return Kind::Unknown;
}

Kind operandAfter(const SqlTokens& t, qsizetype plus, const SqlSchemaInfo& schema)
{
    qsizetype i = next(t, plus + 1);
    if (i >= t.size())
        return Kind::Unknown;
    const SqlToken& tok = t.at(i);
    if (tok.is(SqlToken::String))
        return Kind::Text;
    if (tok.is(SqlToken::Number))
        return Kind::Number;
    if (tok.isPunct(u"("))
        return groupKind(t, i, schema);
    if (tok.isWord(u"case"))
        return Kind::Unknown;
    if (tok.is(SqlToken::Word) || tok.is(SqlToken::QuotedName)) {
        const qsizetype after = next(t, i + 1);
        if (after < t.size() && t.at(after).isPunct(u"("))
            return callKind(t, after, schema);
        // Qualified name: the column is the last part.
        qsizetype last = i;
        while (next(t, last + 1) < t.size() && t.at(next(t, last + 1)).isPunct(u".")) {
            const qsizetype part = next(t, next(t, last + 1) + 1);
            if (part >= t.size())
                break;
            last = part;
        }
        return columnKind(t, last, schema);
    }
    return Kind::Unknown;
}

// Tokens that end an addition chain.
bool breaksChain(const SqlToken& tok)
{
    if (tok.is(SqlToken::Punct))
        return !tok.isPunct(u"+") && !tok.isPunct(u"||") && !tok.isPunct(u".") &&
               !tok.isPunct(u"(") && !tok.isPunct(u")");
    if (tok.is(SqlToken::Word)) {
        static const QStringList chainWords = {u"collate"_s, u"nocase"_s, u"end"_s};
        return !chainWords.contains(tok.text.toLower()) && !tok.isWord(u"case") &&
               tok.text.size() > 0 &&
               (tok.isWord(u"as") || tok.isWord(u"and") || tok.isWord(u"or") ||
                tok.isWord(u"then") || tok.isWord(u"else") || tok.isWord(u"when") ||
                tok.isWord(u"from") || tok.isWord(u"where") || tok.isWord(u"like") ||
                tok.isWord(u"select") || tok.isWord(u"set") || tok.isWord(u"values") ||
                tok.isWord(u"not") || tok.isWord(u"between") || tok.isWord(u"in") ||
                tok.isWord(u"is") || tok.isWord(u"on") || tok.isWord(u"order") ||
                tok.isWord(u"group") || tok.isWord(u"by"));
    }
    return false;
}

} // namespace

namespace SqlRules {

void joinTexts(SqlTokens& t, const SqlSchemaInfo& schema)
{
    if (std::none_of(t.cbegin(), t.cend(), [](const SqlToken& tok) { return tok.isPunct(u"+"); }))
        return;
    // One chain flag per parenthesis level.
    QList<bool> chainText{false};
    for (qsizetype i = 0; i < t.size(); ++i) {
        const SqlToken& tok = t.at(i);
        if (tok.isPunct(u"(")) {
            chainText.append(false);
            continue;
        }
        if (tok.isPunct(u")")) {
            if (chainText.size() > 1)
                chainText.removeLast();
            continue;
        }
        if (breaksChain(tok)) {
            chainText.last() = false;
            continue;
        }
        if (!tok.isPunct(u"+"))
            continue;
        const Kind before = operandBefore(t, i, schema);
        const Kind after = operandAfter(t, i, schema);
        const bool text = (before == Kind::Text && after != Kind::Number) ||
                          (after == Kind::Text && before != Kind::Number) ||
                          (chainText.last() && after != Kind::Number);
        if (text) {
            t[i].text = u"||"_s;
            chainText.last() = true;
        }
    }
}

} // namespace SqlRules
