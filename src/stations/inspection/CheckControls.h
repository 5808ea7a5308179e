// The controls of the inspection window, addressed by the names and indexes the settings and
// stored layouts use (TxtBox(6), LabBox(10), checkCommand(14) ...).
#pragma once

#include "stations/inspection/CheckFields.h"
#include "widgets/TwipLayout.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class CaptionFrame;
class fProcessBar;

struct CheckControls {
    static constexpr int TxtBoxCount = 29;
    static constexpr int LabBoxCount = 34;
    static constexpr int KeyButtonCount = 28;
    static constexpr int CommandCount = 17;

    QList<QLineEdit*> TxtBox;       // 0..28, nullptr where the station has no such field
    QList<QLabel*> LabBox;          // 0..33
    QList<QPushButton*> numKeybtn;  // 0..27
    QList<QPushButton*> checkCommand; // 0..16
    QList<QRadioButton*> gradeBtn;  // built from the grade list
    QLineEdit* Text1 = nullptr;     // remark
    QLineEdit* BillDetailId = nullptr; // hidden: current bill line
    QLineEdit* machineCount = nullptr; // hidden: inspection quantity of the line
    QLineEdit* checkId = nullptr;   // hidden: roll on screen, 0 = new
    QComboBox* ComboColor = nullptr;
    QList<QLabel*> labInfo;         // 0..3
    CaptionFrame* frameMishu = nullptr; // frame "米数": the bill remark
    QLineEdit* checkSpec = nullptr;
    QCheckBox* reviewCheckCode = nullptr;
    QCheckBox* isMashu = nullptr;
    QLabel* LabUnit = nullptr;
    QCheckBox* Check1 = nullptr;    // "更多设置"
    QCheckBox* Check2 = nullptr;    // counter connected
    QCheckBox* isChen = nullptr;    // scale connected
    QCheckBox* autoHuanJuan = nullptr;
    QPushButton* cmdHuangang = nullptr;
    QPushButton* cmdCanliang = nullptr;
    QPushButton* Command1 = nullptr; // zero the counter
    // Zero and tare of a scale that takes the commands (SICS), shown only for such a scale.
    QPushButton* cmdScaleZero = nullptr;
    QPushButton* cmdScaleTare = nullptr;
    QList<QPushButton*> btnSavePosi; // 0 save, 1 default
    QGroupBox* Frame6 = nullptr;    // roll form
    QGroupBox* Frame5 = nullptr;    // defects
    fProcessBar* fProcessBar1 = nullptr; // roll progress of the card line
    QTabWidget* SSTab1 = nullptr;
    QSpinBox* UpDown1 = nullptr;    // label copies
    QCheckBox* isPrintreview = nullptr;
};

/// Adds a field group to the roll form: the caption LabBox(lab), TxtBox(txt) and, unless key < 0,
/// the keypad button numKeybtn(key), in column col and row row of the form; returns the caption.
QLabel* addFieldGroup(CheckControls& c, int lab, const QString& caption, int txt, int key, int col,
                      int row);

/// Creates every control of the inspection window on form at its design-time place.
CheckControls buildCheckControls(QWidget* form);

/// The fixed control order of the "保存位置" layout text.
QString layoutControlList();
