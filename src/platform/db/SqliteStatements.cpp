// The cache of prepared batches.
#include "db/SqliteStatements.h"

#include "db/SqlShape.h"

#include <sqlite3.h>

SqliteBatch::~SqliteBatch()
{
    for (const SqlitePrepared& s : std::as_const(statements))
        sqlite3_finalize(s.stmt);
}

std::shared_ptr<SqliteBatch> SqliteStatementCache::find(const QString& key, bool shaped)
{
    const auto it = m_entries.find(Key{key, shaped});
    if (it == m_entries.end())
        return nullptr;
    it->used = ++m_clock;
    return it->batch;
}

std::shared_ptr<SqliteBatch> SqliteStatementCache::insert(const QString& key, bool shaped,
                                                          std::shared_ptr<SqliteBatch> batch)
{
    if (m_entries.size() >= m_capacity && !m_entries.contains(Key{key, shaped})) {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->used < oldest->used)
                oldest = it;
        }
        m_entries.erase(oldest);
    }
    m_entries.insert(Key{key, shaped}, Entry{batch, ++m_clock});
    return batch;
}

namespace SqliteBatches {

std::shared_ptr<SqliteBatch> byText(const QList<SqlStatement>& statements)
{
    auto batch = std::make_shared<SqliteBatch>();
    for (const SqlStatement& s : statements) {
        SqlitePrepared p;
        p.sql = s.sql;
        p.procedure = s.procedure;
        p.arguments = s.arguments;
        batch->script = batch->script || s.control;
        batch->statements.append(std::move(p));
    }
    return batch;
}

std::shared_ptr<SqliteBatch> byShape(const SqlTranslator& translator, const QString& text,
                                     const SqlShape& shape, QList<SqlStatement>& translated)
{
    const QList<SqlStatement> templates = translator.translateBatch(shape.key());
    translated = translator.translateBatch(text);
    if (templates.size() != translated.size())
        return nullptr;
    auto batch = std::make_shared<SqliteBatch>();
    for (qsizetype i = 0; i < templates.size(); ++i) {
        const SqlStatement& t = templates.at(i);
        SqlitePrepared s;
        if (!t.procedure.isEmpty() || t.control || shape.withLiterals(t.sql) != translated.at(i).sql ||
            !shape.toMarkers(t.sql, s.sql, s.valueIndex))
            return nullptr;
        s.shapeSql = t.sql;
        batch->statements.append(std::move(s));
    }
    return batch;
}

} // namespace SqliteBatches
