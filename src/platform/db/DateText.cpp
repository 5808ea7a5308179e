// Date texts: one parser for every form that reaches the database.
#include "db/DateText.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace DateText {

namespace {

int digits(const QString& s, int at, int n)
{
    int v = 0;
    for (int i = at; i < at + n; ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// The stored form "yyyy-MM-dd hh:mm:ss" without the regular expression: most dates read are it.
QDateTime parseStored(const QString& s)
{
    if (s.size() != 19 || s.at(4) != u'-' || s.at(7) != u'-' || s.at(10) != u' ' ||
        s.at(13) != u':' || s.at(16) != u':')
        return QDateTime();
    const QDate d(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
    const QTime t(digits(s, 11, 2), digits(s, 14, 2), digits(s, 17, 2));
    return d.isValid() && t.isValid() ? QDateTime(d, t) : QDateTime();
}

} // namespace

QDateTime parse(const QString& text)
{
    if (const QDateTime stored = parseStored(text); stored.isValid())
        return stored;
    // y-m-d or y/m/d or y.m.d, optional time h:m[:s[.fff]], optional "T" between.
    static const QRegularExpression re(
        uR"(^\s*(\d{4})[-/.](\d{1,2})[-/.](\d{1,2})(?:[T\s]+(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,6}))?)?)?\s*$)"_s);
    static const QRegularExpression compact(uR"(^\s*(\d{4})(\d{2})(\d{2})\s*$)"_s);
    QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        m = compact.match(text);
    if (!m.hasMatch())
        return QDateTime();
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!d.isValid())
        return QDateTime();
    int ms = 0;
    if (m.lastCapturedIndex() >= 7 && !m.captured(7).isEmpty())
        ms = (m.captured(7) + u"00"_s).left(3).toInt();
    const QTime t(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    if (!t.isValid())
        return QDateTime();
    return QDateTime(d, t);
}

QString normalise(const QString& text)
{
    const QDateTime t = parse(text);
    return t.isValid() ? iso(t) : QString();
}

QString display(const QDateTime& t)
{
    if (t.time() == QTime(0, 0))
        return t.toString(u"yyyy-MM-dd"_s);
    return iso(t);
}

QString iso(const QDateTime& t)
{
    return t.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

} // namespace DateText
