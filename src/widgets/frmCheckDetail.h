// The defect detail dialog: position, count and points of one defect, typed on the number pad
// that follows the box being filled.
#pragma once

#include "screen/Twips.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UserControl1;

class frmCheckDetail : public QDialog {
    Q_OBJECT

public:
    explicit frmCheckDetail(QWidget* parent = nullptr);

    /// Asks for the details of defect `name` found at `position`. Returns
    /// name & "," & Str(position) & "," & Str(count) & "," & Str(points) (each number blank-led,
    /// "A, 12.5, 0, 4"), or "" when the operator cancels.
    static QString showMe(const QString& name, double position, QWidget* parent = nullptr);

    /// Fills the dialog for a defect without showing it (showMe does this first).
    void prepare(const QString& name, double position);
    /// The result text: "" until confirmed.
    QString result() const { return m_result; }

    /// Boxes 0 位置, 1 数量, 2 扣分.
    QLineEdit* TxtBox(int i) const;
    /// Buttons 0 确定, 1 取消.
    QPushButton* Command1(int i) const;
    UserControl1* keypad() const { return m_pad; }
    QString frameCaption() const;

    /// Where the pad goes for a box: below it when the pad fits inside the form, otherwise
    /// above it; aligned with the box's left edge (moved left only as far as needed to stay
    /// inside the form).
    static QPoint padPlace(const QRect& box, const QSize& pad, const QSize& form);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void layoutForm();
    void boxEntered(int i);
    void nextFrom(int i);
    void confirm();

    Twips m_twips;
    QString m_name;
    QString m_result;
    QGroupBox* m_frame;
    QLabel* m_labels[3];
    QLineEdit* m_boxes[3];
    QPushButton* m_buttons[2];
    UserControl1* m_pad;
};
