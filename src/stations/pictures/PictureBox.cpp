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
    m_fittedPath.clear();
    return readFrom(reader);
}

bool PictureBox::loadFitted(const QString& path)
{
    QImageReader reader(path);
    const QSize full = reader.size();
    const QSize box = size() * devicePixelRatio();
    m_fittedPath.clear();
    if (full.isValid() && !box.isEmpty() &&
        (full.width() > box.width() || full.height() > box.height())) {
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        m_fittedPath = path;
        m_fittedBox = size();
    }
    return readFrom(reader);
}

bool PictureBox::readFrom(QImageReader& reader)
{
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
    m_fittedPath.clear();
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

void PictureBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_fittedPath.isEmpty() &&
        (width() > m_fittedBox.width() || height() > m_fittedBox.height()))
        loadFitted(m_fittedPath);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    emit doubleClicked();
}
