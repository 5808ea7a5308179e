// The packing table's platform scale: opened at load, asked for its weight with ESC "p" when it
// is quiet, read once a second while "接入台秤" is ticked.
#pragma once

#include "devices/ScaleReadings.h"
#include "devices/WeightSettling.h"

#include <QObject>
#include <QString>
#include <QTimer>

class SerialPort;

namespace devices {

class PackingScale : public QObject {
    Q_OBJECT
public:
    /// clock: the time the settling rule stamps readings with (default: a monotonic clock).
    explicit PackingScale(QObject* parent = nullptr, WeightSettling::Clock clock = {});

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
    /// Clears the input and sends ESC "p" (27, 112); "SI" to a scale that speaks SICS.
    void requestWeight();
    /// Whether the settled weight, a wait or a refusal goes with a save ("StableReadings" and the
    /// other keys of section "打包", read at openScalePort).
    WeightSettling& settling() { return m_settling; }
    const WeightSettling& settling() const { return m_settling; }
    /// The scale takes zero and tare commands (it speaks SICS): 归零 and 去皮 may be shown.
    bool zeroTareSupported() const { return m_zeroTare; }
    /// 归零 / 去皮: sends the command when the scale takes it; false when it does not.
    bool zeroScale();
    bool tareScale();
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
    /// The weight moves, has settled, is empty… (the settling rule's look), sent when it changes.
    void weightLook(devices::WeightLook look);
    /// The scale turned out to take zero and tare commands.
    void zeroTareAvailable(bool available);
    void deviceFault(const QString& detail);

private:
    void setSilent(bool silent);
    void judge(const QList<ScaleReading>& readings);
    void showLook();

    SerialPort* m_port;
    QTimer m_timer;
    ScaleReadingAssembler m_readings;
    WeightSettling m_settling;
    WeightLook m_shownLook = WeightLook::None;
    bool m_zeroTare = false;
    bool m_on = false;
    bool m_silent = false;
    int m_missedTicks = 0;
    QString m_lastWeight; ///< Str of the weight last sent
};

} // namespace devices
