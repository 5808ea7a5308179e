// The text export of a filled report: the JSON document that print-pool rows carry.
#include "report/LabelReport.h"

#include "report/ReportError.h"
#include "report/ReportExpression.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

QJsonValue jsonValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return v.toDouble();
    default:
        return ReportExpression::text(v);
    }
}

QJsonValue jsonValue(const DbValue& v)
{
    switch (v.type()) {
    case DbValue::Type::Null:
        return QJsonValue::Null;
    case DbValue::Type::Integer:
        return double(v.toLongLong());
    case DbValue::Type::Decimal:
        return v.toDouble();
    default:
        return v.toString();
    }
}

QString kindName(ReportBox::Kind k)
{
    static const char16_t* names[] = {u"text", u"barcode", u"image", u"line", u"rect", u"rollmap"};
    return QString::fromUtf16(names[k]);
}

QJsonObject boxObject(const FilledBox& fb)
{
    QJsonObject o{{u"kind"_s, kindName(fb.box.kind)}, {u"line"_s, fb.box.line}};
    if (fb.box.kind == ReportBox::Text) {
        o.insert(u"text"_s, fb.text);
    } else if (fb.box.kind == ReportBox::Barcode) {
        o.insert(u"type"_s, fb.box.symbology);
        o.insert(u"data"_s, fb.text);
        o.insert(u"text"_s, fb.symbol.humanText);
    } else if (fb.box.kind == ReportBox::Image) {
        o.insert(u"file"_s, fb.text);
    } else if (fb.box.kind == ReportBox::RollMap) {
        QJsonArray defects;
        for (const FourPoint::Defect& d : fb.map.defects)
            defects.append(QJsonArray{d.start, d.isLong() ? d.end : d.start, d.points});
        QJsonArray shaded;
        for (long unit : fb.map.shaded)
            shaded.append(double(unit));
        o.insert(u"text"_s, fb.text);
        o.insert(u"length"_s, fb.map.length);
        o.insert(u"points"_s, fb.map.points);
        o.insert(u"defects"_s, defects);
        o.insert(u"shaded"_s, shaded);
    }
    return o;
}

} // namespace

QByteArray LabelReport::exportJson()
{
    const FilledReport& f = fill();
    QJsonObject params;
    for (const auto& [name, value] : parameters())
        params.insert(name, jsonValue(value));
    QJsonArray rows;
    for (const QList<DbValue>& row : f.rows) {
        QJsonObject o;
        for (int i = int(row.size()) - 1; i >= 0; --i) // the first of duplicate names wins
            o.insert(f.columns.value(i), jsonValue(row[i]));
        rows.append(o);
    }
    QJsonArray pages;
    for (const FilledPage& page : f.pages) {
        QJsonArray boxes;
        for (const FilledBox& fb : page.boxes) {
            if (fb.box.kind != ReportBox::Line && fb.box.kind != ReportBox::Rect)
                boxes.append(boxObject(fb));
        }
        pages.append(QJsonObject{{u"boxes"_s, boxes}});
    }
    const QJsonObject doc{{u"report"_s, m_template.name},
                          {u"template"_s, m_path},
                          {u"printer"_s, m_printerName},
                          {u"copies"_s, m_copies},
                          {u"parameters"_s, params},
                          {u"columns"_s, QJsonArray::fromStringList(f.columns)},
                          {u"rows"_s, rows},
                          {u"pages"_s, pages},
                          {u"problems"_s, QJsonArray::fromStringList(problems())}};
    return QJsonDocument(doc).toJson(QJsonDocument::Indented);
}

void LabelReport::exportText(const QString& fileName, int exportType)
{
    if (exportType != 2)
        throw ReportError(u"不支持的导出类型：%1"_s.arg(exportType));
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ReportError(u"无法写入导出文件：%1（%2）"_s.arg(fileName, f.errorString()));
    const QByteArray json = exportJson();
    if (f.write(json) != json.size())
        throw ReportError(u"无法写入导出文件：%1（%2）"_s.arg(fileName, f.errorString()));
}
