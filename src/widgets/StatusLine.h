// A station's status line: one line whatever the message. A text longer than the line ends in
// "…" instead of widening the window (which pushed the print key, the totals and the 离线 mark
// off a 1024-pixel panel); a touch on the line shows the whole text.
#pragma once

#include <QLabel>

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    /// As wide as an ellipsis, whatever the text: the window never grows for a message.
    QSize minimumSizeHint() const override;
    /// The text as it shows now: whole when it fits (wrapped, where the station lets the line
    /// wrap), else on one line with "…" at its end.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect textRect() const;
};
