// Statement-shape rewrites: owner prefixes and hints, DELETE/INSERT without FROM/INTO, TOP.
#include "db/SqlRules.h"

using namespace SqlLex;
using namespace Qt::StringLiterals;

namespace {

bool isHintGroup(const SqlTokens& t, qsizetype open)
{
    const qsizetype first = next(t, open + 1);
    if (first >= t.size() || !t.at(first).is(SqlToken::Word) ||
        t.at(first).text.size() < 6 || t.at(first).text.size() > 15)
        return false;
    const qsizetype close = closing(t, open);
    static const QStringList hints = {u"nolock"_s,  u"readpast"_s, u"rowlock"_s,
                                      u"updlock"_s, u"holdlock"_s, u"readuncommitted"_s,
                                      u"tablock"_s, u"paglock"_s};
    bool any = false;
    for (qsizetype i = open + 1; i < close; ++i) {
        if (!t.at(i).significant() || t.at(i).isPunct(u","))
            continue;
        if (!t.at(i).is(SqlToken::Word) || !hints.contains(t.at(i).text.toLower()))
            return false;
        any = true;
    }
    return any && close < t.size();
}

} // namespace

namespace SqlRules {

void stripOwnerAndHints(SqlTokens& t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        const SqlToken& tok = t.at(i);
        if ((tok.is(SqlToken::Word) || tok.is(SqlToken::QuotedName)) &&
            tok.name().compare(u"dbo"_s, Qt::CaseInsensitive) == 0 && i + 1 < t.size() &&
            t.at(i + 1).isPunct(u".")) {
            t.remove(i, 2);
            --i;
            continue;
        }
        if (tok.isPunct(u"(") && isHintGroup(t, i)) {
            qsizetype from = i;
            const qsizetype w = prev(t, i - 1);
            if (w >= 0 && t.at(w).isWord(u"with"))
                from = w;
            t.remove(from, closing(t, i) + 1 - from);
            i = from - 1;
        }
    }
}

void addMissingFromInto(SqlTokens& t)
{
    const qsizetype first = next(t, 0);
    if (first >= t.size())
        return;
    const qsizetype second = next(t, first + 1);
    if (second >= t.size())
        return;
    if (t.at(first).isWord(u"insert") && !t.at(second).isWord(u"into")) {
        replace(t, first, first + 1, u"INSERT INTO"_s);
        return;
    }
    if (!t.at(first).isWord(u"delete") || t.at(second).isWord(u"from"))
        return;
    // "delete a from checkinfo a where …" names the alias first.
    const qsizetype from = next(t, second + 1);
    if (from < t.size() && t.at(from).isWord(u"from")) {
        const qsizetype table = next(t, from + 1);
        const qsizetype alias = next(t, table + 1);
        if (table < t.size() && alias < t.size() && t.at(alias).is(SqlToken::Word) &&
            !t.at(alias).isWord(u"where") &&
            t.at(alias).text.compare(t.at(second).text, Qt::CaseInsensitive) == 0) {
            replace(t, alias, alias + 1, u"AS "_s + t.at(alias).text);
        }
        t.remove(second, from + 1 - second);
        replace(t, first, first + 1, u"DELETE FROM "_s);
        return;
    }
    replace(t, first, first + 1, u"DELETE FROM"_s);
}

// TOP n of a SELECT whose keyword is at sel; the SELECT ends at the closing parenthesis of
// its level, a UNION at its level, or the end of the statement.
static void moveTop(SqlTokens& t, qsizetype sel)
{
    qsizetype top = next(t, sel + 1);
    if (top < t.size() && (t.at(top).isWord(u"distinct") || t.at(top).isWord(u"all")))
        top = next(t, top + 1);
    if (top >= t.size() || !t.at(top).isWord(u"top"))
        return;
    qsizetype n = next(t, top + 1);
    qsizetype afterN = n + 1;
    QString count;
    if (n < t.size() && t.at(n).isPunct(u"(")) {
        afterN = closing(t, n) + 1;
        count = join(t, n + 1, afterN - 1).trimmed();
    } else if (n < t.size()) {
        count = t.at(n).text;
    } else {
        return;
    }
    qsizetype removeTo = afterN;
    const qsizetype pct = next(t, afterN);
    bool percent = false;
    if (pct < t.size() && t.at(pct).isWord(u"percent")) {
        percent = true;
        removeTo = pct + 1;
    }
    int depth = 0;
    qsizetype end = removeTo;
    for (; end < t.size(); ++end) {
        if (t.at(end).isPunct(u"("))
            ++depth;
        else if (t.at(end).isPunct(u")") && --depth < 0)
            break;
        else if (depth == 0 && (t.at(end).isWord(u"union") || t.at(end).isWord(u"except") ||
                                t.at(end).isWord(u"intersect")))
            break;
    }
    const bool compound = end < t.size() && !t.at(end).isPunct(u")");
    // Trailing blanks and comments stay after the LIMIT.
    const qsizetype insertAt = prev(t, end - 1) + 1;
    // "TOP 100 PERCENT" (views, stored lists) means every row; n per cent of them are counted
    // on the SELECT without its TOP and rounded up, as SQL Server rounds them.
    if (!(percent && count == u"100"_s)) {
        QString rows = count;
        if (percent) {
            const QString share = u"(SELECT count(*) * ("_s + count + u") / 100.0 AS r FROM ("_s +
                                  join(t, sel, top) + join(t, removeTo, insertAt) + u"))"_s;
            rows = u"(SELECT CAST(r AS INTEGER) + (r > CAST(r AS INTEGER)) FROM "_s + share + u')';
        }
        const QString limit = u" LIMIT "_s + rows;
        if (compound) {
            // SQLite allows no LIMIT inside a compound SELECT: the first part becomes a subquery.
            t.insert(insertAt, SqlToken{SqlToken::Word, limit + u')'});
            t.insert(sel, SqlToken{SqlToken::Word, u"SELECT * FROM ("_s});
            ++top;
            ++removeTo;
        } else {
            t.insert(insertAt, SqlToken{SqlToken::Word, limit});
        }
    }
    // The blank after "TOP n" goes with it.
    if (removeTo < t.size() && t.at(removeTo).is(SqlToken::Space) && top > 0 &&
        t.at(top - 1).is(SqlToken::Space))
        ++removeTo;
    t.remove(top, removeTo - top);
}

void likeSets(SqlTokens& t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!t.at(i).isWord(u"like"))
            continue;
        const qsizetype p = next(t, i + 1);
        if (p >= t.size())
            return;
        qsizetype end = p + 1;
        if (t.at(p).isPunct(u"?") && end < t.size() && t.at(end).is(SqlToken::Number))
            ++end; // a batch variable, bound as "?n"
        else if (!t.at(p).is(SqlToken::String) || !t.at(p).text.contains(u'['))
            continue;
        const qsizetype after = next(t, end);
        if (after < t.size() && (t.at(after).isWord(u"escape") || t.at(after).isPunct(u"+") ||
                                 t.at(after).isPunct(u"||")))
            continue;
        t.insert(end, SqlToken{SqlToken::Word, u" ESCAPE ''"_s});
        i = end;
    }
}

void topToLimit(SqlTokens& t)
{
    for (qsizetype i = t.size() - 1; i >= 0; --i) {
        if (t.at(i).isWord(u"select"))
            moveTop(t, i);
    }
}

} // namespace SqlRules
