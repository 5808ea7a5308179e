// The quality overview's three charts as SVG, drawn on the server: the defect Pareto (bars and
// the cumulative line), rolls per grade and day (stacked bars), points per 100 m² per day with
// the grade limits as lines. Every text in them is escaped.
#pragma once

#include <QJsonArray>
#include <QString>

namespace WebSvg {

/// pareto: the overview's rows, ordered; at most bars get a bar of their own, the rest one "其他".
QString pareto(const QJsonArray& pareto, int bars);
/// days: the overview's days; gradeNames: the order of rollsPerGrade.
QString grades(const QJsonArray& days, const QJsonArray& gradeNames);
/// days and the setting's limits ({grade, limit}).
QString points(const QJsonArray& days, const QJsonArray& limits);

} // namespace WebSvg
