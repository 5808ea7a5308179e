// The roll being inspected, as the rules see it: its fields by name, and what the station decides
// about it — whether it may be saved and why not, the values it is stored with, the quantity its
// weight gives, the scope of its number and how a saved roll comes back. No widget here: the
// window reads its controls into a RollForm, asks, and shows the answer. The mark-label and
// fiber-box stations vary these rules in classes derived from InspectionRoll.
#pragma once

#include "stations/inspection/CheckFields.h"
#include "stations/inspection/CheckSql.h"
#include "stations/inspection/InspectionSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <bitset>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

class Connection;
class JournalStore;
class Recordset;

/// What the form holds of one roll.
struct RollForm {
    std::array<QString, CheckField::Count> fields;
    /// The fields this station's form has (a rule about a field it has not is no rule here).
    std::bitset<CheckField::Count> present;
    QString remark;
    QString grade;        // the chosen grade's caption, "" when none is chosen
    QString lineId;       // the card line (BillDetailId), as the form holds it
    QString itemId;       // the line's (or the chosen) article
    QString chosenItem;   // mark labels: the article chosen in the item dialog, "" when none
    long long id = 0;     // the saved roll on the form, 0 for a new one
    bool yards = false;   // the quantity is in yards (码数)

    const QString& operator[](CheckField::Index f) const { return fields[f]; }
    QString& operator[](CheckField::Index f) { return fields[f]; }
    double number(CheckField::Index f) const;
};

/// Why a roll may not be saved: the status line's text and the field to go to (-1: none).
struct RollProblem {
    QString message;
    int field = -1;
};

/// The quantity a weight gives: the quantity's text, or why there is none.
struct FormulaQuantity {
    std::optional<QString> quantity;
    QString problem; // "" when there is nothing to say
};

class InspectionRoll {
public:
    explicit InspectionRoll(const InspectionSettings& settings) : m_cfg(settings) {}
    virtual ~InspectionRoll() = default;
    InspectionRoll(const InspectionRoll&) = delete;
    InspectionRoll& operator=(const InspectionRoll&) = delete;

    /// The checks before the operator is asked anything: the card or article, then the required
    /// fields ("requireTxtbox"). caption(lab) is the caption the form shows for LabBox(lab).
    std::optional<RollProblem> validate(const RollForm& roll,
                                        const std::function<QString(int)>& caption) const;
    /// The card line (or, at the variants, the article) a roll needs.
    virtual std::optional<RollProblem> checkCardOrLine(const RollForm& roll) const;
    /// The station's own checks after the required fields.
    virtual std::optional<RollProblem> checkExtra(const RollForm& roll) const;

    /// The values the roll is stored with (item5 is added at the save).
    virtual CheckSql::Roll values(const RollForm& roll) const;
    virtual QString insertStatement(const RollForm& roll, const CheckSql::Roll& r) const;
    virtual QString updateStatement(const RollForm& roll, const CheckSql::Roll& r, long long id) const;

    /// The running-number scope of a new roll ("codetype": the card line's colour, the article or
    /// the dye lot).
    virtual QString numberCondition(const RollForm& roll) const;
    /// Numbers counted on the station ("codeDESC" 1 or -1): the number after the one shown.
    QString steppedNumber(const QString& shown) const;
    /// The database gives the next number of the scope ("codeDESC" 0).
    bool databaseNumbers() const { return m_cfg.codeDesc == u"0"; }

    /// The quantity by the mill's formula ("dingmaFormula", "[重量] * [系数]" by default) when the
    /// weight changed; nothing when the station does not clear the quantity or the weight is empty.
    FormulaQuantity quantityFromWeight(const RollForm& roll) const;
    /// The formula the quantity follows: the mill's, or the weight times the factor.
    QString quantityFormula() const;
    /// The placeholders of the quantity formula and the fields that replace them.
    static QList<std::pair<QString, CheckField::Index>> formulaFields();
    /// The formula's inputs are all typed (a complaint about a missing one can go).
    bool formulaInputsComplete(const QString& formula, const RollForm& roll) const;

    /// Where the card line's stock-number offset ("item5") is read (the kind it is kept under
    /// for offline saves, and the statement), and the item5 a roll of number checkCode gets
    /// from its row ("" when the line has none).
    struct Item5Source {
        QString kind;
        QString sql;
    };
    virtual Item5Source item5Source(const QString& lineId) const;
    virtual QString item5(const QString& checkCode, const Recordset& line) const;
    /// The station's own preparation of a roll before its statements: inside the save's
    /// transaction (conn), or for the offline journal (conn null). journal may be null when the
    /// station's journal cannot be opened. Throws DbError.
    virtual void prepare(RollForm& /*roll*/, Connection* /*conn*/, JournalStore* /*journal*/) const {}

    /// A saved roll's row ("loadRoll") on the form: its fields, remark, unit and grade.
    virtual void fill(RollForm& roll, const Recordset& rs) const;
    /// A saved roll's defect rows as the defect grid shows them.
    static QList<QStringList> defectRows(Recordset& defects);

    /// A field that a card's preset list ("CheckFill" "99", shared by every station of the
    /// database) must not overwrite at this station.
    virtual bool keptFromCardPresets(CheckField::Index /*field*/) const { return false; }

    /// A save weighs a box (a package, a fiber box): one placing on the scale is saved once. Rolls
    /// at an inspection frame may be weighed again.
    virtual bool weighsBoxes() const { return false; }

    /// The roll list's built-in text up to "where 1=1 ".
    virtual QString rollListBase() const;
    /// The question before a saved roll is deleted (conn: the package's pallet at the variants).
    virtual QString deleteQuestion(Connection& conn, long long id) const;
    /// The per-user setting that remembers the roll-label template, and its default.
    virtual QString templateSetting() const { return u"check"_s; }
    virtual QString defaultTemplate() const { return u"唛头"_s; }
    /// After a roll was deleted the form shows the roll before it (上卷); false: a new roll.
    virtual bool previousAfterDelete() const { return true; }
    /// A typed dye lot or 换缸 gives a new roll the next number of its lot.
    virtual bool numbersByDyeLot() const;

    const InspectionSettings& settings() const { return m_cfg; }

protected:
    const InspectionSettings& m_cfg;
};
