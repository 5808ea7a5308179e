// One save a station could not send to the database: its statements in order, with marks where
// the replay puts the identity of an earlier insert and the record's running number.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

/// One statement of a journaled save.
struct JournalStep {
    QString sql;
    /// Run as "sql; select SCOPE_IDENTITY()" and keep the new row's id for identityMark(index).
    bool identity = false;
    /// An UPDATE or DELETE that must touch its row (a card deleted meanwhile refuses the record).
    bool mustTouch = false;
    /// A routine of the stations the replay runs instead of a statement (a roll's stock
    /// posting, which reads the database to decide what it writes); sql holds its arguments,
    /// with the marks filled in as in a statement.
    QString routine = QString();
    bool operator==(const JournalStep&) const = default;
};

/// The running number a journaled save took offline: the scope it was counted in, so that the
/// replay can give it another one when a different station saved the same number meanwhile.
struct JournalNumber {
    QString table; ///< empty: the record has no running number
    QString column;
    QString filter; ///< the numbering scope's condition
    QString holder; ///< the station that reserved it ("" = this station)
    int length = 0;
    QString value; ///< the number the operator saw (and the label shows)
    bool isSet() const { return !table.isEmpty(); }
    bool operator==(const JournalNumber&) const = default;
};

struct JournalRecord {
    QString id;      ///< unique over every station and day (a UUID)
    QString station; ///< the station word and machine, for lists and the server's table
    QDateTime saved; ///< when the operator saved it
    QString summary; ///< one line for the operator's lists ("卷号 004 卡号 K1001")
    QList<JournalStep> steps;
    JournalNumber number;

    /// A new record with a fresh id, saved now.
    static JournalRecord create(const QString& station, const QString& summary);

    /// The mark for the record's running number inside a statement (between its quotes).
    static QString numberMark();
    /// The mark for the identity of step `step` (0-based).
    static QString identityMark(int step);
    /// A statement with the number and the identities of the steps before it filled in.
    static QString filled(const QString& sql, const QString& number, const QList<qint64>& ids);

    QByteArray toJson() const;
    /// Throws std::runtime_error on a body that is no record.
    static JournalRecord fromJson(const QByteArray& json);
    bool operator==(const JournalRecord&) const = default;
};
