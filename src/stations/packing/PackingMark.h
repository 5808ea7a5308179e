// The mark of one roll at the packing table, as the rules see it: the roll id a label barcode
// carries, the mark fields its row fills, whether the scanned bill's packing list lets it in, and
// the correction of its quantity, inspector and machine. No widget here: the window asks and
// shows the answer.
#pragma once

#include "journal/JournalRecord.h"
#include "stations/packing/BagFields.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

class Connection;
class Recordset;

/// A bill's packing list: the roll ids on it (as text) with their packed counts.
struct PackingList {
    QHash<QString, double> rolls;
    /// The bill's invoice says "是": its mark labels print the moment a roll is scanned.
    bool autoPrint = false;

    /// The list of the bill; throws DbError.
    static PackingList load(Connection& conn, const QString& billCode);
};

/// Why a roll may not be shown or packed under the bill; toBill: the caret goes to the bill.
struct MarkProblem {
    QString message;
    bool toBill = false;
};

/// What a mark save writes onto the roll.
struct MarkSave {
    QString id;
    double quantity = 0; // the quantity with its addend
    QString inspector;
    QString machine;
};

namespace PackingMark {

/// The roll id of a label barcode, often zero-padded by the label printer: "00042" is 42, a text
/// without a leading number is 0.
QString rollId(const QString& scanned);
/// The barcode field still shows the roll looked up (empty counts as shown): a code scanned
/// over it without Enter is not that roll, and nothing may be saved or packed from the form.
bool showsLookedUp(const QString& barcode, double shownRoll);
/// "卡号已改，请先查询".
QString notLookedUpMessage();
/// The mark fields the roll's row fills; a column the row lacks leaves its field as it was.
QList<std::pair<BagField::Index, QString>> fields(const Recordset& rs);
/// With 单号细码校验 ticked: no bill scanned (list), a bill without a list, or a roll not on it.
std::optional<MarkProblem> listProblem(bool billCodeValid, const std::optional<PackingList>& list,
                                       double id);
/// The stored quantity: the quantity and its addend, each by its leading number.
double savedQuantity(const QString& quantity, const QString& addend);
/// The save's statement, for the database or the offline journal (it must touch the roll).
JournalStep saveStep(const MarkSave& save);
/// Saves the mark; throws DbError (isRowMissing(): the roll was deleted at another station).
void save(Connection& conn, const MarkSave& save);

} // namespace PackingMark
