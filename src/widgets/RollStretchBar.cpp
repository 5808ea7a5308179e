// The roll's own bar of the section alert.
#include "widgets/RollStretchBar.h"

#include "text/Vb.h"

#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

RollStretchBar::RollStretchBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents); // a touch on it acknowledges the alert
}

void RollStretchBar::setLength(double length)
{
    m_length = std::max(0.0, length);
    update();
}

void RollStretchBar::setStretches(const QList<QPair<double, double>>& stretches)
{
    m_stretches = stretches;
    update();
}

double RollStretchBar::scaleEnd() const
{
    double end = m_length;
    for (const auto& s : m_stretches)
        end = std::max(end, s.second);
    return end > 0 ? end : 1;
}

QRectF RollStretchBar::barRect() const
{
    // The figures "0" and the length stand at the ends, the bar between them.
    const QFontMetricsF fm(font());
    const double left = fm.horizontalAdvance(u"0"_s) + 8;
    const double right = fm.horizontalAdvance(vb::sqlNumber(scaleEnd())) + 8;
    const double h = std::max(4.0, height() * 0.45);
    return QRectF(left, height() - h - 2, std::max(1.0, width() - left - right), h);
}

QRectF RollStretchBar::stretchRect(int i) const
{
    const QRectF bar = barRect();
    const double end = scaleEnd();
    const auto [from, to] = m_stretches.value(i);
    const double a = std::clamp(from, 0.0, end) / end;
    const double b = std::clamp(to, 0.0, end) / end;
    // A stretch never thinner than a line, so that a short one on a long roll still shows.
    return QRectF(bar.left() + a * bar.width(), bar.top(), std::max(3.0, (b - a) * bar.width()),
                  bar.height());
}

QSize RollStretchBar::sizeHint() const
{
    return {200, fontMetrics().height() * 2};
}

void RollStretchBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF bar = barRect();
    p.fillRect(bar, QColor(0xe0, 0xe0, 0xe0));
    p.setPen(Qt::black);
    p.drawRect(bar);
    p.drawText(QRectF(0, bar.top(), bar.left(), bar.height()), Qt::AlignCenter, u"0"_s);
    p.drawText(QRectF(bar.right(), bar.top(), width() - bar.right(), bar.height()),
               Qt::AlignCenter, vb::sqlNumber(scaleEnd()));
    for (int i = 0; i < m_stretches.size(); ++i) {
        const QRectF r = stretchRect(i);
        p.fillRect(r, QColor(0xd0, 0, 0));
        // Its positions above it, kept inside the widget.
        const QString text = vb::sqlNumber(m_stretches[i].first) + u'-' +
                             vb::sqlNumber(m_stretches[i].second);
        const double w = p.fontMetrics().horizontalAdvance(text) + 4;
        const double x = std::clamp(r.center().x() - w / 2, 0.0, std::max(0.0, width() - w));
        p.setPen(QColor(0xa0, 0, 0));
        p.drawText(QRectF(x, 0, w, bar.top()), Qt::AlignCenter, text);
    }
}
