// The stations' rules for the journal's replay: a roll number counted offline that another
// station saved meanwhile is replaced by the next free one of its scope, and a roll saved
// offline with stock posting on is booked into stock in the replay's transaction.
#pragma once

#include "journal/JournalReplay.h"

#include <QHash>

class JournalNumbers : public JournalNumbering {
public:
    QString finalNumber(Connection& conn, const JournalNumber& number) override;
    /// A stock posting the database refuses leaves the roll saved, as the save does online: its
    /// error is the warning. The posting's own statements are not undone (neither are they
    /// online).
    QString runRoutine(Connection& conn, const QString& routine, const QString& arguments) override;
    /// True when the number is saved in its scope already. Throws DbError.
    static bool taken(Connection& conn, const JournalNumber& number);

    /// The steps that book a roll saved offline into stock, as the save does online: for a roll
    /// edited offline, before its update (the quantity booked so far), and after its statements
    /// (rollId may be an identity mark, quantity is the roll's quantity now).
    static JournalStep stockBefore(const QString& rollId);
    static JournalStep stockPost(const QString& rollId, double quantity);

private:
    QHash<qint64, double> m_booked; // roll id → its quantity before an offline edit
};
