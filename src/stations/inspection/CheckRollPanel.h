// The roll on the inspection window: a new roll and its number, a saved roll reopened (and what
// the next new roll keeps meanwhile), the question before 换卷 drops an unsaved roll, and the
// reactions of the worker, weight, quantity and dye-lot fields.
#pragma once

#include "stations/inspection/InspectionRoll.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <utility>

class frmCheck;
class Recordset;
struct CheckControls;

class CheckRollPanel : public QObject {
    Q_OBJECT
public:
    explicit CheckRollPanel(frmCheck* form);

    /// 换卷: a new roll of the same card line, numbered, with the fields a new roll keeps.
    void newRoll();
    /// The form empty: no card, no roll.
    void clearForm();
    /// The next number for a new roll (counted on the station or given by the database).
    void assignRollNumber();
    /// The card line, article or dye lot of a new roll changed: under the running numbers the
    /// roll gets the next number of its new scope, before it is saved.
    void numberScopeChanged();
    /// The condition the roll number on screen was proposed under.
    const QString& numberScope() const { return m_numberScope; }
    /// A save stored the roll under this number: the form shows it, proposed under its scope.
    void showSavedNumber(const RollForm& saved);
    /// After a save that does not move on (自动换卷 off, or a mark printed): the saved roll stays
    /// on screen and the counter stops writing into it until the next roll.
    void keepSavedRoll(long long id);
    /// Opens saved roll id (0: the empty form).
    void loadRoll(long long id);
    /// Puts the fields, remark, unit, grade and article of roll on the form, each only where it
    /// differs from what the form shows (a field's reactions run only for a change).
    void showRoll(const RollForm& roll);
    /// A saved roll's values are being put on the form: they are shown as stored.
    bool fillingRoll() const { return m_fillingRoll; }
    /// The question before 换卷 drops a roll with length or defects that was never saved.
    static QString dropRollQuestion();
    /// 换卷 touched: true when the form holds no unsaved roll, or the inspector lets it go.
    bool mayDropRoll();
    /// "换缸": a new dye lot for today.
    void cmdHuangang_Click();
    /// "产量": the worker's share as a zero-score row.
    void cmdCanliang_Click();
    /// The roll number typed in the card field (复查) is opened.
    void reviewRoll();

private:
    void onWorkerChanged();
    void onWeightChanged();
    void onQuantityChanged();
    /// The dye-lot field changed (typed, or a new lot from 换缸): under the dye-lot numbering
    /// the roll gets the next number of the new lot.
    void dyeLotChanged();
    void sayFormulaProblem(const QString& formula, const QString& message);
    /// An input of the quantity formula was typed: a complaint that it is missing goes once it
    /// is there (the quantity itself follows the next weight).
    void onFormulaInputChanged();
    /// Before a saved roll is shown over a new one: keeps what the new one held.
    void keepNextRoll();
    /// A new roll after a reopened one starts from what was kept, not from the reopened roll.
    void restoreNextRoll();

    frmCheck* m_form;
    CheckControls& c;
    QString m_numberScope; // the condition the roll number on screen was proposed under
    QString m_formulaSaid; // the quantity formula's problem last said, with the formula
    /// What the form held for the next new roll when a saved roll was reopened over it: the card
    /// line, the fields a new roll keeps, the remark and the unit.
    struct NextRoll {
        QString card, line, item, remark;
        QList<std::pair<int, QString>> fields;
        bool yards = false;
    };
    std::optional<NextRoll> m_nextRoll;
    bool m_fillingRoll = false;
};
