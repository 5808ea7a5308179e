// A camera attached to the panel itself (a V4L2 device), through Qt Multimedia. Started at the
// first request and kept running, so that later pictures come without the camera's start-up.
#pragma once

#include "camera/CameraSource.h"

#include <QHash>
#include <QList>

class QCamera;
class QImageCapture;
class QMediaCaptureSession;

class PanelCamera : public CameraSource {
    Q_OBJECT
public:
    /// device: "/dev/video0" (or the camera's description as Qt Multimedia lists it).
    explicit PanelCamera(const QString& device, int timeoutMs = 2000, QObject* parent = nullptr);
    ~PanelCamera() override;

    /// True when Qt Multimedia lists a camera of that device.
    static bool present(const QString& device);

protected:
    void fetch(int ticket, const QDateTime& touched) override;

private:
    bool start();
    void captureWaiting();
    void captured(int id, const QByteArray& jpeg, const QString& failure);

    QString m_device;
    int m_timeoutMs;
    QCamera* m_camera = nullptr;
    QImageCapture* m_capture = nullptr;
    QMediaCaptureSession* m_session = nullptr;
    QList<int> m_waiting;    // tickets asked for before the camera was ready
    QHash<int, int> m_taking; // capture id → ticket
};
