// Twips (1440 per inch) of the stations' layout rules, scaled onto the real window. The layouts
// were made for 1024 x 768 panels, so 15360 x 11520 twips is the design space: positions and
// sizes scale per axis, fonts by the smaller factor.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

class Twips {
public:
    static constexpr int DesignWidth = 15360;
    static constexpr int DesignHeight = 11520;
    static constexpr int PerPixel = 15; // at 96 dpi

    /// Scale for a window of the given pixel size (an empty size means 1024 x 768).
    explicit Twips(QSize windowPixels = QSize());
    /// Scale for the top-level window of widget.
    static Twips of(const QWidget* widget);

    int x(int twips) const;
    int y(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    /// Pixel rectangle back to design twips.
    QRect toTwips(const QRect& pixels) const;
    int toTwipsX(int px) const;
    int toTwipsY(int px) const;
    /// Point size for a design point size.
    double font(double designPoints) const;

    double scaleX() const { return m_sx; }
    double scaleY() const { return m_sy; }

private:
    double m_sx = 1;
    double m_sy = 1;
};
