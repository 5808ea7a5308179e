// The large picture of the browsers: a picture shown whole in the box, scaled down when it is
// larger. The outline drawings are filled in their own pixels on the picture, before it is shown.
#pragma once

#include <QImage>
#include <QWidget>

class QImageReader;

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    /// Loads a picture file; false (and the box cleared) when it cannot be read.
    bool loadPicture(const QString& path);
    /// Loads a picture file only to be looked at: a large one is read at the box's size (a
    /// camera picture decodes in a fraction of the time), and again when the box grows.
    bool loadFitted(const QString& path);
    void clear();
    /// The picture as loaded and drawn on, in its own pixels.
    const QImage& image() const { return m_image; }
    /// For drawing on the picture; call update() afterwards.
    QImage& canvas() { return m_image; }
    void setImage(const QImage& image);

    /// Where the picture is painted in the box.
    QRect pictureRect() const;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool readFrom(QImageReader& reader);

    QImage m_image;
    /// The picture read at less than its size for the box (loadFitted), and that size.
    QString m_fittedPath;
    QSize m_fittedBox;
};
