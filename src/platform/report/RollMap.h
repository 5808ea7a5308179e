// The roll map of a label: the roll's length as a bar with every defect at its position (long
// defects as spans, the metres where the 4-point cap counts shaded) and the grade and points
// beside it, so that a buyer sees where the faults lie without unrolling the fabric.
#pragma once

#include "db/DbValue.h"
#include "grading/FourPoint.h"

#include <QList>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

struct RollMapData {
    double length = 0;
    QString grade;
    double points = 0; ///< capped when the map has a cap
    QList<FourPoint::Defect> defects;
    QList<long> shaded; ///< units (metres or yards) where the cap counts
};

namespace RollMap {

/// The map of a roll of length with the defect rows of its query (columns: position, end,
/// points; a row of two columns is position and points). cap: points per unit at most (4 for
/// the 4-point rules); 0 sums the points as recorded and shades nothing.
RollMapData build(double length, const QString& grade, const QList<QList<DbValue>>& rows,
                  double cap);

/// The text beside the bar: "等级 A" and "扣分 9" on two lines.
QString caption(const RollMapData& map);

/// Where the bar lies in a box (device units): the left part of the box, below the defect
/// marks, above the scale; the right part holds the caption.
QRectF barRect(const QRectF& box);

/// x of a position of the roll on the bar.
double xOf(const QRectF& bar, const RollMapData& map, double position);

/// Draws the map into box (device units); font for the caption and the scale.
void paint(QPainter& painter, const QRectF& box, const RollMapData& map, const QFont& font);

} // namespace RollMap
