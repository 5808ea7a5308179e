// Per-axis scaling of design twips onto the station window.
#include "screen/Twips.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

Twips::Twips(QSize px)
{
    if (px.isEmpty())
        px = QSize(DesignWidth / PerPixel, DesignHeight / PerPixel);
    m_sx = double(px.width()) * PerPixel / DesignWidth;
    m_sy = double(px.height()) * PerPixel / DesignHeight;
}

Twips Twips::of(const QWidget* widget)
{
    return Twips(widget ? widget->window()->size() : QSize());
}

int Twips::x(int twips) const { return int(std::lround(twips * m_sx / PerPixel)); }
int Twips::y(int twips) const { return int(std::lround(twips * m_sy / PerPixel)); }

QRect Twips::rect(int left, int top, int width, int height) const
{
    return QRect(x(left), y(top), x(width), y(height));
}

int Twips::toTwipsX(int px) const { return int(std::lround(px * PerPixel / m_sx)); }
int Twips::toTwipsY(int px) const { return int(std::lround(px * PerPixel / m_sy)); }

QRect Twips::toTwips(const QRect& p) const
{
    return QRect(toTwipsX(p.x()), toTwipsY(p.y()), toTwipsX(p.width()), toTwipsY(p.height()));
}

double Twips::font(double designPoints) const { return designPoints * std::min(m_sx, m_sy); }
