// UPDATE … FROM with the target repeated in FROM: SQL Server updates the target's rows of the
// join; SQLite reads a repeated target as a second table and reports ambiguous names. The target
// leaves the FROM list, its join condition joins the WHERE, and its own unqualified columns are
// qualified with its name.
#include "db/SqlRules.h"

using namespace SqlLex;

namespace {

struct Clause {
    qsizetype set = -1, from = -1, where = -1, end = -1;
};

Clause findClauses(const SqlTokens& t, qsizetype start)
{
    Clause c;
    c.end = t.size();
    int depth = 0;
    for (qsizetype i = start; i < t.size(); ++i) {
        if (t.at(i).isPunct(u"("))
            ++depth;
        else if (t.at(i).isPunct(u")"))
            --depth;
        else if (depth == 0 && c.set < 0 && t.at(i).isWord(u"set"))
            c.set = i;
        else if (depth == 0 && c.set >= 0 && c.from < 0 && t.at(i).isWord(u"from"))
            c.from = i;
        else if (depth == 0 && c.from >= 0 && c.where < 0 && t.at(i).isWord(u"where"))
            c.where = i;
    }
    return c;
}

bool isJoinWord(const SqlToken& tok)
{
    return tok.isWord(u"left") || tok.isWord(u"right") || tok.isWord(u"inner") ||
           tok.isWord(u"outer") || tok.isWord(u"join") || tok.isWord(u"full") ||
           tok.isWord(u"cross");
}

// Qualifies the target's own columns in [b, e) that stand unqualified.
void qualify(SqlTokens& t, qsizetype b, qsizetype& e, const QString& target,
             const SqlSchemaInfo& schema)
{
    for (qsizetype i = b; i < e; ++i) {
        const SqlToken& tok = t.at(i);
        if (!tok.is(SqlToken::Word) && !tok.is(SqlToken::QuotedName))
            continue;
        const qsizetype before = prev(t, i - 1);
        const qsizetype after = next(t, i + 1);
        if ((before >= 0 && t.at(before).isPunct(u".")) ||
            (after < t.size() && (t.at(after).isPunct(u".") || t.at(after).isPunct(u"("))))
            continue;
        if (schema.kind(target, tok.name()) == SqlSchemaInfo::Kind::Unknown)
            continue;
        t.insert(i, SqlToken{SqlToken::Word, target + u'.'});
        ++i;
        ++e;
    }
}

} // namespace

namespace SqlRules {

void rewriteUpdateFrom(SqlTokens& t, const SqlSchemaInfo& schema)
{
    const qsizetype upd = next(t, 0);
    if (upd >= t.size() || !t.at(upd).isWord(u"update"))
        return;
    const qsizetype targetAt = next(t, upd + 1);
    if (targetAt >= t.size())
        return;
    const QString target = t.at(targetAt).name();
    Clause c = findClauses(t, targetAt + 1);
    if (c.set < 0 || c.from < 0)
        return;
    const qsizetype first = next(t, c.from + 1);
    if (first >= t.size() || t.at(first).name().compare(target, Qt::CaseInsensitive) != 0)
        return;
    // FROM target [LEFT|INNER] JOIN other ON cond [WHERE w]
    qsizetype j = next(t, first + 1);
    const qsizetype joinStart = j;
    while (j < t.size() && isJoinWord(t.at(j)))
        j = next(t, j + 1);
    if (j == joinStart)
        return;
    qsizetype on = -1;
    int depth = 0;
    const qsizetype stop = c.where >= 0 ? c.where : c.end;
    for (qsizetype i = j; i < stop; ++i) {
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
    const QString other = join(t, j, on).trimmed();
    const QString cond = join(t, on + 1, stop).trimmed();
    const QString where = c.where >= 0 ? join(t, c.where + 1, c.end).trimmed() : QString();
    // Qualify in the SET list first (the left sides stay plain: SQLite wants them so).
    qsizetype setEnd = c.from;
    SqlTokens set = tokenize(join(t, c.set + 1, setEnd));
    QString setText;
    {
        SqlTokens wrapped = tokenize(QStringLiteral("(") + join(set) + u')');
        const auto parts = arguments(wrapped, 0);
        QStringList assigned;
        for (const auto& p : parts) {
            qsizetype eq = p.first;
            while (eq < p.second && !wrapped.at(eq).isPunct(u"="))
                ++eq;
            if (eq >= p.second) {
                assigned << join(wrapped, p.first, p.second);
                continue;
            }
            // "SET t.col = …" is T-SQL; SQLite wants the bare column.
            SqlTokens lhs = tokenize(join(wrapped, p.first, eq));
            const qsizetype last = prev(lhs, lhs.size() - 1);
            const QString column = last >= 0 ? lhs.at(last).text : QString();
            SqlTokens rhs = tokenize(join(wrapped, eq + 1, p.second));
            qsizetype rhsEnd = rhs.size();
            qualify(rhs, 0, rhsEnd, target, schema);
            assigned << u' ' + column + QStringLiteral(" = ") + join(rhs).trimmed();
        }
        setText = assigned.join(u',');
    }
    SqlTokens condTokens = tokenize(cond);
    qsizetype ce = condTokens.size();
    qualify(condTokens, 0, ce, target, schema);
    QString newWhere = join(condTokens);
    if (!where.isEmpty()) {
        SqlTokens w = tokenize(where);
        qsizetype we = w.size();
        qualify(w, 0, we, target, schema);
        newWhere = u'(' + newWhere + QStringLiteral(") AND (") + join(w) + u')';
    }
    const QString text = QStringLiteral("UPDATE ") + t.at(targetAt).text + QStringLiteral(" SET") +
                         setText + QStringLiteral(" FROM ") + other + QStringLiteral(" WHERE ") +
                         newWhere;
    t = tokenize(text);
}

} // namespace SqlRules
