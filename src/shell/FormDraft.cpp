// One lookup of the journal file a kind of work: each keep is one durable write, a few
// milliseconds on the panel's disk.
#include "shell/FormDraft.h"

#include "db/DbError.h"
#include "db/Recordset.h"
#include "journal/JournalStore.h"
#include "shell/Journal.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {
const QString Key = u"frame"_s; // a station has one form
}

void FormDraft::keep(const QString& kind, const Rows& rows)
{
    Recordset kept(QStringList{u"name"_s, u"value"_s});
    for (const auto& [name, value] : rows)
        kept.addRow({DbValue(name), DbValue(value)});
    try {
        Journal::store().putLookup(kind, Key, kept);
    } catch (const DbError&) {
        // The work itself is on the screen.
    }
}

FormDraft::Rows FormDraft::kept(const QString& kind)
{
    std::optional<Recordset> kept;
    try {
        kept = Journal::store().lookup(kind, Key);
    } catch (const DbError&) {
    }
    Rows rows;
    if (kept)
        for (const QList<DbValue>& row : kept->rows())
            rows.append({row.value(0).toString(), row.value(1).toString()});
    return rows;
}
