// Grading arithmetic of the inspection station.
#include "stations/inspection/CheckGrading.h"

#include "text/Vb.h"

#include <cmath>

namespace CheckGrading {

double roundTenthHalfEven(double x)
{
    // Scale first; a product like 2.25 × 10 can land a hair off 22.5, so "exactly half" allows
    // for the last bits of the double instead of trusting the binary value.
    const double scaled = x * 10;
    const double low = std::floor(scaled);
    const double frac = scaled - low;
    const double eps = 1e-9 * std::max(1.0, std::fabs(scaled));
    double whole;
    if (std::fabs(frac - 0.5) <= eps)
        whole = std::fmod(low, 2.0) == 0 ? low : low + 1;
    else
        whole = std::round(scaled);
    return whole / 10;
}

Score gradeScore(const QList<QStringList>& rows, double area,
                 const QList<DefectButton>& buttons, bool autoGrade)
{
    double s = 0;
    double a = 0;
    for (const QStringList& row : rows) {
        s += vb::Val(row.value(4));
        const double count = vb::Val(row.value(3));
        for (const DefectButton& b : buttons)
            if (b.caption == row.value(1))
                a -= b.allowance * (count == 0 ? 1 : count);
    }
    if (area == 0)
        area = 100;
    const double p = roundTenthHalfEven(s / (area / 100));
    if (!autoGrade)
        return {vb::sqlNumber(s), QStringLiteral("-1"), QStringLiteral("0")};
    return {vb::sqlNumber(s) + QStringLiteral(" 百平米扣分:") + vb::sqlNumber(p), vb::sqlNumber(p),
            vb::sqlNumber(a + 0.0)};
}

int gradeFor(double points, const QList<double>& thresholds)
{
    int chosen = 0;
    for (int i = 0; i < thresholds.size(); ++i)
        if (points >= thresholds[i])
            chosen = i;
    return chosen;
}

bool settingIsTrue(const QString& value)
{
    const QString v = value.trimmed().toLower();
    if (v == u"true")
        return true;
    return vb::IsNumeric(v) && vb::Val(v) != 0;
}

} // namespace CheckGrading
