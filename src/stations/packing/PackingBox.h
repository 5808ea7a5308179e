// The box being packed, as the rules see it: the rolls on its list (a roll is listed once), the
// roll moved in from another box and the note that names it, the totals, the save that writes the
// box onto every roll in one transaction, the box listed again from the database, and the draft
// that keeps an unsaved box over a crash. No widget here: the window shows the list and asks.
#pragma once

#include "journal/JournalRecord.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

class Connection;

/// One roll of the list.
struct BoxRoll {
    QString id;
    QString itemName;
    QString spec;
    QString box;        // the box it goes into; a roll without one is not saved
    QString quantity;   // as a plain number
    QString remark;     // typed into the list by the packer
    QString earlierBox; // the box it was in before, when it is moved from there
    bool operator==(const BoxRoll&) const = default;
};

class PackingBox {
public:
    enum class Added { Yes, AlreadyListed, NotSevenFields };
    /// The status line's text for a roll already on the list.
    static QString alreadyListed() { return u"这个唛头已经存在"_s; }

    const QList<BoxRoll>& rolls() const { return m_rolls; }
    int size() const { return int(m_rolls.size()); }
    /// The list index of a roll id, -1 when it is not listed.
    int indexOf(const QString& id) const;
    /// Adds a roll from seven fields (id, name, spec, box, quantity, remark, box remark — the last
    /// is not kept); a roll already listed (scanned twice) and anything but seven fields add
    /// nothing.
    Added add(const QStringList& fields, const QString& earlierBox = QString());
    void remove(int index);
    void clear() { m_rolls.clear(); }
    void setRemark(int index, const QString& remark);
    /// "n/total": the rolls and their summed quantities.
    QString totals() const;
    /// "；卷 42、43 已从箱 B1 移到本箱" for each box the listed rolls were moved from.
    QString movedNote() const;
    /// The ids of the listed rolls (for the box label printed offline).
    QList<qint64> rollIds() const;

    /// The box the roll is in on the database; "" when none or when it is already this box (no
    /// move then). Throws DbError.
    static QString earlierBox(Connection& conn, double roll, const QString& box);
    /// The question before a roll is moved out of its earlier box.
    static QString moveQuestion(const QString& earlierBox);
    /// The roll is in that box on the database (false when the database does not answer).
    static bool savedInto(Connection& conn, const QString& roll, const QString& box);

    /// Takes a roll out of this box on the database, but only out of this box: a roll moved on
    /// to another box since is left there.
    static JournalStep removeStep(double roll, const QString& box);
    /// Runs it; throws DbError (isRowMissing(): the roll is no longer in this box).
    static void removeFromBox(Connection& conn, double roll, const QString& box);

    /// The statement of each listed roll that has an id and a box: the box's weight (leading
    /// number of weight), the roll's remark or else the box remark, when and on which machine.
    struct SaveStep {
        int index; // into rolls()
        JournalStep step;
    };
    QList<SaveStep> saveSteps(const QString& weight, const QString& boxRemark,
                              const QDateTime& when, const QString& machine) const;
    /// Runs the steps in one transaction, each of which must touch its roll; throws DbError with
    /// nothing written, *failed then being the index of the roll whose statement failed.
    static void save(Connection& conn, const QList<SaveStep>& steps, int* failed = nullptr);

    /// A saved box listed again, its weight (the first roll's) and remarks with it.
    struct Listed {
        QList<QStringList> rows; // the seven fields of each roll, in the database's order
        QString weight;
    };
    /// Throws DbError.
    static Listed load(Connection& conn, const QString& box);

    /// The box kept over a crash: each roll ("added" since the box was listed, saved or begun,
    /// or "listed") and the box fields ("box0".."box2"). Nothing when no listed roll was added.
    using DraftRows = QList<std::pair<QString, QString>>;
    DraftRows draft(const QStringList& boxFields, const QSet<QString>& added) const;
    /// The box a draft kept, unless every roll added to it is saved into it by now
    /// (savedInto(roll, box)): then nothing, and a kept draft is to be forgotten.
    static std::optional<struct RestoredBox>
    restore(const DraftRows& kept, int boxFields,
            const std::function<bool(const QString& roll, const QString& box)>& savedInto);

private:
    QList<BoxRoll> m_rolls;
};

/// A box put back from its draft: its rolls, the box fields and the rolls added since it was
/// listed, saved or begun.
struct RestoredBox {
    PackingBox box;
    QStringList boxFields;
    QSet<QString> added;
};
