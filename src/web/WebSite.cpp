// The web view's routes, its access check and its refusals; every refusal is logged.
#include "web/WebSite.h"

#include "db/Connection.h"
#include "shell/Journal.h"
#include "stations/kanban/KanbanSettings.h"
#include "web/WebData.h"
#include "web/WebPage.h"
#include "web/WebPages.h"

#include <QJsonDocument>
#include <QThread>
#include <QtDebug>

using namespace Qt::StringLiterals;

namespace {

// Longer query strings than any page builds are no request of ours.
constexpr qsizetype MaxQuery = 2048;
// How long an overview is served again, and how many different ones are kept.
constexpr qint64 KeepSeconds = 60;
constexpr qsizetype KeptOverviews = 64;

bool isApi(const QString& path)
{
    return path.startsWith(QLatin1String("/api/"));
}

QString target(const WebRequest& r)
{
    const QString q = r.query.toString(QUrl::FullyEncoded);
    return q.isEmpty() ? r.path : r.path + u'?' + q;
}

// What an overview is kept by: its filter.
QString keyOf(const QJsonObject& filter)
{
    return QString::fromUtf8(QJsonDocument(filter).toJson(QJsonDocument::Compact));
}

} // namespace

WebSite::WebSite(Connection& c, QString connectionString, QString token, bool https, Clock clock)
    : m_conn(c), m_home(QThread::currentThread()), m_connectionString(std::move(connectionString)),
      m_access(std::move(token)), m_https(https), m_clock(std::move(clock))
{
    m_besideThreads.setExpiryTimeout(-1);
}

WebSite::~WebSite() = default; // the reading threads end first (m_besideThreads is the last member)

Connection& WebSite::conn()
{
    if (QThread::currentThread() == m_home)
        return m_conn;
    if (!m_pooled.hasLocalData())
        m_pooled.setLocalData(new Connection); // closed with its thread
    return *m_pooled.localData();
}

WebData::Beside WebSite::beside()
{
    if (m_connectionString.isEmpty())
        return {};
    Connection* c = nullptr;
    if (QThread::currentThread() == m_home) {
        if (!m_homeBeside)
            m_homeBeside = std::make_unique<Connection>();
        c = m_homeBeside.get();
    } else {
        if (!m_beside.hasLocalData())
            m_beside.setLocalData(new Connection); // closed with its thread
        c = m_beside.localData();
    }
    try {
        if (!c->isOpen())
            c->open(m_connectionString);
        return {c, &m_besideThreads};
    } catch (const DbError&) {
        return {}; // the first connection tells why
    }
}

bool WebSite::readsLong(const WebRequest& r)
{
    if (r.path == u"/quality.xlsx")
        return true;
    if ((r.path != u"/quality" && r.path != u"/api/quality") || !m_access.allows(r))
        return false;
    try {
        const QDateTime now = m_clock();
        const QualitySql::Filter f = WebData::qualityFilter(r, now.date());
        return keptQuality(keyOf(WebData::filterJson(f)), now).isEmpty();
    } catch (const WebError&) {
        return false; // refused at once
    }
}

WebReply WebSite::refuse(const WebRequest& r, int status, const QString& why)
{
    qWarning().noquote() << "web:" << status << r.method << target(r).left(200) << "from" << r.peer
                         << "-" << why;
    if (isApi(r.path))
        return WebReply::json(QJsonDocument(QJsonObject{{u"error"_s, why}}).toJson(), status);
    if (status == 401)
        return WebReply::html(WebPage::login(target(r), false), status);
    return WebReply::html(WebPage::refusal(status, why), status);
}

WebReply WebSite::handle(const WebRequest& r)
{
    WebReply reply;
    try {
        reply = route(r);
    } catch (const WebError& e) {
        reply = refuse(r, e.status, e.why);
    }
    // Pages and figures change by the minute; nothing may be kept by a proxy.
    reply.headers.emplaceBack("Cache-Control", "no-store");
    reply.headers.emplaceBack("X-Content-Type-Options", "nosniff");
    reply.headers.emplaceBack("Content-Security-Policy",
                              "default-src 'none'; style-src 'unsafe-inline'; script-src "
                              "'unsafe-inline'; img-src 'self' data:; connect-src 'self'; "
                              "form-action 'self'; frame-ancestors 'none'");
    return reply;
}

WebReply WebSite::route(const WebRequest& r)
{
    if (r.query.toString(QUrl::FullyEncoded).size() > MaxQuery)
        throw WebError{400, u"查询参数过长"_s};
    if (r.path == u"/login")
        return loginReply(r);
    if (r.method != "GET" && r.method != "HEAD")
        throw WebError{400, u"只能读取"_s};
    if (!m_access.allows(r))
        return refuse(r, 401, u"未登录或令牌不正确"_s);
    if (r.path == u"/" || r.path.isEmpty()) {
        WebReply to{303, "text/plain", QByteArray(), {{"Location", "/board"}}};
        return to;
    }
    if (isApi(r.path))
        return WebReply::json(QJsonDocument(api(r.path, r)).toJson(QJsonDocument::Compact));
    if (r.path == u"/stations")
        return WebReply::html(WebPages::stations(stations()));
    if (r.path == u"/board")
        return WebReply::html(WebPages::board(board()));
    if (r.path == u"/quality")
        return WebReply::html(WebPages::quality(quality(r)));
    if (r.path == u"/quality.xlsx")
        return workbook(r);
    throw WebError{404, u"没有这一页："_s + r.path.left(100)};
}

QJsonObject WebSite::api(const QString& path, const WebRequest& r)
{
    if (path == u"/api/stations")
        return stations();
    if (path == u"/api/board")
        return board();
    if (path == u"/api/quality")
        return quality(r);
    if (path == u"/api/roll")
        return roll(r);
    throw WebError{404, u"没有这一项："_s + path.left(100)};
}

WebReply WebSite::loginReply(const WebRequest& r)
{
    if (r.method == "GET" || r.method == "HEAD")
        return WebReply::html(WebPage::login(WebAccess::nextPath(r.item(u"next"_s)), false));
    if (r.method != "POST")
        throw WebError{400, u"只能读取"_s};
    const QUrlQuery form(QString::fromUtf8(r.body.left(4096)).replace(u'+', u' '));
    const QString next = WebAccess::nextPath(form.queryItemValue(u"next"_s, QUrl::FullyDecoded));
    if (m_access.open())
        return {303, "text/plain", QByteArray(), {{"Location", next.toUtf8()}}};
    if (!m_access.isToken(form.queryItemValue(u"token"_s, QUrl::FullyDecoded))) {
        qWarning().noquote() << "web: 401 POST /login from" << r.peer << "- wrong token";
        return WebReply::html(WebPage::login(next, true), 401);
    }
    return {303,
            "text/plain",
            QByteArray(),
            {{"Location", QUrl(next).toString(QUrl::FullyEncoded).toUtf8()},
             {"Set-Cookie", m_access.setCookie(m_https)}}};
}

bool WebSite::reach()
{
    try {
        if (!conn().isOpen())
            conn().open(m_connectionString);
        return true;
    } catch (const DbError& e) {
        markOffline(e.message());
        return false;
    }
}

void WebSite::markOffline(const QString& reason)
{
    QMutexLocker lock(&m_lock);
    if (!m_offlineSince.isValid()) {
        m_offlineSince = m_clock();
        qWarning().noquote() << "web: database away:" << reason; // once per outage
    }
}

QString WebSite::offlineText()
{
    QMutexLocker lock(&m_lock);
    return m_offlineSince.isValid() ? KanbanSettings::offlineText(m_offlineSince) : QString();
}

template <typename Read> bool WebSite::read(QJsonObject& out, Read&& body)
{
    if (reach()) {
        try {
            body();
            QMutexLocker lock(&m_lock);
            m_offlineSince = QDateTime();
            return true;
        } catch (const DbError& e) {
            if (!Journal::isOffline(e) && !e.connectionLost())
                throw WebError{500, u"数据库出错："_s + e.message()};
            markOffline(e.message());
        }
    }
    out.insert(u"offline"_s, offlineText());
    return false;
}

QJsonObject WebSite::stations()
{
    QJsonObject out;
    read(out, [&] { out = WebData::stations(conn(), m_clock()); });
    return out;
}

QJsonObject WebSite::board()
{
    QJsonObject out;
    if (read(out, [&] { out = WebData::board(conn()); })) {
        QMutexLocker lock(&m_lock);
        m_lastBoard = out;
        return out;
    }
    // The board's last rows stay up, marked stale, as on the wall.
    QMutexLocker lock(&m_lock);
    QJsonObject stale = m_lastBoard.isEmpty() ? WebData::boardFrame() : m_lastBoard;
    stale.insert(u"offline"_s, out.value(u"offline"_s));
    return stale;
}

QJsonObject WebSite::keptQuality(const QString& key, const QDateTime& now)
{
    QMutexLocker lock(&m_lock);
    const auto kept = m_quality.constFind(key);
    return kept != m_quality.cend() && kept->first.secsTo(now) < KeepSeconds ? kept->second
                                                                             : QJsonObject();
}

QJsonObject WebSite::quality(const WebRequest& r)
{
    const QDateTime now = m_clock();
    const QualitySql::Filter f = WebData::qualityFilter(r, now.date());
    const QJsonObject filter = WebData::filterJson(f);
    const QString key = keyOf(filter);
    if (const QJsonObject kept = keptQuality(key, now); !kept.isEmpty())
        return kept;
    QJsonObject out;
    const bool fresh = read(out, [&] { out = WebData::quality(conn(), f, beside()); });
    out.insert(u"filter"_s, filter);
    if (fresh) {
        QMutexLocker lock(&m_lock);
        if (m_quality.size() >= KeptOverviews)
            m_quality.clear();
        m_quality.insert(key, {now, out});
    }
    return out;
}

WebReply WebSite::workbook(const WebRequest& r)
{
    const QualitySql::Filter f = WebData::qualityFilter(r, m_clock().date());
    QByteArray bytes;
    QString error;
    QJsonObject offline;
    if (!read(offline,
              [&] { bytes = WebData::qualityWorkbook(conn(), f, m_clock(), &error, beside()); }))
        throw WebError{503, offline.value(u"offline"_s).toString()};
    if (bytes.isEmpty())
        throw WebError{500, u"Excel 文件不能生成："_s + error};
    const QString name =
        u"quality-%1-%2.xlsx"_s.arg(f.from.toString(Qt::ISODate), f.to.toString(Qt::ISODate));
    return {200,
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
            bytes,
            {{"Content-Disposition", "attachment; filename=\"" + name.toLatin1() + '"'}}};
}

QJsonObject WebSite::roll(const WebRequest& r)
{
    const QString card = WebData::name(r, u"card"_s, true);
    const QString number = WebData::name(r, u"number"_s, true);
    QJsonObject out;
    bool found = true;
    read(out, [&] { found = WebData::roll(conn(), card, number, out); });
    if (!found)
        throw WebError{404, u"没有这一卷：%1 %2"_s.arg(card, number)};
    return out;
}
