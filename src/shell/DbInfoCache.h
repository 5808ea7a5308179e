// Process-wide cache of DBInfo texts (captions and access codes per customer), keyed by the
// upper-case code. Created empty at start-up and filled on first use.
#pragma once

#include <QString>
#include <optional>

namespace DbInfoCache {

void clear();
std::optional<QString> find(const QString& code);
void insert(const QString& code, const QString& text);

} // namespace DbInfoCache
