// The quality office's statements on the rolls and defects the inspection frames write (not the
// packages and boxes of the mark-label and fiber-box stations, which share the table): T-SQL
// text with "?" markers and the values that go with them, so that a machine number or card typed
// into a filter never becomes part of the statement. Read-only: nothing here writes.
#pragma once

#include "db/DbValue.h"

#include <QDate>
#include <QList>
#include <QString>

namespace QualitySql {

/// What the quality office asks about: a range of inspection days and the optional narrowings.
/// Empty texts do not narrow.
struct Filter {
    QDate from;        ///< first day, inclusive
    QDate to;          ///< last day, inclusive
    QString machine;   ///< machineId of the frame
    QString card;      ///< billCode
    QString item;      ///< article code or name
    QString inspector; ///< checkUsercode
    // A bar touched on a chart narrows the other views:
    QString defect; ///< rolls that have a defect of this name; their points and defects are
                    ///< those of this defect alone
    QString grade;  ///< rolls of this grade
    QDate day;      ///< only this day (within or outside the range)
};

/// A statement and the values of its markers, in order.
struct Query {
    QString text;
    QList<DbValue> params;
};

/// The filter moved back by its own length: the range just before it (the day before a touched
/// day), other narrowings kept.
Filter previousRange(const Filter& f);

/// Rolls, metres, first-grade metres, area (m²), points and defects of the filter's rolls.
/// firstGrade is the best grade of the `grade` setting.
Query figures(const Filter& f, const QString& firstGrade);
/// One row per roll of the filter: id, grade, metres, area (m²) and, with places, inspection
/// day ("yyyy-mm-dd"), machine and inspector. The overview sums these rows itself (per day,
/// machine, inspector and grade), so that the database does not sort a month of rolls for a
/// GROUP BY.
Query rollRows(const Filter& f, bool places);
/// One row per defect of the filter's rolls: the roll's id, the defect's name, its defects, its
/// points (as figures counts them), its start and its end (0 for a defect at one place). Section
/// alerts kept with a roll are no defects: no statement here counts them.
Query defectRows(const Filter& f);
/// The same columns for every defect of the rolls with ids first to last, read from the defect
/// index alone (rolls of a range have neighbouring ids: they are numbered as they are saved).
Query defectRowsOfIds(qint64 first, qint64 last);
/// The defects and points of every defect of the rolls with ids first to last, summed.
Query defectSumsOfIds(qint64 first, qint64 last);

/// The latest pictures of the filter's defect in its range: file (under the photo folder),
/// card, roll number, the defect's position and when it was taken; newest first, at most count.
Query defectPictures(const Filter& f, int count);

/// The name of an inspector (UserInfo), "" when the code has none.
Query inspectorName(const QString& code);

/// The machine numbers (machine true) or inspector codes of the filter's range, for the quick
/// pick; the field being picked does not narrow its own list.
Query pickValues(Filter f, bool machine);

} // namespace QualitySql
