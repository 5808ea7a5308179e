// The web view's rules without a socket: access by token, cookie and bearer, refusals of bad and
// hostile requests (and that they change nothing), the quality figures against the quality
// station's own reading, the stations' beats turning late, a roll for the ERP, the database away.
#include "db/Connection.h"
#include "db/EmbeddedSchema.h"
#include "shell/StationBeat.h"
#include "stations/quality/QualityData.h"
#include "support/TempProgramFolder.h"
#include "web/WebSettings.h"
#include "web/WebSite.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime now(QDate(2026, 12, 7), QTime(10, 0));
const QString token = u"s3cret"_s;

WebRequest get(const QString& target, const QByteArray& auth = "Bearer s3cret")
{
    WebRequest r;
    const QUrl url(target);
    r.path = url.path();
    r.query = QUrlQuery(url);
    r.authorization = auth;
    return r;
}

QJsonObject json(const WebReply& reply)
{
    return QJsonDocument::fromJson(reply.body).object();
}

StationBeat::Beat beat(const QDateTime& seen)
{
    StationBeat::Beat b;
    b.host = u"panel-7"_s;
    b.station = u"check"_s;
    b.started = now.addSecs(-3600);
    b.seen = seen;
    b.pending = 2;
    return b;
}

} // namespace

class TestWebSite : public QObject {
    Q_OBJECT
    TempProgramFolder m_home;
    Connection m_c;
    QString m_db;
    std::unique_ptr<WebSite> m_site;

    qint64 rolls()
    {
        return m_c.execute(u"select count(*) from checkinfo"_s).field(0).toLongLong();
    }

private slots:
    void initTestCase()
    {
        m_db = u"Provider=SQLite;Data Source="_s + m_home.file(u"mill.db"_s);
        m_c.openOrCreate(m_db);
        EmbeddedSchema::addDemoRows(m_c);
        m_home.writeFile(u"mirel.ini"_s, "[MIREL]\ngrade=A品^0,B品^20,C品^40\n");
        m_site = std::make_unique<WebSite>(m_c, m_db, token, false, [] { return now; });
    }

    void listen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::newRow("default") << "127.0.0.1:8080" << true << "127.0.0.1" << 8080;
        QTest::newRow("every address") << ":80" << true << "0.0.0.0" << 80;
        QTest::newRow("IPv6") << "[::1]:8443" << true << "::1" << 8443;
        QTest::newRow("no port") << "127.0.0.1" << false << "" << 0;
        QTest::newRow("port too big") << "0.0.0.0:65536" << false << "" << 0;
        QTest::newRow("host name") << "office:8080" << false << "" << 0;
    }
    void listen()
    {
        QFETCH(QString, text);
        QHostAddress address;
        quint16 port = 0;
        QTEST(WebSettings::parseListen(text, address, port), "ok");
        QFETCH(bool, ok);
        if (ok) {
            QTEST(address == QHostAddress::Any ? u"0.0.0.0"_s : address.toString(), "address");
            QTEST(int(port), "port");
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("auth");
        QTest::addColumn<QByteArray>("cookie");
        QTest::addColumn<int>("status");
        const QByteArray bearer = "Bearer s3cret";
        const QByteArray good = "mirel_web=" + WebAccess(token).cookieValue();
        QTest::newRow("no token, page")
            << QByteArray("GET") << "/board" << QByteArray() << QByteArray() << 401;
        QTest::newRow("no token, api")
            << QByteArray("GET") << "/api/stations" << QByteArray() << QByteArray() << 401;
        QTest::newRow("wrong bearer") << QByteArray("GET") << "/api/board"
                                      << QByteArray("Bearer s3cre") << QByteArray() << 401;
        QTest::newRow("token as cookie") << QByteArray("GET") << "/board" << QByteArray()
                                         << QByteArray("mirel_web=s3cret") << 401;
        QTest::newRow("cookie") << QByteArray("GET") << "/stations" << QByteArray()
                                << QByteArray("a=1; " + good) << 200;
        QTest::newRow("bearer") << QByteArray("GET") << "/api/board" << bearer << QByteArray()
                                << 200;
        QTest::newRow("unknown path")
            << QByteArray("GET") << "/etc/passwd" << bearer << QByteArray() << 404;
        QTest::newRow("unknown api")
            << QByteArray("GET") << "/api/users" << bearer << QByteArray() << 404;
        QTest::newRow("writes refused")
            << QByteArray("POST") << "/board" << bearer << QByteArray() << 400;
        QTest::newRow("bad date") << QByteArray("GET") << "/quality?from=2026-13-01" << bearer
                                  << QByteArray() << 400;
        QTest::newRow("from after to")
            << QByteArray("GET") << "/quality?from=2026-12-08&to=2026-12-07" << bearer
            << QByteArray() << 400;
        QTest::newRow("over a year")
            << QByteArray("GET") << "/quality?from=2025-12-01&to=2026-12-07" << bearer
            << QByteArray() << 400;
        QTest::newRow("long name")
            << QByteArray("GET") << "/api/quality?machine=" + QString(51, u'x') << bearer
            << QByteArray() << 400;
        QTest::newRow("control char")
            << QByteArray("GET") << "/api/quality?inspector=a%01b" << bearer << QByteArray() << 400;
        // SQL text in every name: bound, so it narrows to nothing and changes nothing.
        const QString sql = u"1'%20or%20'1'='1';drop%20table%20checkinfo;--"_s;
        for (const char* key : {"machine", "inspector", "defect", "card", "item"})
            QTest::newRow(qPrintable(u"SQL in "_s + QLatin1String(key)))
                << QByteArray("GET") << u"/quality?%1=%2"_s.arg(QLatin1String(key), sql) << bearer
                << QByteArray() << 200;
        QTest::newRow("SQL in roll card")
            << QByteArray("GET") << "/api/roll?card=" + sql + "&number=001" << bearer
            << QByteArray() << 404;
        QTest::newRow("roll missing number")
            << QByteArray("GET") << "/api/roll?card=SC2611001" << bearer << QByteArray() << 400;
    }
    void refusals()
    {
        QFETCH(QByteArray, method);
        QFETCH(QString, target);
        QFETCH(QByteArray, auth);
        QFETCH(QByteArray, cookie);
        WebRequest r = get(target, auth);
        r.method = method;
        r.cookie = cookie;
        const qint64 before = rolls();
        const WebReply reply = m_site->handle(r);
        QTEST(reply.status, "status");
        QCOMPARE(rolls(), before);
    }

    void login_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("location");
        QTest::newRow("right") << QByteArray("token=s3cret&next=%2Fquality%3Ffrom%3D2026-12-01")
                               << 303 << QByteArray("/quality?from=2026-12-01");
        QTest::newRow("wrong") << QByteArray("token=S3cret&next=%2Fboard") << 401 << QByteArray();
        QTest::newRow("elsewhere")
            << QByteArray("token=s3cret&next=%2F%2Fevil.example%2F") << 303 << QByteArray("/board");
        QTest::newRow("backslash")
            << QByteArray("token=s3cret&next=%2F%5Cevil.example") << 303 << QByteArray("/board");
    }
    void login()
    {
        QFETCH(QByteArray, body);
        WebRequest r = get(u"/login"_s, QByteArray());
        r.method = "POST";
        r.body = body;
        const WebReply reply = m_site->handle(r);
        QTEST(reply.status, "status");
        QTEST(reply.header("Location"), "location");
        if (reply.status == 303) {
            const QByteArray c = reply.header("Set-Cookie");
            QVERIFY(c.contains("HttpOnly") && c.contains("SameSite=Strict"));
            QVERIFY(!c.contains(token.toUtf8()));
            WebRequest next = get(u"/board"_s, QByteArray());
            next.cookie = c.left(c.indexOf(';'));
            QCOMPARE(m_site->handle(next).status, 200);
        }
    }

    void qualityAsTheStation()
    {
        QualitySql::Filter f;
        f.from = QDate(2026, 12, 1);
        f.to = QDate(2026, 12, 7);
        const auto o =
            QualityData::load(m_c, f, QualityData::parseGrades(u"A品^0,B品^20,C品^40"_s));
        const QJsonObject q =
            json(m_site->handle(get(u"/api/quality?from=2026-12-01&to=2026-12-07"_s)));
        QVERIFY(o.now.rolls > 0);
        QCOMPARE(q[u"now"_s][u"rolls"_s].toInteger(), o.now.rolls);
        QCOMPARE(q[u"now"_s][u"points"_s].toDouble(), o.now.points);
        QCOMPARE(q[u"pareto"_s].toArray().size(), o.pareto.size());
        QCOMPARE(q[u"days"_s].toArray().size(), 7);
        const QByteArray page =
            m_site->handle(get(u"/quality?from=2026-12-01&to=2026-12-07"_s)).body;
        // The workbook of the same range, as the station exports it.
        QVERIFY(page.contains("href=\"/quality.xlsx?from=2026-12-01&amp;to=2026-12-07\""));
        const WebReply book = m_site->handle(get(u"/quality.xlsx?from=2026-12-01&to=2026-12-07"_s));
        QCOMPARE(book.status, 200);
        QVERIFY(book.body.startsWith("PK"));
        QVERIFY(book.header("Content-Disposition").contains("quality-2026-12-01-2026-12-07.xlsx"));
    }

    void qualityKeptForAMinute()
    {
        QDateTime clock = now;
        WebSite site(m_c, m_db, token, false, [&clock] { return clock; });
        const auto rolls = [&site] {
            return json(site.handle(get(u"/api/quality?from=2026-12-01"_s)))[u"now"_s][u"rolls"_s]
                .toInt();
        };
        const int before = rolls();
        m_c.execute(u"insert checkinfo(billCode, checkCode, grade, checkcount, createDate) "
                    "values('K1', '001', 'A品', 10, '2026-12-05 08:00:00')"_s);
        clock = clock.addSecs(59);
        QCOMPARE(rolls(), before);
        clock = clock.addSecs(1);
        QCOMPARE(rolls(), before + 1);
        m_c.execute(u"delete from checkinfo where billCode='K1'"_s);
    }

    void stationsLate_data()
    {
        QTest::addColumn<int>("secondsAgo");
        QTest::addColumn<bool>("late");
        QTest::newRow("three beats") << 90 << false;
        QTest::newRow("past three beats") << 91 << true;
    }
    void stationsLate()
    {
        QFETCH(int, secondsAgo);
        StationBeat::publish(m_c, beat(now.addSecs(-secondsAgo))); // later ones update the row
        const QJsonArray list =
            json(m_site->handle(get(u"/api/stations"_s)))[u"stations"_s].toArray();
        QCOMPARE(list.size(), 1);
        QTEST(list[0][u"late"_s].toBool(), "late");
        QCOMPARE(list[0][u"pending"_s].toInt(), 2);
    }

    void missingTable()
    {
        // A database whose schema predates the table: the beat's error says so, and the schema
        // script adds the table without touching the rest.
        m_c.execute(u"drop table stationStatus"_s);
        const StationBeat::Beat b = beat(now);
        try {
            StationBeat::publish(m_c, b);
            QFAIL("published without the table");
        } catch (const DbError& e) {
            QVERIFY(StationBeat::isMissingTable(e));
        }
        const qint64 before = rolls();
        EmbeddedSchema::create(m_c);
        StationBeat::publish(m_c, b);
        QCOMPARE(rolls(), before);
        QCOMPARE(json(m_site->handle(get(u"/api/stations"_s)))[u"stations"_s].toArray().size(), 1);
    }

    void beatWritesAllOrNothing()
    {
        // The database refuses the insert after writing the row (a trigger's FAIL keeps it):
        // the beat's transaction leaves no row, no open transaction, the connection's wait.
        m_c.execute(u"delete from stationStatus"_s);
        const auto sql = [this](const char* statement) {
            sqlite3* db = nullptr;
            sqlite3_open(m_home.file(u"mill.db"_s).toUtf8().constData(), &db);
            QCOMPARE(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        };
        sql("create trigger beatRefused after insert on stationStatus begin select "
            "raise(fail, 'refused'); end");
        const int wait = m_c.commandTimeout();
        QVERIFY_THROWS_EXCEPTION(DbError, StationBeat::publish(m_c, beat(now)));
        sql("drop trigger beatRefused");
        QCOMPARE(m_c.execute(u"select count(*) from stationStatus"_s).field(0).toInt(), 0);
        QVERIFY(!m_c.inTransaction());
        QCOMPARE(m_c.commandTimeout(), wait);
    }

    void roll()
    {
        const QJsonObject r = json(m_site->handle(get(u"/api/roll?card=SC2611001&number=003"_s)));
        QCOMPARE(r[u"grade"_s].toString(), u"B品"_s);
        QCOMPARE(r[u"points"_s].toDouble(), 8.0);
        QCOMPARE(r[u"defects"_s].toArray().size(), 2);
        QCOMPARE(m_site->handle(get(u"/api/roll?card=SC2611001&number=009"_s)).status, 404);
    }

    void databaseAway()
    {
        // A database file moved away: the board keeps its last rows under the stale mark.
        QCOMPARE(m_site->handle(get(u"/board"_s)).status, 200);
        m_c.close();
        QVERIFY(QFile::rename(m_home.file(u"mill.db"_s), m_home.file(u"moved.db"_s)));
        // (An overview of the last minute is served again without the database: another range.)
        for (const char* path : {"/board", "/stations", "/quality?from=2026-11-01"}) {
            const WebReply reply = m_site->handle(get(QLatin1String(path)));
            QCOMPARE(reply.status, 200);
            QVERIFY2(reply.body.contains(u"数据库离线 自"_s.toUtf8()), path);
        }
        QVERIFY(m_site->handle(get(u"/board"_s)).body.contains("P2611-018"));
        QVERIFY(!QFile::exists(m_home.file(u"mill.db"_s))); // never re-created
    }
};

QTEST_GUILESS_MAIN(TestWebSite)
#include "TestWebSite.moc"
