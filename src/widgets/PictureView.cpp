#include "widgets/PictureView.h"

#include "widgets/ScreenMode.h"

#include <QImageReader>
#include <QPainter>

using namespace Qt::StringLiterals;

PictureView* PictureView::open(const QString& file, const QString& caption, QWidget* parent)
{
    QImageReader reader(file);
    reader.setAutoTransform(true); // a camera held on its side writes the turn into the file
    QImage image = reader.read();
    if (image.isNull())
        return nullptr;
    auto* view = new PictureView(std::move(image), caption, parent);
    ScreenMode::setFullScreen(view, true);
    view->show();
    view->activateWindow();
    return view;
}

PictureView::PictureView(QImage image, QString caption, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_image(std::move(image)),
      m_caption(std::move(caption))
{
    setObjectName(u"pictureView"_s);
    setAccessibleName(m_caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    QFont f = font(); // read from across the table
    f.setPointSizeF(f.pointSizeF() * 1.5);
    setFont(f);
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const int captionHeight = m_caption.isEmpty() ? 0 : fontMetrics().height() * 2;
    const QRect room = rect().adjusted(0, 0, 0, -captionHeight);
    QSize size = m_image.size().scaled(room.size(), Qt::KeepAspectRatio);
    const QRect target(room.center() - QPoint(size.width() / 2, size.height() / 2), size);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, m_image);
    if (captionHeight > 0) {
        p.setFont(font());
        p.setPen(Qt::white);
        p.drawText(QRect(0, room.bottom(), width(), captionHeight), Qt::AlignCenter, m_caption);
    }
}

void PictureView::mousePressEvent(QMouseEvent*)
{
    close();
}

void PictureView::keyPressEvent(QKeyEvent*)
{
    close();
}
