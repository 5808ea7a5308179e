// The status line: elided on one line, the whole text on touch.
#include "widgets/StatusLine.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

using namespace Qt::StringLiterals;

StatusLine::StatusLine(QWidget* parent) : QLabel(parent)
{
    setWordWrap(false);
    setTextFormat(Qt::PlainText);
    // Shrinks down to its minimum, never below a word of it.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize StatusLine::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    return {fontMetrics().horizontalAdvance(u"…"_s) + 2 * margin() + m.left() + m.right(),
            QLabel::minimumSizeHint().height()};
}


QRect StatusLine::textRect() const
{
    QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (indent() > 0)
        r.setLeft(r.left() + indent());
    return r;
}

QString StatusLine::shownText() const
{
    // A line the station lets wrap (smaller type on two lines) shows whole while it fits.
    if (wordWrap() && heightForWidth(width()) <= height())
        return text();
    QString oneLine = text();
    oneLine.replace(u'\n', u' ');
    return fontMetrics().elidedText(oneLine, Qt::ElideRight, textRect().width());
}

void StatusLine::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    // The frame and the style sheet's background as a label draws them, the cut text after.
    QFrame::paintEvent(event);
    QPainter p(this);
    style()->drawItemText(&p, textRect(), int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

void StatusLine::mousePressEvent(QMouseEvent* event)
{
    if (shownText() != text())
        QToolTip::showText(event->globalPosition().toPoint(), text(), this);
    QLabel::mousePressEvent(event);
}

bool StatusLine::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}
