#include "camera/PanelCamera.h"

#include <QBuffer>
#include <QCamera>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QTimer>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<QCameraDevice> deviceOf(const QString& device)
{
    for (const QCameraDevice& d : QMediaDevices::videoInputs()) {
        if (QString::fromUtf8(d.id()) == device || d.description() == device)
            return d;
    }
    return std::nullopt;
}

} // namespace

PanelCamera::PanelCamera(const QString& device, int timeoutMs, QObject* parent)
    : CameraSource(parent), m_device(device), m_timeoutMs(timeoutMs)
{
}

PanelCamera::~PanelCamera() = default; // the camera objects are children

bool PanelCamera::present(const QString& device)
{
    return deviceOf(device).has_value();
}

bool PanelCamera::start()
{
    if (m_camera)
        return true;
    const std::optional<QCameraDevice> device = deviceOf(m_device);
    if (!device)
        return false;
    m_camera = new QCamera(*device, this);
    m_capture = new QImageCapture(this);
    m_session = new QMediaCaptureSession(this);
    m_session->setCamera(m_camera);
    m_session->setImageCapture(m_capture);
    connect(m_capture, &QImageCapture::readyForCaptureChanged, this, [this](bool ready) {
        if (ready)
            captureWaiting();
    });
    connect(m_capture, &QImageCapture::imageCaptured, this, [this](int id, const QImage& image) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 85);
        captured(id, jpeg, u"摄像头的图片存不成 JPEG"_s);
    });
    connect(m_capture, &QImageCapture::errorOccurred, this,
            [this](int id, QImageCapture::Error, const QString& text) {
                captured(id, {}, u"摄像头没拍成：%1"_s.arg(text));
            });
    m_camera->start();
    return true;
}

void PanelCamera::fetch(int ticket, const QDateTime&)
{
    if (!start())
        return fail(ticket, u"没有摄像头 %1"_s.arg(m_device));
    m_waiting.append(ticket);
    // A camera that never gets ready, or a capture that never returns, still gets its answer.
    QTimer::singleShot(m_timeoutMs, this, [this, ticket] {
        if (m_waiting.removeOne(ticket) || m_taking.key(ticket, -1) != -1) {
            m_taking.remove(m_taking.key(ticket, -1));
            fail(ticket, u"摄像头%1秒内没有回答"_s.arg(m_timeoutMs / 1000.0));
        }
    });
    if (m_capture->isReadyForCapture())
        captureWaiting();
}

void PanelCamera::captureWaiting()
{
    while (!m_waiting.isEmpty() && m_capture->isReadyForCapture()) {
        const int ticket = m_waiting.takeFirst();
        const int id = m_capture->capture();
        if (id < 0)
            fail(ticket, u"摄像头没拍成：%1"_s.arg(m_capture->errorString()));
        else
            m_taking.insert(id, ticket);
    }
}

void PanelCamera::captured(int id, const QByteArray& jpeg, const QString& failure)
{
    const auto it = m_taking.find(id);
    if (it == m_taking.end())
        return; // answered by its time-out already
    const int ticket = it.value();
    m_taking.erase(it);
    if (jpeg.isEmpty())
        fail(ticket, failure);
    else
        answer(ticket, jpeg);
}
