// A network camera inside a test: snapshots served on the loopback. /slow.jpg never answers,
// /broken.jpg fails, /page.html is no picture, /locked.jpg wants admin:1234; every other path is
// a 64 x 48 JPEG.
#pragma once

#include <QBuffer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>

inline QByteArray testPicture(const char* format, int width = 64)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(width, 48, QImage::Format_RGB32).save(&buffer, format);
    return bytes;
}

class SnapshotServer : public QTcpServer {
public:
    SnapshotServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [s] { serve(s); });
        });
        listen(QHostAddress::LocalHost);
    }
    /// The camera setting with "{}" as the server's host and port ("http://{}/snapshot.jpg").
    QString address(QString setting) const
    {
        using namespace Qt::StringLiterals;
        return setting.replace(u"{}"_s, u"127.0.0.1:%1"_s.arg(serverPort()));
    }

private:
    static void serve(QTcpSocket* s)
    {
        const QByteArray request = s->readAll(), path = request.split(' ').value(1);
        const auto reply = [s](const QByteArray& status, const QByteArray& body, const QByteArray& extra = {}) {
            s->write("HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + extra + "\r\n" + body);
        };
        if (path == "/broken.jpg")
            reply("500 Internal Server Error", "sensor fault");
        else if (path == "/page.html")
            reply("200 OK", "<html>login</html>");
        else if (path == "/locked.jpg" && !request.contains("Authorization: Basic " + QByteArray("admin:1234").toBase64()))
            reply("401 Unauthorized", "", "WWW-Authenticate: Basic realm=\"cam\"\r\n");
        else if (path != "/slow.jpg")
            reply("200 OK", testPicture("JPEG"));
    }
};
