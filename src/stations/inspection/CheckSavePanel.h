// The save of the roll on the inspection window: the checks before it (the rules', the counter's
// silence, the scale's settled weight), the save in one transaction, the offline journal when the
// database is away, and what the status line says afterwards.
#pragma once

#include "journal/JournalRecord.h"
#include "shell/JournalLabel.h"
#include "stations/inspection/RollSave.h"

#include <QObject>
#include <QString>

class frmCheck;
struct CheckControls;
struct JournalReplayResult;

class CheckSavePanel : public QObject {
    Q_OBJECT
public:
    explicit CheckSavePanel(frmCheck* form);

    /// Command 1 (保存): checked, saved, and the form moves on or keeps the saved roll.
    void saveCommand();
    /// The rules' checks, the counter's and the scale's; the status line says what stops the save.
    bool validateRoll();
    /// Saves the roll; its id, 0 when it was not saved, SavedOffline when the database could
    /// not be reached and the roll went into the offline journal.
    long long saveRoll(bool refreshTotals);
    static constexpr long long SavedOffline = -1;
    /// After an offline save: the form moves on to a new roll and the status line says so.
    void rollSavedOffline();
    /// The status line after a roll was saved: a new one, or a change of a saved one.
    static QString savedStatus(bool update);
    /// After a save that had to give the new roll another number than the one on the form
    /// (another station saved that number meanwhile): the status line names both, as "卷号已改：
    /// 003 → 005" after savedStatus. Nothing when the roll kept its number.
    void sayRenumbered(bool update);
    /// What the operator reads when the roll being saved was deleted meanwhile and now waits
    /// on the form as a new roll with this number.
    static QString rowDeletedMessage(const QString& newNumber);
    /// The record the last offline save kept (its label is filled from it).
    const JournalRecord& lastOfflineRecord() const { return m_offline.record; }
    /// The roll as the last online save stored it (its number, its article).
    const RollForm& lastSavedRoll() const { return m_lastSaved; }
    /// What a label of that roll is filled from besides the roll: the rows kept for its card
    /// and article, then the card as the station looked it up.
    QList<JournalLabelRows::Table> lastOfflineLabelRows() const;
    /// The roll's save, with the station's journal (opened unless withJournal is false).
    RollSave rollSave(bool withJournal = true) const;

private:
    /// The status line says what stops the save and the caret goes to the field.
    void showProblem(const RollProblem& problem);
    /// After a save whose roll another station had deleted: the form holds a new roll.
    void rollWasDeleted();
    /// The roll goes into the offline journal (the same statements, the number and the new
    /// roll's id marked for the replay); SavedOffline, or 0 when the journal cannot be written.
    long long saveRollOffline();
    /// The journal sent what was saved offline: a new roll's proposed number, counted offline,
    /// is proposed again from the database, which now holds the journaled rolls under their
    /// final numbers; the line's totals count them; rolls whose stock posting failed are shown.
    void journalReplayed(const JournalReplayResult& result);

    frmCheck* m_form;
    CheckControls& c;
    RollSave::Kept m_offline; // the last roll saved offline: its record, number, card, article
    RollForm m_lastSaved;
    QString m_renumbered; // the last save's new roll got another number than the one shown
};
