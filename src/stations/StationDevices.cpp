// The devices' line of the beat, from the signals the device code sends the window anyway.
#include "stations/StationDevices.h"

#include "devices/InspectionDevices.h"
#include "shell/StationBeat.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Readings older than this: the frame stands still, or the cable is off.
constexpr qint64 QuietSeconds = 30;

} // namespace

void publishDevices(QWidget* window)
{
    QPointer<devices::InspectionDevices> d = window->findChild<devices::InspectionDevices*>();
    if (!d)
        return;
    // Invalid until the first reading: a frame that never sent one is no connected frame.
    auto last = std::make_shared<QDateTime>();
    const QDateTime started = QDateTime::currentDateTime();
    const auto heard = [last] { *last = QDateTime::currentDateTime(); };
    QObject::connect(d, &devices::InspectionDevices::quantityText, window, heard);
    QObject::connect(d, &devices::InspectionDevices::weightText, window, heard);
    StationBeat::setDevicesText([d, last, started]() -> QString {
        if (!d)
            return QString();
        if (!d->isPolling())
            return u"设备：暂停"_s;
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 quiet = (last->isValid() ? *last : started).secsTo(now);
        QString text = quiet > QuietSeconds ? u"设备：无读数 %1 秒"_s.arg(quiet)
                       : last->isValid()    ? u"设备：已连接"_s
                                            : u"设备：等待读数"_s;
        if (!d->counterAnswering())
            text += u"，计米器不应答"_s;
        return text;
    });
}
