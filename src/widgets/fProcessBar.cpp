// Progress bar drawing and its mark rules. Everything is placed from the current width at paint
// time, so a resize (the station switches the bar between its wide and narrow width) needs no
// bookkeeping.
#include "widgets/fProcessBar.h"

#include "text/Vb.h"
#include "widgets/VbColor.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace {

// Segment colours in turn: red, magenta, cyan, green, yellow.
const quint32 SegmentColours[5] = {0x0000FF, 0xFF00FF, 0xFFFF00, 0x00FF00, 0x00FFFF};
const quint32 Red = 0x0000FF;
const quint32 Black = 0x000000;
const quint32 LineGreen = 0x00C000;
const quint32 LineDarkRed = 0x0000C0;
const int PassedWidth = 60, AheadWidth = 30, FlashNarrow = 10, FlashWide = 50; // twips
const int AlarmDistance = 5;
const double FirstSegmentLeftTwips = 10;

} // namespace

fProcessBar::fProcessBar(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_timer.setInterval(FlashIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &fProcessBar::tick);
    m_timer.start();
}

QSize fProcessBar::sizeHint() const { return QSize(640, 90); }
QSize fProcessBar::minimumSizeHint() const { return QSize(120, 40); }

void fProcessBar::setMax(double max)
{
    const long long m = vb::CInt(max);
    m_max = m < 1 ? 1 : int(std::min<long long>(m, 1LL << 30));
    m_marks.clear();
    m_segments.clear();
    m_alertFrom = m_alertTo = 0;
    update();
}

void fProcessBar::setAlertSection(double from, double to)
{
    m_alertFrom = std::max(0.0, from);
    m_alertTo = std::max(m_alertFrom, to);
    update();
}

QRectF fProcessBar::alertRect() const
{
    if (m_alertTo <= m_alertFrom)
        return QRectF();
    const QRectF t = trackRect();
    const double left = std::clamp(xOf(m_alertFrom), t.left(), t.right());
    // At least a finger's breadth, so a short section on a long card still shows.
    const double right = std::max(std::clamp(xOf(m_alertTo), t.left(), t.right()), left + 4);
    return QRectF(left, t.top(), right - left, t.height());
}

void fProcessBar::setValue(int value)
{
    m_value = value;
    refresh();
}

void fProcessBar::refresh()
{
    for (int i = 0; i < m_marks.size(); ++i) {
        Mark& mark = m_marks[i];
        const bool passed = mark.position <= m_value;
        mark.color = vbColor(passed ? Black : Red);
        mark.widthTwips = passed ? PassedWidth : AheadWidth;
        // The flash count is left alone: an alarm that already flashed out stays quiet until
        // a later tick has dropped it.
        if (mark.position - AlarmDistance < m_value && m_value <= mark.position)
            m_alarm = i;
    }
    setToolTip(QString::number(m_value));
    update();
}

void fProcessBar::addBug(int position)
{
    m_marks << Mark{position, vbColor(Red), AheadWidth};
    update();
}

void fProcessBar::addMen(const QString& name, double length)
{
    // The first segment is coloured with entry 1: the hidden design element counts.
    const int colour = int((m_segments.size() + 1) % 5);
    m_segments << Segment{name + u'(' + vb::CStr(length) + u')', length,
                          vbColor(SegmentColours[colour])};
    update();
}

void fProcessBar::tick()
{
    if (m_alarm >= 0 && m_alarm < m_marks.size() && m_flashes < MaxFlashes) {
        Mark& mark = m_marks[m_alarm];
        if (mark.widthTwips != FlashNarrow) {
            mark.color = vbColor(Red);
            mark.widthTwips = FlashNarrow;
            m_lineColor = vbColor(LineGreen);
        } else {
            mark.color = vbColor(Black);
            mark.widthTwips = FlashWide;
            m_lineColor = vbColor(LineDarkRed);
        }
        ++m_flashes;
        update();
    } else {
        m_flashes = 0;
        m_alarm = -1;
    }
}

// --- geometry ---

namespace {
double bandHeight(double h) { return h * 0.30; }
} // namespace

QRectF fProcessBar::trackRect() const
{
    const double h = height();
    const double margin = std::clamp(h * 0.12, 6.0, 16.0);
    const double top = 2 * bandHeight(h);
    const double rest = h - top;
    return QRectF(margin, top + rest * 0.28, std::max(1.0, width() - 2 * margin), rest * 0.44);
}

double fProcessBar::xOf(double position) const
{
    const QRectF t = trackRect();
    return t.left() + t.width() * position / m_max;
}

double fProcessBar::pixelsOfTwips(int twips) const
{
    // Mark widths were laid out for a slim bar; a tall bar gets proportionally bolder marks.
    const double k = std::max(1.5, height() / 40.0);
    return std::max(2.0, std::round(twips * k / 15.0));
}

QRectF fProcessBar::markRect(int i) const
{
    if (i < 0 || i >= m_marks.size())
        return QRectF();
    const Mark& mark = m_marks.at(i);
    const double w = pixelsOfTwips(mark.widthTwips);
    const double top = 2 * bandHeight(height());
    return QRectF(xOf(mark.position) - w / 2, top, w, height() - top - 1);
}

QRectF fProcessBar::segmentRect(int i) const
{
    if (i < 0 || i >= m_segments.size())
        return QRectF();
    const QRectF t = trackRect();
    double left = t.left() + FirstSegmentLeftTwips / 15.0;
    for (int k = 0; k < i; ++k)
        left += t.width() * m_segments.at(k).length / m_max;
    return QRectF(left, 0, t.width() * m_segments.at(i).length / m_max, bandHeight(height()) - 2);
}

QRectF fProcessBar::thumbRect() const
{
    const QRectF t = trackRect();
    const double x = std::clamp(xOf(m_value), t.left(), t.right());
    const double w = std::clamp(height() * 0.16, 8.0, 22.0);
    const double top = 2 * bandHeight(height());
    return QRectF(x - w / 2, top + 1, w, height() - top - 2);
}

// --- painting ---

void fProcessBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    paintSegments(p);
    paintTrack(p);
    paintValue(p);
}

void fProcessBar::paintSegments(QPainter& p) const
{
    QFont f = font();
    f.setPixelSize(std::clamp(int(bandHeight(height()) * 0.62), 9, 26));
    p.setFont(f);
    for (int i = 0; i < m_segments.size(); ++i) {
        const QRectF r = segmentRect(i);
        p.setPen(QPen(m_segments.at(i).color.darker(160), 1));
        p.setBrush(m_segments.at(i).color);
        p.drawRect(r);
        p.setPen(Qt::black);
        const QString text = p.fontMetrics().elidedText(m_segments.at(i).caption, Qt::ElideRight,
                                                        int(r.width()) - 4);
        p.drawText(r, Qt::AlignCenter, text);
    }
}

void fProcessBar::paintTrack(QPainter& p) const
{
    const QRectF t = trackRect();
    const double radius = t.height() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xdc, 0xdc, 0xdc));
    p.drawRoundedRect(t, radius, radius);
    QRectF done = t;
    done.setRight(std::clamp(xOf(m_value), t.left(), t.right()));
    p.setBrush(QColor(0x2f, 0x7f, 0xd8));
    p.drawRoundedRect(done, radius, radius);
    p.fillRect(alertRect(), QColor(0xe0, 0x10, 0x10));
    // The base line under the track: it blinks green and dark red with an alarm.
    p.setPen(QPen(m_lineColor, std::max(2.0, t.height() / 5)));
    p.drawLine(QPointF(t.left(), t.bottom() + t.height() / 3),
               QPointF(t.right(), t.bottom() + t.height() / 3));
    const QRectF thumb = thumbRect();
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.5));
    p.setBrush(QColor(0xfa, 0xfa, 0xfa));
    p.drawRoundedRect(thumb, 3, 3);
    // Marks over the thumb: the one the roll is about to reach sits right beside it.
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < m_marks.size(); ++i)
        p.fillRect(markRect(i), m_marks.at(i).color);
}

void fProcessBar::paintValue(QPainter& p) const
{
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(std::clamp(int(bandHeight(height()) * 0.8), 10, 36));
    p.setFont(f);
    const QString text = QString::number(m_value);
    const double w = p.fontMetrics().horizontalAdvance(text) + 8;
    const double x = std::clamp(thumbRect().center().x() - w / 2, 0.0, width() - w);
    p.setPen(Qt::black);
    p.drawText(QRectF(x, bandHeight(height()), w, bandHeight(height())), Qt::AlignCenter, text);
}

// --- the operator's finger ---

void fProcessBar::dragTo(double x)
{
    const QRectF t = trackRect();
    const double fraction = std::clamp((x - t.left()) / t.width(), 0.0, 1.0);
    const int v = int(std::lround(fraction * m_max));
    if (v == m_value)
        return;
    setValue(v);
    emit valueChanged(v);
}

void fProcessBar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && e->position().y() >= 2 * bandHeight(height()))
        dragTo(e->position().x());
}

void fProcessBar::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & Qt::LeftButton)
        dragTo(e->position().x());
}

bool fProcessBar::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        // A mark shows its position; anywhere else the value.
        auto* help = static_cast<QHelpEvent*>(e);
        for (int i = int(m_marks.size()) - 1; i >= 0; --i) {
            if (markRect(i).adjusted(-3, 0, 3, 0).contains(help->pos())) {
                QToolTip::showText(help->globalPos(), QString::number(m_marks.at(i).position),
                                   this);
                return true;
            }
        }
    }
    return QWidget::event(e);
}
