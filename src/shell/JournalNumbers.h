// The stations' numbering rules for the journal's replay: a roll number counted offline that
// another station saved meanwhile is replaced by the next free one of its scope.
#pragma once

#include "journal/JournalReplay.h"

class JournalNumbers : public JournalNumbering {
public:
    QString finalNumber(Connection& conn, const JournalNumber& number) override;
    /// True when the number is saved in its scope already. Throws DbError.
    static bool taken(Connection& conn, const JournalNumber& number);
};
