// Leading-number values, Str/CStr/Format and the 1-based string functions of the stations.
#include "text/Vb.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace vb {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Parses the leading number of text from pos; returns the count of characters used (0: none).
qsizetype leadingNumber(QStringView text, double* value)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    QString digits;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        digits += text[i];
        ++i;
    }
    bool point = false, any = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            any = true;
        } else if (c == u'.' && !point) {
            digits += c;
            point = true;
        } else if (c == u' ' && any) {
            continue; // the old Val read "1 2" as 12
        } else {
            break;
        }
    }
    if (!any) {
        *value = 0;
        return 0;
    }
    *value = digits.toDouble();
    return i;
}

// Decimal digits of |x| rounded to 15 significant digits: "digits" without point, and the
// position of the decimal point relative to the first digit.
struct Decimal {
    QString digits; // no leading zeros unless the value is 0
    int pointPos = 1; // digits before the decimal point
};

Decimal decimalOf(double x)
{
    Decimal d;
    if (x == 0 || !std::isfinite(x)) {
        d.digits = u"0"_s;
        return d;
    }
    // "%.14e" gives 15 significant digits: d.dddddddddddddde±XX
    const QString e = QString::asprintf("%.14e", std::fabs(x));
    const qsizetype ePos = e.indexOf(u'e');
    QString mant = e.left(ePos);
    mant.remove(u'.');
    d.digits = mant;
    d.pointPos = e.mid(ePos + 1).toInt() + 1;
    while (d.digits.size() > 1 && d.digits.endsWith(u'0'))
        d.digits.chop(1);
    return d;
}

// Fixed text of a decimal: intPart and fraction digits.
void splitDecimal(const Decimal& d, QString* intPart, QString* frac)
{
    if (d.pointPos <= 0) {
        *intPart = QString();
        *frac = QString(-d.pointPos, u'0') + d.digits;
    } else if (d.pointPos >= d.digits.size()) {
        *intPart = d.digits + QString(d.pointPos - d.digits.size(), u'0');
        *frac = QString();
    } else {
        *intPart = d.digits.left(d.pointPos);
        *frac = d.digits.mid(d.pointPos);
    }
    if (*frac == u"0"_s)
        frac->clear();
}

// Adds one to the last digit of a digit string; may grow it by a leading "1".
QString incremented(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] == u'9') {
            digits[i] = u'0';
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
    }
    return u'1' + digits;
}

QString unsignedText(double x)
{
    QString intPart, frac;
    splitDecimal(decimalOf(x), &intPart, &frac);
    if (intPart.isEmpty())
        intPart = u"0"_s;
    return frac.isEmpty() ? intPart : intPart + u'.' + frac;
}

} // namespace

double Val(QStringView text)
{
    double v = 0;
    leadingNumber(text, &v);
    return v;
}

bool IsNumeric(QStringView text)
{
    double v = 0;
    const qsizetype used = leadingNumber(text, &v);
    if (used == 0)
        return false;
    for (qsizetype i = used; i < text.size(); ++i)
        if (!isBlank(text[i]))
            return false;
    return true;
}

QString Str(double x)
{
    QString t = unsignedText(x);
    if (t.startsWith(u"0."_s))
        t.remove(0, 1);
    return (x < 0 ? u"-"_s : u" "_s) + t;
}

QString CStr(double x) { return Str(x).mid(x < 0 ? 0 : 1); }

double Fix(double x) { return std::trunc(x); }

long long CInt(double x) { return static_cast<long long>(std::nearbyint(x)); }

QString Format(double x, QStringView picture)
{
    if (picture.isEmpty())
        return CStr(x);
    const qsizetype point = picture.indexOf(u'.');
    const QStringView intPic = point < 0 ? picture : picture.left(point);
    const QStringView fracPic = point < 0 ? QStringView() : picture.mid(point + 1);
    const bool grouping = intPic.contains(u',');
    qsizetype fracDigits = 0, fracRequired = 0, intRequired = 0;
    for (QChar c : fracPic) {
        if (c == u'0' || c == u'#')
            ++fracDigits;
        if (c == u'0')
            fracRequired = fracDigits;
    }
    for (QChar c : intPic)
        if (c == u'0')
            ++intRequired;

    // Round the decimal digits half away from zero at fracDigits.
    QString intPart, frac;
    splitDecimal(decimalOf(x), &intPart, &frac);
    if (frac.size() > fracDigits) {
        const bool up = frac[fracDigits] >= u'5';
        QString kept = intPart + frac.left(fracDigits);
        const qsizetype intLen = intPart.size();
        if (kept.isEmpty())
            kept = u"0"_s;
        if (up) {
            const QString grown = incremented(kept);
            const qsizetype extra = grown.size() - kept.size();
            kept = grown;
            intPart = kept.left(intLen + extra);
        } else {
            intPart = kept.left(intLen);
        }
        frac = kept.mid(intPart.size());
    }
    while (frac.size() < fracDigits)
        frac += u'0';
    while (frac.size() > fracRequired && frac.endsWith(u'0'))
        frac.chop(1);
    while (intPart.startsWith(u'0'))
        intPart.remove(0, 1);
    while (intPart.size() < intRequired)
        intPart.prepend(u'0');
    if (grouping)
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, u',');
    QString out = intPart;
    if (point >= 0 && (!frac.isEmpty() || fracRequired > 0))
        out += u'.' + frac;
    else if (point >= 0 && fracDigits > 0 && frac.isEmpty())
        out += u'.';
    if (out.isEmpty() || out == u"."_s)
        out = u"0"_s;
    return x < 0 ? u'-' + out : out;
}

QString Mid(const QString& s, qsizetype start, qsizetype length)
{
    if (start < 1 || start > s.size())
        return QString();
    return length < 0 ? s.mid(start - 1) : s.mid(start - 1, length);
}

QString Left(const QString& s, qsizetype n) { return n <= 0 ? QString() : s.left(n); }

QString Right(const QString& s, qsizetype n) { return n <= 0 ? QString() : s.right(n); }

qsizetype InStr(qsizetype start, const QString& s, const QString& what)
{
    if (start < 1)
        start = 1;
    if (start > s.size())
        return what.isEmpty() && start == s.size() + 1 ? start : 0;
    if (what.isEmpty())
        return start;
    const qsizetype at = s.indexOf(what, start - 1);
    return at < 0 ? 0 : at + 1;
}

QString StrReverse(const QString& s)
{
    QString r;
    r.reserve(s.size());
    for (qsizetype i = s.size() - 1; i >= 0; --i)
        r += s[i];
    return r;
}

QStringList Split(const QString& s, const QString& sep) { return s.split(sep); }

int arrayUpperBound(const QString& text, const QString& sep)
{
    return static_cast<int>(text.split(sep).size()) - 1;
}

QStringList listItems(const QString& text, const QString& sep)
{
    QStringList items = text.split(sep);
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    return items;
}

QString sqlNumber(double x)
{
    return (x < 0 ? u"-"_s : QString()) + unsignedText(x);
}

} // namespace vb
