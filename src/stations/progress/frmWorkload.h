// The process-progress station: a production card is scanned, a process step pressed, the worker
// entered and the report written with the card's new status; a second tab lists the reports.
// The window builds the controls and shows what the rules (WorkloadReport) answer; its parts hold
// the devices and keypads (WorkloadDevicePanel), the submit (WorkloadSavePanel) and the list tab
// (WorkloadListPart).
#pragma once

#include "db/Recordset.h"
#include "stations/progress/ProgressSettings.h"
#include "stations/progress/WorkloadFields.h"
#include "stations/progress/WorkloadReport.h"

#include <QList>
#include "stations/StationForm.h"

#include <memory>
#include <optional>

class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class WorkloadDevicePanel;
class WorkloadListPart;
class WorkloadSavePanel;
namespace devices {
class BarcodeScanner;
}

class frmWorkload : public StationForm {
    Q_OBJECT
public:
    /// Colours of the step buttons and the device captions (&HBBGGRR).
    static constexpr quint32 Selected = 65535;     // yellow: the chosen step
    static constexpr quint32 ButtonFace = 0x8000000F;
    static constexpr quint32 DeviceOn = 0xFF2000;
    static constexpr quint32 DeviceFailed = 0xC0C0FF;
    static constexpr quint32 DeviceIdle = 0x80000012;

    explicit frmWorkload(QWidget* parent = nullptr);
    ~frmWorkload() override;

    /// Database, entry reset, list period, scanner and reader. A failure is shown and ends the
    /// load; the window stays open.
    void Form_Load() override;

    // --- entry ---
    /// Reads the options again, clears the entry (worker and remark stay) and rebuilds the steps.
    void init(const QString& unused = QString());
    void buildStepButtons();
    void showPrecessInfo(const QString& card);
    void selectStep(int index, bool allowRepeat);
    /// Number of step buttons built from the settings.
    int stepCount() const;
    /// The caption of the yellow step button, "" when none is chosen.
    QString selectedStep() const;
    /// The total reported for card and step as text; offline the total kept from the last
    /// lookup, "" when it was never looked up here. Throws DbError.
    QString getInputWorkLoads(const QString& card, const QString& step);
    bool validateEntry();
    /// The report as the entry page holds it.
    ReportForm readForm() const;
    /// "提交", "清除", "查" and a step button as the operator presses them.
    void Command1_Click();
    void Command2_Click();
    void SearchBtn_Click();
    void ProcessBtn_Click(int index);
    /// The enlarged or normal step frame.
    void Frame3_Click();
    void setMessage(const QString& text);
    /// 操作 时间 follows the clock until the operator sets it.
    void followClock();

    const ProgressSettings& settings() const { return m_cfg; }
    const WorkloadReport& rules() const { return m_rules; }
    WorkloadDevicePanel& devices() const { return *m_devices; }
    WorkloadSavePanel& savePanel() const { return *m_save; }
    WorkloadListPart* list() const { return m_list; }

    // --- controls by their names (WorkloadFields.h) ---
    QList<QLineEdit*> TxtBox;       // WorkloadField
    QList<QLabel*> LabBox;          // WorkloadLabel
    QList<QLabel*> labInfo;         // WorkloadInfo
    QList<QPushButton*> ProcessBtn; // the steps, in the order of "Projects"
    QList<QPushButton*> numKeybtn;  // WorkloadKey
    QDateTimeEdit* DTPicker1 = nullptr;
    QLabel* Label1 = nullptr;       // "提交成功！"
    QLabel* Label2 = nullptr;       // "退出全屏"
    QPushButton* SearchBtn = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* rfidBtn = nullptr;
    QGroupBox* Frame1 = nullptr;    // header strip
    QWidget* Frame2 = nullptr;      // the entry page
    QGroupBox* Frame3 = nullptr;    // the steps
    QTabWidget* SSTab1 = nullptr;
    QTimer* Timer1 = nullptr;
    devices::BarcodeScanner* MSCommBarcode = nullptr;

    /// Back and fore colour of a step button or caption (&HBBGGRR or a system colour).
    static quint32 backColor(const QWidget* w);
    static quint32 foreColor(const QWidget* w);
    void setBackColor(QWidget* w, quint32 color);
    void setForeColor(QWidget* w, quint32 color);

protected:
    void closeEvent(QCloseEvent* event) override;
    void fitToScale(const Twips& tw) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void wireEvents();
    /// No step chosen, and the step frame's caption without a refused step's total.
    void clearStepChoice();
    void onWorkerChanged();
    /// The name of an active worker ("" for none); offline from the workers kept at load;
    /// nothing when it cannot be known.
    std::optional<QString> workerName(const QString& code) const;

    ProgressSettings m_cfg;
    WorkloadReport m_rules{m_cfg};
    WorkloadListPart* m_list = nullptr;
    WorkloadDevicePanel* m_devices = nullptr;
    WorkloadSavePanel* m_save = nullptr;
    Recordset m_cardRs;
    /// The card number the form last looked up: its figures are the ones on the form.
    QString m_lookedUpCard;
    bool m_nameWaits = false; // the worker's name is read again once the database answers
    QString m_shiftGiven;     // the shift the last worker brought into the remark
    bool m_clockSet = false;  // 操作 时间 set by the program, not by the operator
    bool m_dateTouched = false;
};
