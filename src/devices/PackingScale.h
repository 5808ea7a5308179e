// The packing table's platform scale: opened at load, asked for its weight with ESC "p" when it
// is quiet, read once a second while "接入台秤" is ticked.
#pragma once

#include "devices/ScaleReadings.h"

#include <QObject>
#include <QString>
#include <QTimer>

class SerialPort;

namespace devices {

class PackingScale : public QObject {
    Q_OBJECT
public:
    explicit PackingScale(QObject* parent = nullptr);

    /// Form load (whatever isChen says): "CHENCOM", "CHENInputSet", "CHENInputMode", an event
    /// threshold of 8 bytes. Status "台称准备好", or "台称没找到" with the port left closed.
    bool openScalePort();
    /// isChen: the 1000 ms timer runs only while it is ticked.
    void setEnabled(bool on);
    bool isEnabled() const { return m_timer.isActive(); }
    /// One tick: the weight of the newest whole reading that arrived when it differs from the last
    /// one shown, and the ESC "p" request when the scale was quiet.
    void poll();
    /// Ticks in a row without a whole reading after which the weight on screen is no longer the
    /// scale's (unplugged, switched off): three seconds.
    static constexpr int kSilentTicks = 3;
    bool silent() const { return m_silent; }
    /// Clears the input and sends ESC "p" (27, 112).
    void requestWeight();
    void close();
    SerialPort* port() const { return m_port; }

signals:
    /// The weight formatted with "dispFormat": into the box weight bagNumber(1) when "是否要打包"
    /// is exactly "1", else into the roll quantity txtUser(11). An unchanged weight is not sent
    /// again, so that the operator can overwrite it until the next change.
    void weightText(const QString& text);
    /// No whole reading for kSilentTicks ticks (true), or a reading again (false).
    void silenceChanged(bool silent);
    /// LabMsg3.
    void status(const QString& text);
    void deviceFault(const QString& detail);

private:
    void setSilent(bool silent);

    SerialPort* m_port;
    QTimer m_timer;
    ScaleReadingAssembler m_readings;
    bool m_on = false;
    bool m_silent = false;
    int m_missedTicks = 0;
    QString m_lastWeight; ///< Str of the weight last sent
};

} // namespace devices
