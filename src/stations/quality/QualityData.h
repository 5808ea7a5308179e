// The quality overview's figures read from the database into plain values: totals of a range and
// of the range before, the defect Pareto, grades and points per day, rows per machine and per
// inspector. No widgets; the window and the exports draw these.
#pragma once

#include "stations/quality/QualitySql.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Connection;
class Recordset;

namespace QualityData {

/// The `grade` setting of the inspection frames ("A品^0,B品^20,C品^40"): grade names best first
/// and their limits in points per 100 m² (a grade without a limit has none).
struct Grades {
    QStringList names;
    QList<std::optional<double>> limits;
    /// The best grade: the first of the setting, "A品" when the setting is empty.
    QString first() const;
};
Grades parseGrades(const QString& setting);

/// The per-metre cap the frames grade under: 4 with the 4-point scoring ("美标4分制", setting
/// USASTANDARD) and CapPerUnit on, else 0 (no cap).
double frameCap(const QString& scoring, const QString& capPerUnit);

/// Sums over rolls.
struct Totals {
    qint64 rolls = 0;
    double metres = 0;
    double firstMetres = 0;
    double area = 0; ///< m²
    double points = 0;
    double defects = 0;

    /// Share of the metres in the first grade, 0..1; none without metres.
    std::optional<double> firstShare() const;
    /// Points per 100 m² of inspected area; none without rolls.
    std::optional<double> pointsPer100m2() const;
    /// Defects per 100 m; none without metres.
    std::optional<double> defectsPer100m() const;
};

struct ParetoRow {
    QString defect;
    double defects = 0;
    double points = 0;
    double cumulative = 0; ///< share of the total up to and including this row, 0..1
};

/// Orders the rows by points (or by defects when no row has points: scoring was off) and fills
/// the cumulative share of that measure.
QList<ParetoRow> pareto(QList<ParetoRow> rows);

struct Day {
    QDate day;
    QList<qint64> rollsPerGrade; ///< in the order of Overview::gradeNames
    double area = 0;
    double points = 0;
    std::optional<double> pointsPer100m2() const
    {
        return area > 0 ? std::optional<double>(points * 100 / area) : std::nullopt;
    }
};

struct Group {
    QString key;  ///< machine number or inspector code
    QString name; ///< the inspector's name
    Totals totals;
};

struct Overview {
    QualitySql::Filter filter;
    Totals now;
    Totals before; ///< the range of the same length just before
    QList<ParetoRow> pareto;
    QStringList gradeNames; ///< the setting's grades, then other grades found, in that order
    QList<Day> days;        ///< every day of the range, days without rolls included
    QList<Group> machines;
    QList<Group> inspectors;
};

/// A picture the frames took of a defect.
struct Picture {
    QString file; ///< under the photo folder
    QString card;
    QString roll;
    double position = 0;
    QDateTime taken;
};
/// The latest pictures of the filter's defect in its range, newest first, at most count; none
/// without a defect. Throws DbError (also on a mill database that keeps no picture rows).
QList<Picture> pictures(Connection& c, const QualitySql::Filter& filter, int count);

/// Reads everything the overview shows for filter. The Pareto ignores the filter's defect (it is
/// the chart that picks one). cap > 0: the frames grade under the 4-point per-metre cap, and a
/// roll's points are its capped sum as the frame graded it (the Pareto keeps each defect's own
/// points). Throws DbError.
Overview load(Connection& c, const QualitySql::Filter& filter, const Grades& grades,
              double cap = 0);
/// The two halves of load: the totals of the range before (Overview::before), and everything
/// else. A reader with a second connection reads them side by side. Throw DbError.
Totals before(Connection& c, const QualitySql::Filter& filter, const Grades& grades,
              double cap = 0);
Overview loadRange(Connection& c, const QualitySql::Filter& filter, const Grades& grades,
                   double cap = 0);

/// Totals of the current row of a recordset of QualitySql's summary columns.
Totals totalsOf(const Recordset& rs);

} // namespace QualityData
