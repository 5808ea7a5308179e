// One SELECT and nothing else: anything that writes, runs code, opens other data sources or
// starts a second statement is refused by its key word.
#include "db/SqlReadOnly.h"

#include "db/SqlTokens.h"

using namespace Qt::StringLiterals;

namespace SqlReadOnly {

namespace {

// Words that have no place in a query. "INTO" turns a SELECT into a table's creation; T-SQL
// needs no ";" between statements, so a second statement is seen by its first word.
const char16_t* const refused[] = {
    u"INSERT",   u"UPDATE",     u"DELETE",     u"MERGE",    u"INTO",     u"EXEC",
    u"EXECUTE",  u"DROP",       u"CREATE",     u"ALTER",    u"TRUNCATE", u"GRANT",
    u"REVOKE",   u"DENY",       u"DECLARE",    u"SET",      u"BEGIN",    u"COMMIT",
    u"ROLLBACK", u"SAVE",       u"USE",        u"BACKUP",   u"RESTORE",  u"DBCC",
    u"KILL",     u"SHUTDOWN",   u"WAITFOR",    u"BULK",     u"OPENROWSET", u"OPENQUERY",
    u"OPENDATASOURCE", u"RECONFIGURE", u"GO", u"PRINT", u"RAISERROR", u"THROW",
    u"IF",       u"WHILE",      u"RETURN",     u"GOTO",     u"ATTACH",   u"DETACH",
    u"PRAGMA",   u"VACUUM",     u"REINDEX",    u"ANALYZE",  u"UPDATETEXT", u"WRITETEXT"};

// Words after which a SELECT continues the same query.
bool joinsQueries(const SqlToken& t)
{
    return t.isWord(u"UNION") || t.isWord(u"ALL") || t.isWord(u"EXCEPT") ||
           t.isWord(u"INTERSECT") || t.isPunct(u"(");
}

} // namespace

QString problem(const QString& sql)
{
    SqlTokens tokens = SqlLex::tokenize(sql);
    tokens.removeIf([](const SqlToken& t) { return !t.significant(); });
    while (!tokens.isEmpty() && tokens.last().isPunct(u";"))
        tokens.removeLast();
    if (tokens.isEmpty())
        return u"没有查询语句"_s;
    if (!tokens.first().isWord(u"SELECT") && !tokens.first().isWord(u"WITH"))
        return u"只能是 SELECT 查询，不能以“%1”开头"_s.arg(tokens.first().text);
    int depth = 0;
    int selects = 0; // statements at the outermost level that start with SELECT
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const SqlToken& t = tokens[i];
        if (t.isPunct(u";"))
            return u"只能是一条语句"_s;
        for (const char16_t* word : refused)
            if (t.isWord(word))
                return u"查询中不能有“%1”"_s.arg(t.text);
        if (t.isPunct(u"("))
            ++depth;
        else if (t.isPunct(u")"))
            --depth;
        else if (depth == 0 && t.isWord(u"SELECT") && (i == 0 || !joinsQueries(tokens[i - 1])))
            ++selects;
    }
    if (selects != 1)
        return selects == 0 ? u"WITH 之后没有 SELECT"_s : u"只能是一条语句"_s;
    return QString();
}

} // namespace SqlReadOnly
