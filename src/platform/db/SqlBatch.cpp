// Statement boundaries of a T-SQL batch.
#include "db/SqlBatch.h"

#include <QSet>

using namespace SqlLex;
using namespace Qt::StringLiterals;

namespace {

const QSet<QString>& startWords()
{
    static const QSet<QString> words = {
        u"select"_s,   u"insert"_s,  u"update"_s,   u"delete"_s,   u"set"_s,
        u"declare"_s,  u"if"_s,      u"while"_s,    u"begin"_s,    u"end"_s,
        u"else"_s,     u"print"_s,   u"exec"_s,     u"execute"_s,  u"with"_s,
        u"create"_s,   u"alter"_s,   u"drop"_s,     u"truncate"_s, u"commit"_s,
        u"rollback"_s, u"raiserror"_s, u"throw"_s,  u"return"_s,   u"break"_s,
        u"continue"_s, u"merge"_s,   u"use"_s,      u"goto"_s,     u"waitfor"_s,
        u"save"_s,     u"grant"_s,   u"revoke"_s,   u"deny"_s,     u"dbcc"_s};
    return words;
}

QString lower(const SqlToken& t) { return t.text.toLower(); }

// What is known of the statement being read, to tell a word that continues it from one that
// begins the next statement.
struct Current {
    QString verb;          // its first word
    QString second;        // its second word
    bool selected = false; // insert … select / exec seen
    bool values = false;   // insert … values seen
    bool setSeen = false;  // update … set seen
    bool cteBody = false;  // with … as (…) followed by its statement
    bool wholeBatch = false; // create view/procedure/function/trigger: the rest of the batch
    int cases = 0;         // open CASE … END
    QString prev, prevPrev; // the two significant words or punctuation before
};

// A "with" that begins a common table expression: with name as ( / with name (cols) as (.
bool cteStart(const SqlTokens& t, qsizetype at)
{
    const qsizetype name = next(t, at + 1);
    if (name >= t.size() || !(t.at(name).is(SqlToken::Word) || t.at(name).is(SqlToken::QuotedName)))
        return false;
    qsizetype after = next(t, name + 1);
    if (after < t.size() && t.at(after).isPunct(u"("))
        after = next(t, closing(t, after) + 1);
    return after < t.size() && t.at(after).isWord(u"as");
}

// True when the word at i continues the current statement instead of beginning one.
bool continues(const SqlTokens& t, qsizetype i, Current& c)
{
    const QString w = lower(t.at(i));
    if (c.wholeBatch)
        return true;
    if (c.cases > 0)
        return w != u"end" || (--c.cases, true);
    if (w == u"with")
        return !cteStart(t, i);
    // "create table if not exists", "drop index if exists".
    if (w == u"if" && (c.verb == u"create" || c.verb == u"drop" || c.verb == u"alter"))
        return true;
    // "on delete cascade", "on update set null" of a foreign key added by ALTER TABLE.
    if ((c.verb == u"alter" || c.verb == u"create") &&
        (c.prev == u"on" || (w == u"set" && c.prevPrev == u"on")))
        return true;
    if (c.verb == u"with" && !c.cteBody &&
        (w == u"select" || w == u"insert" || w == u"update" || w == u"delete" || w == u"merge")) {
        c.cteBody = true;
        c.verb = w;
        c.selected = w != u"insert"; // "with … insert into t select …": its select is to come
        return true;
    }
    if (w == u"select") {
        if (c.prev == u"union" || c.prev == u"all" || c.prev == u"except" ||
            c.prev == u"intersect")
            return true;
        if (c.verb == u"insert" && !c.selected && !c.values)
            return c.selected = true;
        return (c.verb == u"create" || c.verb == u"alter") && c.prev == u"as";
    }
    if (w == u"exec" || w == u"execute")
        return c.verb == u"insert" && !c.selected && !c.values && (c.selected = true);
    if (w == u"set")
        return c.verb == u"update" && !c.setSeen && (c.setSeen = true);
    return false;
}

// Control words that stand alone: a block's "begin" and "end", "else", "begin try" …
bool standsAlone(const Current& c)
{
    return c.verb == u"else" || c.verb == u"end" ||
           (c.verb == u"begin" && (c.second.isEmpty() || c.second == u"try" || c.second == u"catch"));
}

// A word that completes "begin" or "end" (begin tran, begin try, end catch).
bool completes(const Current& c, const QString& w)
{
    if (!c.second.isEmpty())
        return false;
    if (c.verb == u"begin")
        return w == u"tran" || w == u"transaction" || w == u"try" || w == u"catch" ||
               w == u"distributed";
    return c.verb == u"end" && (w == u"try" || w == u"catch");
}

} // namespace

namespace SqlBatch {

bool isStatementWord(const SqlToken& t)
{
    return t.is(SqlToken::Word) && startWords().contains(t.text.toLower());
}

QList<SqlTokens> split(const SqlTokens& all)
{
    QList<SqlTokens> out;
    SqlTokens current;
    Current c;
    int depth = 0;
    auto finish = [&] {
        if (next(current, 0) < current.size())
            out.append(current);
        current.clear();
        c = Current();
    };
    for (qsizetype i = 0; i < all.size(); ++i) {
        const SqlToken& tok = all.at(i);
        if (!tok.significant()) {
            current.append(tok);
            continue;
        }
        const QString w = tok.is(SqlToken::Word) ? lower(tok) : QString();
        if (depth == 0 && tok.isPunct(u";")) {
            finish();
            continue;
        }
        if (depth == 0 && !c.verb.isEmpty()) {
            if (completes(c, w)) {
                c.second = w;
                if (c.verb == u"begin" && w != u"try" && w != u"catch")
                    c.verb = u"begin tran"_s;
            } else if (standsAlone(c) ||
                       (isStatementWord(tok) && !continues(all, i, c))) {
                finish();
            } else if (w == u"case") {
                ++c.cases;
            } else if (w == u"values") {
                c.values = true;
            }
        }
        if (c.verb.isEmpty()) {
            c.verb = w.isEmpty() ? u"?"_s : w;
            if (w == u"create" || w == u"alter") {
                const qsizetype k = next(all, i + 1);
                const QString what = k < all.size() ? lower(all.at(k)) : QString();
                c.wholeBatch = what == u"view" || what == u"procedure" || what == u"proc" ||
                               what == u"function" || what == u"trigger";
            }
        }
        if (tok.isPunct(u"("))
            ++depth;
        else if (tok.isPunct(u")"))
            --depth;
        current.append(tok);
        c.prevPrev = c.prev;
        c.prev = tok.is(SqlToken::Word) || tok.is(SqlToken::Punct) ? lower(tok) : QString();
    }
    finish();
    return out;
}

bool needsInterpreter(const SqlTokens& t, QSet<QString>& tableVariables)
{
    const qsizetype first = next(t, 0);
    if (first >= t.size())
        return false;
    const QString verb = lower(t.at(first));
    const qsizetype second = next(t, first + 1);
    if (verb == u"declare") {
        const qsizetype kind = second < t.size() ? next(t, second + 1) : t.size();
        if (kind < t.size() && t.at(kind).isWord(u"table")) {
            tableVariables.insert(t.at(second).text.toLower());
            return false;
        }
        return true;
    }
    static const QSet<QString> control = {
        u"set"_s,   u"if"_s,       u"while"_s,  u"begin"_s,    u"begin tran"_s,
        u"end"_s,   u"else"_s,     u"print"_s,  u"raiserror"_s, u"throw"_s,
        u"return"_s, u"break"_s,   u"continue"_s, u"commit"_s, u"rollback"_s,
        u"goto"_s,  u"save"_s};
    // "rollback to name" returns to one of the embedded engine's savepoints: plain SQL.
    if (verb == u"rollback" && second < t.size() && t.at(second).isWord(u"to"))
        return false;
    if (control.contains(verb))
        return true;
    for (const SqlToken& tok : t) {
        if (!tok.is(SqlToken::Variable))
            continue;
        const QString name = tok.text.toLower();
        if (name == u"@@identity" || tableVariables.contains(name))
            continue;
        return true;
    }
    return false;
}

} // namespace SqlBatch
