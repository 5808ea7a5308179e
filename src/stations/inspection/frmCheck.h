// The fabric-inspection station: card lookup, roll entry and save, defects, labels and the roll
// list on one full-screen touch form. The mark-label and fiber-box stations derive from it and
// change validation, statements, devices and layout through the virtual hooks.
#pragma once

#include "db/Recordset.h"
#include "devices/DeviceRules.h"
#include "devices/WeightSettling.h"
#include "journal/JournalRecord.h"
#include "shell/JournalLabel.h"
#include "stations/inspection/CheckControls.h"
#include "stations/inspection/CheckSql.h"
#include "stations/inspection/InspectionRoll.h"
#include "stations/inspection/InspectionSettings.h"
#include "stations/inspection/RollSave.h"

#include <QWidget>

#include <memory>
#include <optional>

class EditGrid;
struct JournalReplayResult;
class UserControl1;
class QLineEdit;
namespace devices {
class InspectionDevices;
}
class QTimer;
class CheckSettingsPanel;

class frmCheck : public QWidget {
    Q_OBJECT
public:
    explicit frmCheck(QWidget* parent = nullptr);
    ~frmCheck() override;

    /// Runs the load sequence (database, settings, devices, captions, layout). Called once by the
    /// factory after construction so that derived stations' hooks are in place.
    void Form_Load();
    /// MES mode: the MES button, the progress bar and the wide defect frame.
    void enterMesMode();

    CheckControls& controls() { return c; }
    /// The roll on the form, field by field, for the rules.
    RollForm readRoll() const;
    const InspectionRoll& rules() const;
    /// The station's options as last read from mirel.ini.
    const InspectionSettings& settings() const { return m_cfg; }
    /// Reads the options again (at load, and after the settings panel or a test wrote them).
    void reloadSettings();

    // --- card lookup ---
    void loadCard(const QString& card, const QString& lineId);
    void showTotals(long long lineId);

    // --- roll entry ---
    void newRoll();
    void clearForm();
    void assignRollNumber();
    /// What the operator reads when the roll being saved was deleted meanwhile and now waits
    /// on the form as a new roll with this number.
    static QString rowDeletedMessage(const QString& newNumber);
    bool validateRoll();
    /// Saves the roll; its id, 0 when it was not saved, SavedOffline when the database could
    /// not be reached and the roll went into the offline journal.
    long long saveRoll(bool refreshTotals);
    static constexpr long long SavedOffline = -1;
    /// After an offline save: the form moves on to a new roll and the status line says so.
    void rollSavedOffline();
    /// After a save that does not move on (自动换卷 off, or a mark printed): the saved roll stays
    /// on screen and the counter stops writing into it until the next roll.
    void keepSavedRoll(long long id);
    /// The status line after a roll was saved: a new one, or a change of a saved one.
    static QString savedStatus(bool update);
    /// After a save that had to give the new roll another number than the one on the form
    /// (another station saved that number meanwhile): the status line names both, as "卷号已改：
    /// 003 → 005" after savedStatus. Nothing when the roll kept its number.
    void sayRenumbered(bool update);
    /// The record the last offline save kept (its label is filled from it).
    const JournalRecord& lastOfflineRecord() const { return m_offline.record; }
    /// The roll as the last online save stored it (its number, its article).
    const RollForm& lastSavedRoll() const { return m_lastSaved; }
    /// What a label of that roll is filled from besides the roll: the rows kept for its card
    /// and article, then the card as the station looked it up.
    QList<JournalLabelRows::Table> lastOfflineLabelRows() const;
    void loadRoll(long long id);
    /// A saved roll's values are being put on the form: they are shown as stored.
    bool fillingRoll() const { return m_fillingRoll; }
    /// The question before 换卷 drops a roll with length or defects that was never saved.
    static QString dropRollQuestion();
    QString currentGrade() const;
    void selectGrade(const QString& caption);
    /// Command buttons by index (0 find … 16 delete listed roll).
    void runCommand(int index);

    // --- defect grid (columns 1..6 of each data row) ---
    QList<QStringList> defectRows() const;
    void setDefectRows(const QList<QStringList>& rows);
    void appendDefectRow(const QStringList& cols);
    EditGrid* pggCheck() const { return m_pggCheck; }
    /// The number keypad, built when it is first needed.
    UserControl1* keypad();
    devices::InspectionDevices* devices() const { return m_devices; }
    /// The settings panel (更多设置), built on its first opening.
    CheckSettingsPanel* settingsPanel();
    /// Controls built after the window (parts made on first use) get their design type (12
    /// points where they have none) at the window's scale.
    void adoptControls(QWidget* root);

    // Hooks the station's parts ask (roll list, labels).
    /// The roll list's built-in text up to "where 1=1 ".
    virtual QString rollListBase() const;
    /// The question before a roll is deleted.
    virtual QString deleteQuestion(long long id) const;
    /// What the form shows after a roll was deleted: the roll before it (the step 上卷).
    virtual void afterRollDeleted() { runCommand(CheckCmd::PreviousRoll); }
    /// The per-user setting that remembers the roll-label template, and its default.
    virtual QString templateSetting() const { return QStringLiteral("check"); }
    virtual QString defaultTemplate() const { return QStringLiteral("唛头"); }

    /// The status line (LabBox(0)).
    void setStatus(const QString& text);
    QString status() const;

    void Frame5_Click();
    bool defectFrameWide() const;
    /// A list tab is open: the command row rises over the room the roll form and the narrow
    /// defect frame give up, and the tabs take the room below it. Closing gives it back.
    void setListOpen(bool open);
    bool listOpen() const { return m_listOpen; }
    /// Twips the tabs rise by while a list is open.
    static int listTabsRise();
    /// "换缸": a new dye lot for today.
    void cmdHuangang_Click();
    /// "产量": the worker's share as a zero-score row.
    void cmdCanliang_Click();
    void btnSavePosi_Click(int index);
    void setPolling(bool on);
    bool polling() const;

signals:
    /// After every successful save with the new or updated roll id.
    void rollSaved(long long id);
    /// The form no longer holds the roll it held: cleared for a new roll (换卷, a new card, after
    /// a save, a deleted roll) or another saved roll opened.
    void rollCleared();
    /// A command whose work belongs to another part of the station (defects, labels, lists,
    /// navigation, MES).
    void commandRequested(int index);
    /// A card line is on screen (its bill id): the bill's own label templates can be fetched.
    void cardLineShown(const QString& billId);
    /// The settings panel's "保存" wrote mirel.ini.
    void settingsSaved();
    /// The defect grid was emptied or filled with a saved roll's defects.
    void defectsReplaced();
    /// The inspector chose the grade by hand (not the code: a new or reopened roll, the
    /// automatic grade).
    void gradeTouched();
    /// A save found the roll on the form deleted at another station (its id and number): the
    /// form now holds it as a new roll with a number of its own.
    void rollDeletedElsewhere(long long id, const QString& number);

protected:
    // Hooks of the variant stations.
    virtual QString layoutKey() const { return QStringLiteral("InputPosition"); }
    /// The controls whose places "保存位置" stores, in the layout text's order.
    virtual QString layoutControls() const { return layoutControlList(); }
    /// The roll-number scopes ("codetype") of the station, its default first.
    virtual QStringList numberScopes() const
    {
        return {QStringLiteral("检验单颜色"), QStringLiteral("面料编码"), QStringLiteral("缸号")};
    }
    /// The wide defect frame's top and height when mirel.ini has no "BugFrame5.Top"/"Height".
    virtual QPoint wideDefectFrame() const { return {3100, 3910}; }
    /// The station's roll rules (the mark-label and fiber-box stations have their own).
    virtual std::unique_ptr<InspectionRoll> makeRules() const;
    /// What the form holds besides its fields (a variant's article, say), added to readRoll().
    virtual void completeRoll(RollForm& roll) const { Q_UNUSED(roll); }
    /// The dye-lot field changed (typed, or a new lot from 换缸): under the dye-lot numbering
    /// the roll gets the next number of the new lot. Stations without that scope override it.
    virtual void dyeLotChanged();
    /// The journal sent what was saved offline: a new roll's proposed number, counted offline,
    /// is proposed again from the database, which now holds the journaled rolls under their
    /// final numbers; the line's totals count them; rolls whose stock posting failed are shown.
    virtual void journalReplayed(const JournalReplayResult& result);
    /// After a roll's record is read back on reopen: the rules' fields on the form.
    virtual void fillFromRoll(const Recordset& rs);
    /// Puts the fields, remark, unit, grade and article of roll on the form, each only where it
    /// differs from what the form shows (a field's reactions run only for a change).
    void showRoll(const RollForm& roll);
    /// The status line says what stops the save and the caret goes to the field.
    void showProblem(const RollProblem& problem);
    /// The card of a reopened roll is looked up again (its lines, totals and presets).
    virtual void loadRollCard(const QString& card, const QString& lineId) { loadCard(card, lineId); }
    /// The form's own part before a roll is saved, online or into the offline journal (a batch
    /// number put together on the form); the rules' part is InspectionRoll::prepare.
    virtual void beforeSave() {}
    /// Devices: set up at load and on a device check box click, released at unload.
    virtual void setupDevices();
    virtual void releaseDevices();
    virtual void zeroMeter();
    /// How this station's frame uses its devices (counter models, text rules, RFID).
    virtual devices::DeviceRules deviceRules() const { return {}; }
    /// Asked before a command runs; false stops it (the station says why).
    virtual bool commandAllowed(int index) { Q_UNUSED(index); return true; }
    /// After a command has run.
    virtual void afterCommand(int index) { Q_UNUSED(index); }
    /// A double click on a field label of the roll form; true when the station handled it.
    virtual bool fieldLabelDoubleClicked(QLabel* label) { Q_UNUSED(label); return false; }
    /// The end of Form_Load, with settings, devices and the stored layout in place.
    virtual void afterLoad() {}
    /// Grade button index is the chosen grade: touched, or chosen by code (a new or reopened roll,
    /// the automatic grade). Called again when the chosen grade is touched once more.
    virtual void gradeChanged(int index) { Q_UNUSED(index); }
    /// Gives the field TxtBox(txt) the station's own caption (its label, the label's required-field
    /// box, whose stored caption still wins at load, and the field's accessible name); tip, when
    /// given, becomes the label's tool tip.
    void setFieldCaption(int txt, const QString& caption, const QString& tip = QString());
    /// The card line, article or dye lot of a new roll changed: under the running numbers the
    /// roll gets the next number of its new scope, before it is saved.
    void numberScopeChanged();
    /// Fills fields from a row: "index|column," items ("CheckFill" presets of the dictionary).
    /// Sets the fields a preset list ("index|column,…") names from the row; from a card's list
    /// ("CheckFill" "99", shared by every station of the database) the fields the station keeps
    /// for its own use are left alone.
    void applyPresets(const QString& fill, const Recordset& rs, bool cardList = false);
    /// Wires a field group of the roll form: its caption drags the group, its keypad button and
    /// the focus on its field open the keypad.
    void wireFieldGroup(QLabel* label);
    /// Shows the keypad for a field (the keypad button, or the focus rule of KeyBoardValidate).
    void showKeypad(QLineEdit* box);

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    CheckControls c;
    InspectionSettings m_cfg;
    mutable std::unique_ptr<InspectionRoll> m_rules; // made on first use, by makeRules()

private:
    void wireEvents();
    void wireDevices();
    void applyLengthRatio();
    void correctMeter();
    bool confirmCounterLength();
    /// A weight the scale wrote into the weight field is saved as the scale has settled on it:
    /// a moving weight is waited for (up to three seconds, the window going on meanwhile),
    /// then taken or refused with the reason on the status line. A typed weight is the
    /// operator's. False when the roll must not be saved now.
    bool confirmScaleWeight();
    /// The weight field grey with "称重中…" as its caption while the weight moves.
    void showWeightLook(devices::WeightLook look);
    /// After a save: the box whose weight the scale gave is off the scale before the next counts.
    void weightSaved();
    QString m_scaleText;     // the weight text the scale last wrote into the weight field
    std::optional<double> m_takenWeight; // the settled weight the roll on the form is saved with
    bool m_weighing = false; // a save waits for the weight to settle
    void wireKeypad();
    void applyFonts();
    /// The lines that show the mill's data (status, card, customer, totals, worker, sensors) get
    /// the largest type at which their whole text shows.
    void fitDataLabels();
    void buildGradeButtons();
    /// pos (on the defect frame) lies within the block of defect buttons, gaps included.
    bool amongDefectButtons(QPoint pos) const;
    void enableCommands();
    void applyStoredCaptions();
    void onWorkerChanged();
    void onWeightChanged();
    void sayFormulaProblem(const QString& formula, const QString& message);
    /// An input of the quantity formula was typed: a complaint that it is missing goes once it
    /// is there (the quantity itself follows the next weight).
    void onFormulaInputChanged();
    void onQuantityChanged();
    void onComboColorActivated(int index);
    void showCardLine(const Recordset& rs);
    void loadProgressHistory(const QString& lineId);
    void findCard();
    void reviewRoll();
    /// After a save whose roll another station had deleted: the form holds a new roll.
    void rollWasDeleted();
    /// The roll goes into the offline journal (the same statements, the number and the new
    /// roll's id marked for the replay); SavedOffline, or 0 when the journal cannot be written.
    long long saveRollOffline();
    /// The roll's save, with the station's journal (opened unless withJournal is false).
    RollSave rollSave(bool withJournal = true) const;
    RollSave::Kept m_offline; // the last roll saved offline: its record, number, card, article
    RollForm m_lastSaved;
    void toggleUnit();
    void placeFieldGroup(QLabel* label, const QPoint& topLeft);
    /// The commands below the roll form, with the copies box and the two ticks beside them.
    QList<QWidget*> commandRow() const;
    /// The narrow defect frame, while a list is open, ends above the risen command row (fit) or
    /// gets its own height back.
    void fitDefectFrameToList(bool fit);

    Recordset m_cardRs;
    QString m_selectedColor;
    EditGrid* m_pggCheck = nullptr;
    UserControl1* m_keypad = nullptr;
    devices::InspectionDevices* m_devices = nullptr;
    CheckSettingsPanel* m_settingsPanel = nullptr;
    /// The required-field captions by box index, kept here until the panel is built.
    QStringList m_requiredCaptions;
    QString m_rawReading; // the counter's raw reading, shown on the panel's biliB box
    bool m_loaded = false;
    bool m_listOpen = false;
    QString m_numberScope;      // the condition the roll number on screen was proposed under
    QString m_renumbered; // the last save's new roll got another number than the one shown
    QString m_formulaSaid; // the quantity formula's problem last said, with the formula
    /// 换卷 touched: true when the form holds no unsaved roll, or the inspector lets it go.
    bool mayDropRoll();
    /// What the form held for the next new roll when a saved roll was reopened over it: the card
    /// line, the fields a new roll keeps, the remark and the unit.
    struct NextRoll {
        QString card, line, item, remark;
        QList<std::pair<int, QString>> fields;
        bool yards = false;
    };
    std::optional<NextRoll> m_nextRoll;
    /// Before a saved roll is shown over a new one: keeps what the new one held.
    void keepNextRoll();
    /// A new roll after a reopened one starts from what was kept, not from the reopened roll.
    void restoreNextRoll();
    bool m_fillingRoll = false; // the saved roll's values are shown as stored, not recomputed
    // Dragging a field label with its group.
    QLabel* m_dragLabel = nullptr;
    QPoint m_dragOffset;
    QPoint m_dragStart; // where the finger came down, in screen pixels
};
