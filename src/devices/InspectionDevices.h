// The devices of an inspection-type frame: length counter, platform scale, barcode scanner and
// RFID reader, polled on one 400 ms timer, under the device rules its station supplies.
#pragma once

#include "devices/DeviceRules.h"
#include "devices/MeterReplies.h"
#include "devices/ScaleReadings.h"
#include "devices/WeightSettling.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <memory>

class SerialPort;
class UsbCounterLibrary;
class RfidReaderLibrary;

namespace devices {

class BarcodeScanner;

/// Colours the device code gives captions, as &HBBGGRR values (system colours &H800000nn).
namespace colours {
inline constexpr quint32 kButtonText = 0x80000012; ///< system button text
inline constexpr quint32 kRed = 0x0000FF;           ///< a device is set up on this field
inline constexpr quint32 kScannerOpen = 0xFFCC00;
inline constexpr quint32 kScannerClosed = 0xC0C0FF;
inline constexpr quint32 kRfidOn = 0xFF2000;
} // namespace colours

/// Indexes of the station's controls that the device code fills (TxtBox and LabBox arrays).
namespace fields {
inline constexpr int kWorker = 0;        ///< TxtBox(0): RFID card of the worker
inline constexpr int kCard = 6;          ///< TxtBox(6): scanned card number
inline constexpr int kQuantity = 7;      ///< TxtBox(7): length
inline constexpr int kWeight = 14;       ///< TxtBox(14): weight (and length with "isguama")
inline constexpr int kCardCaption = 9;   ///< LabBox(9): scanner / RFID state colour
inline constexpr int kQuantityCaption = 10; ///< LabBox(10)
inline constexpr int kCounterStatus = 16;   ///< LabBox(16)
inline constexpr int kWeightCaption = 19;   ///< LabBox(19)
inline constexpr int kScaleStatus = 26;     ///< LabBox(26)
} // namespace fields

class InspectionDevices : public QObject {
    Q_OBJECT
public:
    explicit InspectionDevices(DeviceRules rules = {}, QObject* parent = nullptr);
    ~InspectionDevices() override;

    // --- what the station's check boxes and settings say -------------------------------------
    void setCounterConnected(bool on) { m_counterOn = on; } ///< Check2 "接入码表"
    void setScaleConnected(bool on) { m_scaleOn = on; }     ///< isChen "接入台称"
    void setYards(bool on) { m_yards = on; }                ///< isMashu "显示码数"
    bool yards() const { return m_yards; }
    /// BiliA / BiliB, evaluated by the station when the form loads or the settings are saved.
    void setLengthRatio(double a, double b);

    // --- operations --------------------------------------------------------------------------
    /// Form load and every click on Check2 / isChen: timer to 400 ms and running, captions of the
    /// quantity and weight fields back to button text, then scale, counter and scanner set up.
    void setupDevices();
    /// One timer tick (public so that a station or test can run one at once).
    void pollDevices();
    /// "归零": zero the counter. The Modbus counter gets the zero and, 500 ms apart, its two limit
    /// writes from a timer; the screen keeps working meanwhile and the counter is not read.
    void zeroCounter();
    /// The Modbus zero's limit writes are still to come.
    bool zeroing() const { return m_zeroStep > 0; }
    /// Ticks in a row in which a binary counter gave no whole reply: after kSilentTicks of them
    /// the counter does not answer, and the length on screen is the last one it sent.
    static constexpr int kSilentTicks = 5;
    bool counterAnswering() const { return m_missedTicks < kSilentTicks; }
    /// Double click on the unit caption: the yards flag becomes (caption != "码"), the counter is
    /// told the unit while its port is open. Returns the new yards flag.
    bool toggleUnit(const QString& unitCaption);
    /// Last raw counter reading as Str(v) (for the meter correction, "Check3").
    QString lastRawReading() const { return m_lastRaw; }
    /// Timer1.Enabled: a reopened roll stops polling until the next save.
    void setPolling(bool on);
    bool isPolling() const { return m_timer.isActive(); }
    /// The form emptied the weight field (a new roll): the scale's next reading is written even
    /// when it is the weight last written.
    void forgetWeight();
    /// Form unload: closes the ports and the USB counter.
    void releaseDevices();
    /// The settling rule over the scale's readings (keys of section "MIREL", read when the scale
    /// port is set up): whether a save may take the weight.
    WeightSettling& scaleSettling() { return m_settling; }
    /// The scale speaks SICS and takes zero and tare commands.
    bool scaleZeroTareSupported() const { return m_scaleZeroTare; }
    /// 归零 / 去皮 for the scale; false when it does not take them or its port is closed.
    bool zeroScale();
    bool tareScale();

    const DeviceRules& rules() const { return m_rules; }
    SerialPort* counterPort() const { return m_counter; }
    SerialPort* scalePort() const { return m_scale; }
    BarcodeScanner* scanner() const { return m_scanner; }
    UsbCounterLibrary& usbCounter() { return *m_usb; }
    RfidReaderLibrary& rfidReader() { return *m_rfid; }

signals:
    /// Text for TxtBox(index): 7, or 14 when "isguama" is on. Sent every tick with a reading.
    void quantityText(int txtBoxIndex, const QString& text);
    /// Str of the raw counter value (txtConfig(4).ToolTipText).
    void rawReading(const QString& text);
    /// TxtBox(14).Text and its tooltip (the raw weight as Str). Sent only when the weight changed
    /// or, under the rule weightEveryTick, on every reading.
    void weightText(const QString& text, const QString& rawText);
    /// LabUnit caption from a text counter: "米" or "码".
    void unitCaption(const QString& caption);
    void counterStatus(const QString& caption);   ///< LabBox(16).Caption
    void counterToolTip(const QString& text);     ///< LabBox(16).ToolTipText
    void scaleStatus(const QString& caption);     ///< LabBox(26).Caption
    /// The weight moves, has settled, is empty… (sent when it changes).
    void weightLook(devices::WeightLook look);
    /// Fore colour of LabBox(index) (9, 10 or 19) as &HBBGGRR.
    void labelColour(int labBoxIndex, quint32 vbColour);
    /// A scan: TxtBox(6) = text, its tooltip scannerToolTip(), then the find command.
    void cardScanned(const QString& text);
    /// An RFID card on the reader: TxtBox(0) = the block as hexadecimal text.
    void workerCard(const QString& hexText);
    /// What went wrong with a device, for a tooltip or the operator's eyes; captions stay the
    /// station's own.
    void deviceFault(const QString& detail);

private:
    void openScalePort();
    void openMeterPort();
    void openScannerPort();
    bool pollScale();
    bool pollCounter();
    bool pollTextCounter(double* v);
    QString textCounterInput();
    std::optional<double> pollBinaryCounter(CounterModel model);
    bool pollCheckedCounter();
    void showLength(double v);
    void pollRfid();
    void sendRequest(CounterModel model);
    CounterModel currentModel() const;
    QString counterSettings() const;
    void setCounterStatus(const QString& caption);
    void setScaleStatus(const QString& caption);
    void judgeWeights(const QList<ScaleReading>& readings);
    void setColour(int labBox, quint32 colour);
    void onCounterLost(const QString& error);
    void onScaleLost(const QString& error);
    void onCounterBack();
    void onScaleBack();
    void safeTick();
    void zeroStep();
    void missedReply();

    DeviceRules m_rules;
    QTimer m_timer;
    SerialPort* m_counter;
    SerialPort* m_scale;
    BarcodeScanner* m_scanner;
    std::unique_ptr<UsbCounterLibrary> m_usb;
    std::unique_ptr<RfidReaderLibrary> m_rfid;
    QTimer m_zeroTimer;
    int m_zeroStep = 0; ///< 1, 2: the first or second limit write comes next
    int m_missedTicks = 0;
    quint8 m_address = 1;
    bool m_counterOn = false, m_scaleOn = false, m_yards = false;
    double m_ratioA = 1, m_ratioB = 1;
    bool m_discardReply = false; ///< the counter answers a zero or unit command: not a length
    bool m_usbOpen = false;
    bool m_rfidTried = false;
    QString m_lastRaw, m_lastWeight;
    ScaleReadingAssembler m_scaleReadings;
    WeightSettling m_settling{SettlingSettings{}, WeightSettling::steadyClock()};
    WeightLook m_shownLook = WeightLook::None;
    bool m_scaleZeroTare = false;
    QByteArray m_counterCarry; ///< the same for a text counter's line
    bool m_counterSynced = false; ///< a line end of the text counter has been seen since opening
    std::optional<QString> m_shownCounter, m_shownScale;
    QHash<int, quint32> m_shownColour;
};

} // namespace devices
