// A plain hash: every station runs on the one UI thread.
#include "shell/DbInfoCache.h"

#include <QHash>

namespace DbInfoCache {

namespace {
QHash<QString, QString>& cache()
{
    static QHash<QString, QString> c;
    return c;
}
} // namespace

void clear() { cache().clear(); }

std::optional<QString> find(const QString& code)
{
    const auto it = cache().constFind(code.toUpper());
    return it == cache().constEnd() ? std::nullopt : std::optional<QString>(*it);
}

void insert(const QString& code, const QString& text) { cache().insert(code.toUpper(), text); }

} // namespace DbInfoCache
