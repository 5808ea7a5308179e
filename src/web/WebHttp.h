// A request and its reply as the office's web view handles them, apart from the HTTP server:
// the site's rules are tested with these, without a socket.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>

struct WebRequest {
    QByteArray method = "GET";
    QString path;    ///< decoded path, "/board"
    QUrlQuery query; ///< the query string's items
    QByteArray cookie;
    QByteArray authorization;
    QByteArray contentType;
    QByteArray body;
    QString peer; ///< the client's address, for the log

    /// The first value of a query item, decoded; empty when missing.
    QString item(const QString& key) const { return query.queryItemValue(key, QUrl::FullyDecoded); }
};

struct WebReply {
    int status = 200;
    QByteArray type = "text/html; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    static WebReply html(const QString& page, int status = 200)
    {
        return {status, "text/html; charset=utf-8", page.toUtf8(), {}};
    }
    static WebReply json(const QByteArray& body, int status = 200)
    {
        return {status, "application/json; charset=utf-8", body, {}};
    }
    QByteArray header(const QByteArray& name) const
    {
        for (const auto& h : headers)
            if (h.first.compare(name, Qt::CaseInsensitive) == 0)
                return h.second;
        return QByteArray();
    }
};
