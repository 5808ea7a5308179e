// Function rewrites: convert/cast, isnull, left/right, date parts, identity. Calls are rewritten
// from the last to the first, so nested calls are already rewritten when the outer one is.
#include "db/SqlRules.h"

#include <QHash>

using namespace Qt::StringLiterals;

using namespace SqlLex;

namespace {

enum class TargetType { Text, Integer, Real, DateTime, Date, Other };

// SQL Server type names and what they become on SQLite.
TargetType targetType(const QString& name)
{
    static const QHash<QString, TargetType> types = {
        {u"varchar"_s, TargetType::Text},       {u"nvarchar"_s, TargetType::Text},
        {u"char"_s, TargetType::Text},          {u"nchar"_s, TargetType::Text},
        {u"text"_s, TargetType::Text},          {u"ntext"_s, TargetType::Text},
        {u"int"_s, TargetType::Integer},        {u"integer"_s, TargetType::Integer},
        {u"bigint"_s, TargetType::Integer},     {u"smallint"_s, TargetType::Integer},
        {u"tinyint"_s, TargetType::Integer},    {u"bit"_s, TargetType::Integer},
        {u"decimal"_s, TargetType::Real},       {u"numeric"_s, TargetType::Real},
        {u"float"_s, TargetType::Real},         {u"real"_s, TargetType::Real},
        {u"money"_s, TargetType::Real},         {u"datetime"_s, TargetType::DateTime},
        {u"datetime2"_s, TargetType::DateTime}, {u"smalldatetime"_s, TargetType::DateTime},
        {u"date"_s, TargetType::Date},
    };
    return types.value(name.toLower(), TargetType::Other);
}

// A type written as tokens [b, e): "varchar", "varchar(10)", "decimal(18, 2)".
struct TypeSpec {
    TargetType type = TargetType::Other;
    QString name;
    QString length; // first number in parentheses, "" when none
    QString scale;  // second number
};

TypeSpec parseType(const SqlTokens& t, qsizetype b, qsizetype e)
{
    TypeSpec spec;
    const qsizetype w = next(t, b);
    if (w >= e)
        return spec;
    spec.name = t.at(w).name();
    spec.type = targetType(spec.name);
    QStringList numbers;
    for (qsizetype i = w + 1; i < e; ++i) {
        if (t.at(i).is(SqlToken::Number) || t.at(i).isWord(u"max"))
            numbers << t.at(i).text;
    }
    spec.length = numbers.value(0);
    spec.scale = numbers.value(1);
    return spec;
}

QString textCall(const QString& expr, const TypeSpec& type, const QString& style)
{
    // SQL Server's default length of a varchar without one is 30.
    QString length = type.length.isEmpty() ? u"30"_s : type.length;
    if (length.compare(u"max"_s, Qt::CaseInsensitive) == 0)
        length = u"0"_s;
    return u"(tsql_text(%1, %2, %3) COLLATE %4)"_s.arg(expr.trimmed(), length,
                                                       style.isEmpty() ? u"0"_s : style.trimmed(),
                                                       SqlRules::textCollation);
}

// The SQLite expression of converting expr to type (style as written, or "").
QString conversion(const QString& expr, const TypeSpec& type, const QString& style,
                   const QString& original)
{
    switch (type.type) {
    case TargetType::Text:
        return textCall(expr, type, style);
    case TargetType::Integer:
        return u"CAST(%1 AS INTEGER)"_s.arg(expr.trimmed());
    case TargetType::Real:
        if (!type.scale.isEmpty())
            return u"round(CAST(%1 AS REAL), %2)"_s.arg(expr.trimmed(), type.scale);
        return u"CAST(%1 AS REAL)"_s.arg(expr.trimmed());
    case TargetType::DateTime:
        return u"tsql_datetime(%1, 0)"_s.arg(expr.trimmed());
    case TargetType::Date:
        return u"tsql_datetime(%1, 1)"_s.arg(expr.trimmed());
    case TargetType::Other:
        break;
    }
    return original;
}

// convert(type, expr [, style])
qsizetype rewriteConvert(SqlTokens& t, qsizetype name, qsizetype open)
{
    const auto args = arguments(t, open);
    const qsizetype close = closing(t, open);
    if (args.size() < 2 || close >= t.size())
        return name;
    const TypeSpec type = parseType(t, args[0].first, args[0].second);
    const QString expr = join(t, args[1].first, args[1].second);
    const QString style = args.size() > 2 ? join(t, args[2].first, args[2].second) : QString();
    const QString repl = conversion(expr, type, style, join(t, name, close + 1));
    replace(t, name, close + 1, repl);
    return name;
}

// cast(expr AS type)
qsizetype rewriteCast(SqlTokens& t, qsizetype name, qsizetype open)
{
    const qsizetype close = closing(t, open);
    if (close >= t.size())
        return name;
    int depth = 0;
    qsizetype as = -1;
    for (qsizetype i = open + 1; i < close; ++i) {
        if (t.at(i).isPunct(u"("))
            ++depth;
        else if (t.at(i).isPunct(u")"))
            --depth;
        else if (depth == 0 && t.at(i).isWord(u"as"))
            as = i;
    }
    if (as < 0)
        return name;
    const TypeSpec type = parseType(t, as + 1, close);
    if (type.type == TargetType::Integer || type.type == TargetType::Other)
        return name; // SQLite reads these casts with the same meaning
    const QString expr = join(t, open + 1, as);
    replace(t, name, close + 1, conversion(expr, type, QString(), join(t, name, close + 1)));
    return name;
}

bool isStringArgument(const SqlTokens& t, std::pair<qsizetype, qsizetype> arg)
{
    const qsizetype i = next(t, arg.first);
    return i < arg.second && t.at(i).is(SqlToken::String) && next(t, i + 1) >= arg.second;
}

// isnull(a, b) -> ifnull(a, b); a text default makes the result compare without letter case.
qsizetype rewriteIsnull(SqlTokens& t, qsizetype name, qsizetype open)
{
    const auto args = arguments(t, open);
    const qsizetype close = closing(t, open);
    if (args.size() != 2 || close >= t.size())
        return name;
    const QString body = join(t, open, close + 1);
    if (isStringArgument(t, args[1]))
        replace(t, name, close + 1, u"(ifnull%1 COLLATE %2)"_s.arg(body, SqlRules::textCollation));
    else
        replace(t, name, name + 1, u"ifnull"_s);
    return name;
}

// left(s, n) / right(s, n): LEFT and RIGHT are join keywords on SQLite.
qsizetype rewriteLeftRight(SqlTokens& t, qsizetype name, qsizetype open)
{
    const qsizetype close = closing(t, open);
    if (arguments(t, open).size() != 2 || close >= t.size())
        return name;
    const QString fn = t.at(name).isWord(u"left") ? u"tsql_left"_s : u"tsql_right"_s;
    replace(t, name, close + 1,
            u"(%1%2 COLLATE %3)"_s.arg(fn, join(t, open, close + 1), SqlRules::textCollation));
    return name;
}

// datediff(day, a, b): the date part is a bare word on SQL Server, a text for our functions.
qsizetype rewriteDatePart(SqlTokens& t, qsizetype name, qsizetype open)
{
    const auto args = arguments(t, open);
    if (args.isEmpty())
        return name;
    const qsizetype part = next(t, args[0].first);
    if (part < args[0].second && t.at(part).is(SqlToken::Word))
        replace(t, part, part + 1, u'\'' + t.at(part).text.toLower() + u'\'');
    return name;
}

qsizetype renameTo(SqlTokens& t, qsizetype name, const QString& to)
{
    replace(t, name, name + 1, to);
    return name;
}

using Rewrite = qsizetype (*)(SqlTokens&, qsizetype, qsizetype);

const QHash<QString, Rewrite>& rewrites()
{
    static const QHash<QString, Rewrite> table = {
        {u"convert"_s, rewriteConvert},   {u"cast"_s, rewriteCast},
        {u"isnull"_s, rewriteIsnull},     {u"left"_s, rewriteLeftRight},
        {u"right"_s, rewriteLeftRight},   {u"datediff"_s, rewriteDatePart},
        {u"dateadd"_s, rewriteDatePart},  {u"datepart"_s, rewriteDatePart},
        {u"datename"_s, rewriteDatePart},
    };
    return table;
}

// Functions that only change their name.
const QHash<QString, QString>& renames()
{
    static const QHash<QString, QString> table = {
        {u"scope_identity"_s, u"last_insert_rowid"_s},
        {u"ident_current"_s, u"tsql_ident_current"_s},
        {u"getutcdate"_s, u"tsql_getutcdate"_s},
        {u"ceiling"_s, u"tsql_ceiling"_s},
    };
    return table;
}

} // namespace

namespace SqlRules {

void rewriteFunctions(SqlTokens& t)
{
    for (qsizetype i = t.size() - 1; i >= 0; --i) {
        if (t.at(i).is(SqlToken::Number) && t.at(i).text.size() > 1 &&
            (t.at(i).text.at(1) == u'x' || t.at(i).text.at(1) == u'X')) {
            // 0x0A1B is a binary literal on SQL Server, X'0A1B' on SQLite.
            QString hex = t.at(i).text.mid(2);
            if (hex.size() % 2)
                hex.prepend(u'0');
            t[i].text = u"X'"_s + hex + u'\'';
            continue;
        }
        if (t.at(i).is(SqlToken::Variable)) {
            if (t.at(i).text.compare(u"@@identity"_s, Qt::CaseInsensitive) == 0)
                replace(t, i, i + 1, u"last_insert_rowid()"_s);
            continue;
        }
        if (!t.at(i).is(SqlToken::Word))
            continue;
        const qsizetype open = next(t, i + 1);
        if (open >= t.size() || !t.at(open).isPunct(u"("))
            continue;
        // A name after "." is a column or table, never one of these functions.
        const qsizetype before = prev(t, i - 1);
        if (before >= 0 && t.at(before).isPunct(u"."))
            continue;
        const QString key = t.at(i).text.toLower();
        if (const auto r = rewrites().constFind(key); r != rewrites().constEnd())
            (*r)(t, i, open);
        else if (const auto n = renames().constFind(key); n != renames().constEnd())
            renameTo(t, i, *n);
    }
}

} // namespace SqlRules
