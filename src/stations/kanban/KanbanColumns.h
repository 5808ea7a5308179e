// The board's columns across the wall: every column on the board, none behind a scroll bar, and
// the whole width in use.
#pragma once

#include <QVector>

namespace KanbanColumns {

/// Widths in pixels that add up to `room` exactly. Columns narrower in all than the room share
/// the spare width by their widths; wider ones are cut from the widest down (the narrow columns
/// keep their whole texts), but none below `minimum` — when even that is too wide, all shrink
/// alike.
QVector<int> fit(const QVector<int>& natural, int room, int minimum);

} // namespace KanbanColumns
