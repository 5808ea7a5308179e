// Registered functions with SQL Server's meaning. Dates are ISO texts on the embedded database,
// so every date function parses its argument with DateText and answers in ISO text.
#include "db/SqliteFunctions.h"

#include "db/DateText.h"
#include "db/DbValue.h"

#include <QCollator>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#ifdef MIREL_SQLITE_MODULE
// Built into the module that the SQLite ODBC driver loads: every call goes through the driver's
// SQLite, which need not be ours.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>

using namespace Qt::StringLiterals;
#endif

namespace {

QString textArg(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    }
    return false;
}

QDateTime dateArg(sqlite3_value* v) { return DateText::parse(textArg(v)); }

// Text of a number the way SQL Server writes it into a varchar.
QString numberText(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_INTEGER)
        return QString::number(sqlite3_value_int64(v));
    return DbValue(sqlite3_value_double(v)).toString();
}

QString styled(const QDateTime& t, int style)
{
    switch (style) {
    case 23: case 10023:
        return t.toString(u"yyyy-MM-dd"_s);
    case 20: case 120:
        return t.toString(u"yyyy-MM-dd HH:mm:ss"_s);
    case 21: case 121:
        return t.toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s);
    case 126:
        return t.toString(u"yyyy-MM-ddTHH:mm:ss.zzz"_s);
    case 102:
        return t.toString(u"yyyy.MM.dd"_s);
    case 111:
        return t.toString(u"yyyy/MM/dd"_s);
    case 112:
        return t.toString(u"yyyyMMdd"_s);
    case 101:
        return t.toString(u"MM/dd/yyyy"_s);
    case 103:
        return t.toString(u"dd/MM/yyyy"_s);
    case 8: case 108:
        return t.toString(u"HH:mm:ss"_s);
    default:
        return DateText::iso(t);
    }
}

// Bytes [0, n) of a stored date "yyyy-MM-dd hh:mm:ss" that style 23 or 120 keeps of it; 0 when
// the text is not a valid stored date or the style wants more. A month's report converts every
// roll's date: this takes no QDateTime round trip.
int storedDatePrefix(sqlite3_value* v, int style)
{
    const int keep = style == 23 || style == 10023 ? 10 : style == 20 || style == 120 ? 19 : 0;
    const auto* p = sqlite3_value_text(v);
    if (keep == 0 || !p || sqlite3_value_bytes(v) != 19)
        return 0;
    auto number = [&](int at, int n) {
        int x = 0;
        for (int i = at; i < at + n; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return -1;
            x = x * 10 + (p[i] - '0');
        }
        return x;
    };
    if (p[4] != '-' || p[7] != '-' || p[10] != ' ' || p[13] != ':' || p[16] != ':' ||
        !QDate::isValid(number(0, 4), number(5, 2), number(8, 2)) ||
        !QTime::isValid(number(11, 2), number(14, 2), number(17, 2)))
        return 0;
    return keep;
}

// tsql_text(x, length, style): convert(varchar(length), x, style).
void fnText(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const int length = sqlite3_value_int(argv[1]);
    const int style = sqlite3_value_int(argv[2]);
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        if (const int n = storedDatePrefix(argv[0], style); n > 0) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
            return sqlite3_result_text(ctx, p, length > 0 && length < n ? length : n,
                                       SQLITE_TRANSIENT);
        }
    }
    QString s;
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        s = numberText(argv[0]);
    } else {
        s = textArg(argv[0]);
        if (style != 0) {
            const QDateTime t = DateText::parse(s);
            if (t.isValid())
                s = styled(t, style);
        }
    }
    if (length > 0 && s.size() > length)
        s.truncate(length);
    resultText(ctx, s);
}

// tsql_datetime(x, dateOnly): convert(datetime, x) / convert(date, x) as ISO text.
void fnDateTime(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QDateTime t = dateArg(argv[0]);
    if (!t.isValid())
        return sqlite3_result_error(ctx, "从字符串转换日期和/或时间时，转换失败。", -1);
    if (sqlite3_value_int(argv[1]) != 0)
        return resultText(ctx, t.toString(u"yyyy-MM-dd"_s));
    resultText(ctx, DateText::iso(t));
}

void fnLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "传递给 LEFT 函数的长度参数无效。", -1);
    resultText(ctx, textArg(argv[0]).left(n));
}

void fnRight(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return sqlite3_result_error(ctx, "传递给 RIGHT 函数的长度参数无效。", -1);
    resultText(ctx, textArg(argv[0]).right(n));
}

// len counts characters and ignores trailing blanks.
void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QString s = sqlite3_value_type(argv[0]) == SQLITE_TEXT ? textArg(argv[0])
                                                           : numberText(argv[0]);
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    sqlite3_result_int64(ctx, n);
}

// charindex(what, in [, start]): 1-based, 0 when absent, letter case ignored.
void fnCharindex(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QString what = textArg(argv[0]);
    const QString in = textArg(argv[1]);
    qsizetype start = argc > 2 ? qMax<qint64>(1, sqlite3_value_int64(argv[2])) : 1;
    if (what.isEmpty())
        return sqlite3_result_int64(ctx, 0);
    const qsizetype at = in.indexOf(what, start - 1, Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, at < 0 ? 0 : at + 1);
}

void fnGetdate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, DateText::iso(QDateTime::currentDateTime()));
}

void fnGetutcdate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, DateText::iso(QDateTime::currentDateTimeUtc()));
}

enum class Part { Year, Quarter, Month, DayOfYear, Day, Week, Hour, Minute, Second, Weekday, Bad };

Part datePart(const QString& name)
{
    const QString p = name.toLower();
    if (p == u"year" || p == u"yy" || p == u"yyyy") return Part::Year;
    if (p == u"quarter" || p == u"qq" || p == u"q") return Part::Quarter;
    if (p == u"month" || p == u"mm" || p == u"m") return Part::Month;
    if (p == u"dayofyear" || p == u"dy" || p == u"y") return Part::DayOfYear;
    if (p == u"day" || p == u"dd" || p == u"d") return Part::Day;
    if (p == u"week" || p == u"wk" || p == u"ww") return Part::Week;
    if (p == u"weekday" || p == u"dw") return Part::Weekday;
    if (p == u"hour" || p == u"hh") return Part::Hour;
    if (p == u"minute" || p == u"mi" || p == u"n") return Part::Minute;
    if (p == u"second" || p == u"ss" || p == u"s") return Part::Second;
    return Part::Bad;
}

// datediff counts boundaries crossed, as SQL Server does (23:59 to 00:01 is one day).
qint64 diff(Part p, const QDateTime& a, const QDateTime& b)
{
    const qint64 days = a.date().daysTo(b.date());
    switch (p) {
    case Part::Year: return b.date().year() - a.date().year();
    case Part::Quarter:
        return (b.date().year() - a.date().year()) * 4 + (b.date().month() - 1) / 3 -
               (a.date().month() - 1) / 3;
    case Part::Month:
        return (b.date().year() - a.date().year()) * 12 + b.date().month() - a.date().month();
    case Part::Day: case Part::DayOfYear: case Part::Weekday: return days;
    case Part::Week: {
        // Weeks start on Sunday.
        const qint64 sa = a.date().addDays(-(a.date().dayOfWeek() % 7)).toJulianDay();
        const qint64 sb = b.date().addDays(-(b.date().dayOfWeek() % 7)).toJulianDay();
        return (sb - sa) / 7;
    }
    case Part::Hour: return days * 24 + b.time().hour() - a.time().hour();
    case Part::Minute:
        return (days * 24 + b.time().hour() - a.time().hour()) * 60 + b.time().minute() -
               a.time().minute();
    case Part::Second: return a.secsTo(b);
    case Part::Bad: break;
    }
    return 0;
}

void fnDatediff(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Part p = datePart(textArg(argv[0]));
    const QDateTime a = dateArg(argv[1]), b = dateArg(argv[2]);
    if (p == Part::Bad || !a.isValid() || !b.isValid())
        return sqlite3_result_error(ctx, "datediff: 日期部分或日期无效", -1);
    sqlite3_result_int64(ctx, diff(p, a, b));
}

void fnDateadd(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Part p = datePart(textArg(argv[0]));
    const qint64 n = sqlite3_value_int64(argv[1]);
    QDateTime t = dateArg(argv[2]);
    if (p == Part::Bad || !t.isValid())
        return sqlite3_result_error(ctx, "dateadd: 日期部分或日期无效", -1);
    switch (p) {
    case Part::Year: t = t.addYears(int(n)); break;
    case Part::Quarter: t = t.addMonths(int(n * 3)); break;
    case Part::Month: t = t.addMonths(int(n)); break;
    case Part::Week: t = t.addDays(n * 7); break;
    case Part::Hour: t = t.addSecs(n * 3600); break;
    case Part::Minute: t = t.addSecs(n * 60); break;
    case Part::Second: t = t.addSecs(n); break;
    default: t = t.addDays(n); break;
    }
    resultText(ctx, DateText::iso(t));
}

qint64 partOf(Part p, const QDateTime& t)
{
    switch (p) {
    case Part::Year: return t.date().year();
    case Part::Quarter: return (t.date().month() - 1) / 3 + 1;
    case Part::Month: return t.date().month();
    case Part::DayOfYear: return t.date().dayOfYear();
    case Part::Day: return t.date().day();
    case Part::Week: return t.date().weekNumber();
    case Part::Weekday: return t.date().dayOfWeek() % 7 + 1; // Sunday is 1
    case Part::Hour: return t.time().hour();
    case Part::Minute: return t.time().minute();
    case Part::Second: return t.time().second();
    case Part::Bad: break;
    }
    return 0;
}

void fnDatepart(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Part p = datePart(textArg(argv[0]));
    const QDateTime t = dateArg(argv[1]);
    if (p == Part::Bad || !t.isValid())
        return sqlite3_result_error(ctx, "datepart: 日期部分或日期无效", -1);
    sqlite3_result_int64(ctx, partOf(p, t));
}

// tsql_dateplus(date, days): datetime + n as SQL Server adds it (fractions of days too).
void fnDatePlus(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QDateTime t = dateArg(argv[0]);
    if (!t.isValid())
        return sqlite3_result_error(ctx, "从字符串转换日期和/或时间时，转换失败。", -1);
    resultText(ctx, DateText::iso(t.addMSecs(qint64(std::llround(sqlite3_value_double(argv[1]) *
                                                                 86400000.0)))));
}

// tsql_daysbetween(a, b): a - b in days, as a float.
void fnDaysBetween(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QDateTime a = dateArg(argv[0]), b = dateArg(argv[1]);
    if (!a.isValid() || !b.isValid())
        return sqlite3_result_error(ctx, "从字符串转换日期和/或时间时，转换失败。", -1);
    sqlite3_result_double(ctx, double(b.msecsTo(a)) / 86400000.0);
}

template <Part P> void fnPart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const QDateTime t = dateArg(argv[0]);
    if (!t.isValid())
        return sqlite3_result_error(ctx, "日期无效", -1);
    sqlite3_result_int64(ctx, partOf(P, t));
}

void fnCeiling(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, std::ceil(sqlite3_value_double(argv[0])));
}

// 1 or 0 for the texts that are plainly a number or plainly none ("60", "-1.5", "R1", "门幅");
// -1 for the others, which the number parser decides.
int plainNumber(sqlite3_value* v)
{
    const auto* p = sqlite3_value_text(v);
    const int n = sqlite3_value_bytes(v);
    if (!p || n == 0)
        return -1;
    int i = p[0] == '+' || p[0] == '-' ? 1 : 0, digits = 0, points = 0;
    for (; i < n; ++i) {
        if (p[i] >= '0' && p[i] <= '9')
            ++digits;
        else if (p[i] == '.' && ++points == 1)
            continue;
        else
            break;
    }
    if (i == n && digits > 0)
        return 1;
    // A letter first that starts no number word ("inf", "nan"), or a character beyond ASCII.
    const unsigned char c = p[0];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if ((letter && QByteArrayView("iInN").indexOf(char(c)) < 0) || c >= 0x80)
        return 0;
    return -1;
}

void fnIsnumeric(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return sqlite3_result_int(ctx, 1);
    if (const int plain = plainNumber(argv[0]); plain >= 0)
        return sqlite3_result_int(ctx, plain);
    bool ok = false;
    textArg(argv[0]).trimmed().toDouble(&ok);
    sqlite3_result_int(ctx, ok ? 1 : 0);
}

void fnSpace(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    resultText(ctx, QString(qBound(0, sqlite3_value_int(argv[0]), 8000), u' '));
}

void fnReplicate(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).repeated(qBound(0, sqlite3_value_int(argv[1]), 8000)));
}

// getDictionary(type, code): the display text of a code (Dictionary.ItemName).
void fnGetDictionary(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3* db = sqlite3_context_db_handle(ctx);
    sqlite3_stmt* st = nullptr;
    const char* sql = "SELECT ItemName FROM Dictionary WHERE ITEMTYPE = ?1 AND ItemValues = ?2 "
                      "LIMIT 1";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_result_error(ctx, sqlite3_errmsg(db), -1);
        return;
    }
    sqlite3_bind_value(st, 1, argv[0]);
    sqlite3_bind_text(st, 2, reinterpret_cast<const char*>(sqlite3_value_text(argv[1])), -1,
                      SQLITE_TRANSIENT);
    if (sqlite3_step(st) == SQLITE_ROW)
        sqlite3_result_value(ctx, sqlite3_column_value(st, 0));
    else
        sqlite3_result_null(ctx);
    sqlite3_finalize(st);
}

void fnIdentCurrent(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3* db = sqlite3_context_db_handle(ctx);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE",
                           -1, &st, nullptr) != SQLITE_OK)
        return sqlite3_result_null(ctx);
    sqlite3_bind_value(st, 1, argv[0]);
    if (sqlite3_step(st) == SQLITE_ROW)
        sqlite3_result_int64(ctx, sqlite3_column_int64(st, 0));
    else
        sqlite3_result_null(ctx);
    sqlite3_finalize(st);
}

// object_id('dbo.name' [, type]): a number for a table, view, index or trigger of that name,
// null when there is none (migration scripts ask "if object_id('x') is null create table x").
void fnObjectId(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    QString name = textArg(argv[0]).trimmed();
    name = name.section(u'.', -1).remove(u'[').remove(u']');
    const QString type = argc > 1 ? textArg(argv[1]).trimmed().toUpper() : QString();
    const char* kind = type == u"U" ? "table" : type == u"V" ? "view" : type == u"TR" ? "trigger"
                                                                                     : nullptr;
    sqlite3* db = sqlite3_context_db_handle(ctx);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT rowid FROM sqlite_master WHERE name = ?1 COLLATE NOCASE "
                               "AND (?2 IS NULL OR type = ?2)",
                           -1, &st, nullptr) != SQLITE_OK)
        return sqlite3_result_null(ctx);
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(st, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (kind)
        sqlite3_bind_text(st, 2, kind, -1, SQLITE_STATIC);
    if (sqlite3_step(st) == SQLITE_ROW)
        sqlite3_result_int64(ctx, sqlite3_column_int64(st, 0));
    else
        sqlite3_result_null(ctx);
    sqlite3_finalize(st);
}

void fnMoved(sqlite3_context* ctx, int, sqlite3_value**)
{
    sqlite3_result_int(ctx, SqliteFunctions::databaseMoved(sqlite3_context_db_handle(ctx)) ? 1 : 0);
}

// The mill database's collation (Chinese_PRC_CI_AS): letter case and trailing blanks ignored,
// Chinese in pinyin order (安 < 北 < 中), full-width letters and digits as their ASCII forms.
// ASCII texts order exactly as SQLite's own NOCASE orders them, so that indexes written by other
// SQLite tools stay in order; every other character comes after ASCII, in the order of the
// Chinese collator of Qt (ICU), ranked once per process.
struct Ranks {
    std::vector<quint32> of; // BMP code point -> rank past ASCII
    Ranks() : of(0x10000, 0)
    {
        QCollator zh{QLocale(QLocale::Chinese, QLocale::China)};
        zh.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<std::pair<QCollatorSortKey, char16_t>> keys;
        keys.reserve(0x10000);
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if ((c >= 0xD800 && c < 0xE000) || (c >= 0xFF01 && c <= 0xFF5E))
                continue;
            keys.emplace_back(zh.sortKey(QString(QChar(char16_t(c)))), char16_t(c));
        }
        std::stable_sort(keys.begin(), keys.end(), [](const auto& x, const auto& y) {
            return x.first.compare(y.first) < 0;
        });
        quint32 rank = 0x80;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i > 0 && keys[i - 1].first.compare(keys[i].first) != 0)
                ++rank;
            of[keys[i].second] = rank;
        }
        for (char32_t c = 0xFF01; c <= 0xFF5E; ++c) // full width: the ASCII character
            of[c] = asciiKey(c - 0xFEE0);
    }
    static quint32 asciiKey(quint32 c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
};

const Ranks& ranks()
{
    static const Ranks r;
    return r;
}

// The code point at p[i] (UTF-8), i moved past it; a broken sequence gives its byte.
char32_t decode(const unsigned char* p, int n, int& i)
{
    const unsigned char b = p[i];
    const int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (len == 1 || i + len > n) {
        ++i;
        return b;
    }
    char32_t c = b & (0x3F >> (len - 1));
    for (int k = 1; k < len; ++k)
        c = (c << 6) | (p[i + k] & 0x3F);
    i += len;
    return c;
}

quint32 sortKey(char32_t c)
{
    if (c < 0x80)
        return Ranks::asciiKey(c);
    if (c < 0x10000)
        return ranks().of[c];
    return 0x10000 + c; // beyond the BMP: after every ranked character
}

int compareText(void*, int n1, const void* p1, int n2, const void* p2)
{
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    while (n1 > 0 && a[n1 - 1] == ' ')
        --n1;
    while (n2 > 0 && b[n2 - 1] == ' ')
        --n2;
    int i = 0, j = 0;
    while (i < n1 && j < n2) {
        quint32 x = a[i], y = b[j];
        if (x < 0x80 && y < 0x80) {
            x = Ranks::asciiKey(x);
            y = Ranks::asciiKey(y);
            if (x != y)
                return int(x) - int(y);
            ++i;
            ++j;
            continue;
        }
        if (x == y && x >= 0xC0) {
            // The same lead byte: equal characters are skipped without a look-up.
            const int len = x >= 0xF0 ? 4 : x >= 0xE0 ? 3 : 2;
            if (i + len <= n1 && j + len <= n2 && memcmp(a + i, b + j, size_t(len)) == 0) {
                i += len;
                j += len;
                continue;
            }
        }
        x = sortKey(decode(a, n1, i));
        y = sortKey(decode(b, n2, j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return (i < n1) - (j < n2);
}

// T-SQL LIKE: % and _, [abc], [a-c], [^0-9] ([%] and [_] for the characters themselves), an
// optional escape character, letters compared by the collation above. Code points in, so that a
// Chinese character is one character.
bool likeMatch(const char32_t* p, const char32_t* pe, const char32_t* s, const char32_t* se,
               char32_t escape)
{
    while (p < pe) {
        const char32_t c = *p;
        if (c == escape && p + 1 < pe) {
            if (s >= se || sortKey(*s) != sortKey(p[1]))
                return false;
            p += 2;
            ++s;
            continue;
        }
        if (c == U'%') {
            while (p < pe && *p == U'%')
                ++p;
            if (p == pe)
                return true;
            for (const char32_t* t = s; t <= se; ++t) {
                if (likeMatch(p, pe, t, se, escape))
                    return true;
            }
            return false;
        }
        if (s >= se)
            return false;
        if (c == U'[') {
            const char32_t* q = p + 1;
            const bool negate = q < pe && *q == U'^';
            if (negate)
                ++q;
            const char32_t* close = q;
            // "[]" is no set; "]" right after "[" or "[^" is a member.
            if (close < pe && *close == U']')
                ++close;
            while (close < pe && *close != U']')
                ++close;
            if (close < pe) {
                bool in = false;
                const quint32 k = sortKey(*s);
                for (const char32_t* m = q; m < close; ++m) {
                    if (m + 2 < close && m[1] == U'-') {
                        in = in || (k >= sortKey(m[0]) && k <= sortKey(m[2]));
                        m += 2;
                    } else {
                        in = in || k == sortKey(*m);
                    }
                }
                if (in == negate)
                    return false;
                p = close + 1;
                ++s;
                continue;
            }
        }
        if (c != U'_' && sortKey(c) != sortKey(*s))
            return false;
        ++p;
        ++s;
    }
    return s == se;
}

std::u32string codePoints(sqlite3_value* v)
{
    const auto* p = sqlite3_value_text(v);
    const int n = sqlite3_value_bytes(v);
    std::u32string out;
    out.reserve(size_t(n));
    for (int i = 0; i < n;)
        out.push_back(decode(p, n, i));
    return out;
}

// like(pattern, text, escape): the LIKE operator written with ESCAPE, which the translator
// adds to a T-SQL pattern that uses a set or a range ('' for none).
void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const std::u32string pattern = codePoints(argv[0]);
    const std::u32string text = codePoints(argv[1]);
    const std::u32string escape = codePoints(argv[2]);
    if (escape.size() > 1)
        return sqlite3_result_error(ctx, "ESCAPE 只能是一个字符", -1);
    sqlite3_result_int(ctx, likeMatch(pattern.data(), pattern.data() + pattern.size(),
                                      text.data(), text.data() + text.size(),
                                      escape.empty() ? char32_t(0xFFFFFFFF) : escape.front()));
}

struct Function {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
};

const Function functions[] = {
    {"tsql_text", 3, fnText, true},
    {"tsql_datetime", 2, fnDateTime, true},
    {"tsql_left", 2, fnLeft, true},
    {"tsql_right", 2, fnRight, true},
    {"len", 1, fnLen, true},
    {"charindex", 2, fnCharindex, true},
    {"charindex", 3, fnCharindex, true},
    {"getdate", 0, fnGetdate, false},
    {"tsql_getutcdate", 0, fnGetutcdate, false},
    {"datediff", 3, fnDatediff, true},
    {"dateadd", 3, fnDateadd, true},
    {"datepart", 2, fnDatepart, true},
    {"year", 1, fnPart<Part::Year>, true},
    {"month", 1, fnPart<Part::Month>, true},
    {"day", 1, fnPart<Part::Day>, true},
    {"tsql_ceiling", 1, fnCeiling, true},
    {"isnumeric", 1, fnIsnumeric, true},
    {"space", 1, fnSpace, true},
    {"replicate", 2, fnReplicate, true},
    {"getDictionary", 2, fnGetDictionary, false},
    {"tsql_ident_current", 1, fnIdentCurrent, false},
    {"mirel_moved", 0, fnMoved, false},
    {"like", 3, fnLike, true},
    {"object_id", 1, fnObjectId, false},
    {"object_id", 2, fnObjectId, false},
    {"tsql_dateplus", 2, fnDatePlus, true},
    {"tsql_daysbetween", 2, fnDaysBetween, true},
};

} // namespace

namespace SqliteFunctions {

bool databaseMoved(sqlite3* db)
{
    int moved = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || !moved)
        return false;
    // SQLite keeps the journal (-wal) of a moved file at the old name, unwritten: the file that
    // left would miss its last saves, and a file put back or in its place would be read
    // through a journal not its own. The journal goes into the file that left (wherever it is
    // now) and is emptied; with other stations still on the old file the last one does it.
    sqlite3_busy_timeout(db, 0);
    sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    return true;
}

int registerAll(sqlite3* db)
{
    for (const Function& f : functions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    return sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compareText, nullptr);
}

} // namespace SqliteFunctions
