// The defect counter of the score pads: a count box between a minus and a plus arrow.
#pragma once

#include <QWidget>

class QLineEdit;
class PadKey;

class CounterBox : public QWidget {
    Q_OBJECT

public:
    explicit CounterBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    /// The count box itself (object name Text1).
    QLineEdit* box() const { return m_box; }
    PadKey* upKey() const { return m_up; }
    PadKey* downKey() const { return m_down; }

private:
    QLineEdit* m_box;
    PadKey* m_up;
    PadKey* m_down;
};
