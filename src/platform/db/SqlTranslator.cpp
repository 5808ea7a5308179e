// The translation pipeline: split the batch, recognise procedure calls, run the rewrite passes.
#include "db/SqlTranslator.h"

#include "db/SqlBatch.h"
#include "db/SqlRules.h"
#include "db/SqlTokens.h"

using namespace Qt::StringLiterals;

using namespace SqlLex;


bool SqlTranslator::procedureCall(const SqlTokens& t, SqlStatement& out)
{
    const qsizetype first = next(t, 0);
    if (!t.at(first).isWord(u"exec") && !t.at(first).isWord(u"execute"))
        return false;
    qsizetype name = next(t, first + 1);
    // Skip owner prefixes (dbo.).
    while (next(t, name + 1) < t.size() && t.at(next(t, name + 1)).isPunct(u"."))
        name = next(t, next(t, name + 1) + 1);
    if (name >= t.size())
        return false;
    out.procedure = t.at(name).name();
    QString args = join(t, name + 1).trimmed();
    if (!args.isEmpty()) {
        SqlTokens a = tokenize(u'(' + args + u')');
        for (const auto& r : arguments(a, 0)) {
            QString v = join(a, r.first, r.second).trimmed();
            if (v.startsWith(u'\'') && v.endsWith(u'\'') && v.size() >= 2)
                v = v.mid(1, v.size() - 2).replace(u"''"_s, u"'"_s);
            out.arguments << v;
        }
    }
    return true;
}

QList<SqlStatement> SqlTranslator::translateBatch(const QString& tsql) const
{
    QList<SqlStatement> out;
    QSet<QString> tableVariables;
    for (const SqlTokens& s : SqlBatch::split(tokenize(tsql))) {
        if (SqlBatch::needsInterpreter(s, tableVariables)) {
            SqlStatement control;
            control.sql = join(s).trimmed();
            control.control = true;
            out.append(std::move(control));
            continue;
        }
        SqlStatement translated = translateStatement(s);
        if (!translated.sql.isEmpty() || !translated.procedure.isEmpty())
            out.append(std::move(translated));
    }
    return out;
}

QString SqlTranslator::translate(const QString& tsql) const
{
    QStringList parts;
    for (const SqlStatement& s : translateBatch(tsql))
        parts << (s.procedure.isEmpty() ? s.sql : u"exec "_s + s.procedure);
    return parts.join(u";\n"_s);
}

SqlStatement SqlTranslator::translateStatement(SqlTokens t) const
{
    SqlStatement out;
    SqlRules::stripOwnerAndHints(t);
    if (procedureCall(t, out))
        return out;
    SqlRules::tableVariables(t);
    SqlRules::deleteTopOutput(t);
    SqlRules::addMissingFromInto(t);
    SqlRules::rewriteFunctions(t);
    SqlRules::likeSets(t);
    SqlRules::dateArithmetic(t, m_schema);
    SqlRules::joinTexts(t, m_schema);
    SqlRules::normaliseDates(t, m_schema);
    SqlRules::rewriteUpdateFrom(t, m_schema);
    SqlRules::topToLimit(t);
    out.sql = join(t).trimmed();
    return out;
}
