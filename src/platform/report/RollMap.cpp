// Drawing the roll map of a label.
#include "report/RollMap.h"

#include "text/Vb.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace RollMap {

RollMapData build(double length, const QString& grade, const QList<QList<DbValue>>& rows,
                  double cap)
{
    RollMapData map{length, grade, 0, {}, {}};
    for (const QList<DbValue>& row : rows) {
        const bool withEnd = row.size() > 2;
        const double start = row.value(0).toDouble();
        map.defects.append({start, withEnd ? row.value(1).toDouble() : start,
                            row.value(withEnd ? 2 : 1).toDouble()});
    }
    if (cap > 0) {
        map.points = FourPoint::cappedSum(map.defects, cap);
        map.shaded = FourPoint::cappedUnits(map.defects, cap);
    } else {
        for (const FourPoint::Defect& d : map.defects)
            map.points += d.points;
    }
    return map;
}

QString caption(const RollMapData& map)
{
    return u"等级 %1\n扣分 %2"_s.arg(map.grade, vb::sqlNumber(map.points));
}

QRectF barRect(const QRectF& box)
{
    const double captionWidth = std::min(box.width() * 0.3, box.height() * 2.2);
    return QRectF(box.left(), box.top() + box.height() * 0.4,
                  std::max(1.0, box.width() - captionWidth), box.height() * 0.3);
}

double xOf(const QRectF& bar, const RollMapData& map, double position)
{
    const double length = map.length > 0 ? map.length : 1;
    return bar.left() + bar.width() * std::clamp(position / length, 0.0, 1.0);
}

namespace {

void paintDefects(QPainter& p, const QRectF& box, const QRectF& bar, const RollMapData& map)
{
    const double pen = std::max(1.0, bar.height() / 12);
    for (long unit : map.shaded) {
        const double left = xOf(bar, map, double(unit));
        p.fillRect(
            QRectF(left, bar.top(), std::max(1.0, xOf(bar, map, unit + 1.0) - left), bar.height()),
            QColor(0xa0, 0xa0, 0xa0));
    }
    const double markZone = bar.top() - box.top();
    for (const FourPoint::Defect& d : map.defects) {
        if (d.isLong()) { // a black band through the middle of the bar
            const double left = xOf(bar, map, d.start);
            p.fillRect(QRectF(left, bar.center().y() - bar.height() / 4,
                              std::max(pen, xOf(bar, map, d.end) - left), bar.height() / 2),
                       Qt::black);
            continue;
        }
        // A mark above the bar, taller for more points (a quarter of the zone per point).
        const double height = markZone * std::clamp(d.points, 1.0, 4.0) / 4;
        const double x = xOf(bar, map, d.start);
        p.fillRect(QRectF(x - pen / 2, bar.top() - height, pen, height + bar.height()), Qt::black);
    }
}

} // namespace

void paint(QPainter& p, const QRectF& box, const RollMapData& map, const QFont& font)
{
    const QRectF bar = barRect(box);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    paintDefects(p, box, bar, map);
    p.setPen(QPen(Qt::black, std::max(1.0, bar.height() / 12)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar);
    QFont small = font;
    small.setPointSizeF(font.pointSizeF() * 0.8);
    p.setFont(small);
    const QRectF scale(bar.left(), bar.bottom(), bar.width(), box.bottom() - bar.bottom());
    p.drawText(scale, Qt::AlignLeft | Qt::AlignVCenter, u"0"_s);
    p.drawText(scale, Qt::AlignRight | Qt::AlignVCenter, vb::sqlNumber(map.length));
    p.setFont(font);
    const QRectF beside(bar.right() + box.height() * 0.1, box.top(),
                        box.right() - bar.right() - box.height() * 0.1, box.height());
    p.drawText(beside, Qt::AlignLeft | Qt::AlignVCenter, caption(map));
    p.restore();
}

} // namespace RollMap
