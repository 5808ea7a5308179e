// The pallet a mark-label or fiber-box station stacks its packages on, without a window: its list
// (the statement, the rows, the summary line), whether the list read again changed, the packages
// per pallet the steps through it need, the question a full pallet asks, the pallet a restarted
// station goes on with and the counter a new pallet's number comes from.
#pragma once

#include "db/Recordset.h"
#include "stations/marklabel/MaitouPackage.h"

#include <optional>

using namespace Qt::StringLiterals;

class Connection;

/// A pallet's list as the database gave it.
struct PalletList {
    QString statement; // what was run: the list on screen is read again with it
    Recordset rows;
    QString summary; // the count of packages and their summed quantity
};

/// The pallet a restarted station goes on with.
struct PalletStart {
    QString pallet;
    QString perPallet; // "" leaves the packages per pallet as typed
};

class MaitouPallet {
public:
    explicit MaitouPallet(const MaitouPackage& package) : m_package(package) {}

    /// The list of pallet: the stored list (type "listSQL", name "MirelQuerySimpleCheck2", its "?"
    /// the pallet number; "" for the built-in list), the station's own packages only.
    QString listStatement(const QString& stored, const QString& pallet) const;
    /// Reads the list of pallet. Throws DbError.
    PalletList read(Connection& conn, const QString& stored, const QString& pallet) const;
    /// The summary line of listed rows: their count and the sum of their 净重 column.
    QString summary(const Recordset& rows) const;
    /// The list read again shows other packages, other values or other columns than before.
    static bool changed(const Recordset& listed, const Recordset& now);

    /// Why the packer's command stops: stepping through the pallet's packages (上卷, 下卷) counts
    /// them against the packages per pallet ("每版的箱数"), which must be a number above 0. The
    /// step a delete or a new package runs itself (pressed false) is never held up.
    std::optional<RollProblem> commandRefused(int command, bool pressed,
                                              const QString& perPallet) const;
    /// The question the listed rows ask ("" none): a fiber-box pallet that holds its boxes per
    /// pallet (or more, after a No) asks for its list and a new pallet.
    QString fullQuestion(const QString& perPallet, const Recordset& rows) const;
    /// The newest listed package (its mark template lists its pallet's packages); 0 when none.
    static long long newestPackage(const Recordset& rows);

    /// The station's latest package on a pallet, with its packages per pallet (no packing box).
    QString lastPalletStatement() const;
    /// The pallet the rows of lastPalletStatement() give a restarted station.
    static std::optional<PalletStart> startFrom(const Recordset& rs);

    /// The delete question of a saved package, by its roll number (by its id when the database
    /// does not give the number: the delete itself reports the database).
    static QString deleteQuestion(Connection& conn, long long id);

    /// The mill's daily counter a new pallet's number comes from ("yyMMdd" and a running number).
    static QString numberKind() { return u"箱号"_s; }

private:
    const MaitouPackage& m_package;
};
