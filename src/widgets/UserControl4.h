// The quick-pick keypad: one button per preset value (worker codes, machine numbers), in rows of
// four; a tap on a value puts it into the bound text box.
#pragma once

#include "widgets/KeypadFrame.h"

#include <QList>
#include <QPointer>

#include <QLineEdit>

class UserControl4 : public KeypadFrame {
    Q_OBJECT

public:
    static constexpr int Columns = 4;
    /// Value buttons and the gap around them, in twips.
    static constexpr int ButtonWidthTwips = 1500;
    static constexpr int ButtonHeightTwips = 900;
    static constexpr int GapTwips = 60;
    /// The frame around the buttons, wide enough to be tapped to close the picker.
    static constexpr int MarginTwips = 180;

    explicit UserControl4(QWidget* parent = nullptr);

    /// Binds the picker to a text box and shows it.
    void setTextBox(QLineEdit* box);
    QLineEdit* GetTextBox() const { return m_target; }

    /// Adds a value button; the tag (the value put into the box) defaults to the caption.
    void setNumber(const QString& caption, const QString& tag = QString());
    /// Removes every value button.
    void clearBtn();

    int count() const { return int(m_buttons.size()); }
    PadKey* button(int i) const { return m_buttons.value(i); }
    /// Number of rows of value buttons.
    int rowCount() const;

signals:
    /// A value was picked (its tag), or "" when the frame was tapped to close the picker.
    void Confirm(const QString& value);

protected:
    void frameClicked() override;

private:
    void relayout();
    void picked(const QString& tag);

    QPointer<QLineEdit> m_target;
    QList<PadKey*> m_buttons;
};
