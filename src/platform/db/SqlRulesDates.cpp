// Date literals: the embedded database stores dates as ISO text ("2026-01-05 08:03:00") so that
// they compare and sort correctly; literals in other forms ("2026/1/5 8:03:00") and date-only
// literals (midnight) are brought into that form where they meet a date column.
#include "db/DateText.h"
#include "db/SqlRules.h"

using namespace SqlLex;

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
    static const QStringList ops = {QStringLiteral("="),  QStringLiteral("<"),
                                    QStringLiteral(">"),  QStringLiteral("<="),
                                    QStringLiteral(">="), QStringLiteral("<>"),
                                    QStringLiteral("!="), QStringLiteral("!<"),
                                    QStringLiteral("!>")};
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
    return QDate::fromString(t.at(i).text.mid(1, 10), QStringLiteral("yyyy-MM-dd"));
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
                QStringLiteral("(%1 >= '%2' AND %1 < '%3')")
                    .arg(column, from.toString(QStringLiteral("yyyy-MM-dd")),
                         to.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))));
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

} // namespace SqlRules
