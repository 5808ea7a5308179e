// The quality overview for the office: the filter checked from the request, the figures read by
// the quality station's own code, with the grades and scoring of mirel.ini as the frames use.
#include "web/WebData.h"

#include "shell/SysUtil.h"
#include "stations/quality/QualityData.h"
#include "stations/quality/QualityText.h"
#include "stations/quality/QualityWorkbook.h"
#include "web/WebSite.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThreadPool>

#include <future>

using namespace Qt::StringLiterals;

namespace WebData {

namespace {

// A year at most, as the quality station allows.
constexpr int MaxDays = 366;

QString mirel(const QString& key)
{
    return SysUtil::readIni(u"MIREL"_s, key, QString(), u"/mirel.ini"_s);
}

QDate day(const WebRequest& r, const QString& key, const QDate& def)
{
    const QString text = r.item(key).trimmed();
    if (text.isEmpty())
        return def;
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (!d.isValid() || text.size() != 10)
        throw WebError{400, u"%1 不是日期（yyyy-mm-dd）"_s.arg(key)};
    return d;
}

QJsonValue optional(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue();
}

QJsonObject totals(const QualityData::Totals& t)
{
    return {{u"rolls"_s, t.rolls},
            {u"metres"_s, t.metres},
            {u"firstMetres"_s, t.firstMetres},
            {u"area"_s, t.area},
            {u"points"_s, t.points},
            {u"defects"_s, t.defects},
            {u"firstShare"_s, optional(t.firstShare())},
            {u"pointsPer100m2"_s, optional(t.pointsPer100m2())},
            {u"defectsPer100m"_s, optional(t.defectsPer100m())}};
}

QJsonArray groups(const QList<QualityData::Group>& list, bool inspector)
{
    QJsonArray out;
    for (const auto& g : list) {
        QJsonObject o = totals(g.totals);
        o.insert(u"key"_s, g.key);
        if (inspector)
            o.insert(u"name"_s, g.name);
        o.insert(u"cells"_s, QJsonArray::fromStringList(QualityText::groupRow(g, inspector)));
        out.append(o);
    }
    return out;
}

QJsonArray figures(const QualityData::Overview& o)
{
    QJsonArray out;
    for (const auto& f : QualityText::figures(o.now, o.before, o.filter.defect))
        out.append(QJsonObject{{u"caption"_s, f.caption},
                               {u"now"_s, f.now},
                               {u"before"_s, f.before},
                               {u"change"_s, f.change},
                               {u"verdict"_s, f.verdict}});
    return out;
}

} // namespace

QString name(const WebRequest& r, const QString& key, bool required)
{
    const QString v = r.item(key).trimmed();
    if (v.size() > 50)
        throw WebError{400, u"%1 过长"_s.arg(key)};
    for (QChar c : v)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            throw WebError{400, u"%1 含控制字符"_s.arg(key)};
    if (required && v.isEmpty())
        throw WebError{400, u"缺少 %1"_s.arg(key)};
    return v;
}

QualitySql::Filter qualityFilter(const WebRequest& r, const QDate& today)
{
    QualitySql::Filter f;
    f.to = day(r, u"to"_s, today);
    f.from = day(r, u"from"_s, f.to.addDays(-6));
    if (f.from > f.to)
        throw WebError{400, u"开始日期不能晚于结束日期"_s};
    if (f.from.daysTo(f.to) >= MaxDays)
        throw WebError{400, u"日期范围不能超过%1天"_s.arg(MaxDays)};
    f.machine = name(r, u"machine"_s);
    f.inspector = name(r, u"inspector"_s);
    f.defect = name(r, u"defect"_s);
    f.card = name(r, u"card"_s);
    f.item = name(r, u"item"_s);
    return f;
}

QJsonObject filterJson(const QualitySql::Filter& f)
{
    return {{u"from"_s, f.from.toString(Qt::ISODate)},
            {u"to"_s, f.to.toString(Qt::ISODate)},
            {u"machine"_s, f.machine},
            {u"inspector"_s, f.inspector},
            {u"defect"_s, f.defect},
            {u"card"_s, f.card},
            {u"item"_s, f.item},
            {u"text"_s, QualityText::filterText(f)}};
}

namespace {

QualityData::Grades grades()
{
    return QualityData::parseGrades(mirel(u"grade"_s));
}

// The overview as the frames grade: the grades and the 4-point cap of mirel.ini. The range
// before is a third of a year's reading: with a second connection it is read meanwhile.
QualityData::Overview overview(Connection& c, Beside beside, const QualitySql::Filter& f)
{
    const double cap = QualityData::frameCap(mirel(u"USASTANDARD"_s), mirel(u"CapPerUnit"_s));
    const QualityData::Grades g = grades();
    if (!beside.conn || !beside.threads)
        return QualityData::load(c, f, g, cap);
    auto done = std::make_shared<std::promise<QualityData::Totals>>();
    std::future<QualityData::Totals> before = done->get_future();
    beside.threads->start([done, conn = beside.conn, &f, &g, cap] {
        try {
            done->set_value(QualityData::before(*conn, f, g, cap));
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
    QualityData::Overview o;
    try {
        o = QualityData::loadRange(c, f, g, cap);
    } catch (...) {
        before.wait(); // it reads f and g
        throw;
    }
    o.before = before.get();
    return o;
}

} // namespace

QByteArray qualityWorkbook(Connection& c, const QualitySql::Filter& f, const QDateTime& now,
                           QString* error, Beside beside)
{
    const QualityData::Overview o = overview(c, beside, f);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"quality.xlsx"_s);
    if (!dir.isValid() || !sheet::writeXlsx(path, QualityWorkbook::sheets(o, now), error))
        return QByteArray();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject quality(Connection& c, const QualitySql::Filter& f, Beside beside)
{
    const QualityData::Grades limits = grades();
    const QualityData::Overview o = overview(c, beside, f);
    QJsonArray pareto;
    for (const auto& p : o.pareto)
        pareto.append(QJsonObject{{u"defect"_s, p.defect},
                                  {u"defects"_s, p.defects},
                                  {u"points"_s, p.points},
                                  {u"cumulative"_s, p.cumulative}});
    QJsonArray days;
    for (const auto& d : o.days) {
        QJsonArray perGrade;
        for (qint64 n : d.rollsPerGrade)
            perGrade.append(n);
        days.append(QJsonObject{{u"day"_s, d.day.toString(Qt::ISODate)},
                                {u"rollsPerGrade"_s, perGrade},
                                {u"area"_s, d.area},
                                {u"points"_s, d.points},
                                {u"pointsPer100m2"_s, optional(d.pointsPer100m2())}});
    }
    QJsonArray lines;
    for (qsizetype i = 0; i < limits.names.size(); ++i)
        lines.append(QJsonObject{{u"grade"_s, limits.names[i]},
                                 {u"limit"_s, optional(limits.limits.value(i))}});
    return {
        {u"now"_s, totals(o.now)},
        {u"before"_s, totals(o.before)},
        {u"figures"_s, figures(o)},
        {u"pareto"_s, pareto},
        {u"gradeNames"_s, QJsonArray::fromStringList(o.gradeNames)},
        {u"limits"_s, lines},
        {u"days"_s, days},
        {u"machineHeader"_s, QJsonArray::fromStringList(QualityText::groupHeader(false, f.defect))},
        {u"machines"_s, groups(o.machines, false)},
        {u"inspectorHeader"_s,
         QJsonArray::fromStringList(QualityText::groupHeader(true, f.defect))},
        {u"inspectors"_s, groups(o.inspectors, true)}};
}

} // namespace WebData
