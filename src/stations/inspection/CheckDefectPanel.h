// The defect side of the inspection window: one big button per defect kind in the defect frame,
// the score pickers of the scoring modes, Label9 with the points, and the defect rows, grade and
// length allowance as the roll's defects (RollDefects) decide them (commands 3 and 15).
#pragma once

#include "stations/inspection/RollDefects.h"

#include <QList>
#include <QObject>

class CheckSectionAlert;
struct CameraShot;
class frmCheck;
class QLabel;
class QPushButton;
class UserControl2;
class UserControl3;

class CheckDefectPanel : public QObject {
    Q_OBJECT
public:
    /// Builds the defect buttons, the pickers and Label9 on form and follows its commands.
    explicit CheckDefectPanel(frmCheck* form);

    /// Rebuilds the defect buttons from the "bugs" setting for the frame's current placement.
    void buildDefectButtons();
    /// A press on defect button index: records at once or opens the mode's picker.
    void bugBtn_Click(int index);
    /// Appends a defect row for the last pressed button with score and count (as the pickers
    /// report them); an empty score records nothing. Closes the picker and runs command 15.
    void record(const QString& score, const QString& count);
    /// Command 15: points, points per 100 m², and what of the automatic grade and allowance
    /// the roll takes. Runs as well whenever the length changes.
    void recompute();
    /// The points of the rows on screen into Label9, leaving grade and allowance as they are.
    CheckGrading::Score showScore();
    /// Command 3: deletes the selected defect row, then command 15.
    void deleteDefect();
    /// "结束": the last defect row becomes a long defect that ends at the counter's position
    /// (pressed again, the end moves on), then command 15.
    void endDefect();

    QList<QPushButton*> bugBtn() const { return m_bugBtn; }
    /// The score pickers, built on the first defect scored with them.
    UserControl3* UserControl31();
    UserControl2* UserControl21();
    QLabel* Label9() const { return m_label9; }
    /// "结束", shown when [MIREL] LongDefects is on.
    QPushButton* cmdBugEnd() const { return m_endBtn; }
    CheckSectionAlert* sectionAlert() const { return m_alert; }
    /// The roll's defects with the rows of the grid on screen.
    RollDefects& defects();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onCommand(int index);
    void showPicker(QWidget* picker, QPushButton* button);
    void refreshPadFonts();
    void closePickers();
    void buildPickers();
    /// What the form holds that the defects read.
    DefectForm readForm() const;
    /// The camera's answer for a defect row: its picture written and its mark set, or 无图 and,
    /// once for a run of failures, the reason in the status line. The row deleted meanwhile (or
    /// another roll on the form): the picture is dropped.
    void photoTaken(const CameraShot& shot);
    /// The picture of row over the whole window.
    void showPhoto(int row);
    /// After a defect was recorded or ended: a section alert when the stretch is due one.
    void checkSectionAlert();
    /// A new or reopened roll is on screen.
    void startRoll();
    void gradeTouched();
    /// score's points into Label9.
    CheckGrading::Score showPoints(const CheckGrading::Score& score);

    frmCheck* m_form;
    QList<QPushButton*> m_bugBtn;
    UserControl3* m_picker = nullptr;   // 4-point and Japanese scoring
    UserControl2* m_tenPoint = nullptr; // national 10-point scoring
    QLabel* m_label9 = nullptr;
    QPushButton* m_endBtn = nullptr;
    CheckSectionAlert* m_alert = nullptr;
    RollDefects m_defects;
    bool m_recomputing = false;
};
