// A station's unsaved work (the roll on the inspection frame, the box on the packing table) kept
// as name/value rows in the station's journal file, so that a panel that loses its power or is
// killed comes back with it instead of an empty form.
#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace FormDraft {

using Rows = QList<std::pair<QString, QString>>;
/// Between the columns of a row kept as one value (a defect, a roll of the box).
inline const QChar Separator{0x1f};

/// Keeps the rows of a kind of work in place of the last ones (no rows: forgets them); a journal
/// that cannot be written loses only what a crash would have lost without it.
void keep(const QString& kind, const Rows& rows);
/// The rows an earlier run kept, in their order; none when nothing was left unsaved.
Rows kept(const QString& kind);

} // namespace FormDraft
