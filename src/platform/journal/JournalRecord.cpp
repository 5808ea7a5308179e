// Journal records as JSON, and the marks the replay fills in.
#include "journal/JournalRecord.h"
#include "time/Clock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUuid>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// Private-use characters: nothing an operator types or a scanner sends contains them.
constexpr char16_t MarkOpen = u'\uE000';
constexpr char16_t MarkClose = u'\uE001';

QJsonObject numberJson(const JournalNumber& n)
{
    return {{u"table"_s, n.table},   {u"column"_s, n.column}, {u"filter"_s, n.filter},
            {u"holder"_s, n.holder}, {u"length"_s, n.length}, {u"value"_s, n.value}};
}

JournalNumber numberFrom(const QJsonObject& o)
{
    return {o.value(u"table"_s).toString(),  o.value(u"column"_s).toString(),
            o.value(u"filter"_s).toString(), o.value(u"holder"_s).toString(),
            o.value(u"length"_s).toInt(),    o.value(u"value"_s).toString()};
}

} // namespace

JournalRecord JournalRecord::create(const QString& station, const QString& summary)
{
    JournalRecord r;
    r.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    r.station = station;
    r.saved = Clock::now();
    r.summary = summary;
    return r;
}

QString JournalRecord::numberMark()
{
    return QString(MarkOpen) + u'N' + MarkClose;
}

QString JournalRecord::identityMark(int step)
{
    return QString(MarkOpen) + u'I' + QString::number(step) + MarkClose;
}

QString JournalRecord::filled(const QString& sql, const QString& number, const QList<qint64>& ids)
{
    if (!sql.contains(MarkOpen))
        return sql;
    static const QRegularExpression mark(u"\uE000(N|I(\\d+))\uE001"_s);
    QString out;
    qsizetype from = 0;
    for (auto it = mark.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(sql).mid(from, m.capturedStart() - from);
        if (m.captured(1) == u"N")
            out += number;
        else
            out += QString::number(ids.value(m.captured(2).toInt()));
        from = m.capturedEnd();
    }
    out += QStringView(sql).mid(from);
    return out;
}

QByteArray JournalRecord::toJson() const
{
    QJsonArray stepList;
    for (const JournalStep& s : steps) {
        QJsonObject step{
            {u"sql"_s, s.sql}, {u"identity"_s, s.identity}, {u"mustTouch"_s, s.mustTouch}};
        if (!s.routine.isEmpty())
            step.insert(u"routine"_s, s.routine);
        stepList.append(step);
    }
    const QJsonObject o{{u"id"_s, id},
                        {u"station"_s, station},
                        {u"saved"_s, saved.toString(Qt::ISODateWithMs)},
                        {u"summary"_s, summary},
                        {u"steps"_s, stepList},
                        {u"number"_s, numberJson(number)}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

JournalRecord JournalRecord::fromJson(const QByteArray& json)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    const QJsonObject o = doc.object();
    if (!doc.isObject() || o.value(u"id"_s).toString().isEmpty())
        throw std::runtime_error("journal record without id");
    JournalRecord r;
    r.id = o.value(u"id"_s).toString();
    r.station = o.value(u"station"_s).toString();
    r.saved = QDateTime::fromString(o.value(u"saved"_s).toString(), Qt::ISODateWithMs);
    r.summary = o.value(u"summary"_s).toString();
    for (const QJsonValue& v : o.value(u"steps"_s).toArray()) {
        const QJsonObject s = v.toObject();
        r.steps.append({s.value(u"sql"_s).toString(), s.value(u"identity"_s).toBool(),
                        s.value(u"mustTouch"_s).toBool(), s.value(u"routine"_s).toString()});
    }
    r.number = numberFrom(o.value(u"number"_s).toObject());
    return r;
}
