// The article search of the item selection dialog: the filters a bill type brings along and the
// item query built from the operator's search words.
#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QString>

using namespace Qt::StringLiterals;

/// What a bill type limits the search to (0 = no limit).
struct ItemFilters {
    int itemType = 0;
    int storeRoom = 0;
    QString itemClassList = u"1"_s;
};

/// Filters of a "BillConfig" text ("|"-separated): part 1 the item type, part 3 the warehouse,
/// part 6 the item class list (counted from 0); a missing or empty part 6 means class "1".
ItemFilters itemFiltersOfBillConfig(const QString& billConfig);

/// The filters for a bill type: from the dictionary name of its "BillConfig" entry, or for
/// type 0 from mirel.ini [MIREL] "maitou_itemclass" (default "1") without type or warehouse
/// limit. Throws DbError.
ItemFilters itemFiltersFor(int billType);

/// How many rows the built-in query returns: mirel.ini [MIREL] "topBill", 200 when absent.
int itemSearchRowLimit();

struct ItemSearch {
    QString text;                        ///< the operator's words, separated by blanks
    QString field = u"Default"_s;        ///< "Default", "ItemBarCode" or a column name
    QString itemClassList;
    int itemType = 0;
    int storeRoom = 0;
};

/// The item query: the stored statement ("listSQL" "LoadItemBaseByItemLike") or the built-in
/// select of at most rowLimit rows, then the class, type and warehouse limits, then one
/// condition per word, all of which must match. Quotes are taken out of the words.
QString itemSearchSql(const ItemSearch& search, const QString& storedSql, int rowLimit);

/// Builds the query with the dictionary's stored statement and runs it. Throws DbError.
Recordset searchItems(Connection& conn, const ItemSearch& search);
