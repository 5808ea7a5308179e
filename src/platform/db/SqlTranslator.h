// Rewrites the program's T-SQL for the embedded SQLite database, statement by statement, with
// SQL Server's meaning: TOP, isnull, left/right, convert/cast, "+" on texts, SCOPE_IDENTITY,
// dbo., DELETE/INSERT without FROM/INTO, UPDATE…FROM, date literals, procedures.
#pragma once

#include "db/SqlSchemaInfo.h"
#include "db/SqlTokens.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SqlStatement {
    /// The SQLite text (empty for a procedure call).
    QString sql;
    /// For "exec name args": the procedure's name and its argument texts.
    QString procedure;
    QStringList arguments;
    /// A statement of control flow or with variables: sql holds its T-SQL, which the layer's
    /// interpreter runs (see SqlScript).
    bool control = false;
};

class SqlTranslator {
public:
    explicit SqlTranslator(SqlSchemaInfo schema = SqlSchemaInfo()) : m_schema(std::move(schema)) {}

    /// The statements of a T-SQL batch (split where a statement ends, see SqlBatch; empty
    /// statements dropped), each translated, but those for the interpreter.
    QList<SqlStatement> translateBatch(const QString& tsql) const;
    /// One statement (or a batch) translated and joined with ";\n": for tests and mirel-sql.
    QString translate(const QString& tsql) const;

    const SqlSchemaInfo& schema() const { return m_schema; }

    /// "exec name 'a', 1" / "execute dbo.name": the name and argument texts into out, or false.
    static bool procedureCall(const SqlTokens& t, SqlStatement& out);

private:
    SqlStatement translateStatement(SqlTokens t) const;

    SqlSchemaInfo m_schema;
};
