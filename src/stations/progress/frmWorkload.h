// The process-progress station: a production card is scanned, a process step pressed, the worker
// entered and the report written with the card's new status; a second tab lists the reports.
#pragma once

#include "db/Recordset.h"
#include "stations/progress/WorkloadSql.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <optional>

class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class RfidReaderLibrary;
class UserControl1;
class UserControl4;
class WorkloadListPart;
namespace devices {
class BarcodeScanner;
}

class frmWorkload : public QWidget {
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
    void Form_Load();

    // --- entry ---
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
    /// Writes the report; while the database is away (or reports wait in the offline journal)
    /// it goes into the journal (savedOffline()). False when nothing was saved.
    bool saveReport();
    bool savedOffline() const { return m_savedOffline; }
    /// "提交", "清除", "查" and a step button as the operator presses them.
    void Command1_Click();
    void Command2_Click();
    void SearchBtn_Click();
    void ProcessBtn_Click(int index);

    // --- devices and keypads ---
    void openScannerPort();
    /// "RFID": reads the card on the reader and takes its worker.
    void readWorkerCard();
    /// The 1000 ms tick while "RFID" is shown: a card is taken once while it lies on the reader.
    void pollReader();
    bool loadPresetKeypad(const QString& key);
    void showPresetKeypad(int field);
    void showNumberKeypad(int field, bool selectAll);
    /// The enlarged or normal step frame.
    void Frame3_Click();

    // --- controls by their indexes ---
    QList<QLineEdit*> TxtBox;       // 0 card, 1 worker, 2 metres, 3 remark, 4/5 list filters, 6 pieces
    QList<QLabel*> LabBox;          // 0 scanner, 1 message line, 2 RFID, 14 worker name
    QList<QLabel*> labInfo;         // two card information lines
    QList<QPushButton*> ProcessBtn; // the steps
    QList<QPushButton*> numKeybtn;  // keypads of fields 0, 1, 2, 6
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
    UserControl1* NumberKeybord1 = nullptr;
    UserControl4* UserControl41 = nullptr;
    QTimer* Timer1 = nullptr;
    devices::BarcodeScanner* MSCommBarcode = nullptr;
    WorkloadListPart* list() const { return m_list; }
    RfidReaderLibrary& reader() { return *m_reader; }

    /// Back colour of a step button or caption (&HBBGGRR or a system colour).
    static quint32 backColor(const QWidget* w);
    static quint32 foreColor(const QWidget* w);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void wireEvents();
    void applyFonts();
    void setMessage(const QString& text);
    static QString cardChangedMessage() { return QStringLiteral("卡号已改，请先查询"); }
    /// No step chosen, and the step frame's caption without a refused step's total.
    void clearStepChoice();
    void onWorkerChanged();
    /// The name of an active worker ("" for none); offline from the workers kept at load;
    /// nothing when it cannot be known.
    std::optional<QString> workerName(const QString& code) const;
    /// 操作 时间 follows the clock until the operator sets it.
    void followClock();
    void onScanned(const QString& text);
    bool readCardOnReader(QByteArray* block);
    /// A worker card's block: a registered card gives its user's code; else a text that ends in
    /// a step number selects that step; else the text is added to the team. A blank card is not.
    void takeWorkerCard(const QByteArray& block);
    void addWorkerCode(const QString& code);
    void setBackColor(QWidget* w, quint32 color);
    void setForeColor(QWidget* w, quint32 color);
    QString readMirel(const QString& key, const QString& def) const;
    /// The automatic allotment row of an allot-all step; returns what the operator is told once
    /// the report has been committed (empty: nothing).
    QString writeAllotRow(const QString& card, const QString& step, const QString& machine);
    WorkloadSql::Report reportValues(const QString& card, const QString& step) const;
    bool saveReportOffline(const QString& card, const QString& step);

    WorkloadListPart* m_list = nullptr;
    std::unique_ptr<RfidReaderLibrary> m_reader;
    Recordset m_cardRs;
    bool m_readerTried = false;
    QByteArray m_cardOnReader; ///< the block of the card lying on the reader, read already
    bool m_savedOffline = false;
    /// The card number the form last looked up: its figures are the ones on the form.
    QString m_lookedUpCard;
    bool m_nameWaits = false; // the worker's name is read again once the database answers
    QString m_shiftGiven;     // the shift the last worker brought into the remark
    bool m_clockSet = false;  // 操作 时间 set by the program, not by the operator
    bool m_dateTouched = false;
};
