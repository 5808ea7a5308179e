// Labels of records saved while the database was away: the label's detail query cannot reach the
// database, so it runs on a small database of its own that holds the record's rows.
#pragma once

#include "db/Connection.h"
#include "journal/JournalRecord.h"

#include <QSet>

class JournalLabelRows {
public:
    /// Rows kept for a label: those of one table (a card's lines, its bill, the customer, an
    /// article), or, with an empty name, a lookup's rows spread over the tables whose columns
    /// they name (a card as the station looked it up, when its tables were not kept).
    struct Table {
        QString name;
        Recordset rows;
    };

    /// An in-memory database with the program's tables, the kept rows and then the record's own
    /// statements with the number it was saved with. While it lives, every label printed is
    /// filled from it and its field 离线 says "离线". Throws DbError when it cannot be built.
    JournalLabelRows(const JournalRecord& record, const QList<Table>& rows);
    /// The same with, instead of one new record, every record still waiting in the journal,
    /// oldest first (a roll's quantity corrected, then the roll packed): the labels of rows the
    /// database holds, as those saves will leave them. A statement that touches none of the
    /// kept rows changes nothing here.
    explicit JournalLabelRows(const QList<Table>& rows);
    ~JournalLabelRows();
    JournalLabelRows(const JournalLabelRows&) = delete;
    JournalLabelRows& operator=(const JournalLabelRows&) = delete;

    /// The id the record's first new row got here (0; -1 when it inserts none: an edit of a row
    /// the database holds, whose label must wait for the upload).
    qint64 id() const { return m_id; }
    Connection& connection() { return m_conn; }

    /// The rows the labels printed now are filled from; null while the database is used.
    static JournalLabelRows* active();

    /// After a card was looked up on the database: keeps, for labels printed offline, the rows
    /// of its lines that the labels read besides the roll (the line, its bill, the customer and
    /// the article). A failure only leaves them unkept.
    static void keepCard(Connection& conn, const QString& card, const Recordset& lines);
    /// Keeps an article's row (a package's chosen or automatic article) the same way.
    static void keepArticle(const Recordset& itemRow);
    /// The article's row is kept already.
    static bool articleKept(qint64 itemId);
    /// The journal's lookup kind of the kept article rows, keyed by the article's id.
    static QString articleKind();
    /// The rows kept for a roll of card and article.
    static QList<Table> kept(const QString& card, qint64 itemId);
    /// After a roll was looked up on the database by its id: keeps its own row and those of its
    /// line the same way. A failure only leaves them unkept.
    static void keepRoll(Connection& conn, qint64 id);
    /// The rows kept for a roll looked up by its id; empty when it never was.
    static QList<Table> keptRoll(qint64 id);
    /// After a box was saved, listed or changed on the database: keeps the list of its rolls and
    /// each roll's row as the box left it (the newest read of a roll is the one kept), with the
    /// rows of their lines. A failure only leaves them unkept.
    static void keepBox(Connection& conn, const QString& box);
    /// Rolls saved into a box while offline join its kept list (a restart still knows them).
    static void addToBox(const QString& box, const QList<qint64>& rolls);
    /// The rows for a label listing rolls: those kept for each roll of the box's kept list (when
    /// box is given) and of rolls, with the rows of their lines. The ids of rolls never kept
    /// here go to missing.
    static QList<Table> keptRolls(const QString& box, QList<qint64> rolls, QList<qint64>* missing);

private:
    void open(const QList<Table>& rows);
    void seed(const Table& rows);
    void spread(const Recordset& lookup);
    /// The columns of one of the in-memory tables, in lower case.
    QSet<QString> ownColumns(const QString& table);
    qint64 zeroId(const QString& insert, qint64 id);

    Connection m_conn;
    qint64 m_id = -1;
    JournalLabelRows* m_outer = nullptr;
};
