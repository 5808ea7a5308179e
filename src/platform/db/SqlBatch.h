// A T-SQL batch cut into its statements the way SQL Server's parser cuts it: a statement ends at
// ";" or where the next one begins (select, insert, update, delete, set, declare, if, while,
// begin, print, exec, with …), outside literals, brackets and comments. Mills write their scripts
// one statement a line without any ";".
#pragma once

#include "db/SqlTokens.h"

#include <QSet>

namespace SqlBatch {

/// The statements of a batch in order, each with the blanks and comments before it; ";" dropped,
/// statements without a significant token left out. Control words stand alone as pieces: "if"
/// with its condition, "while" with its condition, "else", "begin", "end".
QList<SqlTokens> split(const SqlTokens& batch);

/// True when the word can begin a statement.
bool isStatementWord(const SqlToken& t);

/// True when a statement of a batch needs the layer's interpreter: a control word (declare, set,
/// if, while, begin … end, print, raiserror, throw, begin tran, commit, rollback, return) or a
/// variable. Table variables ("declare @t table") are the translator's: their names are collected
/// in tableVariables and do not count.
bool needsInterpreter(const SqlTokens& statement, QSet<QString>& tableVariables);

} // namespace SqlBatch
