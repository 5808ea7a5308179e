// A frame whose caption is cut with "…" where it would run past the frame's edge.
#pragma once

#include <QGroupBox>

/// A QGroupBox for captions of any length (a card's remark on the inspection window): title()
/// keeps the whole text, the frame shows as much as fits and the rest as "…"; the tooltip
/// carries the whole caption when it is cut.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit CaptionFrame(QWidget* parent = nullptr);

    /// Sets the caption (title()) and the tooltip that shows it whole when it is cut.
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// The caption as drawn at the frame's width.
    QString shownCaption() const;
    void updateToolTip();
};
