// `mirel serve` as a process, asked over HTTP with QNetworkAccessManager: the status codes of the
// token, the cookie and hostile requests on the wire, 1000 requests without a token, and a server
// without a token keeping to 127.0.0.1 and saying so.
#include "db/Connection.h"
#include "db/EmbeddedSchema.h"
#include "support/TempProgramFolder.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

} // namespace

class TestWebServer : public QObject {
    Q_OBJECT
    TempProgramFolder m_home;
    QProcess m_serve;
    QNetworkAccessManager m_net;
    QString m_base;

    QByteArray start(QProcess& p, const QByteArray& web)
    {
        m_home.writeFile(u"mirel.ini"_s, "[Web]\n" + web);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"MIREL_HOME"_s, m_home.path());
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("MIREL_BIN_DIR") + u"/mirel"_s, {u"serve"_s});
        QByteArray out;
        while (!out.contains("/board") && p.waitForReadyRead(10000))
            out += p.readAllStandardOutput();
        return out;
    }

    QNetworkReply* send(const QString& target, const QByteArray& auth, const QByteArray& post = {})
    {
        QNetworkRequest req(QUrl(m_base + target));
        if (!auth.isEmpty())
            req.setRawHeader("Authorization", auth);
        req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
        req.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        QNetworkReply* r = post.isNull() ? m_net.get(req) : m_net.post(req, post);
        QEventLoop loop;
        connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        r->deleteLater();
        return r;
    }
    int status(QNetworkReply* r)
    {
        return r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

private slots:
    void initTestCase()
    {
        Connection c;
        c.openOrCreate(u"Provider=SQLite;Data Source="_s + m_home.file(u"mill.db"_s));
        EmbeddedSchema::addDemoRows(c);
        m_home.writeFile(u"config.ini"_s,
                         "[CUSTOMER.SETTING]\nCONNECTIONSTRING=Provider=SQLite;Data Source=" +
                             m_home.file(u"mill.db"_s).toUtf8() + "\n");
        const quint16 port = freePort();
        m_base = u"http://127.0.0.1:%1"_s.arg(port);
        QVERIFY(start(m_serve, "Listen=127.0.0.1:" + QByteArray::number(port) + "\nToken=t0k\n")
                    .contains(m_base.toUtf8()));
    }
    void cleanupTestCase()
    {
        // Stopped as systemd stops it: the server ends on its own, the readings finished.
        m_serve.terminate();
        QVERIFY(m_serve.waitForFinished(10000));
        QCOMPARE(m_serve.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_serve.exitCode(), 0);
    }

    void statuses_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("auth");
        QTest::addColumn<int>("status");
        QTest::newRow("bearer") << "/api/board" << QByteArray("Bearer t0k") << 200;
        QTest::newRow("encoded dot dot") << "/%2e%2e/mirel.ini" << QByteArray("Bearer t0k") << 404;
        QTest::newRow("1 MB query")
            << "/quality?machine=" + QString(1 << 20, u'a') << QByteArray("Bearer t0k") << 400;
    }
    void statuses()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, auth);
        QTEST(status(send(target, auth)), "status");
    }

    void cookieLogin()
    {
        QNetworkReply* login = send(u"/login"_s, {}, "token=t0k&next=%2Fstations");
        QCOMPARE(status(login), 303);
        QCOMPARE(login->rawHeader("Location"), QByteArray("/stations"));
        QVERIFY(login->rawHeader("Set-Cookie").contains("HttpOnly"));
        // The manager keeps the cookie, as a browser does.
        QCOMPARE(status(send(u"/stations"_s, {})), 200);
        m_net.setCookieJar(new QNetworkCookieJar(&m_net));
    }

    void overviewsSideBySide()
    {
        // Overviews read on the server's pool at once, the board between them: each answer
        // goes to its own request.
        QList<QNetworkReply*> replies;
        for (int day = 1; day <= 12; ++day) {
            QNetworkRequest req(QUrl(m_base + (day % 4 ? u"/api/quality?from=2026-11-%1"_s.arg(
                                                             day, 2, 10, QLatin1Char('0'))
                                                       : u"/api/board"_s)));
            req.setRawHeader("Authorization", "Bearer t0k");
            replies << m_net.get(req);
        }
        for (int day = 1; day <= 12; ++day) {
            QNetworkReply* r = replies[day - 1];
            QTRY_VERIFY(r->isFinished());
            QCOMPARE(status(r), 200);
            const QJsonObject o = QJsonDocument::fromJson(r->readAll()).object();
            QCOMPARE(o.contains(u"columns"_s), day % 4 == 0);
            if (day % 4)
                QCOMPARE(o[u"filter"_s][u"from"_s].toString(),
                         u"2026-11-%1"_s.arg(day, 2, 10, QLatin1Char('0')));
            r->deleteLater();
        }
    }

    void thousandWithoutToken()
    {
        int refused = 0;
        for (int i = 0; i < 1000; ++i)
            refused += status(send(u"/api/stations"_s, {})) == 401;
        QCOMPARE(refused, 1000);
        QCOMPARE(status(send(u"/api/stations"_s, "Bearer t0k")), 200);
    }

    void withoutTokenOnlyHere()
    {
        QProcess open;
        const QByteArray out =
            start(open, "Listen=0.0.0.0:" + QByteArray::number(freePort()) + "\n");
        open.kill();
        open.waitForFinished();
        QVERIFY2(out.contains("127.0.0.1 上监听") && out.contains("http://127.0.0.1:"),
                 out.constData());
    }
};

QTEST_GUILESS_MAIN(TestWebServer)
#include "TestWebServer.moc"
