#include "widgets/PictureView.h"

#include <QDir>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

PictureView* PictureView::open(QWidget* over, const QString& file, const QString& caption)
{
    QImageReader reader(file);
    reader.setAutoTransform(true); // a camera held on its side writes the turn into the file
    QImage image = reader.read();
    const QString text = image.isNull() ? u"照片打不开：%1"_s.arg(QDir::toNativeSeparators(file)) : caption;
    auto* view = new PictureView(over->window(), std::move(image), text);
    view->show();
    view->raise();
    view->setFocus();
    return view;
}

PictureView::PictureView(QWidget* window, QImage image, QString caption)
    : QWidget(window), m_image(std::move(image)), m_caption(std::move(caption))
{
    setObjectName(u"pictureView"_s);
    setAccessibleName(u"疵点照片"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(window->rect());
    QFont f = font(); // read from across the table
    f.setPixelSize(qMax(16, height() / 30));
    setFont(f);
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int line = fontMetrics().height() * 2;
    const QRect room = rect().adjusted(0, 0, 0, -line);
    if (!m_image.isNull()) {
        const QSize size = m_image.size().scaled(room.size(), Qt::KeepAspectRatio);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(room.center() - QPoint(size.width() / 2, size.height() / 2), size), m_image);
    }
    p.setPen(Qt::white);
    p.drawText(rect().adjusted(0, room.height(), 0, 0), Qt::AlignCenter,
               m_caption + u"    （点任意处关闭）"_s);
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

void PictureView::keyPressEvent(QKeyEvent*)
{
    close();
}
