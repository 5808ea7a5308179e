// The general number keypad, bound to one text box at a time (quantity, weight, card fields).
#pragma once

#include "widgets/KeypadFrame.h"

#include <QList>
#include <QPointer>

#include <QLineEdit>

class UserControl1 : public KeypadFrame {
    Q_OBJECT

public:
    /// Design size of the pad in twips.
    static constexpr int WidthTwips = 6330;
    static constexpr int HeightTwips = 6195;

    explicit UserControl1(QWidget* parent = nullptr);

    /// Binds the pad to a text box and shows it at its design size.
    void setTextBox(QLineEdit* box);
    QLineEdit* GetTextBox() const { return m_target; }

    /// The keys, named Label2_0 … in the order 7 8 9 退格 4 5 6 清除 1 2 3 确定 0 .
    QList<PadKey*> keys() const { return m_keys; }

signals:
    /// "确定" was pressed: the pad has collapsed and the box's selection is cleared.
    void Confirm(QLineEdit* box);
    /// The pad was closed by a tap on its frame, without confirming.
    void closed();

protected:
    void frameClicked() override;

private:
    void keyReleased(const QString& tag);
    void collapse();

    QPointer<QLineEdit> m_target;
    QList<PadKey*> m_keys;
};
