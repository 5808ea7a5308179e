// The token check. Comparisons run over the whole text, so that the time a wrong guess takes
// tells nothing about how much of it was right.
#include "web/WebAccess.h"

#include <QCryptographicHash>

using namespace Qt::StringLiterals;

namespace {

bool sameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

bool WebAccess::isToken(const QString& text) const
{
    return !m_token.isEmpty() && sameBytes(text.toUtf8(), m_token.toUtf8());
}

QByteArray WebAccess::cookieValue() const
{
    return QCryptographicHash::hash("mirel-web:" + m_token.toUtf8(), QCryptographicHash::Sha256)
        .toHex();
}

QByteArray WebAccess::setCookie(bool https) const
{
    QByteArray c =
        cookieName() + '=' + cookieValue() + "; Path=/; Max-Age=2592000; HttpOnly; SameSite=Strict";
    if (https)
        c += "; Secure";
    return c;
}

bool WebAccess::allows(const WebRequest& r) const
{
    if (open())
        return true;
    if (r.authorization.startsWith("Bearer ") &&
        isToken(QString::fromUtf8(r.authorization.mid(7).trimmed())))
        return true;
    for (const QByteArray& part : r.cookie.split(';')) {
        const qsizetype eq = part.indexOf('=');
        if (eq > 0 && part.left(eq).trimmed() == cookieName() &&
            sameBytes(part.mid(eq + 1).trimmed(), cookieValue()))
            return true;
    }
    return false;
}

QString WebAccess::nextPath(const QString& next)
{
    // Only a path of this server: "//host" and "/\host" would send the browser elsewhere.
    const bool local = next.startsWith(u'/') && !next.startsWith(QLatin1String("//")) &&
                       !next.contains(u'\\') && !next.startsWith(QLatin1String("/login"));
    for (QChar c : next)
        if (c.unicode() < 0x20)
            return u"/board"_s;
    return local ? next : u"/board"_s;
}
