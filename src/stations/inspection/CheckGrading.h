// Defect points of a roll turned into points per 100 square metres, the automatic grade and the
// length allowance for the defects: pure arithmetic on the defect rows, no widgets.
#pragma once

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
};

/// Rounds to one decimal, exact halves to the even digit (2.25 → 2.2, 2.35 → 2.4).
double roundTenthHalfEven(double x);

/// Grades the defect rows (columns as in the grid: 1 name, 3 count, 4 points). area is the
/// inspected area in m² (0 counts as 100 m²). Every row deducts the allowance of each button
/// with its name, once per counted defect and once when the count is 0.
Score gradeScore(const QList<QStringList>& rows, double area,
                 const QList<DefectButton>& buttons, bool autoGrade);

/// Index of the grade to select for points per 100 m²: the last grade whose threshold is
/// reached, 0 when none is.
int gradeFor(double points, const QList<double>& thresholds);

/// Reads a Boolean setting the way the old program did: "true"/"false" or a number (non-zero is
/// true); anything else is false.
bool settingIsTrue(const QString& value);

} // namespace CheckGrading
