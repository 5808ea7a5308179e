// Test helper for the label engine: a small mill database with rolls, a box and an item.
#pragma once

#include <QString>
#include <QStringList>

namespace LabelFixture {

/// Creates a SQLite database file at path with the program's schema and demo rows: item 1, card line 1,
/// rolls 1..rolls (roll 1 has roll number "007", quantity 98.5, grade "一等品"), all packed into
/// box "261205001". Roll 1 has defects at 12.3 (3 points), 12.8 (2), 40.5 (4), 60 to 72 (2) and
/// a section alert row at 70 (0). Returns the connection string.
QString createDatabase(const QString& path, int rolls = 3);

/// Runs raw SQLite statements on the file (fixture changes behind the engine's back).
void exec(const QString& path, const QString& sql);

} // namespace LabelFixture
