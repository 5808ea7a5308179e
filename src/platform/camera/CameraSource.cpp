#include "camera/CameraSource.h"

#include "camera/FolderSnapshot.h"
#include "camera/HttpSnapshot.h"
#include "camera/PanelCamera.h"

#include <QBuffer>
#include <QImage>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

std::unique_ptr<CameraSource> CameraSource::create(const QString& setting, int windowSeconds,
                                                   QString* error)
{
    const QString s = setting.trimmed();
    if (s.isEmpty())
        return nullptr;
    if (s.startsWith(u"folder:"_s, Qt::CaseInsensitive))
        return std::make_unique<FolderSnapshot>(s.mid(7), windowSeconds);
    if (s.startsWith(u"v4l2:"_s, Qt::CaseInsensitive))
        return std::make_unique<PanelCamera>(s.mid(5));
    const QUrl url(s, QUrl::StrictMode);
    if (url.isValid() && (url.scheme() == u"http"_s || url.scheme() == u"https"_s)
        && !url.host().isEmpty())
        return std::make_unique<HttpSnapshot>(url);
    if (error)
        *error = u"摄像头设置看不懂：%1"_s.arg(s);
    return nullptr;
}

int CameraSource::request(const QDateTime& touched)
{
    const int ticket = ++m_lastTicket;
    fetch(ticket, touched);
    return ticket;
}

QByteArray CameraSource::toJpeg(const QByteArray& bytes)
{
    QImage image;
    if (!image.loadFromData(bytes))
        return {};
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return bytes;
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return jpeg;
}

// Answers go through the event loop, so that a source that knows at once (a folder already
// written, a camera that is missing) still answers after request() has returned.
void CameraSource::answer(int ticket, const QByteArray& picture)
{
    QByteArray jpeg = toJpeg(picture);
    if (jpeg.isEmpty())
        return fail(ticket, u"摄像头送来的不是图片"_s);
    QTimer::singleShot(0, this, [this, ticket, jpeg] { emit taken({ticket, jpeg, QString()}); });
}

void CameraSource::fail(int ticket, const QString& why)
{
    QTimer::singleShot(0, this, [this, ticket, why] { emit taken({ticket, {}, why}); });
}
