// The browsers' large picture.
#include "stations/pictures/PictureBox.h"

#include <QImageReader>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool PictureBox::loadPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    if (picture.isNull()) {
        clear();
        return false;
    }
    setImage(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return true;
}

void PictureBox::clear()
{
    m_image = QImage();
    update();
}

void PictureBox::setImage(const QImage& image)
{
    m_image = image;
    update();
}

QRect PictureBox::pictureRect() const
{
    if (m_image.isNull())
        return {};
    QSize size = m_image.size();
    if (size.width() > width() || size.height() > height())
        size = size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    if (!m_image.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(pictureRect(), m_image);
    }
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
