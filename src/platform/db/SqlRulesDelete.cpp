// DELETE with TOP and OUTPUT: a station takes a queued row out of a table and gets it back in
// one statement (print-pool jobs). SQLite has neither clause: rowid selection and RETURNING.
#include "db/SqlRules.h"

using namespace Qt::StringLiterals;

using namespace SqlLex;

namespace {

// Index of the WHERE at parenthesis depth 0 from i on; t.size() when there is none.
qsizetype whereAtTopLevel(const SqlTokens& t, qsizetype i)
{
    int depth = 0;
    for (; i < t.size(); ++i) {
        if (t.at(i).isPunct(u"("))
            ++depth;
        else if (t.at(i).isPunct(u")"))
            --depth;
        else if (depth == 0 && t.at(i).isWord(u"where"))
            return i;
    }
    return t.size();
}

} // namespace

namespace SqlRules {

void deleteTopOutput(SqlTokens& t)
{
    const qsizetype del = next(t, 0);
    if (del >= t.size() || !t.at(del).isWord(u"delete"))
        return;
    qsizetype i = next(t, del + 1);
    QString count;
    if (i < t.size() && t.at(i).isWord(u"top")) {
        const qsizetype n = next(t, i + 1);
        if (n >= t.size())
            return;
        qsizetype after = n + 1;
        if (t.at(n).isPunct(u"(")) {
            after = closing(t, n) + 1;
            count = join(t, n + 1, after - 1).trimmed();
        } else {
            count = t.at(n).text;
        }
        i = next(t, after);
    }
    if (i < t.size() && t.at(i).isWord(u"from"))
        i = next(t, i + 1);
    if (i >= t.size())
        return;
    const QString table = t.at(i).text;
    const qsizetype afterTable = next(t, i + 1);
    QString returning;
    qsizetype where = afterTable;
    if (afterTable < t.size() && t.at(afterTable).isWord(u"output")) {
        where = whereAtTopLevel(t, afterTable + 1);
        // "output … into @job": the rows go to the batch's table variable, which on SQLite is
        // the result of the RETURNING itself (see tableVariables).
        qsizetype columnsEnd = afterTable + 1;
        while (columnsEnd < where && !t.at(columnsEnd).isWord(u"into"))
            ++columnsEnd;
        for (qsizetype m = afterTable + 1; m < columnsEnd; ++m) {
            // "deleted.ID" is the row as it was: RETURNING names the column alone.
            if (t.at(m).isWord(u"deleted") && m + 1 < where && t.at(m + 1).isPunct(u".")) {
                ++m;
                continue;
            }
            returning += t.at(m).text;
        }
    }
    // Anything else after the table (an alias, a join) is left to the other rules.
    if ((count.isEmpty() && returning.isEmpty()) || (where < t.size() && !t.at(where).isWord(u"where")))
        return;
    QString condition = where < t.size() ? join(t, where + 1).trimmed() : QString();
    while (condition.endsWith(u';'))
        condition = condition.chopped(1).trimmed();
    QString sql = u"DELETE FROM "_s + table;
    if (!count.isEmpty()) {
        sql += u" WHERE rowid IN (SELECT rowid FROM "_s + table +
               (condition.isEmpty() ? QString() : u" WHERE "_s + condition) + u" LIMIT "_s + count +
               u')';
    } else if (!condition.isEmpty()) {
        sql += u" WHERE "_s + condition;
    }
    if (!returning.trimmed().isEmpty())
        sql += u" RETURNING "_s + returning.trimmed();
    t = tokenize(sql);
}

void tableVariables(SqlTokens& t)
{
    const qsizetype first = next(t, 0);
    if (first >= t.size())
        return;
    const qsizetype second = next(t, first + 1);
    if (t.at(first).isWord(u"declare")) {
        const qsizetype kind = next(t, second + 1);
        if (second < t.size() && t.at(second).is(SqlToken::Variable) && kind < t.size() &&
            t.at(kind).isWord(u"table"))
            t.clear();
        return;
    }
    if (!t.at(first).isWord(u"select"))
        return;
    for (qsizetype i = second; i < t.size(); i = next(t, i + 1)) {
        if (t.at(i).isWord(u"from")) {
            const qsizetype source = next(t, i + 1);
            if (source < t.size() && t.at(source).is(SqlToken::Variable))
                t.clear();
            return;
        }
    }
}

} // namespace SqlRules
