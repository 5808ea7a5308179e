// Reading .grf label templates: a small sectioned text format that is edited by hand.
#include "report/ReportTemplate.h"

#include "config/LegacyEncoding.h"
#include "report/ReportError.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

using namespace Qt::StringLiterals;

const ReportParameter* ReportTemplate::parameter(const QString& wanted) const
{
    for (const ReportParameter& p : parameters) {
        if (p.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

namespace {

struct Entry {
    QString key;
    QString value;
    int line = 0;
};

struct Section {
    QString name;
    int line = 0;
    QList<Entry> entries;
};

[[noreturn]] void fail(int line, const QString& what)
{
    throw ReportError(u"模板格式错误（第 %1 行）：%2"_s.arg(line).arg(what));
}

// Splits the file into sections of key = value entries. A line that starts with a blank continues
// the value above it, so a long detail query can be written over several lines.
QList<Section> splitSections(const QString& text)
{
    QList<Section> sections;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const int lineNo = i + 1;
        const QString trimmed = raw.trimmed();
        if (trimmed.isEmpty() || raw.startsWith(u';') || raw.startsWith(u'#'))
            continue;
        if (raw[0].isSpace()) {
            if (sections.isEmpty() || sections.last().entries.isEmpty())
                fail(lineNo, u"续行前面没有键"_s);
            sections.last().entries.last().value += u'\n' + trimmed;
            continue;
        }
        if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']'))
                fail(lineNo, u"节名缺少 ]"_s);
            sections.append({trimmed.mid(1, trimmed.size() - 2).trimmed().toLower(), lineNo, {}});
            continue;
        }
        const qsizetype eq = raw.indexOf(u'=');
        if (eq <= 0)
            fail(lineNo, u"应为 键 = 值：%1"_s.arg(trimmed));
        if (sections.isEmpty())
            fail(lineNo, u"键出现在第一个节之前"_s);
        // A value in double quotes keeps its blanks ("  打印服务器 ").
        QString value = raw.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        sections.last().entries.append({raw.left(eq).trimmed().toLower(), value, lineNo});
    }
    return sections;
}

QList<double> numbers(const Entry& e, int minCount, int maxCount)
{
    QString v = e.value;
    v.replace(u'x', u' ').replace(u'X', u' ').replace(u',', u' ').replace(u'×', u' ');
    const QStringList parts = v.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() < minCount || parts.size() > maxCount)
        fail(e.line, u"%1 需要 %2 个数字：%3"_s.arg(e.key).arg(minCount).arg(e.value));
    QList<double> out;
    for (const QString& p : parts) {
        bool ok = false;
        const double d = p.toDouble(&ok);
        if (!ok)
            fail(e.line, u"%1 不是数字：%2"_s.arg(e.key, p));
        out.append(d);
    }
    return out;
}

double number(const Entry& e)
{
    return numbers(e, 1, 1).first();
}

bool flag(const Entry& e)
{
    static const QStringList yes{u"yes"_s, u"true"_s, u"1"_s, u"on"_s, u"是"_s};
    static const QStringList no{u"no"_s, u"false"_s, u"0"_s, u"off"_s, u"否"_s, QString()};
    if (yes.contains(e.value.toLower()))
        return true;
    if (!no.contains(e.value.toLower()))
        fail(e.line, u"%1 应为 yes 或 no：%2"_s.arg(e.key, e.value));
    return false;
}

int alignment(const Entry& e)
{
    int a = 0;
    for (const QString& w : e.value.toLower().split(u' ', Qt::SkipEmptyParts)) {
        if (w == u"left")
            a |= Qt::AlignLeft;
        else if (w == u"center" || w == u"centre")
            a |= Qt::AlignHCenter;
        else if (w == u"right")
            a |= Qt::AlignRight;
        else if (w == u"top")
            a |= Qt::AlignTop;
        else if (w == u"middle")
            a |= Qt::AlignVCenter;
        else if (w == u"bottom")
            a |= Qt::AlignBottom;
        else
            fail(e.line, u"未知的对齐方式：%1"_s.arg(w));
    }
    return a;
}

void readReport(const Section& s, ReportTemplate& t)
{
    for (const Entry& e : s.entries) {
        if (e.key == u"name")
            t.name = e.value;
        else if (e.key == u"page") {
            const QList<double> n = numbers(e, 2, 2);
            if (n[0] <= 0 || n[1] <= 0)
                fail(e.line, u"纸张尺寸必须大于 0"_s);
            t.pageSize = {n[0], n[1]};
        } else if (e.key == u"margins") {
            const QList<double> n = numbers(e, 1, 4);
            t.margins = n.size() == 4 ? QMarginsF(n[0], n[1], n[2], n[3])
                                      : QMarginsF(n[0], n[0], n[0], n[0]);
        } else if (e.key == u"font")
            t.fontFamily = e.value;
        else if (e.key == u"size")
            t.fontSize = number(e);
        else
            t.problems.append(u"第 %1 行：未知的键 %2"_s.arg(e.line).arg(e.key));
    }
}

void readParameter(const Section& s, ReportTemplate& t)
{
    ReportParameter p;
    for (const Entry& e : s.entries) {
        if (e.key == u"name")
            p.name = e.value;
        else if (e.key == u"type") {
            if (e.value.toLower() == u"number")
                p.type = ReportParameter::Number;
            else if (e.value.toLower() == u"text")
                p.type = ReportParameter::Text;
            else
                fail(e.line, u"参数类型应为 number 或 text：%1"_s.arg(e.value));
        } else if (e.key == u"default")
            p.defaultValue = e.value;
        else
            t.problems.append(u"第 %1 行：未知的键 %2"_s.arg(e.line).arg(e.key));
    }
    if (p.name.isEmpty())
        fail(s.line, u"参数没有名称"_s);
    t.parameters.append(p);
}

void readBand(const Section& s, ReportTemplate& t)
{
    t.hasBand = true;
    for (const Entry& e : s.entries) {
        if (e.key == u"top")
            t.band.top = number(e);
        else if (e.key == u"height")
            t.band.rowHeight = number(e);
        else if (e.key == u"bottom")
            t.band.bottom = number(e);
        else
            t.problems.append(u"第 %1 行：未知的键 %2"_s.arg(e.line).arg(e.key));
    }
    if (t.band.rowHeight <= 0)
        fail(s.line, u"明细行高必须大于 0"_s);
}

bool readBoxKey(const Entry& e, ReportBox& b, bool& placed)
{
    placed = placed || e.key == u"at" || e.key == u"from";
    if (e.key == u"at") {
        const QList<double> n = numbers(e, 4, 4);
        b.rect = QRectF(n[0], n[1], n[2], n[3]);
    } else if (e.key == u"from") {
        const QList<double> n = numbers(e, 2, 2);
        b.rect.setTopLeft({n[0], n[1]});
    } else if (e.key == u"to") {
        const QList<double> n = numbers(e, 2, 2);
        b.rect.setBottomRight({n[0], n[1]});
    } else if (e.key == u"text" || e.key == u"data" || e.key == u"file")
        b.text = e.value;
    else if (e.key == u"font")
        b.fontFamily = e.value;
    else if (e.key == u"size")
        b.fontSize = number(e);
    else if (e.key == u"bold")
        b.bold = flag(e);
    else if (e.key == u"align")
        b.align = alignment(e);
    else if (e.key == u"wrap")
        b.wrap = flag(e);
    else if (e.key == u"frame")
        b.frame = number(e);
    else if (e.key == u"type")
        b.symbology = e.value.toLower();
    else if (e.key == u"hrt")
        b.showText = flag(e);
    else if (e.key == u"module")
        b.module = number(e);
    else if (e.key == u"pen")
        b.pen = number(e);
    else if (e.key == u"fill")
        b.fill = flag(e);
    else if (e.key == u"band")
        b.inBand = flag(e);
    else if (e.key == u"query")
        b.query = e.value;
    else if (e.key == u"length")
        b.length = e.value;
    else if (e.key == u"grade")
        b.grade = e.value;
    else if (e.key == u"cap")
        b.cap = number(e);
    else if (e.key == u"folder")
        b.folder = e.value;
    else if (e.key == u"fit")
        b.fit = flag(e);
    else
        return false;
    return true;
}

void readBox(const Section& s, ReportBox::Kind kind, ReportTemplate& t)
{
    ReportBox b;
    b.kind = kind;
    b.line = s.line;
    bool placed = false;
    for (const Entry& e : s.entries) {
        if (!readBoxKey(e, b, placed))
            t.problems.append(u"第 %1 行：未知的键 %2"_s.arg(e.line).arg(e.key));
    }
    if (!placed)
        fail(s.line, u"[%1] 缺少位置（at 或 from/to）"_s.arg(s.name));
    if (kind == ReportBox::Barcode && b.symbology.isEmpty())
        b.symbology = u"code128"_s;
    t.boxes.append(b);
}

} // namespace

ReportTemplate GrfFormat::parse(const QString& text, const QString& fallbackName)
{
    static const QHash<QString, ReportBox::Kind> kinds{
        {u"text"_s, ReportBox::Text},   {u"barcode"_s, ReportBox::Barcode},
        {u"image"_s, ReportBox::Image}, {u"line"_s, ReportBox::Line},
        {u"rect"_s, ReportBox::Rect},   {u"rollmap"_s, ReportBox::RollMap}};
    ReportTemplate t;
    t.name = fallbackName;
    for (const Section& s : splitSections(text)) {
        if (s.name == u"report")
            readReport(s, t);
        else if (s.name == u"parameter")
            readParameter(s, t);
        else if (s.name == u"detail") {
            for (const Entry& e : s.entries) {
                if (e.key == u"query")
                    t.query = e.value;
                else
                    t.problems.append(u"第 %1 行：未知的键 %2"_s.arg(e.line).arg(e.key));
            }
        } else if (s.name == u"band")
            readBand(s, t);
        else if (kinds.contains(s.name))
            readBox(s, kinds.value(s.name), t);
        // An unknown box type from a newer template: the rest of the label still prints.
        else
            t.problems.append(u"第 %1 行：未知的框类型 [%2]"_s.arg(s.line).arg(s.name));
    }
    return t;
}

ReportTemplate GrfFormat::load(const QString& path)
{
    QFile f(path);
    if (!f.exists())
        throw ReportError(u"模板文件不存在：%1"_s.arg(path));
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(u"模板文件无法读取：%1（%2）"_s.arg(path, f.errorString()));
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = LegacyEncoding::isValidUtf8(bytes) ? QString::fromUtf8(bytes)
                                                            : LegacyEncoding::fromGb18030(bytes);
    try {
        return parse(text, QFileInfo(path).completeBaseName());
    } catch (const ReportError& e) {
        throw ReportError(e.message() + u"\n"_s + path);
    }
}
