// Labels of records saved while the database was away: the label's detail query cannot reach the
// database, so it runs on a small database of its own that holds the record's rows.
#pragma once

#include "db/Connection.h"
#include "journal/JournalRecord.h"

#include <QTemporaryDir>

class JournalLabelRows {
public:
    /// A database with the program's tables, the rows of the lookups the record was saved from
    /// (each row goes into every table whose columns it names: a card's row into its line, its
    /// article and its bill) and then the record's own statements with the number it was saved
    /// with. While it lives, every label printed is filled from it and its field 离线 says "离线".
    /// Throws DbError when it cannot be built.
    JournalLabelRows(const JournalRecord& record, const QList<Recordset>& lookups);
    ~JournalLabelRows();
    JournalLabelRows(const JournalLabelRows&) = delete;
    JournalLabelRows& operator=(const JournalLabelRows&) = delete;

    /// The id the record's first new row got here (0; -1 when it inserts none: an edit of a row
    /// the database holds, whose label must wait for the upload).
    qint64 id() const { return m_id; }
    Connection& connection() { return m_conn; }

    /// The rows the labels printed now are filled from; null while the database is used.
    static JournalLabelRows* active();

private:
    void seed(const Recordset& lookup);
    qint64 zeroId(const QString& insert, qint64 id);

    QTemporaryDir m_dir;
    Connection m_conn;
    qint64 m_id = -1;
    JournalLabelRows* m_outer = nullptr;
};
