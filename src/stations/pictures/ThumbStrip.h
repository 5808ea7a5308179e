// The thumbnail strip: one option button per picture with the picture drawn on it and the file
// name under it, in columns that fill the strip's width, scrolled up and down. Thumbnails are put
// on the strip, and the buttons of a cleared strip taken down, a few milliseconds' worth at a
// time, so that a folder of thousands of pictures never keeps the window from a touch.
#pragma once

#include "stations/pictures/ThumbnailBuilder.h"

#include <QScrollArea>
#include <QTimer>
#include <QToolButton>

class QButtonGroup;
class QDeadlineTimer;

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

    /// Removes every thumbnail (and those still waiting to be put on the strip).
    void clear();
    /// Appends thumbnails as optThumb_<n> in arrival order, in slices between the window's events.
    void addThumbs(const QList<ThumbnailBuilder::Thumb>& thumbs);
    /// No more thumbnails come: thumbsShown() follows once the last one is on the strip.
    void endOfThumbs();
    /// Thumbnails handed over but not yet on the strip, or the end not yet reported.
    bool isFilling() const { return !m_pending.isEmpty() || m_endPending; }
    /// Thumbnails on the strip.
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
    /// Every thumbnail handed over before endOfThumbs() is on the strip.
    void thumbsShown();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void work();
    void addThumb(const ThumbnailBuilder::Thumb& thumb);
    bool takeDown(const QDeadlineTimer& until);
    void newPage();
    void layoutThumbs(int from = 0);
    QSize cellSize() const;
    int columns() const;

    QWidget* m_slide = nullptr;
    /// The page on the slide that holds the buttons; a cleared page is hidden and taken down
    /// in slices.
    QWidget* m_page = nullptr;
    QButtonGroup* m_group = nullptr;
    QList<ThumbButton*> m_buttons;
    QList<ThumbnailBuilder::Thumb> m_pending;
    QList<QWidget*> m_oldPages;
    QTimer m_work;
    bool m_endPending = false;
    int m_columns = 1;
    QSize m_laidOut;
};
