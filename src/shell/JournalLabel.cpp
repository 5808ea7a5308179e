// The database a label of an offline record is filled from.
#include "shell/JournalLabel.h"

#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

JournalLabelRows*& current()
{
    static JournalLabelRows* rows = nullptr;
    return rows;
}

// The tables a label's query joins to the roll: its card line, the article and the bill.
const char16_t* const SeededTables[] = {u"billdetail", u"item", u"bill"};

} // namespace

JournalLabelRows::JournalLabelRows(const JournalRecord& record, const QList<Recordset>& lookups)
{
    if (!m_dir.isValid())
        throw DbError(u"标签的临时文件夹不能建立：%1"_s.arg(m_dir.errorString()));
    m_conn.openOrCreate(u"Provider=SQLite;Data Source="_s + m_dir.filePath(u"label.db"_s));
    for (const Recordset& lookup : lookups)
        seed(lookup);
    QList<qint64> ids;
    for (const JournalStep& step : record.steps) {
        const QString sql = JournalRecord::filled(step.sql, record.number.value, ids);
        qint64 id = 0;
        if (step.identity) {
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

void JournalLabelRows::seed(const Recordset& lookup)
{
    if (!lookup.isOpen() || lookup.recordCount() == 0)
        return;
    const QList<DbValue> row = lookup.rows().first();
    for (const char16_t* table : SeededTables) {
        const QString name = QString::fromUtf16(table);
        QSet<QString> own;
        for (const QString& c :
             m_conn.execute(u"select * from "_s + name + u" where 1=0"_s).columns())
            own.insert(c.toLower());
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
            // A row that does not fit leaves the label's fields of that table empty.
        }
    }
}
