// The 4-point system's caps as buyers audit fabric: a defect scores at most 4 points, one metre
// (or yard) of the roll at most 4 points whatever the defects in it, and a continuous defect
// scores 4 in every unit it spans. Pure arithmetic shared by the inspection station's grading,
// its section alert and the roll map on the label.
#pragma once

#include <QList>
#include <QMap>

namespace FourPoint {

inline constexpr double Cap = 4;

/// A recorded defect: its start and end on the roll (in the roll's unit, metres or yards) and
/// its points. An end at or before the start is a point defect.
struct Defect {
    double start = 0;
    double end = 0;
    double points = 0;
    bool isLong() const { return end > start; }
};

/// First and last unit a defect lies in: whole metres (or yards) numbered from 0 at the roll's
/// start. A long defect from 10 to 22 lies in units 10 to 21.
std::pair<long, long> unitsOf(const Defect& d);

/// Points of every unit that holds a defect, each defect and each unit capped at cap; a long
/// defect gives cap points to every unit it spans.
QMap<long, double> unitPoints(const QList<Defect>& defects, double cap = Cap);

/// The roll's points under the caps.
double cappedSum(const QList<Defect>& defects, double cap = Cap);

/// The units where the cap counts: more points than cap were recorded there, or a long defect
/// lies over them (the roll map shades them).
QList<long> cappedUnits(const QList<Defect>& defects, double cap = Cap);

/// Points of the stretch after `from` up to `to`: with cap > 0 the capped points of the units
/// that reach into it, otherwise the plain points of the defects that lie in it.
double stretchPoints(const QList<Defect>& defects, double from, double to, double cap);

} // namespace FourPoint
