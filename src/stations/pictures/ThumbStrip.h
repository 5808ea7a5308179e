// The thumbnail strip: one option button per picture with the picture drawn on it and the file
// name under it, in columns that fill the strip's width, scrolled up and down.
#pragma once

#include "stations/pictures/ThumbnailBuilder.h"

#include <QScrollArea>
#include <QToolButton>

class QButtonGroup;

/// One thumbnail: a graphical option button; its tag is the file name.
class ThumbButton : public QToolButton {
    Q_OBJECT
public:
    using QToolButton::QToolButton;
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class ThumbStrip : public QScrollArea {
    Q_OBJECT
public:
    explicit ThumbStrip(QWidget* parent = nullptr);

    /// Removes every thumbnail.
    void clear();
    /// Appends thumbnails as optThumb_<n> in arrival order.
    void addThumbs(const QList<ThumbnailBuilder::Thumb>& thumbs);
    int count() const { return int(m_buttons.size()); }
    ThumbButton* optThumb(int index) const { return m_buttons.value(index); }
    /// Index of the checked thumbnail, -1 when none.
    int selectedIndex() const;
    /// Checks a thumbnail and reports it as selected (nothing for an index outside the strip).
    void select(int index);

    /// The size of the picture part of a thumbnail for the strip's present width.
    QSize boxSize() const;

    QWidget* picSlide() const { return m_slide; }

signals:
    /// A thumbnail was chosen: its file name (the tag).
    void selected(const QString& fileName);
    /// A thumbnail was double-clicked.
    void activated(const QString& fileName);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutThumbs(int from = 0);
    QSize cellSize() const;
    int columns() const;

    QWidget* m_slide = nullptr;
    QButtonGroup* m_group = nullptr;
    QList<ThumbButton*> m_buttons;
    int m_columns = 1;
};
