// The T-SQL tokenizer.
#include "db/SqlTokens.h"

#include <cctype>

using namespace Qt::StringLiterals;

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == u'_' || c == u'#' || c.unicode() > 127; }
bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'$' || c.unicode() > 127;
}

// End of a quoted run starting at i (quote q, doubled quote escapes it).
qsizetype quotedEnd(const QString& s, qsizetype i, QChar close)
{
    qsizetype j = i + 1;
    while (j < s.size()) {
        if (s.at(j) == close) {
            if (j + 1 < s.size() && s.at(j + 1) == close) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return s.size();
}

} // namespace

QString SqlToken::name() const
{
    if (kind == QuotedName && text.size() >= 2)
        return text.mid(1, text.size() - 2);
    return text;
}

namespace SqlLex {

qsizetype numberEnd(const QString& s, qsizetype i)
{
    qsizetype j = i;
    while (j < s.size() && (s.at(j).isDigit() || s.at(j) == u'.'))
        ++j;
    if (j < s.size() && (s.at(j) == u'e' || s.at(j) == u'E')) {
        qsizetype k = j + 1;
        if (k < s.size() && (s.at(k) == u'+' || s.at(k) == u'-'))
            ++k;
        if (k < s.size() && s.at(k).isDigit()) {
            j = k;
            while (j < s.size() && s.at(j).isDigit())
                ++j;
        }
    }
    return j;
}


SqlTokens tokenize(const QString& s)
{
    SqlTokens out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto push = [&](SqlToken::Kind k, qsizetype end) {
        out.append({k, s.mid(i, end - i)});
        i = end;
    };
    while (i < n) {
        const QChar c = s.at(i);
        const QChar d = i + 1 < n ? s.at(i + 1) : QChar();
        if (c.isSpace()) {
            qsizetype j = i;
            while (j < n && s.at(j).isSpace())
                ++j;
            push(SqlToken::Space, j);
        } else if (c == u'-' && d == u'-') {
            const qsizetype j = s.indexOf(u'\n', i);
            push(SqlToken::Comment, j < 0 ? n : j);
        } else if (c == u'/' && d == u'*') {
            const qsizetype j = s.indexOf(u"*/"_s, i + 2);
            push(SqlToken::Comment, j < 0 ? n : j + 2);
        } else if (c == u'\'') {
            push(SqlToken::String, quotedEnd(s, i, u'\''));
        } else if ((c == u'N' || c == u'n') && d == u'\'') {
            ++i; // N'…': the N only asks SQL Server for Unicode
            push(SqlToken::String, quotedEnd(s, i, u'\''));
        } else if (c == u'[') {
            push(SqlToken::QuotedName, quotedEnd(s, i, u']'));
        } else if (c == u'"') {
            push(SqlToken::QuotedName, quotedEnd(s, i, u'"'));
        } else if (c == u'0' && (d == u'x' || d == u'X')) {
            // Binary literal 0x0A1B.
            qsizetype j = i + 2;
            while (j < n && isxdigit(s.at(j).toLatin1()))
                ++j;
            push(SqlToken::Number, j);
        } else if (c.isDigit() || (c == u'.' && d.isDigit())) {
            push(SqlToken::Number, numberEnd(s, i));
        } else if (c == u'@') {
            qsizetype j = i + 1;
            while (j < n && (s.at(j) == u'@' || isWordChar(s.at(j))))
                ++j;
            push(SqlToken::Variable, j);
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(s.at(j)))
                ++j;
            push(SqlToken::Word, j);
        } else {
            static const QStringList two = {u"<="_s, u">="_s, u"<>"_s, u"!="_s,
                                            u"||"_s, u"!<"_s, u"!>"_s};
            const QString pair = s.mid(i, 2);
            push(SqlToken::Punct, two.contains(pair) ? i + 2 : i + 1);
        }
    }
    return out;
}

QString join(const SqlTokens& tokens, qsizetype from, qsizetype to)
{
    if (to < 0 || to > tokens.size())
        to = tokens.size();
    QString s;
    for (qsizetype i = from; i < to; ++i)
        s += tokens.at(i).text;
    return s;
}

qsizetype next(const SqlTokens& t, qsizetype i)
{
    while (i < t.size() && !t.at(i).significant())
        ++i;
    return i;
}

qsizetype prev(const SqlTokens& t, qsizetype i)
{
    while (i >= 0 && !t.at(i).significant())
        --i;
    return i;
}

qsizetype closing(const SqlTokens& t, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < t.size(); ++i) {
        if (t.at(i).isPunct(u"("))
            ++depth;
        else if (t.at(i).isPunct(u")") && --depth == 0)
            return i;
    }
    return t.size();
}

qsizetype opening(const SqlTokens& t, qsizetype close)
{
    int depth = 0;
    for (qsizetype i = close; i >= 0; --i) {
        if (t.at(i).isPunct(u")"))
            ++depth;
        else if (t.at(i).isPunct(u"(") && --depth == 0)
            return i;
    }
    return -1;
}

QList<std::pair<qsizetype, qsizetype>> arguments(const SqlTokens& t, qsizetype open)
{
    QList<std::pair<qsizetype, qsizetype>> args;
    const qsizetype close = closing(t, open);
    qsizetype start = open + 1;
    int depth = 0;
    for (qsizetype i = open + 1; i < close; ++i) {
        if (t.at(i).isPunct(u"("))
            ++depth;
        else if (t.at(i).isPunct(u")"))
            --depth;
        else if (depth == 0 && t.at(i).isPunct(u",")) {
            args.append({start, i});
            start = i + 1;
        }
    }
    if (close > open + 1 && next(t, start) < close)
        args.append({start, close});
    else if (!args.isEmpty())
        args.append({start, close});
    return args;
}

qsizetype replace(SqlTokens& t, qsizetype from, qsizetype to, const QString& text)
{
    const SqlTokens repl = tokenize(text);
    const qsizetype removed = to - from;
    const qsizetype common = qMin(removed, repl.size());
    // One shift of the tail at most: statements have hundreds of tokens.
    if (repl.size() > removed)
        t.insert(from + removed, repl.size() - removed, SqlToken{SqlToken::Space, QString()});
    else if (repl.size() < removed)
        t.remove(from + common, removed - common);
    for (qsizetype k = 0; k < repl.size(); ++k)
        t[from + k] = repl.at(k);
    return from + repl.size();
}

} // namespace SqlLex
