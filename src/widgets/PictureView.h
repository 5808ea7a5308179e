// A picture over the whole screen, as large as it fits with its proportions kept and a caption
// under it; a touch anywhere or any key closes it. The office and the frames look at defect
// pictures this way: the thumbnail shows that there is one, this shows the hole.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class PictureView : public QWidget {
    Q_OBJECT
public:
    /// Opens the picture of file full-screen over parent's screen; nullptr (nothing opens) when
    /// the file is no picture it can read. The view deletes itself when closed.
    static PictureView* open(const QString& file, const QString& caption, QWidget* parent);

    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PictureView(QImage image, QString caption, QWidget* parent);

    QImage m_image;
    QString m_caption;
};
