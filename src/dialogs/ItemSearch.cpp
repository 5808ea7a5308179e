// Article search: a bill type's filters and the item query of the selection dialog.
#include "dialogs/ItemSearch.h"

#include "shell/Database.h"
#include "shell/SysUtil.h"
#include "shell/SysUtilDb.h"
#include "text/Vb.h"

#include <QStringList>

using namespace Qt::StringLiterals;

ItemFilters itemFiltersOfBillConfig(const QString& billConfig)
{
    const QStringList parts = billConfig.split(u'|');
    ItemFilters f;
    if (parts.size() > 1)
        f.itemType = int(vb::Val(parts[1]));
    if (parts.size() > 3)
        f.storeRoom = int(vb::Val(parts[3]));
    if (parts.size() > 6 && !parts[6].trimmed().isEmpty())
        f.itemClassList = parts[6];
    return f;
}

ItemFilters itemFiltersFor(int billType)
{
    if (billType != 0)
        return itemFiltersOfBillConfig(
            Database::getItemName(u"BillConfig"_s, QString::number(billType)));
    ItemFilters f;
    f.itemClassList = SysUtil::readIni(u"MIREL"_s, u"maitou_itemclass"_s, u"1"_s, u"/mirel.ini"_s);
    return f;
}

int itemSearchRowLimit()
{
    const QString top = SysUtil::readIni(u"MIREL"_s, u"topBill"_s, QString(), u"/mirel.ini"_s);
    const int n = int(vb::Val(top));
    return n > 0 ? n : 200;
}

namespace {

QString wordCondition(const QString& field, const QString& word, const QString& storedSql)
{
    if (field.compare(u"ItemBarCode"_s, Qt::CaseInsensitive) == 0)
        return u" and (ItemBarCode = '"_s + word + u"' or convert(varchar,a.ItemId)='"_s + word
               + u"' or itemcode = '"_s + word + u"')"_s;
    if (field != u"Default"_s)
        return u" and "_s + field + u" like '%"_s + word + u"%'"_s;
    if (storedSql.trimmed().isEmpty())
        return u" and ( ItemOtherName like '%"_s + word + u"%' or ItemName like '%"_s + word
               + u"%' or itemcode like '%"_s + word + u"%'  or pinyin like '%"_s + word
               + u"%' or itemspec like '%"_s + word + u"%')"_s;
    QString stored = storedSql;
    return stored.replace(u'?', word);
}

} // namespace

QString itemSearchSql(const ItemSearch& search, const QString& storedSql, int rowLimit)
{
    QString text = search.text;
    text.remove(u'\''); // a quote in the search box must not end the SQL text
    QString sql = storedSql.trimmed().isEmpty()
        ? u"select top "_s + QString::number(rowLimit)
              + u"  a.Itemid as 商品id, '' as 选择,a.itemcode as 商品代码 , a.ItemName as  商品名称  ,a.ItemSpec as  商品规格,d.storeRoomname as 仓库,c.stocks as 库存,a.price as 价格 from Item a "_s
              + u" left join companyPrice b on a.itemid=b.itemId "_s
              + u" left join iteminstore c on a.itemid=c.itemid "_s
              + u" left join storeroom d on c.storeRoomid=d.storeRoomid "_s + u" where a.IsStop=0 "_s
        : storedSql;
    if (!search.itemClassList.trimmed().isEmpty())
        sql += u" and isnull(a.itemClass,1) in ( "_s + search.itemClassList + u")"_s;
    if (search.itemType > 0)
        sql += u" and a.itemTypeId ="_s + QString::number(search.itemType);
    if (search.storeRoom > 0)
        sql += u" and c.storeRoomId ="_s + QString::number(search.storeRoom);
    // A Chinese input method types the full-width space between words.
    const QStringList words =
        QString(text).replace(QChar(0x3000), u' ').split(u' ', Qt::SkipEmptyParts);
    for (const QString& word : words)
        sql += wordCondition(search.field, word, storedSql);
    return sql;
}

Recordset searchItems(Connection& conn, const ItemSearch& search)
{
    const QString stored = SysUtil::getListSqlLike(conn, u"listSQL"_s, u"LoadItemBaseByItemLike"_s);
    return conn.query(itemSearchSql(search, stored, itemSearchRowLimit()));
}
