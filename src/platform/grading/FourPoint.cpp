// Per-unit caps of the 4-point system.
#include "grading/FourPoint.h"

#include <algorithm>
#include <cmath>

namespace FourPoint {

namespace {

// A mistyped end (a counter reading of 100000 m) must not make a roll of a million units.
constexpr long MaxUnits = 20000;

double clampPoints(double points, double cap)
{
    return std::clamp(points, 0.0, cap);
}

} // namespace

std::pair<long, long> unitsOf(const Defect& d)
{
    const long first = long(std::floor(d.start));
    if (!d.isLong())
        return {first, first};
    const long last = std::max(first, long(std::ceil(d.end)) - 1);
    return {first, std::min(last, first + MaxUnits)};
}

QMap<long, double> unitPoints(const QList<Defect>& defects, double cap)
{
    QMap<long, double> units;
    for (const Defect& d : defects) {
        const auto [first, last] = unitsOf(d);
        for (long u = first; u <= last; ++u)
            units[u] =
                std::min(cap, units.value(u) + (d.isLong() ? cap : clampPoints(d.points, cap)));
    }
    return units;
}

double cappedSum(const QList<Defect>& defects, double cap)
{
    double sum = 0;
    for (double p : unitPoints(defects, cap))
        sum += p;
    return sum;
}

QList<long> cappedUnits(const QList<Defect>& defects, double cap)
{
    QMap<long, double> raw;
    for (const Defect& d : defects) {
        const auto [first, last] = unitsOf(d);
        for (long u = first; u <= last; ++u)
            raw[u] += d.isLong() ? cap + 1 : std::max(d.points, 0.0);
    }
    QList<long> out;
    for (auto it = raw.cbegin(); it != raw.cend(); ++it)
        if (it.value() > cap)
            out.append(it.key());
    return out;
}

double stretchPoints(const QList<Defect>& defects, double from, double to, double cap)
{
    double sum = 0;
    if (cap > 0) {
        const QMap<long, double> units = unitPoints(defects, cap);
        for (auto it = units.cbegin(); it != units.cend(); ++it)
            if (it.key() + 1 > from && it.key() <= to)
                sum += it.value();
        return sum;
    }
    for (const Defect& d : defects)
        if (std::max(d.start, d.end) > from && d.start <= to)
            sum += d.points;
    return sum;
}

} // namespace FourPoint
