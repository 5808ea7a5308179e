// The statements of the packing table: roll lookup and correction, the bill's packing list, the
// box list on the rolls, and the claim of the oldest print-pool job.
#pragma once

#include <QDateTime>
#include <QString>

namespace BagSql {

/// Does the roll exist (its itemid).
QString findMark(const QString& id);
/// The roll's label data under the Chinese column names the mark fields read.
QString showMark(const QString& id);
/// The rolls on a bill's packing list with their packed counts and the bill's invoice flag.
QString packingList(const QString& billCode);
/// Quantity (already including the addend), inspector and machine of a roll.
QString saveMark(double quantity, const QString& inspector, const QString& machine,
                 const QString& id);
/// The box a roll is in now ("" when none).
QString rollBox(double id);
/// Takes a roll out of its box, but only out of this box: a roll that was moved on to another
/// box since is left there.
QString removeRoll(double id, const QString& bagNumber);
/// The rolls of a box.
QString loadBox(const QString& bagNumber);

struct BagRow {
    double id = 0;
    QString bagNumber;
    QString remark;
};
/// Writes the box onto one roll: box number, remark, the box's weight, when and on which
/// packing machine.
QString saveBag(const BagRow& row, double weight, const QDateTime& when, const QString& machine);

/// Takes the oldest pool job out of the pool and returns it (ID, PrintType, PID), but only when
/// it is of a kind the packing table prints; run inside the print transaction so that the job
/// comes back when printing fails or the station dies before the commit.
QString claimPoolJob();

} // namespace BagSql
