// A picture over the whole window, as large as it fits with its proportions kept and a caption
// under it; a touch anywhere or any key closes it. The frames and the office look at defect
// pictures this way: the thumbnail or the mark shows that there is one, this shows the hole.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class PictureView : public QWidget {
    Q_OBJECT
public:
    /// Opens over the window of `over` with the picture of file (a note instead when the file is
    /// no picture it can read); caption says what it shows. Deletes itself when closed.
    static PictureView* open(QWidget* over, const QString& file, const QString& caption);

    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PictureView(QWidget* window, QImage image, QString caption);

    QImage m_image;
    QString m_caption;
};
