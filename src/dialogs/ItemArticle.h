// One article of the item master as the small article form edits it: code, name, specification,
// type, unit and price.
#pragma once

#include "db/Connection.h"

#include <QString>

struct ItemArticle {
    int itemId = 0; ///< 0 for an article not yet stored
    QString code;
    QString name;
    QString spec;
    int itemTypeId = 0;
    QString unit;
    double price = 0;
    int itemClass = 1; ///< the class the selection dialog searches, so a new article is found
};

/// The insert of a new, active article (texts quote-doubled, no type when itemTypeId is 0).
QString insertArticleSql(const ItemArticle& a);
/// The update of the edited columns of article a.itemId.
QString updateArticleSql(const ItemArticle& a);

/// Reads an article; itemId stays 0 when there is none with this id. Throws DbError.
ItemArticle loadArticle(Connection& conn, int itemId);
/// Inserts (itemId 0) or updates the article; returns its id. Throws DbError.
int storeArticle(Connection& conn, const ItemArticle& a);
