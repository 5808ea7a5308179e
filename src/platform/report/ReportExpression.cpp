// Filling box texts: a small recursive-descent evaluator over fields and parameters.
#include "report/ReportExpression.h"

#include "report/ReportError.h"
#include "text/Vb.h"
#include "time/Clock.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

double toNumber(const QVariant& v)
{
    return isNumber(v) ? v.toDouble() : vb::Val(ReportExpression::text(v));
}

// Labels are written with the old designer's date pictures: m is the month, except right after
// "h:" where it is the minute as in "hh:mm"; n is always the minute.
QString qtDatePicture(const QString& picture)
{
    QString out;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        const QString before = out.right(2);
        const bool afterHour = before.endsWith(u':') && before.startsWith(u'h');
        if (c == u'm' || c == u'M') {
            const bool minute =
                afterHour || (!out.isEmpty() && out.back() == u'm' && out.contains(u'h'));
            out += minute ? u'm' : u'M';
        } else if (c == u'n' || c == u'N')
            out += u'm';
        else if (c == u'Y')
            out += u'y';
        else if (c == u'D')
            out += u'd';
        else if (c == u'H')
            out += u'h';
        else if (c == u'S')
            out += u's';
        else
            out += c;
    }
    return out;
}

class Parser {
public:
    Parser(const QString& src, const ReportExpression::Lookup& lookup)
        : m_src(src), m_lookup(lookup)
    {
    }

    QVariant run()
    {
        QVariant v = concat();
        skip();
        if (m_pos < m_src.size())
            error(u"多余的内容：%1"_s.arg(m_src.mid(m_pos)));
        return v;
    }

private:
    [[noreturn]] void error(const QString& what) const
    {
        throw ReportError(u"表达式 %1：%2"_s.arg(m_src, what));
    }
    void skip()
    {
        while (m_pos < m_src.size() && m_src[m_pos].isSpace())
            ++m_pos;
    }
    bool accept(QChar c)
    {
        skip();
        if (m_pos < m_src.size() && m_src[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    QVariant concat()
    {
        QVariant v = sum();
        while (accept(u'&'))
            v = ReportExpression::text(v) + ReportExpression::text(sum());
        return v;
    }
    QVariant sum()
    {
        QVariant v = product();
        for (;;) {
            if (accept(u'+')) {
                const QVariant r = product();
                // As in the old report scripts: + adds numbers and joins texts.
                if ((isNumber(v) || vb::IsNumeric(ReportExpression::text(v))) &&
                    (isNumber(r) || vb::IsNumeric(ReportExpression::text(r))))
                    v = toNumber(v) + toNumber(r);
                else
                    v = ReportExpression::text(v) + ReportExpression::text(r);
            } else if (accept(u'-')) {
                v = toNumber(v) - toNumber(product());
            } else {
                return v;
            }
        }
    }
    QVariant product()
    {
        QVariant v = unary();
        for (;;) {
            if (accept(u'*')) {
                v = toNumber(v) * toNumber(unary());
            } else if (accept(u'/')) {
                const double d = toNumber(unary());
                if (d == 0)
                    error(u"除数为 0"_s);
                v = toNumber(v) / d;
            } else {
                return v;
            }
        }
    }
    QVariant unary()
    {
        if (accept(u'-'))
            return -toNumber(unary());
        return primary();
    }
    QVariant primary()
    {
        skip();
        if (m_pos >= m_src.size())
            error(u"表达式不完整"_s);
        const QChar c = m_src[m_pos];
        if (c == u'(') {
            ++m_pos;
            QVariant v = concat();
            if (!accept(u')'))
                error(u"缺少 )"_s);
            return v;
        }
        if (c == u'"')
            return stringLiteral();
        if (c.isDigit() || c == u'.')
            return numberLiteral();
        if (c == u'#')
            return parameterRef();
        if (c.isLetter() || c == u'_')
            return nameOrCall();
        error(u"无法识别的字符 %1"_s.arg(c));
    }
    QVariant stringLiteral()
    {
        QString s;
        for (++m_pos; m_pos < m_src.size(); ++m_pos) {
            if (m_src[m_pos] == u'"') {
                if (m_pos + 1 < m_src.size() && m_src[m_pos + 1] == u'"') {
                    s += u'"';
                    ++m_pos;
                    continue;
                }
                ++m_pos;
                return s;
            }
            s += m_src[m_pos];
        }
        error(u"文本缺少结束的引号"_s);
    }
    QVariant numberLiteral()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_src.size() && (m_src[m_pos].isDigit() || m_src[m_pos] == u'.'))
            ++m_pos;
        bool ok = false;
        const double d = m_src.mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            error(u"数字有误"_s);
        return d;
    }
    QVariant parameterRef()
    {
        const qsizetype end = m_src.indexOf(u'#', m_pos + 1);
        if (end < 0)
            error(u"参数名缺少结束的 #"_s);
        const QString name = m_src.mid(m_pos + 1, end - m_pos - 1).trimmed();
        m_pos = end + 1;
        const std::optional<QVariant> v = m_lookup(name, true);
        if (!v)
            error(u"没有参数 %1"_s.arg(name));
        return *v;
    }
    QString identifier()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_src.size() && (m_src[m_pos].isLetterOrNumber() || m_src[m_pos] == u'_'))
            ++m_pos;
        return m_src.mid(start, m_pos - start);
    }
    QVariant nameOrCall()
    {
        const QString name = identifier();
        if (accept(u'(')) {
            QVariantList args;
            if (!accept(u')')) {
                do {
                    args.append(concat());
                } while (accept(u','));
                if (!accept(u')'))
                    error(u"缺少 )"_s);
            }
            return call(name, args);
        }
        const std::optional<QVariant> v = m_lookup(name, false);
        if (!v)
            error(u"没有字段或参数 %1"_s.arg(name));
        return *v;
    }
    QVariant call(const QString& name, const QVariantList& a)
    {
        const QString f = name.toLower();
        auto need = [&](int lo, int hi) {
            if (a.size() < lo || a.size() > hi)
                error(u"%1 的参数个数不对"_s.arg(name));
        };
        auto s = [&](int i) { return ReportExpression::text(a[i]); };
        auto n = [&](int i) { return qsizetype(toNumber(a[i])); };
        if (f == u"format") {
            need(2, 2);
            return ReportExpression::format(a[0], s(1));
        }
        if (f == u"left") {
            need(2, 2);
            return vb::Left(s(0), n(1));
        }
        if (f == u"right") {
            need(2, 2);
            return vb::Right(s(0), n(1));
        }
        if (f == u"mid") {
            need(2, 3);
            return vb::Mid(s(0), n(1), a.size() == 3 ? n(2) : -1);
        }
        if (f == u"trim") {
            need(1, 1);
            return s(0).trimmed();
        }
        if (f == u"val") {
            need(1, 1);
            return vb::Val(s(0));
        }
        if (f == u"date") {
            need(0, 0);
            return QDateTime(Clock::today(), QTime(0, 0));
        }
        if (f == u"now") {
            need(0, 0);
            return Clock::now();
        }
        error(u"未知的函数 %1"_s.arg(name));
    }

    const QString& m_src;
    const ReportExpression::Lookup& m_lookup;
    qsizetype m_pos = 0;
};

// One [..] part of a pattern.
QString fillPart(const QString& part, const ReportExpression::Lookup& lookup)
{
    if (part.startsWith(u'='))
        return ReportExpression::text(ReportExpression::evaluate(part.mid(1), lookup));
    const bool paramOnly = part.size() > 1 && part.startsWith(u'#') && part.endsWith(u'#');
    const QString inner = paramOnly ? part.mid(1, part.size() - 2) : part;
    const qsizetype bar = inner.indexOf(u'|');
    const QString name = (bar < 0 ? inner : inner.left(bar)).trimmed();
    const std::optional<QVariant> v = lookup(name, paramOnly);
    if (!v)
        throw ReportError((paramOnly ? u"没有参数 %1"_s : u"没有字段或参数 %1"_s).arg(name));
    return bar < 0 ? ReportExpression::text(*v)
                   : ReportExpression::format(*v, inner.mid(bar + 1).trimmed());
}

} // namespace

QString ReportExpression::text(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    if (isNumber(value))
        return vb::sqlNumber(value.toDouble());
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime t = value.toDateTime();
        return t.time() == QTime(0, 0) ? t.toString(u"yyyy-MM-dd"_s)
                                       : t.toString(u"yyyy-MM-dd hh:mm:ss"_s);
    }
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    return value.toString();
}

QString ReportExpression::format(const QVariant& value, const QString& picture)
{
    const bool datePicture = picture.contains(u'y', Qt::CaseInsensitive) ||
                             picture.contains(u'd', Qt::CaseInsensitive) ||
                             picture.contains(u'h', Qt::CaseInsensitive);
    if (datePicture) {
        QDateTime t = value.toDateTime();
        if (!t.isValid())
            t = QDateTime::fromString(text(value).left(19), Qt::ISODate);
        if (!t.isValid())
            t = QDateTime(QDate::fromString(text(value).left(10), Qt::ISODate), QTime(0, 0));
        return t.isValid() ? t.toString(qtDatePicture(picture)) : text(value);
    }
    if (!isNumber(value) && !vb::IsNumeric(text(value)))
        return text(value);
    return vb::Format(toNumber(value), picture);
}

QVariant ReportExpression::evaluate(const QString& expression, const Lookup& lookup)
{
    return Parser(expression, lookup).run();
}

QString ReportExpression::expand(const QString& pattern, const Lookup& lookup,
                                 QStringList* problems)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'[') {
            out += c;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == u'[') {
            out += u'[';
            ++i;
            continue;
        }
        const qsizetype end = pattern.indexOf(u']', i + 1);
        if (end < 0) {
            if (problems)
                problems->append(u"缺少 ]：%1"_s.arg(pattern));
            return out;
        }
        try {
            out += fillPart(pattern.mid(i + 1, end - i - 1), lookup);
        } catch (const ReportError& e) {
            if (problems)
                problems->append(e.message());
        }
        i = end;
    }
    return out;
}

QString ReportExpression::expandQuery(const QString& query, const Lookup& lookup,
                                      QStringList* problems)
{
    QString out;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype start = query.indexOf(u"[#"_s, pos);
        const qsizetype end = start < 0 ? -1 : query.indexOf(u"#]"_s, start + 2);
        if (end < 0) {
            out += query.mid(pos);
            return out;
        }
        out += query.mid(pos, start - pos);
        const QString name = query.mid(start + 2, end - start - 2).trimmed();
        const std::optional<QVariant> v = lookup(name, true);
        if (!v && problems)
            problems->append(u"明细查询：没有参数 %1"_s.arg(name));
        if (v)
            out += isNumber(*v) ? vb::sqlNumber(v->toDouble()) : text(*v).replace(u"'"_s, u"''"_s);
        pos = end + 2;
    }
}
