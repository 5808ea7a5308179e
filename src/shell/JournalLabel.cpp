// The database a label of an offline record is filled from, and the rows kept for it.
#include "shell/JournalLabel.h"

#include "db/SqlText.h"
#include "shell/Journal.h"

#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

JournalLabelRows*& current()
{
    static JournalLabelRows* rows = nullptr;
    return rows;
}

// The tables a label's query joins to the roll: its card line, the bill, the customer and the
// article.
const char16_t* const LabelTables[] = {u"billdetail", u"bill", u"company", u"item"};

// Each read as rows of a card's lines (%1: their ids).
QString keptRowsQuery(const QString& table, const QString& lines)
{
    const QString line = u"select %2 from billdetail where billdetailid in (%1)"_s;
    if (table == u"billdetail")
        return u"select * from billdetail where billdetailid in (%1)"_s.arg(lines);
    if (table == u"bill")
        return u"select * from bill where billid in (%1)"_s.arg(line.arg(lines, u"billid"_s));
    if (table == u"company")
        return u"select * from company where companyid in (select companyid from bill where "
               "billid in (%1))"_s.arg(line.arg(lines, u"billid"_s));
    return u"select * from item where itemid in (%1)"_s.arg(line.arg(lines, u"itemid"_s));
}

QString keptKind(const QString& table)
{
    return u"label."_s + table;
}
const QString ArticleKind = u"label.article"_s;
const QString RollKind = u"label.checkinfo"_s;

const QString BoxKind = u"label.box"_s;

// The key a roll's line rows are kept under, beside the cards' keys; a box's the same way.
QString rollKey(qint64 id)
{
    return u"check"_s + QString::number(id);
}
QString boxKey(const QString& box)
{
    return u"box:"_s + box;
}

QList<qint64> keptBoxRolls(const QString& box)
{
    QList<qint64> ids;
    if (const std::optional<Recordset> kept = Journal::store().lookup(BoxKind, box))
        for (const QList<DbValue>& row : kept->rows())
            ids.append(row.value(0).toLongLong());
    return ids;
}

void putBoxRolls(const QString& box, const QList<qint64>& ids)
{
    Recordset list(QStringList{u"id"_s});
    for (qint64 id : ids)
        list.addRow({DbValue(id)});
    Journal::store().putLookup(BoxKind, box, list);
}

} // namespace

void JournalLabelRows::open(const QList<Table>& rows)
{
    // In memory: nothing of it is needed once the label is drawn, and no disk write waits.
    m_conn.openOrCreate(u"Provider=SQLite;Data Source=:memory:"_s);
    for (const Table& t : rows)
        seed(t);
}

JournalLabelRows::JournalLabelRows(const QList<Table>& rows)
{
    open(rows);
    for (const JournalStore::Entry& e : Journal::store().entries(JournalStore::State::Pending)) {
        QList<qint64> ids;
        for (const JournalStep& step : e.record.steps) {
            ids.append(0); // new rows of other records are no label's rows here
            if (!step.routine.isEmpty())
                continue;
            try {
                m_conn.execute(JournalRecord::filled(step.sql, e.record.number.value, ids));
            } catch (const DbError&) {
                // A statement of another station's tables: none of the label's rows.
            }
        }
    }
    m_outer = current();
    current() = this;
}

JournalLabelRows::JournalLabelRows(const JournalRecord& record, const QList<Table>& rows)
{
    open(rows);
    QList<qint64> ids;
    for (const JournalStep& step : record.steps) {
        const QString sql = JournalRecord::filled(step.sql, record.number.value, ids);
        qint64 id = 0;
        if (!step.routine.isEmpty()) {
            // A routine books stock and the like: nothing a label shows.
        } else if (step.identity) {
            id = m_conn.execute(sql + u"; select SCOPE_IDENTITY()"_s).field(0).toLongLong();
            if (m_id < 0)
                m_id = id = zeroId(sql, id);
        } else {
            m_conn.execute(sql); // an update of a row only the database holds touches nothing
        }
        ids.append(id);
    }
    m_outer = current();
    current() = this;
}

qint64 JournalLabelRows::zeroId(const QString& insert, qint64 id)
{
    // The record's new row gets the id 0 here: the roll's id is known after the upload, so the
    // barcode of the roll id on a label printed offline reads 0, which no roll of the database
    // has, never another roll's id.
    static const QRegularExpression table(u"^\\s*insert\\s+(?:into\\s+)?([A-Za-z_][A-Za-z0-9_]*)"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = table.match(insert);
    if (!m.hasMatch())
        return id;
    try {
        m_conn.execute(u"update %1 set id = 0 where id = %2"_s.arg(m.captured(1)).arg(id));
        return 0;
    } catch (const DbError&) {
        return id; // a table without an id column keeps the one it gave
    }
}

JournalLabelRows::~JournalLabelRows()
{
    current() = m_outer;
}

JournalLabelRows* JournalLabelRows::active()
{
    return current();
}

void JournalLabelRows::seed(const Table& t)
{
    if (!t.rows.isOpen() || t.rows.recordCount() == 0)
        return;
    if (t.name.isEmpty()) {
        spread(t.rows);
        return;
    }
    const QSet<QString> own = ownColumns(t.name);
    QStringList columns, marks;
    QList<int> from;
    for (int i = 0; i < t.rows.columns().size(); ++i) {
        const QString c = t.rows.columns()[i].toLower();
        if (!own.contains(c) || columns.contains(c))
            continue;
        columns << c;
        marks << u"?"_s;
        from << i;
    }
    if (columns.isEmpty())
        return;
    const QString insert =
        u"insert into %1(%2) values(%3)"_s.arg(t.name, columns.join(u','), marks.join(u','));
    for (const QList<DbValue>& row : t.rows.rows()) {
        QList<DbValue> values;
        for (int i : from)
            values << row.value(i);
        try {
            m_conn.execute(insert, values);
        } catch (const DbError&) {
            // A row kept twice (an article of the card and of the package) is there already.
        }
    }
}

QSet<QString> JournalLabelRows::ownColumns(const QString& table)
{
    // The recordset is held: its column list lives no longer than it does.
    const Recordset shape = m_conn.execute(u"select * from "_s + table + u" where 1=0"_s);
    QSet<QString> own;
    for (const QString& c : shape.columns())
        own.insert(c.toLower());
    return own;
}

void JournalLabelRows::spread(const Recordset& lookup)
{
    const QList<DbValue> row = lookup.rows().first();
    for (const char16_t* table : LabelTables) {
        const QString name = QString::fromUtf16(table);
        const QSet<QString> own = ownColumns(name);
        QStringList columns, marks;
        QList<DbValue> values;
        QSet<QString> taken;
        for (int i = 0; i < lookup.columns().size(); ++i) {
            const QString c = lookup.columns()[i].toLower();
            if (!own.contains(c) || taken.contains(c))
                continue; // the first column of a name is the table's own (a card's f.*, a.*)
            taken.insert(c);
            columns << c;
            marks << u"?"_s;
            values << row.value(i);
        }
        if (columns.isEmpty())
            continue;
        try {
            m_conn.execute(
                u"insert into %1(%2) values(%3)"_s.arg(name, columns.join(u','), marks.join(u',')),
                values);
        } catch (const DbError&) {
            // A row that does not fit (or was kept on its own) leaves the table as it is.
        }
    }
}

void JournalLabelRows::keepCard(Connection& conn, const QString& card, const Recordset& lines)
{
    const int column = lines.fieldIndex(u"BillDetailId"_s);
    QStringList ids;
    for (const QList<DbValue>& row : lines.rows())
        if (column >= 0 && row.value(column).toLongLong() > 0)
            ids << QString::number(row.value(column).toLongLong());
    if (ids.isEmpty())
        return;
    try {
        for (const char16_t* table : LabelTables) {
            const QString name = QString::fromUtf16(table);
            Journal::store().putLookup(keptKind(name), card,
                                       conn.execute(keptRowsQuery(name, ids.join(u','))));
        }
    } catch (const DbError&) {
        // Only a label printed offline misses them: it shows the fields the card lookup has.
    }
}

void JournalLabelRows::keepArticle(const Recordset& itemRow)
{
    const int column = itemRow.fieldIndex(u"itemid"_s);
    if (column < 0 || itemRow.recordCount() == 0)
        return;
    try {
        Journal::store().putLookup(ArticleKind, itemRow.rows().first().value(column).toString(),
                                   itemRow);
    } catch (const DbError&) {
    }
}

QString JournalLabelRows::articleKind() { return ArticleKind; }

bool JournalLabelRows::articleKept(qint64 itemId)
{
    try {
        return Journal::store().lookup(ArticleKind, QString::number(itemId)).has_value();
    } catch (const DbError&) {
        return false;
    }
}

QList<JournalLabelRows::Table> JournalLabelRows::kept(const QString& card, qint64 itemId)
{
    QList<Table> out;
    try {
        JournalStore& store = Journal::store();
        if (itemId > 0)
            if (std::optional<Recordset> rows = store.lookup(ArticleKind, QString::number(itemId)))
                out.append({u"item"_s, *rows});
        for (const char16_t* table : LabelTables) {
            const QString name = QString::fromUtf16(table);
            if (std::optional<Recordset> rows = store.lookup(keptKind(name), card))
                out.append({name, *rows});
        }
    } catch (const DbError&) {
        // The journal cannot be read: the label shows what the card lookup has.
    }
    return out;
}

void JournalLabelRows::keepRoll(Connection& conn, qint64 id)
{
    try {
        const Recordset roll =
            conn.execute(u"select * from checkinfo where id = "_s + QString::number(id));
        if (roll.recordCount() == 0)
            return;
        Journal::store().putLookup(RollKind, QString::number(id), roll);
        keepCard(conn, rollKey(id), roll);
    } catch (const DbError&) {
        // Only a label printed offline misses it: it says it prints after the upload.
    }
}

QList<JournalLabelRows::Table> JournalLabelRows::keptRoll(qint64 id)
{
    std::optional<Recordset> roll;
    try {
        roll = Journal::store().lookup(RollKind, QString::number(id));
    } catch (const DbError&) {
    }
    if (!roll || roll->recordCount() == 0)
        return {};
    const int item = roll->fieldIndex(u"itemid"_s);
    QList<Table> out{{u"checkinfo"_s, *roll}};
    out += kept(rollKey(id), item < 0 ? 0 : roll->rows().first().value(item).toLongLong());
    return out;
}

void JournalLabelRows::keepBox(Connection& conn, const QString& box)
{
    try {
        const Recordset rolls =
            conn.execute(u"select * from checkinfo where bagNumber = "_s + SqlText::quoted(box));
        const int id = rolls.fieldIndex(u"id"_s);
        if (id < 0)
            return;
        QList<qint64> ids;
        QList<std::pair<QString, Recordset>> each;
        for (const QList<DbValue>& row : rolls.rows()) {
            Recordset one(rolls.columns());
            one.addRow(row);
            each.append({row.value(id).toString(), one});
            ids.append(row.value(id).toLongLong());
        }
        Journal::store().putLookups(RollKind, each);
        putBoxRolls(box, ids);
        keepCard(conn, boxKey(box), rolls);
    } catch (const DbError&) {
        // Only the box label printed offline misses them: it names the rolls it cannot fill.
    }
}

void JournalLabelRows::addToBox(const QString& box, const QList<qint64>& rolls)
{
    try {
        QList<qint64> ids = keptBoxRolls(box);
        for (qint64 id : rolls)
            if (!ids.contains(id))
                ids.append(id);
        putBoxRolls(box, ids);
    } catch (const DbError&) {
    }
}

QList<JournalLabelRows::Table> JournalLabelRows::keptRolls(const QString& box, QList<qint64> rolls,
                                                           QList<qint64>* missing)
{
    QList<Table> out;
    if (!box.isEmpty()) {
        try {
            rolls = keptBoxRolls(box) + rolls;
        } catch (const DbError&) {
        }
        out = kept(boxKey(box), 0);
    }
    QSet<qint64> seen;
    for (qint64 id : rolls) {
        if (seen.contains(id))
            continue;
        seen.insert(id);
        const QList<Table> roll = keptRoll(id);
        if (roll.isEmpty())
            missing->append(id);
        out += roll;
    }
    return out;
}
