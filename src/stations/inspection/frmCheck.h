// The fabric-inspection station: card lookup, roll entry and save, defects, labels and the roll
// list on one full-screen touch form. The window builds the controls and runs the commands; its
// parts (card, roll, save, devices, layout, defect grid) each hold one side of the form, and the
// roll's rules are InspectionRoll's. The mark-label and fiber-box stations derive from it and
// change the rules, the layout and a few steps of the form through the hooks.
#pragma once

#include "db/Recordset.h"
#include "devices/DeviceRules.h"
#include "stations/inspection/CheckControls.h"
#include "stations/inspection/CheckSql.h"
#include "stations/inspection/InspectionRoll.h"
#include "stations/inspection/InspectionSettings.h"

#include <QPoint>
#include <QWidget>

#include <memory>

using namespace Qt::StringLiterals;

class CheckCardPanel;
class CheckDefectGrid;
class CheckDevicePanel;
class CheckLayoutPanel;
class CheckRollPanel;
class CheckSavePanel;
class CheckSettingsPanel;
class DefectCamera;
class QLabel;

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
    /// The load sequence has run: focus and field reactions are the operator's from now on.
    bool loaded() const { return m_loaded; }

    // The parts of the window (each a class of its own, built with the window).
    CheckCardPanel& cardPanel() const { return *m_card; }
    CheckRollPanel& rollPanel() const { return *m_roll; }
    CheckSavePanel& savePanel() const { return *m_save; }
    CheckDevicePanel& devicePanel() const { return *m_devicePanel; }
    CheckLayoutPanel& layoutPanel() const { return *m_layout; }
    CheckDefectGrid& defectGrid() const { return *m_defects; }
    /// The defect camera and its pictures' store, as the settings name them.
    DefectCamera& defectCamera() const { return *m_camera; }
    /// The settings panel (更多设置), built on its first opening.
    CheckSettingsPanel* settingsPanel();

    QString currentGrade() const;
    void selectGrade(const QString& caption);
    /// Command buttons by index (0 find … 16 delete listed roll).
    void runCommand(int index);
    /// The status line (LabBox(0)).
    void setStatus(const QString& text);
    QString status() const;

    /// What a variant station changes of the window's layout and numbering.
    struct Variant {
        QString layoutKey = u"InputPosition"_s;
        /// The controls whose places "保存位置" stores, in the layout text's order.
        QString layoutControls = layoutControlList();
        /// The roll-number scopes ("codetype") of the station, its default first.
        QStringList numberScopes{u"检验单颜色"_s, u"面料编码"_s, u"缸号"_s};
        /// The wide defect frame's top and height when mirel.ini has no "BugFrame5.Top"/"Height".
        QPoint wideDefectFrame{3100, 3910};
    };
    virtual Variant variant() const { return {}; }

signals:
    /// After every successful save with the new or updated roll id.
    void rollSaved(long long id);
    /// The form no longer holds the roll it held: cleared for a new roll (换卷, a new card, after
    /// a save, a deleted roll) or another saved roll opened.
    void rollCleared();
    /// A command whose work belongs to another part of the station (defects, labels, lists,
    /// navigation, MES).
    void commandRequested(int index);
    /// A command has run (the save, a print, a delete …).
    void commandDone(int index);
    /// The end of Form_Load, with settings, devices and the stored layout in place.
    void formLoaded();
    /// A card line is on screen (its bill id): the bill's own label templates can be fetched.
    void cardLineShown(const QString& billId);
    /// The settings panel's "保存" wrote mirel.ini.
    void settingsSaved();
    /// The defect grid was emptied or filled with a saved roll's defects.
    void defectsReplaced();
    /// Grade button index is the chosen grade: touched, or chosen by code (a new or reopened
    /// roll, the automatic grade). Sent again when the chosen grade is touched once more.
    void gradeChosen(int index);
    /// The inspector chose the grade by hand (not the code: a new or reopened roll, the
    /// automatic grade).
    void gradeTouched();
    /// A save found the roll on the form deleted at another station (its id and number): the
    /// form now holds it as a new roll with a number of its own.
    void rollDeletedElsewhere(long long id, const QString& number);

protected:
    // Hooks of the variant stations.
    /// The station's roll rules (the mark-label and fiber-box stations have their own).
    virtual std::unique_ptr<InspectionRoll> makeRules() const;
    /// What the form holds besides its fields (a variant's article, say), added to readRoll().
    virtual void completeRoll(RollForm& roll) const { Q_UNUSED(roll); }
    /// After a roll's record is read back on reopen: the rules' fields on the form.
    virtual void fillFromRoll(const Recordset& rs);
    /// The card of a reopened roll is looked up again (its lines, totals and presets).
    virtual void loadRollCard(const QString& card, const QString& lineId);
    /// The form's own part before a roll is saved, online or into the offline journal (a batch
    /// number put together on the form); the rules' part is InspectionRoll::prepare.
    virtual void beforeSave() {}
    /// How this station's frame uses its devices (counter models, text rules, RFID).
    virtual devices::DeviceRules deviceRules() const { return {}; }
    /// Asked before a command runs; false stops it (the station says why).
    virtual bool commandAllowed(int index) { Q_UNUSED(index); return true; }
    /// A double click on a field label of the roll form; true when the station handled it.
    virtual bool fieldLabelDoubleClicked(QLabel* label) { Q_UNUSED(label); return false; }
    /// Gives the field TxtBox(txt) the station's own caption (its label, the label's required-field
    /// box, whose stored caption still wins at load, and the field's accessible name); tip, when
    /// given, becomes the label's tool tip.
    void setFieldCaption(int txt, const QString& caption, const QString& tip = QString());

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    CheckControls c;
    InspectionSettings m_cfg;
    mutable std::unique_ptr<InspectionRoll> m_rules; // made on first use, by makeRules()

private:
    // The parts call the hooks and the command state.
    friend class CheckCardPanel;
    friend class CheckDevicePanel;
    friend class CheckLayoutPanel;
    friend class CheckRollPanel;
    friend class CheckSavePanel;

    void wireEvents();
    void applyStoredCaptions();
    void enableCommands();
    void buildGradeButtons();
    /// The camera and the pictures' store from the settings, on the station's connection.
    void setUpCamera();

    CheckDefectGrid* m_defects = nullptr;
    DefectCamera* m_camera = nullptr;
    CheckLayoutPanel* m_layout = nullptr;
    CheckDevicePanel* m_devicePanel = nullptr;
    CheckCardPanel* m_card = nullptr;
    CheckRollPanel* m_roll = nullptr;
    CheckSavePanel* m_save = nullptr;
    CheckSettingsPanel* m_settingsPanel = nullptr;
    /// The required-field captions by box index, kept here until the panel is built.
    QStringList m_requiredCaptions;
    bool m_loaded = false;
};
