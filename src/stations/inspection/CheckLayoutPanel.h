// The inspection window's look: the type of its controls and data lines at the window's scale,
// field groups dragged to their places by touch, the number keypad beside a field, the defect
// frame's two placements, the room a list tab takes, and the layout saved or reset.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

class frmCheck;
class QLabel;
class QLineEdit;
class QWidget;
class UserControl1;
struct CheckControls;

class CheckLayoutPanel : public QObject {
    Q_OBJECT
public:
    explicit CheckLayoutPanel(frmCheck* form);

    /// Every control's type at the window's scale (sizes are for a 1024 x 768 panel).
    void applyFonts();
    /// The lines that show the mill's data (status, card, customer, totals, worker, sensors) get
    /// the largest type at which their whole text shows.
    void fitDataLabels();
    /// Controls built after the window (parts made on first use) get their design type (12
    /// points where they have none) at the window's scale.
    void adoptControls(QWidget* root);

    /// The number keypad, built when it is first needed.
    UserControl1* keypad();
    /// The keypad out of sight (when it was ever shown).
    void hideKeypad();
    /// Shows the keypad for a field (the keypad button, or the focus rule of KeyBoardValidate).
    void showKeypad(QLineEdit* box);
    /// Wires a field group of the roll form: its caption drags the group, its keypad button and
    /// the focus on its field open the keypad.
    void wireFieldGroup(QLabel* label);

    /// The defect frame between its narrow place beside the form and its wide place over it.
    void Frame5_Click();
    bool defectFrameWide() const;
    /// A list tab is open: the command row rises over the room the roll form and the narrow
    /// defect frame give up, and the tabs take the room below it. Closing gives it back.
    void setListOpen(bool open);
    bool listOpen() const { return m_listOpen; }
    /// Twips the tabs rise by while a list is open.
    static int listTabsRise();
    /// "保存位置" (0) stores the places of the field groups, "恢复默认" (1) forgets them; the
    /// window closes to be opened again with them.
    void btnSavePosi_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeFieldGroup(QLabel* label, const QPoint& topLeft);
    /// pos (on the defect frame) lies within the block of defect buttons, gaps included.
    bool amongDefectButtons(QPoint pos) const;
    /// The commands below the roll form, with the copies box and the two ticks beside them.
    QList<QWidget*> commandRow() const;
    /// The narrow defect frame, while a list is open, ends above the risen command row (fit) or
    /// gets its own height back.
    void fitDefectFrameToList(bool fit);

    frmCheck* m_form;
    CheckControls& c;
    UserControl1* m_keypad = nullptr;
    bool m_listOpen = false;
    // Dragging a field label with its group.
    QLabel* m_dragLabel = nullptr;
    QPoint m_dragOffset;
    QPoint m_dragStart; // where the finger came down, in screen pixels
};
