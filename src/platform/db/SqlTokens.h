// T-SQL text as tokens, so that rewrites never touch string literals, quoted names or comments.
#pragma once

#include <QList>
#include <QString>

struct SqlToken {
    enum Kind { Space, Comment, String, QuotedName, Word, Number, Variable, Punct };
    Kind kind;
    QString text;

    bool is(Kind k) const { return kind == k; }
    /// A word equal to w (letter case ignored).
    bool isWord(QStringView w) const
    {
        return kind == Word && text.compare(w, Qt::CaseInsensitive) == 0;
    }
    bool isPunct(QStringView p) const { return kind == Punct && text == p; }
    bool significant() const { return kind != Space && kind != Comment; }
    /// The name of a word or quoted name without brackets or quotes.
    QString name() const;
};

using SqlTokens = QList<SqlToken>;

namespace SqlLex {

/// Splits T-SQL into tokens; joining their texts gives the input back (except N'' literals,
/// which lose their N: SQLite texts are Unicode anyway).
SqlTokens tokenize(const QString& sql);
/// End of the number starting at i (digits, a point, an exponent with its sign).
qsizetype numberEnd(const QString& s, qsizetype i);
QString join(const SqlTokens& tokens, qsizetype from = 0, qsizetype to = -1);

/// Index of the next significant token at or after i (tokens.size() when none).
qsizetype next(const SqlTokens& t, qsizetype i);
/// Index of the previous significant token at or before i (-1 when none).
qsizetype prev(const SqlTokens& t, qsizetype i);
/// Index of the ")" that closes the "(" at open; tokens.size() when unbalanced.
qsizetype closing(const SqlTokens& t, qsizetype open);
/// Index of the "(" that the ")" at close closes; -1 when unbalanced.
qsizetype opening(const SqlTokens& t, qsizetype close);
/// Ranges [begin, end) of the comma-separated arguments between open and its closing paren.
QList<std::pair<qsizetype, qsizetype>> arguments(const SqlTokens& t, qsizetype open);
/// Replaces tokens [from, to) by the tokens of text; returns the index after the new tokens.
qsizetype replace(SqlTokens& t, qsizetype from, qsizetype to, const QString& text);

} // namespace SqlLex
