// The inspection window's devices: the counter, scale, scanner and RFID reader fill their fields
// every tick; a save takes the counter's length and the scale's settled weight, or says why not.
#pragma once

#include "devices/WeightSettling.h"

#include <QObject>
#include <QString>

#include <optional>

class frmCheck;
struct CheckControls;
namespace devices {
class InspectionDevices;
}

class CheckDevicePanel : public QObject {
    Q_OBJECT
public:
    explicit CheckDevicePanel(frmCheck* form);

    devices::InspectionDevices* devices() const { return m_devices; }
    /// Devices: set up at load and on a device check box click, released at unload.
    void setupDevices();
    void releaseDevices();
    void zeroMeter();
    /// The counter writes its length into the quantity (off while a saved roll is on screen).
    void setPolling(bool on);
    bool polling() const;
    /// The length ratio of the settings ("1", "100/98") for the counter's next readings.
    void applyLengthRatio();
    /// "校正米数" ticked on the settings panel: asks, then takes the machine's counter.
    void correctMeter();
    /// The counter's raw reading, shown on the settings panel's biliB box.
    const QString& rawReading() const { return m_rawReading; }

    /// The counter has been silent: the operator confirms the length on screen. False stops the
    /// save.
    bool confirmCounterLength();
    /// A weight the scale wrote into the weight field is saved as the scale has settled on it:
    /// a moving weight is waited for (up to three seconds, the window going on meanwhile),
    /// then taken or refused with the reason on the status line. A typed weight is the
    /// operator's. False when the roll must not be saved now.
    bool confirmScaleWeight();
    /// A save waits for the weight to settle: the form is that roll's, nothing else runs.
    bool weighing() const { return m_weighing; }
    /// After a save: the box whose weight the scale gave is off the scale before the next counts.
    void weightSaved();
    /// A new roll: the roll on the scale is weighed again, if it weighs the same.
    void forgetWeight();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireDevices();
    /// The weight field grey with "称重中…" as its caption while the weight moves.
    void showWeightLook(devices::WeightLook look);

    frmCheck* m_form;
    CheckControls& c;
    devices::InspectionDevices* m_devices = nullptr;
    QString m_rawReading;
    QString m_scaleText; // the weight text the scale last wrote into the weight field
    std::optional<double> m_takenWeight; // the settled weight the roll on the form is saved with
    bool m_weighing = false;             // a save waits for the weight to settle
};
