// The devices' line of the beat, from the signals the device code sends the window anyway.
#include "stations/StationDevices.h"

#include "devices/InspectionDevices.h"
#include "shell/StationBeat.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace {

// Readings older than this: the frame stands still, or the cable is off.
constexpr qint64 QuietSeconds = 30;

} // namespace

void publishDevices(QWidget* window)
{
    QPointer<devices::InspectionDevices> d = window->findChild<devices::InspectionDevices*>();
    if (!d)
        return;
    auto last = std::make_shared<QDateTime>(QDateTime::currentDateTime());
    const auto heard = [last] { *last = QDateTime::currentDateTime(); };
    QObject::connect(d, &devices::InspectionDevices::quantityText, window, heard);
    QObject::connect(d, &devices::InspectionDevices::weightText, window, heard);
    StationBeat::setDevicesText([d, last]() -> QString {
        if (!d)
            return QString();
        if (!d->isPolling())
            return QStringLiteral("设备：暂停");
        const qint64 quiet = last->secsTo(QDateTime::currentDateTime());
        QString text = quiet > QuietSeconds ? QStringLiteral("设备：无读数 %1 秒").arg(quiet)
                                            : QStringLiteral("设备：已连接");
        if (!d->counterAnswering())
            text += QStringLiteral("，计米器不应答");
        return text;
    });
}
