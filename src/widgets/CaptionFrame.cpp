// The caption is elided in the style option only; the style draws the frame and the caption as
// for any group box.
#include "widgets/CaptionFrame.h"

#include <QEvent>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

CaptionFrame::CaptionFrame(QWidget* parent) : QGroupBox(parent) {}

QString CaptionFrame::shownCaption() const
{
    // Room for the caption: the frame's width less the margins the style leaves at both ends.
    const int room = width() - 2 * fontMetrics().averageCharWidth();
    return fontMetrics().elidedText(title(), Qt::ElideRight, std::max(0, room));
}

void CaptionFrame::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = shownCaption();
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

void CaptionFrame::setCaption(const QString& caption)
{
    setTitle(caption);
    updateToolTip();
}

void CaptionFrame::updateToolTip()
{
    setToolTip(shownCaption() == title() ? QString() : title());
}

void CaptionFrame::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    updateToolTip();
}

void CaptionFrame::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateToolTip();
}
