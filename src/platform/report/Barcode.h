// Barcodes through Zint: encode a text into a module matrix and draw it crisply on any painter.
#pragma once

#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

/// An encoded symbol: a matrix of dark and light modules and its human-readable text.
struct BarcodeSymbol {
    QString symbology; ///< "code128", "qr", "ean13", "datamatrix", "code39"
    QString data;      ///< the text that was encoded
    QString humanText; ///< the text Zint prints under linear codes (EAN-13 adds its check digit)
    int rows = 0;
    int columns = 0;
    bool linear = true;         ///< one row of bars (drawn to the box height)
    QList<QList<bool>> modules; ///< rows × columns, true = dark

    bool isNull() const { return rows == 0; }
    bool dark(int row, int column) const { return modules[row][column]; }
};

namespace Barcode {

/// The symbologies a template may name.
QStringList symbologies();

/// Encodes data (UTF-8 for QR and DataMatrix, so Chinese text is allowed there).
/// Throws ReportError with Zint's message for an unknown type or data the type cannot carry.
BarcodeSymbol encode(const QString& symbology, const QString& data);

/// Draws the symbol into rect (device units of the painter), centred. Module sizes are whole
/// device pixels, at most maxModule device units, so that every bar has the same width on a
/// thermal printer. The painter's font is used for the human-readable text of linear codes when
/// showText is true. Returns false when the box is too small for one device pixel per module.
bool paint(QPainter& painter, const QRectF& rect, const BarcodeSymbol& symbol, bool showText,
           double maxModule);

} // namespace Barcode
