// A defect's picture over the whole inspection window, as large as it fits; a touch anywhere
// closes it.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class DefectPhotoView : public QWidget {
    Q_OBJECT
public:
    /// Opens over window with the picture at path (a note instead when it cannot be read);
    /// caption tells which defect it is.
    static DefectPhotoView* open(QWidget* window, const QString& path, const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    DefectPhotoView(QWidget* window, const QString& path, const QString& caption);

    QImage m_image;
    QString m_caption;
};
