// A package at the mark-label station: the inspection roll's rules with an article in place of
// the card line, a quantity that must be there, the pallet number in its statements and the
// time it was packed.
#pragma once

#include "stations/inspection/InspectionRoll.h"

using namespace Qt::StringLiterals;

class MaitouPackage : public InspectionRoll {
public:
    using InspectionRoll::InspectionRoll;

    /// A package of an article the master does not know makes the article ("itemAutoSave"), and
    /// no article needs to be chosen.
    virtual bool autoItems() const { return m_cfg.itemAutoSave; }
    /// The quantity is good enough to save a package.
    virtual bool quantityValid(const QString& text) const;
    /// What the update of a saved package writes as its date ("" keeps createDate = today).
    virtual QString updateDateSet() const { return QString(); }

    /// The journal's key kind of the pallet a new package went on (for a restart offline).
    static QString keptPalletKind() { return u"maitouPallet"_s; }
    /// Keeps the automatic article id of the package's name, spare B and colour for offline saves.
    static void keepAutoItem(JournalStore& journal, const RollForm& roll, long long id);

    /// The fields a chosen article (its Item row) fills besides its name: none here.
    virtual QList<std::pair<CheckField::Index, QString>> fromArticle(const Recordset& /*item*/) const
    {
        return {};
    }

    /// The pallet list's summary line for its packages and their summed quantity.
    virtual QString palletSummary(int packages, double quantity) const;
    /// A pallet of perPallet packages ("每版的箱数") that holds packages is full.
    static bool palletFull(double perPallet, int packages) { return perPallet > 0 && packages >= perPallet; }
    /// A full pallet asks for its list and a new pallet (the fiber-box station).
    virtual bool asksWhenPalletFull() const { return false; }

    bool weighsBoxes() const override { return true; }
    QString rollListBase() const override;
    /// The question names the package's pallet and what is left on it.
    QString deleteQuestion(Connection& conn, long long id) const override;
    QString templateSetting() const override { return u"checkMaitou"_s; }
    QString defaultTemplate() const override { return u"订单唛头2"_s; }
    /// A new package, with the pallet and article the packer had on the form: stepping to the
    /// package before (perhaps of another pallet) would have the next 保存 overwrite it.
    bool previousAfterDelete() const override { return false; }
    /// A package keeps its number when the dye lot changes (no dye-lot numbering here).
    bool numbersByDyeLot() const override { return false; }
    /// Field 5 holds the packages per pallet here; at an inspection frame the same field is the
    /// style number (款号) a card's preset list often fills.
    bool keptFromCardPresets(CheckField::Index field) const override { return field == CheckField::Style; }
    std::optional<RollProblem> checkCardOrLine(const RollForm& roll) const override;
    std::optional<RollProblem> checkExtra(const RollForm& roll) const override;
    CheckSql::Roll values(const RollForm& roll) const override;
    QString insertStatement(const RollForm& roll, const CheckSql::Roll& r) const override;
    QString updateStatement(const RollForm& roll, const CheckSql::Roll& r, long long id) const override;
    QString numberCondition(const RollForm& roll) const override;
    void fill(RollForm& roll, const Recordset& rs) const override;
    Item5Source item5Source(const QString& lineId) const override;
    QString item5(const QString& checkCode, const Recordset& line) const override;
    /// A new package's pallet is kept for a restart; the automatic article of the form's name,
    /// spare B and colour is found or made (inside the save's transaction: a failed save leaves
    /// no article behind), or offline taken from the articles kept here.
    void prepare(RollForm& roll, Connection* conn, JournalStore* journal) const override;
};
