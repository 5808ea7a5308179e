// Date literals: the embedded database stores dates as ISO text ("2026-01-05 08:03:00") so that
// they compare and sort correctly; literals in other forms ("2026/1/5 8:03:00") and date-only
// literals (midnight) are brought into that form where they meet a date column.
#include "db/DateText.h"
#include "db/SqlRules.h"

#include <QSet>

using namespace SqlLex;
using namespace Qt::StringLiterals;

namespace {

bool isDateColumnAt(const SqlTokens& t, qsizetype i, const SqlSchemaInfo& schema,
                    const QString& table)
{
    if (i < 0 || i >= t.size())
        return false;
    const SqlToken& tok = t.at(i);
    if (!tok.is(SqlToken::Word) && !tok.is(SqlToken::QuotedName))
        return false;
    // A function name is no column.
    const qsizetype after = next(t, i + 1);
    if (after < t.size() && t.at(after).isPunct(u"("))
        return false;
    if (!table.isEmpty() && schema.hasTable(table))
        return schema.kind(table, tok.name()) == SqlSchemaInfo::Kind::Date;
    return schema.kindOf(tok.name()) == SqlSchemaInfo::Kind::Date;
}

void normaliseLiteral(SqlTokens& t, qsizetype i)
{
    if (i < 0 || i >= t.size() || !t.at(i).is(SqlToken::String))
        return;
    const QString inner = t.at(i).text.mid(1, t.at(i).text.size() - 2);
    const QString iso = DateText::normalise(inner);
    if (!iso.isEmpty())
        t[i].text = u'\'' + iso + u'\'';
}

// A single literal as the whole value [b, e).
qsizetype singleLiteral(const SqlTokens& t, qsizetype b, qsizetype e)
{
    const qsizetype i = next(t, b);
    if (i < e && t.at(i).is(SqlToken::String) && next(t, i + 1) >= e)
        return i;
    return -1;
}

void insertValues(SqlTokens& t, const SqlSchemaInfo& schema)
{
    const qsizetype ins = next(t, 0);
    if (ins >= t.size() || !t.at(ins).isWord(u"insert"))
        return;
    qsizetype table = next(t, ins + 1);
    if (table < t.size() && t.at(table).isWord(u"into"))
        table = next(t, table + 1);
    const qsizetype cols = next(t, table + 1);
    if (cols >= t.size() || !t.at(cols).isPunct(u"("))
        return;
    QList<qsizetype> dateColumns;
    const auto names = arguments(t, cols);
    for (int k = 0; k < names.size(); ++k) {
        if (isDateColumnAt(t, next(t, names[k].first), schema, t.at(table).name()))
            dateColumns << k;
    }
    if (dateColumns.isEmpty())
        return;
    qsizetype v = next(t, closing(t, cols) + 1);
    if (v >= t.size() || !t.at(v).isWord(u"values"))
        return;
    for (qsizetype open = next(t, v + 1); open < t.size() && t.at(open).isPunct(u"(");) {
        const auto values = arguments(t, open);
        for (qsizetype k : dateColumns) {
            if (k < values.size())
                normaliseLiteral(t, singleLiteral(t, values[k].first, values[k].second));
        }
        const qsizetype comma = next(t, closing(t, open) + 1);
        if (comma >= t.size() || !t.at(comma).isPunct(u","))
            break;
        open = next(t, comma + 1);
    }
}

bool isComparison(const SqlToken& tok)
{
    static const QStringList ops = {u"="_s,  u"<"_s,  u">"_s,  u"<="_s, u">="_s,
                                    u"<>"_s, u"!="_s, u"!<"_s, u"!>"_s};
    return tok.is(SqlToken::Punct) && ops.contains(tok.text);
}

// "col = 'x'", "'x' < col", "col between 'a' and 'b'", and "SET col = 'x'" of an UPDATE.
void comparisons(SqlTokens& t, const SqlSchemaInfo& schema)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        const SqlToken& tok = t.at(i);
        if (isComparison(tok)) {
            const qsizetype l = prev(t, i - 1);
            const qsizetype r = next(t, i + 1);
            if (isDateColumnAt(t, l, schema, QString()))
                normaliseLiteral(t, r);
            else if (r < t.size() && isDateColumnAt(t, r, schema, QString()))
                normaliseLiteral(t, l);
        } else if (tok.isWord(u"between")) {
            qsizetype l = prev(t, i - 1);
            if (l >= 0 && t.at(l).isWord(u"not"))
                l = prev(t, l - 1);
            if (!isDateColumnAt(t, l, schema, QString()))
                continue;
            const qsizetype a = next(t, i + 1);
            const qsizetype andWord = next(t, a + 1);
            if (andWord < t.size() && t.at(andWord).isWord(u"and")) {
                normaliseLiteral(t, a);
                normaliseLiteral(t, next(t, andWord + 1));
            }
        }
    }
}

// A date-only literal 'yyyy-MM-dd' at i; invalid otherwise.
QDate dayLiteral(const SqlTokens& t, qsizetype i)
{
    if (i < 0 || i >= t.size() || !t.at(i).is(SqlToken::String) || t.at(i).text.size() != 12)
        return QDate();
    return QDate::fromString(t.at(i).text.mid(1, 10), u"yyyy-MM-dd"_s);
}

// "convert(varchar, col, 23) between 'A' and 'B'" (the roll lists' date filter) becomes
// "col >= 'A' AND col < 'B'+1 day": the same rows, but an index on the date column can serve it
// instead of converting every row of the table.
void dayRanges(SqlTokens& t, const SqlSchemaInfo& schema)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!t.at(i).isWord(u"tsql_text"))
            continue;
        const qsizetype open = next(t, i + 1);
        const qsizetype group = prev(t, i - 1);
        if (open >= t.size() || !t.at(open).isPunct(u"(") || group < 0 || !t.at(group).isPunct(u"("))
            continue;
        const auto args = arguments(t, open);
        if (args.size() != 3 || join(t, args[2].first, args[2].second).trimmed() != u"23")
            continue;
        const qsizetype col = prev(t, args[0].second - 1);
        if (!isDateColumnAt(t, col, schema, QString()))
            continue;
        const qsizetype groupEnd = closing(t, group);
        const qsizetype between = next(t, groupEnd + 1);
        if (between >= t.size() || !t.at(between).isWord(u"between"))
            continue;
        const qsizetype a = next(t, between + 1);
        const qsizetype andWord = next(t, a + 1);
        const qsizetype b = next(t, andWord + 1);
        const QDate from = dayLiteral(t, a), to = dayLiteral(t, b);
        if (!from.isValid() || !to.isValid() || !t.at(andWord).isWord(u"and"))
            continue;
        const QString column = join(t, args[0].first, args[0].second).trimmed();
        replace(t, group, b + 1,
                u"(%1 >= '%2' AND %1 < '%3')"_s.arg(column, from.toString(u"yyyy-MM-dd"_s),
                                                    to.addDays(1).toString(u"yyyy-MM-dd"_s)));
    }
}

} // namespace

namespace SqlRules {

void normaliseDates(SqlTokens& t, const SqlSchemaInfo& schema)
{
    if (schema.isEmpty())
        return;
    dayRanges(t, schema);
    insertValues(t, schema);
    comparisons(t, schema);
}

namespace {

bool isKeyword(const SqlToken& t)
{
    static const QSet<QString> words = {u"select"_s, u"where"_s, u"and"_s,   u"or"_s,
                                        u"not"_s,    u"then"_s,  u"else"_s,  u"when"_s,
                                        u"set"_s,    u"on"_s,    u"between"_s, u"return"_s,
                                        u"in"_s,     u"as"_s,    u"case"_s,  u"values"_s,
                                        u"is"_s,     u"like"_s,  u"by"_s,    u"having"_s};
    return t.is(SqlToken::Word) && words.contains(t.text.toLower());
}

enum class Operand { Date, Number, Other };

// Start of the operand that ends at the significant token end; -1 when there is none.
qsizetype operandStart(const SqlTokens& t, qsizetype end)
{
    if (end < 0)
        return -1;
    const SqlToken& e = t.at(end);
    if (e.isPunct(u")")) {
        const qsizetype open = opening(t, end);
        const qsizetype fn = open > 0 ? prev(t, open - 1) : -1;
        return fn >= 0 && t.at(fn).is(SqlToken::Word) && !isKeyword(t.at(fn)) ? fn : open;
    }
    if (e.is(SqlToken::Number)) {
        const qsizetype q = prev(t, end - 1);
        return q >= 0 && t.at(q).isPunct(u"?") ? q : end;
    }
    if ((e.is(SqlToken::Word) && !isKeyword(e)) || e.is(SqlToken::QuotedName)) {
        qsizetype start = end;
        while (start >= 2 && t.at(start - 1).isPunct(u".") &&
               (t.at(start - 2).is(SqlToken::Word) || t.at(start - 2).is(SqlToken::QuotedName)))
            start -= 2;
        return start;
    }
    if (e.is(SqlToken::String) || e.is(SqlToken::Variable))
        return end;
    return -1;
}

// End (one past) of the operand that starts at the significant token start; -1 when none.
qsizetype operandEnd(const SqlTokens& t, qsizetype start)
{
    if (start >= t.size())
        return -1;
    const SqlToken& s = t.at(start);
    if (s.isPunct(u"("))
        return closing(t, start) + 1;
    if (s.isPunct(u"?"))
        return start + 1 < t.size() && t.at(start + 1).is(SqlToken::Number) ? start + 2 : start + 1;
    if (s.is(SqlToken::Number) || s.is(SqlToken::String) || s.is(SqlToken::Variable))
        return start + 1;
    if ((s.is(SqlToken::Word) && !isKeyword(s)) || s.is(SqlToken::QuotedName)) {
        qsizetype end = start + 1;
        while (end + 1 < t.size() && t.at(end).isPunct(u".") &&
               (t.at(end + 1).is(SqlToken::Word) || t.at(end + 1).is(SqlToken::QuotedName)))
            end += 2;
        const qsizetype open = next(t, end);
        if (end == start + 1 && open < t.size() && t.at(open).isPunct(u"("))
            return closing(t, open) + 1;
        return end;
    }
    return -1;
}

Operand kindOf(const SqlTokens& t, qsizetype from, qsizetype to, const SqlSchemaInfo& schema)
{
    const qsizetype first = next(t, from);
    const SqlToken& f = t.at(first);
    if (f.is(SqlToken::Number) || f.isPunct(u"?"))
        return Operand::Number;
    if (f.is(SqlToken::Word)) {
        static const QSet<QString> dates = {u"getdate"_s, u"tsql_getutcdate"_s,
                                            u"getutcdate"_s, u"tsql_datetime"_s,
                                            u"dateadd"_s, u"tsql_dateplus"_s};
        const qsizetype open = next(t, first + 1);
        if (open < to && t.at(open).isPunct(u"("))
            return dates.contains(f.text.toLower()) ? Operand::Date : Operand::Other;
    }
    const qsizetype last = prev(t, to - 1);
    if (t.at(last).is(SqlToken::Word) || t.at(last).is(SqlToken::QuotedName)) {
        if (schema.kindOf(t.at(last).name()) == SqlSchemaInfo::Kind::Date)
            return Operand::Date;
        if (schema.kindOf(t.at(last).name()) == SqlSchemaInfo::Kind::Number)
            return Operand::Number;
    }
    return Operand::Other;
}

bool tighter(const SqlToken& op)
{
    return op.isPunct(u"*") || op.isPunct(u"/") || op.isPunct(u"%");
}

} // namespace

void dateArithmetic(SqlTokens& t, const SqlSchemaInfo& schema)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        const bool plus = t.at(i).isPunct(u"+");
        if (!plus && !t.at(i).isPunct(u"-"))
            continue;
        const qsizetype leftEnd = prev(t, i - 1);
        const qsizetype leftStart = operandStart(t, leftEnd);
        const qsizetype rightStart = next(t, i + 1);
        const qsizetype rightEnd = operandEnd(t, rightStart);
        if (leftStart < 0 || rightEnd < 0)
            continue;
        const qsizetype before = prev(t, leftStart - 1), after = next(t, rightEnd);
        if ((before >= 0 && (tighter(t.at(before)) || t.at(before).isPunct(u"-"))) ||
            (after < t.size() && tighter(t.at(after))))
            continue;
        const Operand l = kindOf(t, leftStart, leftEnd + 1, schema);
        const Operand r = kindOf(t, rightStart, rightEnd, schema);
        const QString a = join(t, leftStart, leftEnd + 1).trimmed();
        const QString b = join(t, rightStart, rightEnd).trimmed();
        QString text;
        if (l == Operand::Date && r == Operand::Date && !plus)
            text = u"tsql_daysbetween(%1, %2)"_s.arg(a, b);
        else if (l == Operand::Date && r == Operand::Number)
            text = plus ? u"tsql_dateplus(%1, %2)"_s.arg(a, b)
                        : u"tsql_dateplus(%1, -(%2))"_s.arg(a, b);
        else if (plus && l == Operand::Number && r == Operand::Date)
            text = u"tsql_dateplus(%1, %2)"_s.arg(b, a);
        else
            continue;
        replace(t, leftStart, rightEnd, text);
        i = leftStart;
    }
}

} // namespace SqlRules
