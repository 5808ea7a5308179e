// Statement texts of the mark-label station that differ from the inspection station's: the
// pallet list, its roll list, the package's item and the automatic item of an unknown article.
#pragma once

#include <QString>

namespace MaitouSql {

/// The pallet list: the stored list (its "?" replaced by the pallet number) or the built-in one,
/// with "{machineId}" replaced by the station number in either.
QString palletList(const QString& stored, const QString& pallet, const QString& machineId);

/// The roll list's text up to and including "where 1=1 " (the filters follow).
QString rollListBase();

/// The line's stock-number offset, taken as stored (a line without one gives null).
QString item5Lookup(const QString& lineId);

/// The chosen article.
QString loadItem(const QString& itemId);

QString maxItemType();
/// An article of this name, spare B text and colour.
QString findAutoItem(const QString& name, const QString& spareB, const QString& colour);
/// A new article for a package whose article the master does not know yet.
QString insertAutoItem(const QString& name, const QString& itemType, const QString& spareB,
                       const QString& colour);

/// The pallet of the station's latest package that has one, and its packages per pallet.
QString lastPallet(const QString& machineId);

/// Counts the packages this station saved with this number onto this pallet for this card line
/// (0 for an article's package).
QString packageSaved(const QString& number, const QString& pallet, const QString& machineId,
                     double lineId);

/// The roll number of a package, for the delete question.
QString rollNumber(long long id);

} // namespace MaitouSql
