// The progress station's record list without a window: the reports this station wrote in a
// period (for one card or worker), the deletion of one with its card's status put back, and the
// column widths the list keeps per user.
#pragma once

#include "db/Recordset.h"
#include "stations/progress/WorkloadSql.h"

#include <QList>
#include <QString>

class Connection;

namespace WorkloadRecords {

/// The mill's stored list query ("LoadWorkLoadkSQL") or the built-in one, with the period, the
/// machine and the filters; read-only. Throws DbError.
Recordset load(Connection& conn, const WorkloadSql::ListFilter& filter);

/// Deletes record id and puts its card's status back to what its other reports say (the latest
/// step, or none), in one transaction. Throws DbError with nothing changed (a record deleted at
/// another station meanwhile: isRowMissing()).
void remove(Connection& conn, long long id);

/// The widths a stored list ("w0,w1,…") gives columns 1 … cols-1 (column 0, the record id,
/// keeps its own); nothing when the list has not exactly one width per column.
QList<int> storedWidths(const QString& stored, int cols);

} // namespace WorkloadRecords
