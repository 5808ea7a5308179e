// The browsers' thumbnail strip.
#include "stations/pictures/ThumbStrip.h"

#include "stations/pictures/ItemPictures.h"

#include <QButtonGroup>
#include <QScrollBar>

namespace {
constexpr int gap = 6;
} // namespace

void ThumbButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    QToolButton::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

ThumbStrip::ThumbStrip(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("picFrame"));
    setAccessibleName(QStringLiteral("缩略图"));
    m_slide = new QWidget;
    m_slide->setObjectName(QStringLiteral("picSlide"));
    setWidget(m_slide);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setObjectName(QStringLiteral("vsbSlide"));
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
}

QSize ThumbStrip::boxSize() const
{
    // Two columns when the strip is wide enough for two thumbnails of a fingertip's width.
    // At most 120 pixels wide: a folder of two thousand pictures then holds about 80 MB of
    // thumbnails, and a fingertip still tells one from the next.
    const int room = std::max(80, viewport()->width() - 2 * gap);
    const int side = std::min(120, room >= 2 * 100 + gap ? (room - gap) / 2 - 8 : room - 8);
    return QSize(side, side * 3 / 4);
}

int ThumbStrip::columns() const
{
    return std::max(1, (viewport()->width() - gap) / (boxSize().width() + 8 + gap));
}

QSize ThumbStrip::cellSize() const
{
    // The cells share the strip's width, so that the file names have all the room there is.
    const QSize box = boxSize();
    const int width = std::max(box.width() + 8, (viewport()->width() - gap) / columns() - gap);
    return QSize(width, box.height() + fontMetrics().height() + 14);
}

void ThumbStrip::clear()
{
    for (ThumbButton* b : std::as_const(m_buttons)) {
        m_group->removeButton(b);
        delete b;
    }
    m_buttons.clear();
    m_slide->resize(viewport()->width(), 0);
}

void ThumbStrip::addThumbs(const QList<ThumbnailBuilder::Thumb>& thumbs)
{
    const int from = count();
    for (const ThumbnailBuilder::Thumb& t : thumbs) {
        auto* b = new ThumbButton(m_slide);
        const int index = count();
        b->setObjectName(QStringLiteral("optThumb_%1").arg(index));
        b->setProperty("tag", t.fileName);
        b->setAccessibleName(t.fileName);
        b->setToolTip(t.fileName);
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIcon(QIcon(QPixmap::fromImage(t.image)));
        b->setIconSize(t.image.size());
        m_group->addButton(b, index);
        connect(b, &QToolButton::clicked, this, [this, index] { select(index); });
        connect(b, &ThumbButton::doubleClicked, this,
                [this, b] { emit activated(b->property("tag").toString()); });
        m_buttons.append(b);
        b->show();
    }
    layoutThumbs(from);
}

int ThumbStrip::selectedIndex() const { return m_group->checkedId(); }

void ThumbStrip::select(int index)
{
    ThumbButton* b = optThumb(index);
    if (!b)
        return;
    b->setChecked(true);
    ensureWidgetVisible(b, 0, gap);
    emit selected(b->property("tag").toString());
}

void ThumbStrip::layoutThumbs(int from)
{
    const QSize cell = cellSize();
    m_columns = columns();
    for (int i = from; i < count(); ++i) {
        ThumbButton* b = m_buttons[i];
        b->setGeometry(gap + (i % m_columns) * (cell.width() + gap),
                       gap + (i / m_columns) * (cell.height() + gap), cell.width(), cell.height());
        b->setText(ItemPictures::shortName(b->property("tag").toString(), b->fontMetrics(),
                                           cell.width() - 8));
    }
    const int rows = (count() + m_columns - 1) / m_columns;
    m_slide->resize(viewport()->width(), gap + rows * (cell.height() + gap));
}

void ThumbStrip::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    layoutThumbs(0);
}
