// The item picture browser's statements on table item, built as the order system writes them.
#pragma once

#include <QString>

#include <QList>

namespace ThumbsSql {

/// An item field of the browser: its index in txtUser, the item column, the caption on screen.
struct ItemField {
    int index;
    const char16_t* column;
    const char16_t* caption;
};
/// The item fields in screen order.
const QList<ItemField>& itemFields();

/// The item in use with this id, all columns.
QString itemQuery(qint64 id);
/// The id of the item in use with this code (quotes in the scanned code doubled).
QString findByCode(const QString& code);
/// The stored picture and its file extension.
QString pictureQuery(qint64 id);
/// The next item id: upward (前个) the lowest above id, downward (后个) the highest below; with no
/// current item (id 0) both ask for the highest id.
QString stepQuery(qint64 id, bool upward);
/// Where a walk that ran off the end starts again: upward the lowest id, downward the highest.
QString wrapQuery(bool upward);

} // namespace ThumbsSql
