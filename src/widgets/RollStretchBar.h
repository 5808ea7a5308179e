// A thin bar of the roll on the inspection frame, from its start to the length counted so far,
// with the stretches the section alert found painted red and their positions written beside.
#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

class RollStretchBar : public QWidget {
    Q_OBJECT
public:
    explicit RollStretchBar(QWidget* parent = nullptr);

    /// The roll's length so far, the end of the bar's scale (at least the last stretch's end).
    void setLength(double length);
    double length() const { return m_length; }
    /// The stretches to paint, each from..to on the roll.
    void setStretches(const QList<QPair<double, double>>& stretches);
    const QList<QPair<double, double>>& stretches() const { return m_stretches; }

    /// The scale's end: the length, or the last stretch's end when the counter is behind it.
    double scaleEnd() const;
    /// The bar in pixels, and where a stretch lies in it.
    QRectF barRect() const;
    QRectF stretchRect(int i) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double m_length = 0;
    QList<QPair<double, double>> m_stretches;
};
