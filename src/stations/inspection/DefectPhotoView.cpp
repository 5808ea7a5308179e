#include "stations/inspection/DefectPhotoView.h"

#include <QDir>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

DefectPhotoView* DefectPhotoView::open(QWidget* window, const QString& path, const QString& caption)
{
    auto* view = new DefectPhotoView(window, path, caption);
    view->show();
    view->raise();
    return view;
}

DefectPhotoView::DefectPhotoView(QWidget* window, const QString& path, const QString& caption)
    : QWidget(window), m_image(path), m_caption(caption)
{
    setObjectName(u"defectPhoto"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(u"疵点照片"_s);
    setGeometry(window->rect());
    QFont f = font();
    f.setPixelSize(qMax(16, height() / 30));
    setFont(f);
    if (m_image.isNull())
        m_caption = u"照片打不开：%1"_s.arg(QDir::toNativeSeparators(path));
}

void DefectPhotoView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int line = fontMetrics().height() * 2;
    const QRect room = rect().adjusted(0, 0, 0, -line);
    if (!m_image.isNull()) {
        const QSize size = m_image.size().scaled(room.size(), Qt::KeepAspectRatio);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(room.center().x() - size.width() / 2, room.center().y() - size.height() / 2), size),
                    m_image);
    }
    p.setPen(Qt::white);
    p.drawText(rect().adjusted(0, room.height(), 0, 0), Qt::AlignCenter, m_caption + u"    （点任意处关闭）"_s);
}

void DefectPhotoView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}
