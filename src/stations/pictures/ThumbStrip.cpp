// The browsers' thumbnail strip.
#include "stations/pictures/ThumbStrip.h"

#include "stations/pictures/ItemPictures.h"

#include <QButtonGroup>
#include <QDeadlineTimer>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {
constexpr int gap = 6;
// The window's thread spends at most this long at a time on putting up or taking down
// thumbnails; a touch waits no longer than that.
constexpr int sliceMs = 8;
} // namespace

void ThumbButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    QToolButton::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

ThumbStrip::ThumbStrip(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(u"picFrame"_s);
    setAccessibleName(u"缩略图"_s);
    m_slide = new QWidget;
    m_slide->setObjectName(u"picSlide"_s);
    setWidget(m_slide);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setObjectName(u"vsbSlide"_s);
    newPage();
    m_work.setSingleShot(true);
    m_work.setInterval(0);
    connect(&m_work, &QTimer::timeout, this, &ThumbStrip::work);
}

void ThumbStrip::newPage()
{
    m_page = new QWidget(m_slide);
    m_page->resize(m_slide->size());
    m_page->show();
    m_group = new QButtonGroup(m_page);
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
    m_pending.clear();
    m_endPending = false;
    if (!m_buttons.isEmpty()) {
        // Hiding the page takes its buttons off the screen at once; deleting two thousand
        // buttons takes tens of milliseconds, so that is done in slices afterwards.
        delete m_group; // lets each button go without a search through the group
        m_page->hide();
        m_oldPages.append(m_page);
        m_buttons.clear();
        newPage();
        m_work.start();
    }
    m_slide->resize(viewport()->width(), 0);
    m_page->resize(m_slide->size());
}

void ThumbStrip::addThumbs(const QList<ThumbnailBuilder::Thumb>& thumbs)
{
    m_pending.append(thumbs);
    m_work.start();
}

void ThumbStrip::endOfThumbs()
{
    m_endPending = true;
    m_work.start();
}

void ThumbStrip::work()
{
    const QDeadlineTimer until(sliceMs);
    const bool down = takeDown(until);
    const int from = count();
    qsizetype taken = 0;
    while (taken < m_pending.size() && (taken == 0 || !until.hasExpired()))
        addThumb(m_pending[taken++]);
    m_pending.remove(0, taken);
    if (count() > from)
        layoutThumbs(from);
    if (!m_pending.isEmpty() || !down) {
        m_work.start();
        return;
    }
    if (m_endPending) {
        m_endPending = false;
        emit thumbsShown();
    }
}

bool ThumbStrip::takeDown(const QDeadlineTimer& until)
{
    while (!m_oldPages.isEmpty()) {
        QWidget* page = m_oldPages.first();
        const QList<QWidget*> buttons = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        // From the last: each button leaves its page's list of children from its end.
        for (qsizetype i = buttons.size() - 1; i >= 0; --i) {
            if (until.hasExpired())
                return false;
            delete buttons[i];
        }
        m_oldPages.removeFirst();
        delete page;
    }
    return true;
}

void ThumbStrip::addThumb(const ThumbnailBuilder::Thumb& t)
{
    auto* b = new ThumbButton(m_page);
    const int index = count();
    b->setObjectName(u"optThumb_%1"_s.arg(index));
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

int ThumbStrip::selectedIndex() const
{
    return m_group->checkedId();
}

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
    m_page->resize(m_slide->size());
    m_laidOut = cell;
}

void ThumbStrip::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    // Cells of the same size stay where they are (a taller strip only shows more of them).
    layoutThumbs(cellSize() == m_laidOut && columns() == m_columns ? count() : 0);
}
