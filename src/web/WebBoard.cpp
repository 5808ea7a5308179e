// The stock board for the office: kanban.ini's title, interval, query and stored column widths,
// the same settings the board on the warehouse wall reads.
#include "web/WebData.h"

#include "db/Connection.h"
#include "stations/kanban/KanbanColumns.h"
#include "stations/kanban/KanbanSettings.h"
#include "text/Vb.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace WebData {

namespace {

// The stored widths (twips, one per column, as the board writes them on closing) as shares of the
// page's width in per mille; empty when they do not match the columns (the browser then sizes
// them by their texts).
QJsonArray widths(int columns)
{
    const QStringList stored =
        KanbanSettings::read(KanbanSettings::widthsKey(), QString()).split(u',');
    QVector<int> twips;
    for (const QString& w : stored)
        if (!w.trimmed().isEmpty())
            twips << std::max(0, int(vb::Val(w)));
    QJsonArray out;
    if (twips.size() != columns)
        return out;
    for (int w : KanbanColumns::fit(twips, 1000, 0))
        out.append(w);
    return out;
}

} // namespace

QJsonObject boardFrame()
{
    return {{u"title"_s, KanbanSettings::title()},
            {u"interval"_s, KanbanSettings::interval()},
            {u"marquee"_s, KanbanSettings::read(KanbanSettings::marqueeKey(), QString())},
            {u"columns"_s, QJsonArray()},
            {u"widths"_s, QJsonArray()},
            {u"rows"_s, QJsonArray()}};
}

QJsonObject board(Connection& c)
{
    // A configured query: read-only, refused before the server when it would write.
    const Recordset rs = c.query(KanbanSettings::sql());
    QJsonObject out = boardFrame();
    QJsonArray columns;
    for (const QString& col : rs.columns())
        columns.append(col);
    QJsonArray rows;
    for (const auto& row : rs.rows()) {
        QJsonArray r;
        for (const DbValue& v : row)
            r.append(json(v));
        rows.append(r);
    }
    out.insert(u"columns"_s, columns);
    out.insert(u"widths"_s, widths(int(columns.size())));
    out.insert(u"rows"_s, rows);
    return out;
}

} // namespace WebData
