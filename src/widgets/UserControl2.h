// The number-entry pad of the 10-point scoring: the points typed on its keys, and a counter
// for how many such defects were seen.
#pragma once

#include "widgets/KeypadFrame.h"

#include <QList>

class QLineEdit;
class CounterBox;

class UserControl2 : public KeypadFrame {
    Q_OBJECT

public:
    static constexpr int WidthTwips = 5055;
    static constexpr int HeightTwips = 1980;

    explicit UserControl2(QWidget* parent = nullptr);

    /// Puts Str(value) into the entry box and shows the pad at its design size.
    void setTextBox(double value);
    /// The pad works on its own entry box: there is no outside text box.
    QLineEdit* GetTextBox() const { return nullptr; }

    QLineEdit* entryBox() const { return m_entry; }
    CounterBox* counter() const { return m_counter; }
    /// The keys, named Numberbtn_0 …: 1 2 3 4 5 . 退格 6 7 8 9 0 清除 确定.
    QList<PadKey*> keys() const { return m_keys; }

signals:
    /// "确定": the entry and the counter; "" and "" when the frame was tapped to cancel.
    void Confirm(const QString& entry, const QString& counter);

protected:
    void frameClicked() override;

private:
    void keyPressed(const QString& tag);

    QLineEdit* m_entry;
    CounterBox* m_counter;
    QList<PadKey*> m_keys;
};
