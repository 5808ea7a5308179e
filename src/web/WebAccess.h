// Who may read the web view: with a token configured, a browser that gave it on the login page
// (and keeps the cookie) or a program that sends it as "Authorization: Bearer <token>".
#pragma once

#include "web/WebHttp.h"

#include <QString>

class WebAccess {
public:
    explicit WebAccess(QString token) : m_token(std::move(token)) {}

    bool open() const { return m_token.isEmpty(); }
    /// True when the request may read: no token configured, or the right cookie or bearer.
    bool allows(const WebRequest& r) const;
    /// True when the text is the token.
    bool isToken(const QString& text) const;

    /// The cookie's name and the value a browser that knows the token keeps (derived from the
    /// token, so that the token itself never travels in every request).
    static QByteArray cookieName() { return "mirel_web"; }
    QByteArray cookieValue() const;
    /// The Set-Cookie header's value after a good login: HttpOnly, SameSite=Strict, for 30 days
    /// (a wall TV logs in once), Secure over HTTPS.
    QByteArray setCookie(bool https) const;

    /// Where the login goes on: a path of this server ("/quality?from=…"), else "/board".
    static QString nextPath(const QString& next);

private:
    QString m_token;
};
