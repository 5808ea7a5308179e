// Statements of the picture browser.
#include "stations/pictures/ThumbsSql.h"

#include "db/SqlText.h"
#include "stations/pictures/ThumbsFields.h"

using namespace Qt::StringLiterals;

namespace ThumbsSql {

const QList<ItemField>& itemFields()
{
    static const QList<ItemField> fields{
        {ThumbsField::Name, u"ItemName", u"商品名称"},
        {ThumbsField::Code, u"ItemCode", u"商品编码"},
        {ThumbsField::Spec, u"itemspec", u"规格"},
        {ThumbsField::Remark, u"remark", u"备注"},
        {ThumbsField::EnglishName, u"ItemOthername", u"英文名"},
        {ThumbsField::Barcode, u"itembarcode", u"条形码"},
        {ThumbsField::Pinyin, u"pinyin", u"助记码"},
        {ThumbsField::Composition, u"item1", u"成分"},
        {ThumbsField::GramWeight, u"item2", u"克重"},
        {ThumbsField::Width, u"item3", u"门幅"},
        {ThumbsField::Spare4, u"item4", u"备用4"},
        {ThumbsField::Spare5, u"item5", u"备用5"},
        {ThumbsField::Spare6, u"item6", u"备用6"},
    };
    return fields;
}

QString itemQuery(qint64 id)
{
    return u" Select * from item where isstop=0 and itemid="_s + QString::number(id);
}

QString findByCode(const QString& code)
{
    return u" Select itemid from item where isstop=0 and itemcode='"_s + SqlText::escape(code) +
           u'\'';
}

QString pictureQuery(qint64 id)
{
    return u"select  pic,picName from   item where itemId = "_s + QString::number(id);
}

QString stepQuery(qint64 id, bool upward)
{
    if (id == 0)
        return u" select isnull(max(itemid),0) from item"_s;
    return upward
               ? u" select isnull(min(itemid),0) from item where  itemid> "_s + QString::number(id)
               : u" select isnull(max(itemid),0) from item where itemid< "_s + QString::number(id);
}

QString wrapQuery(bool upward)
{
    return upward ? u"select isnull(min(itemid),0) from item"_s
                  : u"select isnull(max(itemid),0) from item"_s;
}

} // namespace ThumbsSql
