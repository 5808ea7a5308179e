// One roll for the mill's ERP: the inspection record of a card's roll number with its defects.
#include "web/WebData.h"

#include "db/Connection.h"
#include "stations/inspection/CheckGrading.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace WebData {

QJsonValue json(const DbValue& v)
{
    switch (v.type()) {
    case DbValue::Type::Null:
        return QJsonValue();
    case DbValue::Type::Integer:
    case DbValue::Type::Decimal:
        return v.toDouble();
    case DbValue::Type::DateTime:
        return v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    default:
        return v.toString();
    }
}

bool roll(Connection& c, const QString& card, const QString& number, QJsonObject& out)
{
    // The last save of the number wins when a roll was inspected twice.
    const Recordset rs =
        c.execute(u"select top 1 a.id, a.billCode, a.checkCode, a.grade, a.checkcount, "
                  "a.onCount, a.machineId, a.checkUsercode, a.createDate, "
                  "b.itemcode, b.itemname from checkinfo a left join item b on "
                  "a.itemid=b.itemid where a.billCode=? and a.checkCode=? order by a.id desc"_s,
                  {card, number});
    if (rs.eof())
        return false;
    static const char* const keys[] = {"id",        "card",          "number",  "grade",
                                       "metres",    "counterMetres", "machine", "inspector",
                                       "inspected", "itemCode",      "itemName"};
    for (int i = 0; i < rs.fieldCount(); ++i)
        out.insert(QString::fromLatin1(keys[i]), json(rs.field(i)));
    // Section alerts kept with the roll mark a stretch; they are no defect of the cloth.
    const Recordset defects = c.execute(
        u"select bugName, bugPosition, bugEnd, bugCount, bugScore, remark from "
        "checkDetail where checkId=? and isnull(bugName, '') <> ? order by bugPosition, id"_s,
        {rs.field(0), QString::fromUtf16(CheckGrading::AlertRowName)});
    QJsonArray list;
    double points = 0;
    for (const auto& d : defects.rows()) {
        // Scoring switched off stores -1 points: no points.
        const double score = std::max(0.0, d[4].toDouble());
        points += score;
        list.append(QJsonObject{{u"defect"_s, d[0].toString()},
                                {u"position"_s, d[1].toDouble()},
                                {u"end"_s, d[2].toDouble()},
                                {u"count"_s, d[3].toDouble()},
                                {u"points"_s, score},
                                {u"remark"_s, d[5].toString()}});
    }
    out.insert(u"points"_s, points);
    out.insert(u"defects"_s, list);
    return true;
}

} // namespace WebData
