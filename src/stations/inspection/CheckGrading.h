// Defect points of a roll turned into points per 100 square metres, the automatic grade and the
// length allowance for the defects: pure arithmetic on the defect rows, no widgets.
#pragma once

#include "grading/FourPoint.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace CheckGrading {

/// A defect button as the grading sees it: its caption and its allowance per defect (Tag).
struct DefectButton {
    QString caption;
    double allowance = 0;
};

/// The three texts of a grading.
struct Score {
    QString summary;   ///< points, with " 百平米扣分:" and the points per 100 m² when grading is on
    QString points;    ///< points per 100 m², "-1" when grading is off
    QString allowance; ///< length allowance (zero or negative), "0" when grading is off
    bool rejected = false; ///< a long defect longer than the reject length: the last grade
};

/// The optional rules of the 4-point system as buyers audit it ([MIREL] CapPerUnit,
/// LongDefectReject). All off: the plain sum of points.
struct Rules {
    bool capPerUnit = false; ///< each defect and each metre (yard) at most 4 points
    bool yards = false;      ///< the roll is counted in yards
    double widthCm = 0;      ///< fabric width, for points per 100 square yards
    double length = 0;       ///< inspected length in the roll's unit
    double rejectMetres = 0; ///< a long defect longer than this rejects the roll; 0: off
};

/// The grid's position text of a defect: "12.5", or start and end "12.5-24" (起-止).
QString spanText(double start, double end);

/// A grid row (1 name, 2 position or 起-止, 4 points) as the caps see it.
FourPoint::Defect defectOf(const QStringList& row);
QList<FourPoint::Defect> defectsOf(const QList<QStringList>& rows);

/// Rounds to one decimal, exact halves to the even digit (2.25 → 2.2, 2.35 → 2.4).
double roundTenthHalfEven(double x);

/// Grades the defect rows (columns as in the grid: 1 name, 3 count, 4 points). area is the
/// inspected area in m² (0 counts as 100 m²). Every row deducts the allowance of each button
/// with its name, once per counted defect and once when the count is 0.
Score gradeScore(const QList<QStringList>& rows, double area,
                 const QList<DefectButton>& buttons, bool autoGrade);
/// The same under rules: with capPerUnit the points are the capped sum, and counted in yards
/// they are per 100 square yards (points × 3600 / (width in inches × yards)); a long defect
/// longer than rejectMetres sets rejected.
Score gradeScore(const QList<QStringList>& rows, double area, const QList<DefectButton>& buttons,
                 bool autoGrade, const Rules& rules);

/// The defect row that keeps a section alert with the roll.
inline constexpr char16_t AlertRowName[] = u"区段报警";

/// A section alert is due at position `at` when the points of the window's stretch up to it
/// pass limit (limit 0: off) and no alert row lies in that stretch yet. points receives the
/// stretch's points.
bool sectionAlertDue(const QList<QStringList>& rows, double at, double window, double limit,
                     double cap, double* points = nullptr);

/// Index of the grade to select for points per 100 m²: the last grade whose threshold is
/// reached, 0 when none is.
int gradeFor(double points, const QList<double>& thresholds);

/// Reads a Boolean setting the way the old program did: "true"/"false" or a number (non-zero is
/// true); anything else is false.
bool settingIsTrue(const QString& value);

} // namespace CheckGrading
