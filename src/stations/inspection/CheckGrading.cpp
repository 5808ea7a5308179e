// Grading arithmetic of the inspection station.
#include "stations/inspection/CheckGrading.h"

#include "text/Vb.h"

#include <cmath>

using namespace Qt::StringLiterals;

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

QString spanText(double start, double end)
{
    return end > start ? vb::sqlNumber(start) + u'-' + vb::sqlNumber(end) : vb::sqlNumber(start);
}

FourPoint::Defect defectOf(const QStringList& row)
{
    const QString at = row.value(2).trimmed();
    const double start = vb::Val(at);
    const qsizetype dash = at.indexOf(u'-', 1); // not the sign of a negative start
    return {start, dash > 0 ? vb::Val(at.mid(dash + 1)) : start, vb::Val(row.value(4))};
}

QList<FourPoint::Defect> defectsOf(const QList<QStringList>& rows)
{
    QList<FourPoint::Defect> out;
    for (const QStringList& row : rows)
        out.append(defectOf(row));
    return out;
}

Score gradeScore(const QList<QStringList>& rows, double area,
                 const QList<DefectButton>& buttons, bool autoGrade)
{
    return gradeScore(rows, area, buttons, autoGrade, Rules{});
}

Score gradeScore(const QList<QStringList>& rows, double area, const QList<DefectButton>& buttons,
                 bool autoGrade, const Rules& rules)
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
    const QList<FourPoint::Defect> defects = defectsOf(rows);
    if (rules.capPerUnit)
        s = FourPoint::cappedSum(defects);
    if (area == 0)
        area = 100;
    // A buyer counting in yards audits points per 100 square yards: 3600 square inches each.
    const bool perYards = rules.capPerUnit && rules.yards && rules.widthCm > 0 && rules.length > 0;
    const double p = roundTenthHalfEven(perYards ? s * 3600 / (rules.widthCm / 2.54 * rules.length)
                                                 : s / (area / 100));
    bool rejected = false;
    const double unitMetres = rules.yards ? 0.9144 : 1;
    for (const FourPoint::Defect& d : defects)
        rejected = rejected ||
                   (rules.rejectMetres > 0 && (d.end - d.start) * unitMetres > rules.rejectMetres);
    if (!autoGrade)
        return {vb::sqlNumber(s), u"-1"_s, u"0"_s, rejected};
    const QString per = perYards ? u" 百平方码扣分:"_s : u" 百平米扣分:"_s;
    return {vb::sqlNumber(s) + per + vb::sqlNumber(p), vb::sqlNumber(p), vb::sqlNumber(a + 0.0),
            rejected};
}

bool sectionAlertDue(const QList<QStringList>& rows, double at, double window, double limit,
                     double cap, double* points)
{
    QList<FourPoint::Defect> defects;
    bool alerted = false;
    for (const QStringList& row : rows) {
        const FourPoint::Defect d = defectOf(row);
        if (row.value(1) != QStringView(AlertRowName))
            defects.append(d);
        else if (d.start > at - window && d.start <= at)
            alerted = true;
    }
    const double p = FourPoint::stretchPoints(defects, at - window, at, cap);
    if (points)
        *points = p;
    return limit > 0 && p > limit && !alerted;
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
