// Building blocks of the on-screen keypads: a finger-sized key that carries its tag, and the
// keypad's background frame, whose bare surface cancels when tapped.
#pragma once

#include "screen/Twips.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

/// A key of a keypad. Its tag is what it means ("7", ".", "Backspace"); its caption and
/// accessible name are what the operator reads. It never takes the focus, so the text box the
/// pad works on keeps its caret and selection.
class PadKey : public QPushButton {
    Q_OBJECT

public:
    PadKey(const QString& tag, QWidget* parent = nullptr);
    QString tag() const { return m_tag; }
    /// Sets the tag and shows caption (the caption defaults to the tag's caption).
    void setTag(const QString& tag, const QString& caption = QString());

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QString m_tag;
};

/// A text box of a keypad (entry, counter): its digits as large as its height allows.
class PadBox : public QLineEdit {
    Q_OBJECT

public:
    explicit PadBox(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* e) override;
};

/// The frame of a keypad: look, twip sizes and the cancel tap.
class KeypadFrame : public QFrame {
    Q_OBJECT

public:
    explicit KeypadFrame(QWidget* parent = nullptr);

    /// The scale for the pad's twip sizes; by default the scale of the window it sits in.
    void setTwips(const Twips& twips) { m_twips = twips; }
    Twips twips() const;
    /// Moves the pad beside field (right, else left, else below, else above), inside the window
    /// it sits in and never over the field, so that the operator sees what he types.
    void placeBeside(const QWidget* field);
    /// Moves the pad just below field, moved up and left as far as it must to stay inside the
    /// window (a list of presets the operator picks from, under the field it fills).
    void placeBelow(const QWidget* field);

protected:
    /// Pixels between neighbouring keys.
    static constexpr int KeyGap = 5;
    /// A tap on the frame itself, not on a key or box.
    virtual void frameClicked() = 0;
    void resizeTwips(int widthTwips, int heightTwips);
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool onBareFrame(QPoint pos) const;
    std::optional<Twips> m_twips;
    bool m_pressed = false;
};
