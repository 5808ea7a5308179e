// Filling a template with its data and drawing the pages, in millimetres mapped onto the device.
#include "report/FilledReport.h"

#include "config/ProgramFolder.h"
#include "report/ReportError.h"
#include "report/ReportExpression.h"
#include "text/Vb.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

struct RowLookup {
    const ReportRenderer::Parameters& params;
    const QStringList& columns;
    const QList<DbValue>* row;
    int rowNo = 0; // 1-based number of the detail row, shown by the field 行号
    const ReportRenderer::Parameters* extra = nullptr; // fields the page's roll map gives

    std::optional<QVariant> operator()(const QString& name, bool parameterOnly) const
    {
        if (!parameterOnly && row) {
            for (int i = 0; i < columns.size(); ++i) {
                if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
                    return (*row)[i].isNull() ? QVariant(QString()) : (*row)[i].toVariant();
            }
            if (name == u"行号")
                return double(rowNo);
            for (const auto& [key, value] : extra ? *extra : ReportRenderer::Parameters())
                if (key.compare(name, Qt::CaseInsensitive) == 0)
                    return value;
        }
        for (const auto& [key, value] : params) {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        }
        return std::nullopt;
    }
};

QString resolveImage(const QString& file, const QString& templateFolder)
{
    if (file.isEmpty() || QFileInfo(file).isAbsolute())
        return file;
    const QString beside = QDir(templateFolder).filePath(file);
    if (!templateFolder.isEmpty() && QFileInfo::exists(beside))
        return beside;
    return ProgramFolder::file(file);
}

// What filling a box needs besides its row: the template's folder (images), the database for
// a roll map's query, and where problems go.
struct FillContext {
    const QString& folder;
    const ReportRenderer::QueryRunner& runQuery;
    QStringList& problems;
};

RollMapData fillRollMap(const ReportBox& box, const RowLookup& lookup, const FillContext& cx,
                        QStringList& local)
{
    const double length = vb::Val(ReportExpression::expand(box.length, lookup, &local));
    const QString grade = ReportExpression::expand(box.grade, lookup, &local);
    QList<QList<DbValue>> rows;
    if (!box.query.trimmed().isEmpty()) {
        QString problem = u"没有数据库，疵点查询没有运行"_s;
        const QString sql = ReportExpression::expandQuery(box.query, lookup, &local);
        if (cx.runQuery) {
            problem.clear();
            rows = cx.runQuery(sql, &problem);
        }
        if (!problem.isEmpty())
            local.append(u"疵点查询失败：%1"_s.arg(problem));
    }
    return RollMap::build(length, grade, rows, box.cap);
}

FilledBox fillBox(const ReportBox& box, const RowLookup& lookup, const FillContext& cx)
{
    FilledBox out{box, {}, {}, {}};
    if (box.kind == ReportBox::Line || box.kind == ReportBox::Rect)
        return out;
    QStringList local;
    if (box.kind == ReportBox::RollMap) {
        out.map = fillRollMap(box, lookup, cx, local);
        out.text = RollMap::caption(out.map);
    } else {
        out.text = ReportExpression::expand(box.text, lookup, &local);
    }
    if (box.kind == ReportBox::Barcode && local.isEmpty()) {
        try {
            out.symbol = Barcode::encode(box.symbology, out.text);
        } catch (const ReportError& e) {
            local.append(e.message());
        }
    } else if (box.kind == ReportBox::Image && !out.text.isEmpty()) {
        // An empty file is a row without a picture (a defect the camera missed): nothing drawn.
        const QString folder = ReportExpression::expand(box.folder, lookup, &local);
        if (!folder.isEmpty())
            out.text = QDir(folder).filePath(out.text);
        out.text = resolveImage(out.text, cx.folder);
        if (!QFileInfo::exists(out.text))
            local.append(u"图片不存在：%1"_s.arg(out.text));
    }
    for (const QString& p : local)
        cx.problems.append(u"第 %1 行的框：%2"_s.arg(box.line).arg(p));
    return out;
}

// The page's roll maps are filled first: their points are a field of the other boxes (the QR
// code carries them).
FilledPage fillPage(const ReportTemplate& t, const RowLookup& lookup, const FillContext& cx)
{
    QList<FilledBox> boxes(t.boxes.size());
    ReportRenderer::Parameters mapFields;
    for (qsizetype i = 0; i < t.boxes.size(); ++i)
        if (!t.boxes[i].inBand && t.boxes[i].kind == ReportBox::RollMap) {
            boxes[i] = fillBox(t.boxes[i], lookup, cx);
            mapFields.append({u"扣分"_s, boxes[i].map.points});
        }
    RowLookup withMap = lookup;
    withMap.extra = &mapFields;
    FilledPage page;
    for (qsizetype i = 0; i < t.boxes.size(); ++i) {
        if (t.boxes[i].inBand)
            continue;
        page.boxes.append(t.boxes[i].kind == ReportBox::RollMap ? boxes[i]
                                                                : fillBox(t.boxes[i], withMap, cx));
    }
    return page;
}

void addBandRow(const ReportTemplate& t, FilledPage& page, const RowLookup& lookup, double top,
                const FillContext& cx)
{
    for (const ReportBox& b : t.boxes) {
        if (!b.inBand)
            continue;
        FilledBox fb = fillBox(b, lookup, cx);
        fb.box.rect.translate(0, top);
        page.boxes.append(fb);
    }
}

// A list label: page boxes from the first row, then band rows until the band's bottom, then the
// next page with the page boxes again.
void fillBand(const ReportTemplate& t, const ReportRenderer::Parameters& params,
              const QStringList& columns, const QList<QList<DbValue>>& rows, FilledReport& out,
              const FillContext& cx)
{
    const double bottom = t.band.bottom > 0
                              ? t.band.bottom
                              : t.pageSize.height() - t.margins.top() - t.margins.bottom();
    const RowLookup first{params, columns, rows.isEmpty() ? nullptr : &rows.first(), 1};
    out.pages.append(fillPage(t, first, cx));
    double y = t.band.top;
    int rowNo = 0;
    for (const QList<DbValue>& row : rows) {
        ++rowNo;
        if (y + t.band.rowHeight > bottom + 1e-6 && y > t.band.top) {
            out.pages.append(fillPage(t, first, cx));
            y = t.band.top;
        }
        addBandRow(t, out.pages.last(), {params, columns, &row, rowNo}, y, cx);
        y += t.band.rowHeight;
    }
}

} // namespace

FilledReport ReportRenderer::fill(const ReportTemplate& t, const Parameters& params,
                                  const QStringList& columns, const QList<QList<DbValue>>& rows,
                                  const QString& queryProblem, const QString& templateFolder,
                                  const QueryRunner& runQuery)
{
    FilledReport out;
    out.columns = columns;
    out.rows = rows;
    out.problems = t.problems;
    if (!queryProblem.isEmpty())
        out.problems.append(queryProblem);
    const FillContext cx{templateFolder, runQuery, out.problems};
    if (t.hasBand) {
        fillBand(t, params, columns, rows, out, cx);
    } else if (t.query.trimmed().isEmpty() || !queryProblem.isEmpty()) {
        out.pages.append(fillPage(t, {params, columns, nullptr, 0}, cx));
    } else {
        for (int i = 0; i < rows.size(); ++i)
            out.pages.append(fillPage(t, {params, columns, &rows[i], i + 1}, cx));
        if (rows.isEmpty())
            out.problems.append(u"明细查询没有返回数据，没有要打印的标签"_s);
    }
    out.problems.removeDuplicates();
    return out;
}

namespace {

QFont boxFont(const ReportTemplate& t, const ReportBox& b)
{
    QFont f;
    QStringList families;
    if (!b.fontFamily.isEmpty())
        families.append(b.fontFamily);
    if (!t.fontFamily.isEmpty())
        families.append(t.fontFamily);
    // Labels are Chinese: fall back to the CJK fonts of the panel PCs and of Debian.
    families << u"WenQuanYi Micro Hei"_s << u"Noto Sans CJK SC"_s << u"Microsoft YaHei"_s
             << u"SimHei"_s;
    f.setFamilies(families);
    f.setPointSizeF(b.fontSize > 0 ? b.fontSize : t.fontSize);
    f.setBold(b.bold);
    return f;
}

void paintText(QPainter& p, const ReportTemplate& t, const FilledBox& fb, const QRectF& r)
{
    const ReportBox& b = fb.box;
    QFont f = boxFont(t, b);
    int flags = b.align ? b.align : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (!(flags & Qt::AlignVertical_Mask))
        flags |= Qt::AlignVCenter;
    if (b.wrap) {
        flags |= Qt::TextWordWrap;
    } else {
        // A long item name shrinks to fit its box rather than running over the next field.
        const double w = QFontMetricsF(f, p.device()).horizontalAdvance(fb.text);
        if (w > r.width() && w > 0)
            f.setPointSizeF(qMax(f.pointSizeF() * r.width() / w, f.pointSizeF() * 0.5));
    }
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(r, flags, fb.text);
}

void paintBox(QPainter& p, const ReportTemplate& t, const FilledBox& fb, double pxPerMm,
              QStringList* problems)
{
    const ReportBox& b = fb.box;
    const QPointF origin(t.margins.left(), t.margins.top());
    const QRectF r((b.rect.topLeft() + origin) * pxPerMm, b.rect.size() * pxPerMm);
    const double pen = qMax(1.0, b.pen * pxPerMm);
    switch (b.kind) {
    case ReportBox::Text:
        paintText(p, t, fb, r);
        if (b.frame > 0) {
            p.setPen(QPen(Qt::black, b.frame * pxPerMm));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        break;
    case ReportBox::Barcode:
        p.setFont(boxFont(t, b));
        if (!fb.symbol.isNull() &&
            !Barcode::paint(p, r, fb.symbol, b.showText, b.module * pxPerMm) && problems)
            problems->append(u"第 %1 行的框：条码太宽，框内放不下：%2"_s.arg(b.line).arg(fb.text));
        break;
    case ReportBox::Image: {
        if (fb.text.isEmpty())
            break;
        QImageReader reader(fb.text);
        reader.setAutoTransform(true); // a camera held on its side writes the turn into the file
        const QImage img = reader.read();
        if (img.isNull())
            break;
        if (b.fit) {
            const QSizeF size = QSizeF(img.size()).scaled(r.size(), Qt::KeepAspectRatio);
            p.drawImage(QRectF(r.center() - QPointF(size.width(), size.height()) / 2, size), img);
        } else {
            p.drawImage(r, img);
        }
        break;
    }
    case ReportBox::Line:
        p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(r.topLeft(), r.bottomRight());
        break;
    case ReportBox::RollMap:
        RollMap::paint(p, r, fb.map, boxFont(t, b));
        break;
    case ReportBox::Rect:
        if (b.fill) {
            p.fillRect(r, Qt::black);
        } else {
            p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        break;
    }
}

} // namespace

void ReportRenderer::paintPage(QPainter& p, const ReportTemplate& t, const FilledPage& page,
                               QStringList* problems)
{
    const double pxPerMm = p.device()->logicalDpiX() / 25.4;
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const FilledBox& fb : page.boxes)
        paintBox(p, t, fb, pxPerMm, problems);
    p.restore();
}
