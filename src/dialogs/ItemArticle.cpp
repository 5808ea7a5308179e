// Reading and writing the article form's columns of `item`.
#include "dialogs/ItemArticle.h"

#include "shell/SqlText.h"
#include "shell/SysUtilDb.h"

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString& s) { return u'\'' + sqlText(s) + u'\''; }

QString typeValue(int typeId) { return typeId > 0 ? QString::number(typeId) : u"null"_s; }

} // namespace

QString insertArticleSql(const ItemArticle& a)
{
    return u"insert into item(itemcode,itemname,itemspec,itemtypeid,itemunitB,price,itemclass,isstop)"
           " values("_s
           + quoted(a.code) + u',' + quoted(a.name) + u',' + quoted(a.spec) + u','
           + typeValue(a.itemTypeId) + u',' + quoted(a.unit) + u',' + sqlNum(a.price) + u','
           + QString::number(a.itemClass) + u",0)"_s;
}

QString updateArticleSql(const ItemArticle& a)
{
    return u"update item set itemcode="_s + quoted(a.code) + u",itemname="_s + quoted(a.name)
           + u",itemspec="_s + quoted(a.spec) + u",itemtypeid="_s + typeValue(a.itemTypeId)
           + u",itemunitB="_s + quoted(a.unit) + u",price="_s + sqlNum(a.price)
           + u" where itemid="_s + QString::number(a.itemId);
}

ItemArticle loadArticle(Connection& conn, int itemId)
{
    ItemArticle a;
    Recordset rs = SysUtil::openRecordset(
        conn, u"select itemid,itemcode,itemname,itemspec,itemtypeid,itemunitB,price,itemclass"
              " from item where itemid="_s + QString::number(itemId));
    if (!SysUtil::recordsetHasRows(rs))
        return a;
    a.itemId = itemId;
    a.code = rs.text(u"itemcode"_s);
    a.name = rs.text(u"itemname"_s);
    a.spec = rs.text(u"itemspec"_s);
    a.itemTypeId = int(rs.number(u"itemtypeid"_s));
    a.unit = rs.text(u"itemunitB"_s);
    a.price = rs.number(u"price"_s);
    a.itemClass = int(rs.number(u"itemclass"_s));
    return a;
}

int storeArticle(Connection& conn, const ItemArticle& a)
{
    if (a.itemId > 0) {
        conn.executeOnRow(updateArticleSql(a)); // an article deleted meanwhile is not "saved"
        return a.itemId;
    }
    Recordset rs = conn.execute(insertArticleSql(a) + u"; select SCOPE_IDENTITY();"_s);
    return rs.isOpen() && !rs.eof() ? int(rs.field(0).toDouble()) : 0;
}
