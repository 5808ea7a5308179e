// Keys and frames of the keypads: big type, a clear pressed state, no focus stealing.
#include "widgets/KeypadFrame.h"

#include "widgets/PadText.h"

#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

namespace {

// The pressed face is dark so that a finger covering most of the key still sees it change.
const char* const PadStyle = R"(
KeypadFrame { background: #d9dde3; border: 2px solid #7a8391; border-radius: 8px; }
PadKey { background: #fbfbfb; color: #111; border: 1px solid #8a8f98; border-radius: 7px; }
PadKey:pressed { background: #1f5fbf; color: white; border-color: #123a75; }
PadKey[special="true"] { background: #eef1f5; }
PadKey[enterKey="true"] { background: #2e7d32; color: white; }
PadKey[enterKey="true"]:pressed { background: #174d1a; }
QLineEdit { background: white; border: 1px solid #7a8391; border-radius: 4px; }
)";

} // namespace

PadKey::PadKey(const QString& tag, QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(10, 10); // the pad's design size decides, not the caption
    setTag(tag);
}

void PadKey::setTag(const QString& tag, const QString& caption)
{
    m_tag = tag;
    const QString text = caption.isEmpty() ? pad::captionOf(tag) : caption;
    setText(text);
    setAccessibleName(text.trimmed());
    const bool enter = tag == pad::EnterTag;
    setProperty("enterKey", enter);
    setProperty("special", !enter && (tag == pad::BackspaceTag || tag == pad::ClearTag));
    // The style sheet picks keys by these properties; a key not yet shown is polished then.
    if (testAttribute(Qt::WA_WState_Polished)) {
        style()->unpolish(this);
        style()->polish(this);
    }
}

void PadKey::resizeEvent(QResizeEvent* e)
{
    QPushButton::resizeEvent(e);
    // Type grows with the key; Chinese captions of two characters must still fit the width.
    QFont f = font();
    const int byHeight = height() * 45 / 100;
    const int chars = std::max<int>(1, int(text().trimmed().size()));
    const int byWidth = (width() - 8) * 10 / (chars * 11);
    f.setPixelSize(std::clamp(std::min(byHeight, byWidth), 10, 48));
    f.setBold(true);
    setFont(f);
}

PadBox::PadBox(QWidget* parent) : QLineEdit(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PadBox::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    QFont f = font();
    f.setPixelSize(std::clamp(height() * 55 / 100, 10, 40));
    f.setBold(true);
    setFont(f);
}

KeypadFrame::KeypadFrame(QWidget* parent) : QFrame(parent)
{
    setStyleSheet(QString::fromLatin1(PadStyle));
    setAutoFillBackground(true);
}

Twips KeypadFrame::twips() const
{
    if (m_twips)
        return *m_twips;
    return isWindow() ? Twips() : Twips::of(this);
}

void KeypadFrame::placeBelow(const QWidget* field)
{
    const QWidget* window = parentWidget();
    if (!window)
        return;
    const QPoint below = field->mapTo(window, QPoint(0, field->height()));
    move(qMin(below.x(), qMax(0, window->width() - width())),
         qMin(below.y(), qMax(0, window->height() - height())));
}

void KeypadFrame::placeBeside(const QWidget* field)
{
    const QWidget* window = parentWidget();
    if (!window)
        return;
    const QRect area = window->rect();
    const QRect f(field->mapTo(window, QPoint(0, 0)), field->size());
    constexpr int gap = 8;
    const int y = qBound(0, f.top(), qMax(0, area.height() - height()));
    const int x = qBound(0, f.left(), qMax(0, area.width() - width()));
    const QPoint tries[] = {{f.right() + 1 + gap, y},
                            {f.left() - gap - width(), y},
                            {x, f.bottom() + 1 + gap},
                            {x, f.top() - gap - height()}};
    for (const QPoint& at : tries) {
        const QRect pad(at, size());
        if (area.contains(pad) && !pad.intersects(f)) {
            move(at);
            return;
        }
    }
    move(tries[0].x() + width() <= area.width() ? tries[0] : QPoint(x, y));
}

void KeypadFrame::resizeTwips(int widthTwips, int heightTwips)
{
    const Twips t = twips();
    resize(t.x(widthTwips), t.y(heightTwips));
}

bool KeypadFrame::onBareFrame(QPoint pos) const
{
    if (childAt(pos))
        return false;
    // A finger that lands in the narrow gap between two keys missed a key; it did not mean
    // to cancel. The border around the keys is the frame.
    int near = 0;
    const auto widgets = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* w : widgets)
        if (w->isVisible() && w->geometry().adjusted(-KeyGap, -KeyGap, KeyGap, KeyGap).contains(pos))
            ++near;
    return near < 2;
}

void KeypadFrame::mousePressEvent(QMouseEvent* e)
{
    m_pressed = e->button() == Qt::LeftButton && onBareFrame(e->pos());
    e->accept();
}

void KeypadFrame::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = m_pressed && e->button() == Qt::LeftButton && rect().contains(e->pos());
    m_pressed = false;
    e->accept();
    if (click)
        frameClicked();
}
