// The parsed form of a label template (.grf): page, parameters, detail query, band and boxes.
#pragma once

#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

/// A parameter the station sets before printing ("单据ID", "默认打印机").
struct ReportParameter {
    enum Type { Text, Number };
    QString name;
    Type type = Text;
    QString defaultValue;
};

/// One drawn element of a label. Positions are millimetres from the page's top-left corner inside
/// the margins; band boxes are relative to their band row.
struct ReportBox {
    enum Kind { Text, Barcode, Image, Line, Rect, RollMap };
    Kind kind = Text;
    int line = 0;        ///< line of the template file where the box starts (for messages)
    QRectF rect;         ///< x, y, width, height; a line runs from topLeft to bottomRight
    bool inBand = false; ///< repeated once per detail row inside the band
    QString text;        ///< text pattern (text box), data pattern (barcode), file (image)
    QString fontFamily;  ///< empty: the template's font
    double fontSize = 0; ///< points; 0: the template's size
    bool bold = false;
    int align = 0; ///< Qt::Alignment flags
    bool wrap = false;
    double frame = 0;     ///< border width in mm around a text box (0: none)
    QString symbology;    ///< barcode type: code128, qr, ean13, datamatrix, code39
    bool showText = true; ///< barcode: human-readable text below linear codes
    double module = 0.5;  ///< barcode: largest module (narrow bar, matrix cell) in mm
    double pen = 0.3;     ///< line and rectangle width in mm
    bool fill = false;    ///< rectangle filled black
    QString folder;       ///< image: folder pattern its file is looked up in ("": as the file says)
    bool fit = false;     ///< image: kept in proportion and centred instead of stretched
    // Roll map: the defect query (position, end, points), the length and grade patterns, and
    // the points per metre at most (0: no cap).
    QString query;
    QString length;
    QString grade;
    double cap = 4;
};

/// The repeating band of a list label: one row per detail row, from top, rowHeight each, until
/// bottom (then a new page repeats the page boxes).
struct ReportBand {
    double top = 0;
    double rowHeight = 5;
    double bottom = 0; ///< 0: the page's printable bottom
};

struct ReportTemplate {
    QString name;
    QSizeF pageSize{100, 70};
    QMarginsF margins{2, 2, 2, 2};
    QString fontFamily;
    double fontSize = 10;
    QList<ReportParameter> parameters;
    QString query;
    bool hasBand = false;
    ReportBand band;
    QList<ReportBox> boxes;
    /// Problems that do not stop the template from printing (unknown box types, unknown keys).
    QStringList problems;

    const ReportParameter* parameter(const QString& wanted) const;
};

namespace GrfFormat {

/// Parses the text of a .grf file. Throws ReportError naming the line of a malformed entry.
ReportTemplate parse(const QString& text, const QString& fallbackName = QString());

/// Reads and parses a .grf file (UTF-8; a GB18030 file from an older editor is accepted).
/// Throws ReportError when the file is missing, unreadable or malformed.
ReportTemplate load(const QString& path);

} // namespace GrfFormat
