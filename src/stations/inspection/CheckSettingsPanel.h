// The settings panel of the inspection-type stations (frame Frame3 behind "更多设置"): station
// options written to mirel.ini, the required fields, the field layout buttons, guarded by the
// access code.
#pragma once

#include "stations/inspection/CheckControls.h"

#include <QFrame>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

/// A required-field box of the panel: its caption, the label and text-box indexes of its field
/// (its tool tip) and its caption key (its tag).
struct RequiredField {
    int box;
    QString caption;
    QString tip;
    QString tag;
};

/// The panel is built on its first opening; what the window needs of it before (the required
/// fields' captions) lives in the window, and the settings themselves are read from mirel.ini.
class CheckSettingsPanel : public QFrame {
    Q_OBJECT
public:
    /// captions: the required-field boxes' captions by box index, as the window has them.
    CheckSettingsPanel(QWidget* form, CheckControls& controls, const QStringList& captions);

    /// The required-field boxes with their design captions.
    static QList<RequiredField> requiredFields();
    /// Gives each field of the roll form its required-field caption (captions by box index).
    static void applyCaptionsToFields(CheckControls& c, const QStringList& captions);

    /// Sets every control from its key (design value as default) and the required-field boxes
    /// from requireTxtbox.
    void load();
    /// Writes every key and requireTxtbox, then closes the panel.
    void save();
    /// The roll-number scopes the station offers under "codetype"; the first is the default.
    void setNumberScopes(const QStringList& scopes);
    /// The required-field captions (renamed per customer) on the roll form's labels.
    void applyCaptionsToFields();
    /// The boxes' captions by box index.
    QStringList requiredCaptions() const;

    /// Ticking "更多设置" asks for the access code; a right code opens the panel.
    void askAccessCode();
    /// Checks an entered access code: opens the panel, or says it is wrong and unticks.
    bool checkAccessCode(const QString& entered);
    /// Hides the panel and the access-code box.
    void closePanel();

    QList<QCheckBox*> checkBoxes() const { return m_check; }
    QList<QLineEdit*> textBoxes() const { return m_text; }
    QList<QComboBox*> comboBoxes() const { return m_combo; }
    QList<QCheckBox*> requiredBoxes() const { return m_required; }
    QLineEdit* passwordBox() const { return m_password; }
    QPushButton* saveButton() const { return m_saveButton; }
    /// Check3: the meter correction under the two ratio boxes.
    QCheckBox* meterCorrectionBox() const { return m_meterCorrection; }

signals:
    void savePosition(int index);
    /// After "保存" wrote the keys.
    void saved();
    /// A required-field box got a new caption (right click).
    void captionEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildOptions();
    void buildRequired(const QStringList& captions);

    CheckControls& c;
    QList<QCheckBox*> m_check;    // check box 0..13
    QList<QLineEdit*> m_text;     // txtConfig 0..7, the pictures 8..11
    QList<QComboBox*> m_combo;    // combo 0..1
    QList<QCheckBox*> m_required; // LabChk, by box index
    QLineEdit* m_password = nullptr;
    QFrame* m_passwordFrame = nullptr;
    QPushButton* m_saveButton = nullptr;
    QCheckBox* m_meterCorrection = nullptr;
};
