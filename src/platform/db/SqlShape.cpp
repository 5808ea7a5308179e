// The shape of a batch: one pass over the text that follows the tokenizer's reading of literals,
// names and comments, with the clause each literal stands in.
#include "db/SqlShape.h"

#include "db/DateText.h"
#include "db/SqlText.h"
#include "db/SqlTokens.h"

#include <QLocale>
#include <QVarLengthArray>

using namespace Qt::StringLiterals;

namespace {

// Placeholders are written with characters no statement of the program contains: a string
// literal becomes "'<mark><index>'", a number "<index>", the index in Devanagari digits (digits
// to the tokenizer, so the rewrites see a number where the number stood).
constexpr char16_t stringMark = 0xE000;
constexpr char16_t zero = 0x0966;
constexpr char16_t nine = 0x096F;

bool isPlaceholderChar(char16_t c)
{
    return c == stringMark || (c >= zero && c <= nine);
}
bool isPlaceholderDigit(QChar c)
{
    return c.unicode() >= zero && c.unicode() <= nine;
}

QString indexText(int index)
{
    QString digits;
    do {
        digits.prepend(QChar(char16_t(zero + index % 10)));
        index /= 10;
    } while (index > 0);
    return digits;
}

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'#' || c.unicode() > 127;
}
bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'$' || c.unicode() > 127;
}

qsizetype quotedEnd(const QString& s, qsizetype i, QChar close)
{
    for (qsizetype j = i + 1; j < s.size(); ++j) {
        if (s.at(j) != close)
            continue;
        if (j + 1 < s.size() && s.at(j + 1) == close) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return -1; // unterminated
}

// A text the date rules would rewrite where it meets a date column.
bool looksLikeDate(QStringView inner)
{
    qsizetype i = 0;
    while (i < inner.size() && inner.at(i).isSpace())
        ++i;
    if (inner.size() - i < 8)
        return false;
    for (qsizetype k = i; k < i + 4; ++k) {
        if (inner.at(k) < u'0' || inner.at(k) > u'9')
            return false;
    }
    return DateText::parse(inner.toString()).isValid();
}

// A plain decimal number as SQLite reads it; nothing for exponents, several points or a number
// beyond 64 bits (which SQLite reads as a real).
DbValue numberValue(QStringView text, bool& ok)
{
    ok = false;
    for (QChar c : text) {
        if (c != u'.' && (c < u'0' || c > u'9'))
            return DbValue();
    }
    if (text.count(u'.') > 1)
        return DbValue();
    if (text.contains(u'.')) {
        const double d = QLocale::c().toDouble(text, &ok);
        return DbValue(d);
    }
    const qint64 v = text.toLongLong(&ok);
    return DbValue(v);
}

enum class Clause { Other, SelectList, OrderGroup };

struct Level {
    Clause clause = Clause::Other;
    bool keepAll = false; // inside a select list, TOP (n) or a type's length
    bool convert = false; // the arguments of convert(): the style stays
    int argument = 0;
};

enum class Word { Other, Select, Clause, OrderGroup, Top, KeepNext, Type, Convert, Refuse, Starts };

Word classify(QStringView w)
{
    auto is = [&](QStringView k) { return w.compare(k, Qt::CaseInsensitive) == 0; };
    switch (w.size()) {
    case 2:
        if (is(u"as"))
            return Word::KeepNext;
        return is(u"on") ? Word::Clause : Word::Other;
    case 3:
        return is(u"top") ? Word::Top : is(u"set") ? Word::Clause : Word::Other;
    case 4:
        if (is(u"from") || is(u"into") || is(u"join"))
            return Word::Clause;
        if (is(u"like"))
            return Word::KeepNext;
        if (is(u"char") || is(u"time"))
            return Word::Type;
        return is(u"exec") ? Word::Refuse : Word::Other;
    case 5:
        if (is(u"where") || is(u"union"))
            return Word::Clause;
        if (is(u"order") || is(u"group") || is(u"limit"))
            return Word::OrderGroup;
        if (is(u"nchar") || is(u"float"))
            return Word::Type;
        return Word::Other;
    case 6:
        if (is(u"select"))
            return Word::Select;
        if (is(u"values") || is(u"having") || is(u"except"))
            return Word::Clause;
        if (is(u"offset"))
            return Word::OrderGroup;
        if (is(u"escape"))
            return Word::KeepNext;
        if (is(u"binary"))
            return Word::Type;
        if (is(u"insert") || is(u"update") || is(u"delete"))
            return Word::Starts;
        return Word::Other;
    case 7:
        if (is(u"varchar") || is(u"decimal") || is(u"numeric"))
            return Word::Type;
        if (is(u"convert"))
            return Word::Convert;
        return is(u"execute") ? Word::Refuse : Word::Other;
    case 8:
        return is(u"nvarchar") ? Word::Type : Word::Other;
    case 9:
        if (is(u"intersect"))
            return Word::Clause;
        return is(u"varbinary") || is(u"datetime2") ? Word::Type : Word::Other;
    default:
        return Word::Other;
    }
}

} // namespace

SqlShape SqlShape::of(const QString& batch)
{
    SqlShape shape;
    shape.m_batch = batch;
    shape.m_key = batch;
    for (QChar c : batch) {
        if (c.unicode() >= zero && isPlaceholderChar(c.unicode()))
            return shape;
    }
    const QString& s = batch;
    const qsizetype n = s.size();
    QString key;
    key.reserve(n + 32);
    QList<DbValue> values;
    QList<std::pair<qsizetype, qsizetype>> literals;
    QVarLengthArray<Level, 16> levels{Level()};
    qsizetype copied = 0;
    bool statementStart = true, keepNext = false, afterTop = false, afterType = false,
         afterConvert = false;
    auto takeOut = [&](qsizetype from, qsizetype to, DbValue value, const QString& placeholder) {
        key.append(QStringView(s).mid(copied, from - copied));
        key.append(placeholder);
        copied = to;
        literals.append({from, to});
        values.append(std::move(value));
    };
    auto levelKeeps = [&] {
        const Level& l = levels.back();
        return l.keepAll || l.clause != Clause::Other || (l.convert && l.argument >= 2);
    };
    const SqlShape unshaped = shape;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s.at(i);
        const QChar d = i + 1 < n ? s.at(i + 1) : QChar();
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && d == u'-') {
            const qsizetype j = s.indexOf(u'\n', i);
            i = j < 0 ? n : j;
            continue;
        }
        if (c == u'/' && d == u'*') {
            const qsizetype j = s.indexOf(u"*/"_s, i + 2);
            i = j < 0 ? n : j + 2;
            continue;
        }
        // A significant token: what the word before it asked for applies to it alone.
        const bool keep = keepNext || afterTop || levelKeeps();
        const bool top = afterTop, type = afterType, convert = afterConvert;
        keepNext = afterTop = afterType = afterConvert = false;
        if (c == u'\'' || ((c == u'N' || c == u'n') && d == u'\'')) {
            const qsizetype q = c == u'\'' ? i : i + 1;
            const qsizetype end = quotedEnd(s, q, u'\'');
            if (end < 0)
                return unshaped;
            const QString inner = s.mid(q + 1, end - q - 2).replace(u"''"_s, u"'"_s);
            // x'0A' and the like: a prefix glued to the quote.
            const bool glued = c == u'\'' && i > 0 && isWordChar(s.at(i - 1));
            if (!keep && !glued && !looksLikeDate(inner)) {
                takeOut(q, end, DbValue(inner),
                        u'\'' + QChar(stringMark) + indexText(int(values.size())) + u'\'');
            }
            i = end;
            continue;
        }
        if (c == u'[' || c == u'"') {
            const qsizetype end = quotedEnd(s, i, c == u'[' ? QChar(u']') : c);
            if (end < 0)
                return unshaped;
            i = end;
            continue;
        }
        if (c == u'0' && (d == u'x' || d == u'X')) {
            i += 2;
            while (i < n && isxdigit(s.at(i).toLatin1()))
                ++i;
            continue;
        }
        if (c.isDigit() || (c == u'.' && d.isDigit())) {
            const qsizetype end = SqlLex::numberEnd(s, i);
            // A number glued to a name ("1号", "t.2") is part of it.
            const bool glued = (i > 0 && (isWordChar(s.at(i - 1)) || s.at(i - 1) == u'.')) ||
                               (end < n && (isWordChar(s.at(end)) || s.at(end) == u'\''));
            bool ok = false;
            DbValue v = numberValue(QStringView(s).mid(i, end - i), ok);
            if (ok && !keep && !glued)
                takeOut(i, end, std::move(v), indexText(int(values.size())));
            i = end;
            continue;
        }
        if (c == u'@') {
            qsizetype j = i + 1;
            while (j < n && (s.at(j) == u'@' || isWordChar(s.at(j))))
                ++j;
            if (QStringView(s).mid(i, j - i).compare(u"@@identity", Qt::CaseInsensitive) != 0)
                return unshaped; // a variable: SQLite would read it as a marker
            i = j;
            continue;
        }
        if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(s.at(j)))
                ++j;
            const Word w = classify(QStringView(s).mid(i, j - i));
            if (statementStart && w != Word::Select && w != Word::Starts)
                return unshaped;
            statementStart = false;
            switch (w) {
            case Word::Select:
                levels.back().clause = Clause::SelectList;
                break;
            case Word::Clause:
            case Word::Starts:
                levels.back().clause = Clause::Other;
                break;
            case Word::OrderGroup:
                levels.back().clause = Clause::OrderGroup;
                break;
            case Word::Top:
                afterTop = true;
                break;
            case Word::KeepNext:
                keepNext = true;
                break;
            case Word::Type:
                afterType = true;
                break;
            case Word::Convert:
                afterConvert = true;
                break;
            case Word::Refuse:
                return unshaped;
            case Word::Other:
                break;
            }
            i = j;
            continue;
        }
        if (c == u'(') {
            Level l;
            l.clause =
                levels.back().clause == Clause::OrderGroup ? Clause::OrderGroup : Clause::Other;
            l.keepAll =
                levels.back().keepAll || levels.back().clause == Clause::SelectList || top || type;
            l.convert = convert;
            levels.append(l);
        } else if (c == u')') {
            if (levels.size() < 2)
                return unshaped;
            levels.removeLast();
        } else if (c == u',') {
            ++levels.back().argument;
        } else if (c == u';') {
            if (levels.size() == 1) {
                statementStart = true;
                levels.back() = Level();
            }
        } else if (c == u'?' || c == u':' || c == u'$') {
            return unshaped; // markers of the caller's or of SQLite's own
        }
        ++i;
    }
    if (values.isEmpty())
        return unshaped;
    key.append(QStringView(s).mid(copied));
    shape.m_key = std::move(key);
    shape.m_values = std::move(values);
    shape.m_literals = std::move(literals);
    return shape;
}

bool SqlShape::placeholders(const QString& t, const Visit& visit)
{
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = t.at(i).unicode();
        if (c < zero || !isPlaceholderChar(c))
            continue;
        const bool text = c == stringMark;
        if (text && (i == 0 || t.at(i - 1) != u'\''))
            return false;
        qsizetype j = text ? i + 1 : i;
        int index = 0;
        const qsizetype digits = j;
        for (; j < n && isPlaceholderDigit(t.at(j)); ++j)
            index = index * 10 + (t.at(j).unicode() - zero);
        if (j == digits)
            return false;
        if (text) {
            if (j >= n || t.at(j) != u'\'')
                return false;
            visit(i - 1, j + 1, index);
        } else {
            if ((i > 0 &&
                 (isWordChar(t.at(i - 1)) || t.at(i - 1) == u'.' || t.at(i - 1) == u'\'')) ||
                (j < n && (isWordChar(t.at(j)) || t.at(j) == u'.' || t.at(j) == u'\'')))
                return false;
            visit(i, j, index);
        }
        i = text ? j : j - 1;
    }
    return true;
}

bool SqlShape::toMarkers(const QString& translated, QString& sql, QList<int>& valueIndex) const
{
    sql.clear();
    valueIndex.clear();
    qsizetype copied = 0;
    bool ok = true;
    const bool wellFormed = placeholders(translated, [&](qsizetype from, qsizetype to, int value) {
        if (value >= m_values.size()) {
            ok = false;
            return;
        }
        qsizetype marker = valueIndex.indexOf(value);
        if (marker < 0) {
            marker = valueIndex.size();
            valueIndex.append(value);
        }
        sql += QStringView(translated).mid(copied, from - copied);
        sql += u'?' + QString::number(marker + 1);
        copied = to;
    });
    sql += QStringView(translated).mid(copied);
    return wellFormed && ok;
}

QString SqlShape::withLiterals(const QString& translated) const
{
    QString out;
    qsizetype copied = 0;
    placeholders(translated, [&](qsizetype from, qsizetype to, int value) {
        if (value >= m_literals.size())
            return;
        out += QStringView(translated).mid(copied, from - copied);
        const auto [a, b] = m_literals.at(value);
        out += QStringView(m_batch).mid(a, b - a);
        copied = to;
    });
    out += QStringView(translated).mid(copied);
    return out;
}

QString SqlShape::textWith(const QList<DbValue>& values) const
{
    QString out;
    qsizetype copied = 0;
    placeholders(m_key, [&](qsizetype from, qsizetype to, int value) {
        out += QStringView(m_key).mid(copied, from - copied);
        const DbValue& v = values.value(value);
        out += v.type() == DbValue::Type::Text ? SqlText::quoted(v.toString()) : v.toString();
        copied = to;
    });
    out += QStringView(m_key).mid(copied);
    return out;
}
