// The board's column widths.
#include "stations/kanban/KanbanColumns.h"

#include <algorithm>
#include <numeric>

namespace KanbanColumns {

namespace {

int sum(const QVector<int>& widths)
{
    return std::accumulate(widths.cbegin(), widths.cend(), 0);
}

// Scales the widths to add up to room.
QVector<int> scaled(const QVector<int>& widths, int room)
{
    const int total = sum(widths);
    QVector<int> out(widths.size());
    if (widths.isEmpty() || total <= 0)
        return out;
    for (qsizetype i = 0; i < widths.size(); ++i)
        out[i] = int(qint64(widths[i]) * room / total);
    // The rounding goes to the last column shown (a width of 0 hides a column).
    qsizetype last = widths.size() - 1;
    while (last > 0 && widths[last] == 0)
        --last;
    out[last] += room - sum(out);
    return out;
}

} // namespace

QVector<int> fit(const QVector<int>& natural, int room, int minimum)
{
    if (natural.isEmpty() || room <= 0)
        return natural;
    if (sum(natural) <= room)
        return scaled(natural, room);
    // The common cap of the widest columns that makes the columns fill the room.
    QVector<int> sorted = natural;
    std::sort(sorted.begin(), sorted.end());
    int below = 0;
    int cap = 0;
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const qsizetype capped = sorted.size() - i;
        cap = int((room - below) / capped);
        if (cap <= sorted[i])
            break;
        below += sorted[i];
    }
    if (cap < minimum)
        return scaled(natural, room);
    QVector<int> out(natural.size());
    for (qsizetype i = 0; i < natural.size(); ++i)
        out[i] = std::min(natural[i], cap);
    // What the integer cap leaves over goes to the capped columns from the left.
    int left = room - sum(out);
    for (qsizetype i = 0; i < out.size() && left > 0; ++i)
        if (natural[i] > cap) {
            ++out[i];
            --left;
        }
    return out;
}

} // namespace KanbanColumns
