// The web view's settings, mirel.ini section [Web]: where it listens, the access token and the
// certificate that turns on HTTPS.
#pragma once

#include <QHostAddress>
#include <QString>

struct WebSettings {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 8080;
    QString token; ///< empty: no login, and only this machine may connect
    QString certificate;
    QString key;
    bool https() const { return !certificate.isEmpty() && !key.isEmpty(); }

    /// Reads [Web] Listen ("127.0.0.1:8080", "0.0.0.0:80", ":8080", "[::]:8443"), Token (or the
    /// first line of TokenFile), Certificate and Key of the program folder's mirel.ini. Without a
    /// token the address is 127.0.0.1 whatever Listen says. False with the reason for a Listen
    /// that names no address and port.
    static bool read(WebSettings& out, QString* error);
    /// Parses a Listen value into address and port; false when it is none.
    static bool parseListen(const QString& text, QHostAddress& address, quint16& port);
};
