// The large picture of the browsers: a picture shown whole in the box, or laid at its own size
// in the box's top-left corner where pixel positions matter (the outline drawings).
#pragma once

#include <QImage>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    /// Loads a picture file; false (and the box cleared) when it cannot be read.
    bool loadPicture(const QString& path);
    void clear();
    /// The picture as loaded and drawn on, in its own pixels.
    const QImage& image() const { return m_image; }
    /// For drawing on the picture; call update() afterwards.
    QImage& canvas() { return m_image; }
    void setImage(const QImage& image);

    /// Scaled down to fit the box (the photographs) or at its own size (outline drawings).
    void setFitToBox(bool fit);
    bool fitToBox() const { return m_fit; }

    /// Where the picture is painted in the box.
    QRect pictureRect() const;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    bool m_fit = true;
};
