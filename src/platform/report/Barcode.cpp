// Zint encodes; we draw the module matrix ourselves so bars snap to the printer's dots.
#include "report/Barcode.h"

#include "report/ReportError.h"

#include <QHash>
#include <QPainter>
#include <memory>
#include <zint.h>

using namespace Qt::StringLiterals;

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

const QHash<QString, int>& zintTypes()
{
    static const QHash<QString, int> types{{u"code128"_s, BARCODE_CODE128},
                                           {u"qr"_s, BARCODE_QRCODE},
                                           {u"ean13"_s, BARCODE_EANX},
                                           {u"datamatrix"_s, BARCODE_DATAMATRIX},
                                           {u"code39"_s, BARCODE_CODE39}};
    return types;
}

bool moduleSet(const zint_symbol& s, int row, int column)
{
    return (s.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

} // namespace

QStringList Barcode::symbologies()
{
    QStringList names = zintTypes().keys();
    names.sort();
    return names;
}

BarcodeSymbol Barcode::encode(const QString& symbology, const QString& data)
{
    const QString type = symbology.toLower();
    if (!zintTypes().contains(type))
        throw ReportError(u"未知的条码类型：%1"_s.arg(symbology));
    if (data.isEmpty())
        throw ReportError(u"条码内容为空（%1）"_s.arg(type));
    std::unique_ptr<zint_symbol, SymbolDeleter> s(ZBarcode_Create());
    s->symbology = zintTypes().value(type);
    s->input_mode = UNICODE_MODE;
    const QByteArray bytes = data.toUtf8();
    const int rc = ZBarcode_Encode(
        s.get(), reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
    if (rc >= ZINT_ERROR)
        throw ReportError(
            u"条码 %1 无法编码 %2：%3"_s.arg(type, data, QString::fromUtf8(s->errtxt)));
    BarcodeSymbol out;
    out.symbology = type;
    out.data = data;
    out.humanText = QString::fromUtf8(reinterpret_cast<const char*>(s->text));
    out.rows = s->rows;
    out.columns = s->width;
    out.linear = type == u"code128" || type == u"ean13" || type == u"code39";
    for (int r = 0; r < s->rows; ++r) {
        QList<bool> row(s->width);
        for (int c = 0; c < s->width; ++c)
            row[c] = moduleSet(*s, r, c);
        out.modules.append(row);
    }
    return out;
}

namespace {

// Runs of dark modules become one rectangle each, so the PDF stays small and bars have no seams.
void paintRow(QPainter& p, const BarcodeSymbol& s, int row, QPointF origin, int module,
              double height)
{
    int c = 0;
    while (c < s.columns) {
        if (!s.dark(row, c)) {
            ++c;
            continue;
        }
        const int start = c;
        while (c < s.columns && s.dark(row, c))
            ++c;
        p.fillRect(QRectF(origin.x() + start * module, origin.y(), (c - start) * module, height),
                   Qt::black);
    }
}

} // namespace

bool Barcode::paint(QPainter& p, const QRectF& rect, const BarcodeSymbol& s, bool showText,
                    double maxModule)
{
    if (s.isNull())
        return false;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    bool fits = true;
    if (s.linear) {
        const int module = int(qMin(rect.width() / s.columns, qMax(maxModule, 1.0)));
        fits = module >= 1;
        const int m = qMax(module, 1);
        const QFontMetricsF fm(p.font(), p.device());
        const double textHeight = showText ? fm.height() : 0;
        const double barHeight = qMax(rect.height() - textHeight, rect.height() * 0.5);
        const double left = std::round(rect.left() + (rect.width() - m * s.columns) / 2);
        paintRow(p, s, 0, {left, std::round(rect.top())}, m, std::round(barHeight));
        if (showText) {
            p.setPen(Qt::black);
            p.drawText(QRectF(rect.left(), rect.top() + barHeight, rect.width(), textHeight),
                       Qt::AlignHCenter | Qt::AlignTop, s.humanText);
        }
    } else {
        const int module =
            int(qMin(qMin(rect.width() / s.columns, rect.height() / s.rows), qMax(maxModule, 1.0)));
        fits = module >= 1;
        const int m = qMax(module, 1);
        const QPointF origin(std::round(rect.left() + (rect.width() - m * s.columns) / 2),
                             std::round(rect.top() + (rect.height() - m * s.rows) / 2));
        for (int r = 0; r < s.rows; ++r)
            paintRow(p, s, r, origin + QPointF(0, r * m), m, m);
    }
    p.restore();
    return fits;
}
