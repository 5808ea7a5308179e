// Statements of the picture browser.
#include "stations/pictures/ThumbsSql.h"

#include "db/SqlText.h"
#include "stations/pictures/ThumbsFields.h"

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
    return QStringLiteral(" Select * from item where isstop=0 and itemid=") + QString::number(id);
}

QString findByCode(const QString& code)
{
    return QStringLiteral(" Select itemid from item where isstop=0 and itemcode='") +
           SqlText::escape(code) + u'\'';
}

QString pictureQuery(qint64 id)
{
    return QStringLiteral("select  pic,picName from   item where itemId = ") + QString::number(id);
}

QString stepQuery(qint64 id, bool upward)
{
    if (id == 0)
        return QStringLiteral(" select isnull(max(itemid),0) from item");
    return upward ? QStringLiteral(" select isnull(min(itemid),0) from item where  itemid> ") +
                        QString::number(id)
                  : QStringLiteral(" select isnull(max(itemid),0) from item where itemid< ") +
                        QString::number(id);
}

QString wrapQuery(bool upward)
{
    return upward ? QStringLiteral("select isnull(min(itemid),0) from item")
                  : QStringLiteral("select isnull(max(itemid),0) from item");
}

} // namespace ThumbsSql
