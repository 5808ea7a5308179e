// The translator's rewrite passes over the tokens of one statement (see SqlTranslator).
#pragma once

#include "db/SqlSchemaInfo.h"
#include "db/SqlTokens.h"

using namespace Qt::StringLiterals;

namespace SqlRules {

/// "dbo.getDictionary(" -> "getDictionary(", table hints "with (nolock)" dropped.
void stripOwnerAndHints(SqlTokens& t);
/// "delete t where" -> "DELETE FROM t where"; "delete a from t a" -> "DELETE FROM t AS a";
/// "insert t(" -> "INSERT INTO t(".
void addMissingFromInto(SqlTokens& t);
/// "delete top (n) [from] t output deleted.a,deleted.b where w" ->
/// "DELETE FROM t WHERE rowid IN (SELECT rowid FROM t WHERE w LIMIT n) RETURNING a,b".
/// "output deleted.a,deleted.b into @v" -> "RETURNING a,b" as well.
void deleteTopOutput(SqlTokens& t);
/// A table variable that only collects the rows of an OUTPUT … INTO: its "declare @v table (…)"
/// and the "select … from @v" that reads it back vanish, the RETURNING of the OUTPUT being the
/// batch's result.
void tableVariables(SqlTokens& t);
/// Function calls SQLite lacks or spells otherwise: convert, cast to text or date, isnull, left,
/// right, datediff/dateadd/datepart, SCOPE_IDENTITY(), @@IDENTITY; binary literals 0x…
void rewriteFunctions(SqlTokens& t);
/// "+" between texts -> "||".
void joinTexts(SqlTokens& t, const SqlSchemaInfo& schema);
/// Date literals written into or compared with date columns -> "yyyy-MM-dd hh:mm:ss".
void normaliseDates(SqlTokens& t, const SqlSchemaInfo& schema);
/// "UPDATE t SET … FROM t [LEFT] JOIN u ON c WHERE w" -> "UPDATE t SET … FROM u WHERE c AND (w)".
void rewriteUpdateFrom(SqlTokens& t, const SqlSchemaInfo& schema);
/// "x LIKE '[a-c]%'" -> "x LIKE '[a-c]%' ESCAPE ''": a pattern with a set or range (or a batch
/// variable "?n") goes to the registered like() of three arguments, which means T-SQL's LIKE.
void likeSets(SqlTokens& t);
/// Date arithmetic as SQL Server does it: "date + n" / "date - n" -> tsql_dateplus(date, ±n)
/// (n in days, fractions too), "date - date" -> tsql_daysbetween(a, b) (days as a float).
void dateArithmetic(SqlTokens& t, const SqlSchemaInfo& schema);
/// "SELECT TOP n …" -> "SELECT … LIMIT n" at the end of that SELECT.
void topToLimit(SqlTokens& t);

/// Collation SQLite uses for text results of rewritten functions.
inline const QString textCollation = u"NOCASE"_s;

} // namespace SqlRules
