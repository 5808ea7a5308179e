// The stations' beats as the office reads them.
#include "web/WebData.h"

#include "db/Connection.h"

#include <QJsonArray>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace WebData {

namespace {

QJsonValue when(const DbValue& v)
{
    const QDateTime t = v.toDateTime();
    return t.isValid() ? QJsonValue(t.toString(u"yyyy-MM-dd HH:mm:ss"_s)) : QJsonValue();
}

} // namespace

QJsonObject stations(Connection& c, const QDateTime& now)
{
    const Recordset rs =
        c.execute(u"select host, station, menchineId, version, started, lastSeen, "
                  "beatSeconds, pending, refused, devices, lastSave from stationStatus "
                  "order by station, menchineId, host"_s,
                  {});
    QJsonArray rows;
    for (const auto& row : rs.rows()) {
        const QDateTime seen = row[5].toDateTime();
        const qint64 beat = std::max<qint64>(1, row[6].toLongLong());
        // Three beats missed: the station is gone, hangs or cannot reach the database.
        const bool late = !seen.isValid() || seen.secsTo(now) > 3 * beat;
        rows.append(QJsonObject{{u"host"_s, row[0].toString()},
                                {u"station"_s, row[1].toString()},
                                {u"menchineId"_s, row[2].toString()},
                                {u"version"_s, row[3].toString()},
                                {u"started"_s, when(row[4])},
                                {u"lastSeen"_s, when(row[5])},
                                {u"beatSeconds"_s, beat},
                                {u"pending"_s, row[7].toLongLong()},
                                {u"refused"_s, row[8].toLongLong()},
                                {u"devices"_s, row[9].toString()},
                                {u"lastSave"_s, when(row[10])},
                                {u"late"_s, late}});
    }
    return {{u"now"_s, now.toString(u"yyyy-MM-dd HH:mm:ss"_s)}, {u"stations"_s, rows}};
}

} // namespace WebData
