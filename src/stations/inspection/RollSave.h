// The save of a roll: its statements in one transaction on the mill's database, or, while the
// database is away, one record of the same statements in the station's offline journal. A new
// roll keeps the number the inspector saw unless another frame saved that number meanwhile (or
// it was proposed for another card line or article); then it gets the next free one.
#pragma once

#include "journal/JournalRecord.h"
#include "stations/inspection/InspectionRoll.h"

#include <QList>
#include <QString>
#include <QStringList>

class Connection;
class DefectPhotos;
class JournalStore;

class RollSave {
public:
    /// journal: the station's offline journal; null when it cannot be opened (lookups are then
    /// not kept, and nothing can be saved offline).
    RollSave(const InspectionRoll& rules, JournalStore* journal) : m_rules(rules), m_journal(journal) {}

    /// The store of the defects' pictures (prepared on the connection the rolls are saved on): a
    /// defect row whose column DefectPhotos::Column names a picture gets its checkDetailPhoto row
    /// in the roll's transaction, or in its journal record. A reopened roll's rows carry their
    /// pictures again, so that its picture rows are rewritten with its defect rows. Null: no
    /// pictures.
    void setPhotos(const DefectPhotos* photos) { m_photos = photos; }

    struct Saved {
        long long id = 0;
        RollForm roll;       // as stored: its number, its article
        QString shownNumber; // the number the form showed when the roll got another, else ""
        QString stockError;  // the stock booking's complaint; the roll itself is saved
    };
    /// Writes the roll and its defect rows (the grid's columns) in one transaction;
    /// proposedUnder is the numbering scope the number on the form was proposed under. Throws
    /// DbError with nothing written (a row deleted at another station: isRowMissing()).
    Saved save(Connection& conn, RollForm roll, const QList<QStringList>& defects,
               const QString& proposedUnder) const;

    struct Kept {
        JournalRecord record;
        RollForm roll;  // its number is the one counted offline
        QString card;   // the card and article its label is filled from
        qint64 article = 0;
    };
    /// The record of the same statements for the offline journal (the new roll's id and, under
    /// the database's numbering, its number marked for the replay); not yet added. Throws
    /// DbError (a station's preparation that cannot be done offline, a journal that cannot be
    /// read).
    Kept keep(RollForm roll, const QList<QStringList>& defects) const;

    /// The next number of the roll's scope from the database; while waiting rolls of this
    /// station are in the journal, after the numbers they hold. Throws DbError.
    QString proposeNumber(Connection& conn, const RollForm& roll, int waiting) const;
    /// The number a frame goes on with while the database is away. Throws DbError.
    QString offlineNumber(const RollForm& roll) const;
    /// The running-number scope of a new roll, with the number on the form.
    JournalNumber numberScope(const RollForm& roll) const;

private:
    /// The card line's item5 for a roll of number checkCode, read through the journal's kept
    /// lookups; offline and never looked up here: "".
    QString item5(Connection* conn, const RollForm& roll, const QString& checkCode) const;

    /// The picture a defect row names, when the database keeps picture rows; else "".
    QString photoOf(const QStringList& defect) const;

    const InspectionRoll& m_rules;
    JournalStore* m_journal;
    const DefectPhotos* m_photos = nullptr;
};
