// The check a configurable query passes before it is sent: the board's stock query, a stored
// list query, a label's detail query may read, never write.
#pragma once

#include <QString>

namespace SqlReadOnly {

/// Why sql is not one statement that only reads (a SELECT, or WITH … SELECT); empty when it is.
/// Judged on the T-SQL tokens, so a word inside a string or a [quoted name] does not count.
QString problem(const QString& sql);

} // namespace SqlReadOnly
