#include "camera/HttpSnapshot.h"

#include <QAuthenticator>
#include <QNetworkProxy>
#include <QNetworkReply>

using namespace Qt::StringLiterals;

namespace {
const char* const Ticket = "mirelTicket";
const char* const Asked = "mirelAsked";
} // namespace

HttpSnapshot::HttpSnapshot(const QUrl& url, int timeoutMs, QObject* parent)
    : CameraSource(parent), m_url(url.adjusted(QUrl::RemoveUserInfo)), m_user(url.userName()),
      m_password(url.password()), m_timeoutMs(timeoutMs)
{
    // The cameras stand on the mill's own network: a proxy of the panel's user is never theirs.
    m_net.setProxy(QNetworkProxy::NoProxy);
    connect(&m_net, &QNetworkAccessManager::finished, this, &HttpSnapshot::finished);
    connect(&m_net, &QNetworkAccessManager::authenticationRequired, this,
            [this](QNetworkReply* reply, QAuthenticator* auth) {
                // Asked a second time: the password was wrong; the reply then ends with 401.
                if (m_user.isEmpty() || reply->property(Asked).toBool())
                    return;
                reply->setProperty(Asked, true);
                auth->setUser(m_user);
                auth->setPassword(m_password);
            });
}

void HttpSnapshot::fetch(int ticket, const QDateTime&)
{
    QNetworkRequest request(m_url);
    request.setTransferTimeout(m_timeoutMs);
    // A snapshot is a new picture every time.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* reply = m_net.get(request);
    reply->setProperty(Ticket, ticket);
}

void HttpSnapshot::finished(QNetworkReply* reply)
{
    reply->deleteLater();
    const int ticket = reply->property(Ticket).toInt();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        return fail(ticket, u"摄像头%1秒内没有回答"_s.arg(m_timeoutMs / 1000.0));
    if (status == 401 || error == QNetworkReply::AuthenticationRequiredError)
        return fail(ticket, u"摄像头的用户名或密码不对"_s);
    if (status >= 400)
        return fail(ticket, u"摄像头回答 HTTP %1"_s.arg(status));
    if (error != QNetworkReply::NoError)
        return fail(ticket, u"摄像头连不上：%1"_s.arg(reply->errorString()));
    answer(ticket, reply->readAll());
}
