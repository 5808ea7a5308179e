// The HTTP server around the site: Qt HttpServer's requests turned into WebRequest, the site's
// replies written back. The sockets live on the main thread, which answers the board, the
// stations and the overviews kept; an overview read anew (a month is a tenth of a second, a year
// a second) is read on a thread of a small pool, each with its own connection, and its reply is
// written back on the main thread.
#include "web/WebServer.h"

#include "shell/Database.h"
#include "shell/Station.h"
#include "web/WebSettings.h"
#include "web/WebSite.h"

#include <QCoreApplication>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QPointer>
#include <QSocketNotifier>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpSocket>
#include <QThreadPool>

#include <csignal>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void say(const QString& text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void complain(const QString& text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stderr);
}

WebRequest requestOf(const QHttpServerRequest& q)
{
    WebRequest r;
    switch (q.method()) {
    case QHttpServerRequest::Method::Get:
        r.method = "GET";
        break;
    case QHttpServerRequest::Method::Head:
        r.method = "HEAD";
        break;
    case QHttpServerRequest::Method::Post:
        r.method = "POST";
        break;
    default:
        r.method = "OTHER";
        break;
    }
    r.path = q.url().path(QUrl::FullyDecoded);
    r.query = q.query();
    r.cookie = q.value("Cookie");
    r.authorization = q.value("Authorization");
    r.contentType = q.value("Content-Type");
    r.body = q.body();
    r.peer = q.remoteAddress().toString();
    return r;
}

void send(const WebReply& reply, QHttpServerResponder&& out)
{
    QHttpServerResponse response(reply.type, reply.body,
                                 QHttpServerResponse::StatusCode(reply.status));
    for (const auto& h : reply.headers)
        response.addHeader(h.first, h.second);
    response.write(std::move(out));
}

// systemd stops the service with SIGTERM (a terminal with SIGINT): the handler only writes a
// byte, the event loop ends on it and the readings under way finish first.
int stopPipe[2] = {-1, -1};

void onStop(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &c, 1);
}

void quitOnStop(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, stopPipe) != 0)
        return;
    auto* stop = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(stop, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGTERM, onStop);
    std::signal(SIGINT, onStop);
}

bool loadTls(QHttpServer& server, const WebSettings& s)
{
    QFile cert(s.certificate), key(s.key);
    if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
        complain(u"mirel serve: 证书或私钥不能读取：%1 %2"_s.arg(s.certificate, s.key));
        return false;
    }
    const QSslCertificate c(&cert, QSsl::Pem);
    QSslKey k(&key, QSsl::Rsa, QSsl::Pem);
    if (k.isNull()) {
        key.seek(0);
        k = QSslKey(&key, QSsl::Ec, QSsl::Pem);
    }
    if (c.isNull() || k.isNull()) {
        complain(u"mirel serve: 证书或私钥不是 PEM 格式"_s);
        return false;
    }
    server.sslSetup(c, k);
    return true;
}

} // namespace

namespace WebServer {

int run(int argc, char** argv)
{
#ifdef __GLIBC__
    // glibc gives each thread that allocates its own heap arena, grown in steps of several MB
    // and never given back: the reading threads made the server's memory step up long after
    // its first minute. Two arenas hold the same load in flat memory.
    mallopt(M_ARENA_MAX, 2);
#endif
    QCoreApplication app(argc, argv);
    app.setApplicationName(u"mirel"_s);
    WebSettings settings;
    QString error;
    if (!WebSettings::read(settings, &error)) {
        complain(u"mirel serve: "_s + error);
        return 1;
    }
    QHttpServer server;
    if (settings.https() && !loadTls(server, settings))
        return 1;
    WebSite site(Database::conn(), Database::connectionSetting(), settings.token, settings.https());
    // Ended (its threads and their connections with it) before the site. Its threads stay for
    // the server's life: each keeps its connections open, as the main thread does.
    QThreadPool pool;
    pool.setExpiryTimeout(-1);
    server.setMissingHandler([&](const QHttpServerRequest& q, QHttpServerResponder&& out) {
        const WebRequest request = requestOf(q);
        if (!site.readsLong(request)) {
            send(site.handle(request), std::move(out));
            return;
        }
        auto waiting = std::make_shared<QHttpServerResponder>(std::move(out));
        const QPointer<QTcpSocket> socket = waiting->socket();
        pool.start([&site, &server, request, waiting, socket] {
            const WebReply reply = site.handle(request);
            QMetaObject::invokeMethod(
                &server,
                [reply, waiting, socket] {
                    if (socket) // the browser may have left meanwhile
                        send(reply, std::move(*waiting));
                },
                Qt::QueuedConnection);
        });
    });
    const quint16 port = server.listen(settings.address, settings.port);
    if (port == 0) {
        complain(u"mirel serve: 不能在 %1:%2 上监听"_s.arg(settings.address.toString())
                     .arg(settings.port));
        return 1;
    }
    if (settings.token.isEmpty())
        say(u"mirel serve: 没有配置访问令牌（mirel.ini [Web] Token=），只在本机 "
            "127.0.0.1 上监听"_s);
    const QString host =
        settings.address == QHostAddress::Any ? u"<本机地址>"_s : settings.address.toString();
    say(u"mirel serve: %1://%2:%3/board"_s.arg(settings.https() ? u"https"_s : u"http"_s, host)
            .arg(port));
    quitOnStop(app);
    const int code = app.exec();
    pool.waitForDone();
    return code;
}

} // namespace WebServer

void registerWebServer()
{
    StationRegistry::addRunner(Station::Serve, WebServer::run);
}
