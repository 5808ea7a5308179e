// The benchmark database: a mill after some years of work, built once and kept in a file.
#pragma once

#include <QString>

class Connection;

namespace BenchData {

constexpr int cards = 100000;
constexpr int linesPerCard = 3;
constexpr int rolls = 1000000;

/// Path of the generated database ($MIREL_BENCH_DB or /tmp/mirel-bench.db); generated with the
/// embedded schema when missing. Defects are added to a database made before they were.
QString database();

/// Defect rows per roll: none for every fifth roll, up to four on the others (2,000,000 rows).
constexpr int defectKinds = 8;

/// A connection to database(), opened on first use and kept for the whole run.
Connection& connection();

/// Card number of card n (1-based): "SC" + 7 digits.
QString cardCode(int n);

} // namespace BenchData
