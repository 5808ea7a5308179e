// UPDATE … FROM: SQL Server updates the rows of the target as it appears in the FROM list (by
// name or alias); SQLite reads a target repeated in FROM as a second table and reports ambiguous
// names, and wants bare column names on the left of SET. The target leaves the FROM list (its
// alias moves to "UPDATE table AS alias"), its join condition joins the WHERE, and its own
// unqualified columns are qualified.
#include "db/SqlRules.h"

using namespace Qt::StringLiterals;

using namespace SqlLex;

namespace {

struct Parts {
    qsizetype target = -1, set = -1, from = -1, where = -1;
};

Parts findParts(const SqlTokens& t)
{
    Parts p;
    const qsizetype upd = next(t, 0);
    if (upd >= t.size() || !t.at(upd).isWord(u"update"))
        return p;
    p.target = next(t, upd + 1);
    int depth = 0;
    for (qsizetype i = p.target + 1; i < t.size(); ++i) {
        if (t.at(i).isPunct(u"("))
            ++depth;
        else if (t.at(i).isPunct(u")"))
            --depth;
        else if (depth != 0)
            continue;
        else if (p.set < 0 && t.at(i).isWord(u"set"))
            p.set = i;
        else if (p.set >= 0 && p.from < 0 && p.where < 0 && t.at(i).isWord(u"from"))
            p.from = i;
        else if (p.set >= 0 && p.where < 0 && t.at(i).isWord(u"where"))
            p.where = i;
    }
    return p;
}

bool isClauseWord(const SqlToken& tok)
{
    static const QStringList words = {u"left"_s, u"right"_s, u"inner"_s, u"outer"_s, u"join"_s,
                                      u"full"_s, u"cross"_s, u"where"_s, u"on"_s,    u"as"_s};
    return tok.is(SqlToken::Word) && words.contains(tok.text.toLower());
}

// Qualifies the target's own columns that stand unqualified.
QString qualified(const QString& text, const QString& table, const QString& prefix,
                  const SqlSchemaInfo& schema)
{
    SqlTokens t = tokenize(text);
    for (qsizetype i = 0; i < t.size(); ++i) {
        const SqlToken& tok = t.at(i);
        if (!tok.is(SqlToken::Word) && !tok.is(SqlToken::QuotedName))
            continue;
        const qsizetype before = prev(t, i - 1);
        const qsizetype after = next(t, i + 1);
        if ((before >= 0 && t.at(before).isPunct(u".")) ||
            (after < t.size() && (t.at(after).isPunct(u".") || t.at(after).isPunct(u"("))))
            continue;
        if (schema.kind(table, tok.name()) == SqlSchemaInfo::Kind::Unknown)
            continue;
        t.insert(i, SqlToken{SqlToken::Word, prefix + u'.'});
        ++i;
    }
    return join(t);
}

// "a.col = x, b = y" with the left sides made bare.
QString bareAssignments(const QString& text, const QString& table, const QString& prefix,
                        const SqlSchemaInfo& schema)
{
    SqlTokens w = tokenize(u'(' + text + u')');
    QStringList out;
    for (const auto& a : arguments(w, 0)) {
        qsizetype eq = a.first;
        while (eq < a.second && !w.at(eq).isPunct(u"="))
            ++eq;
        if (eq >= a.second) {
            out << join(w, a.first, a.second);
            continue;
        }
        const qsizetype col = prev(w, eq - 1);
        out << u' ' + w.at(col).text + u" ="_s +
                   qualified(join(w, eq + 1, a.second), table, prefix, schema);
    }
    return out.join(u',');
}

} // namespace

namespace SqlRules {

void rewriteUpdateFrom(SqlTokens& t, const SqlSchemaInfo& schema)
{
    const Parts p = findParts(t);
    if (p.set < 0)
        return;
    const qsizetype setEnd = p.from >= 0 ? p.from : (p.where >= 0 ? p.where : t.size());
    const QString target = t.at(p.target).name();
    if (p.from < 0) {
        // Only the left sides of SET may need their qualifier removed.
        const QString text = join(t, 0, p.set + 1) +
                             bareAssignments(join(t, p.set + 1, setEnd), target, target, schema) +
                             u' ' + join(t, setEnd).trimmed();
        t = tokenize(text.trimmed());
        return;
    }
    const qsizetype fromEnd = p.where >= 0 ? p.where : t.size();
    const qsizetype first = next(t, p.from + 1);
    if (first >= fromEnd)
        return;
    QString table = t.at(first).text;
    QString alias;
    qsizetype rest = next(t, first + 1);
    if (rest < fromEnd && t.at(rest).isWord(u"as"))
        rest = next(t, rest + 1);
    if (rest < fromEnd && (t.at(rest).is(SqlToken::Word) || t.at(rest).is(SqlToken::QuotedName)) &&
        !isClauseWord(t.at(rest))) {
        alias = t.at(rest).text;
        rest = next(t, rest + 1);
    }
    const bool targetIsFirst = table.compare(t.at(p.target).text, Qt::CaseInsensitive) == 0 ||
                               alias.compare(t.at(p.target).text, Qt::CaseInsensitive) == 0;
    if (!targetIsFirst)
        return;
    const QString tableName = t.at(first).name();
    const QString prefix = alias.isEmpty() ? table : alias;
    // What stays of FROM: nothing, ", others", or "JOIN other ON cond".
    QString others;
    QString joinCondition;
    if (rest < fromEnd && t.at(rest).isPunct(u",")) {
        others = join(t, rest + 1, fromEnd).trimmed();
    } else if (rest < fromEnd) {
        qsizetype j = rest;
        while (j < fromEnd && isClauseWord(t.at(j)) && !t.at(j).isWord(u"on"))
            j = next(t, j + 1);
        int depth = 0;
        qsizetype on = -1;
        for (qsizetype i = j; i < fromEnd; ++i) {
            if (t.at(i).isPunct(u"("))
                ++depth;
            else if (t.at(i).isPunct(u")"))
                --depth;
            else if (depth == 0 && t.at(i).isWord(u"on")) {
                on = i;
                break;
            }
        }
        if (on < 0)
            return;
        others = join(t, j, on).trimmed();
        joinCondition = qualified(join(t, on + 1, fromEnd), tableName, prefix, schema).trimmed();
    }
    QString where = p.where >= 0
                        ? qualified(join(t, p.where + 1), tableName, prefix, schema).trimmed()
                        : QString();
    if (!joinCondition.isEmpty())
        where =
            where.isEmpty() ? joinCondition : u'(' + joinCondition + u") AND ("_s + where + u')';
    QString text = u"UPDATE "_s + table + (alias.isEmpty() ? QString() : u" AS "_s + alias) +
                   u" SET"_s +
                   bareAssignments(join(t, p.set + 1, setEnd), tableName, prefix, schema);
    if (!others.isEmpty())
        text += u" FROM "_s + others;
    if (!where.isEmpty())
        text += u" WHERE "_s + where;
    t = tokenize(text);
}

} // namespace SqlRules
