// Label-row generation of the label tab.
#include "stations/inspection/CheckLabelRows.h"

#include "text/Vb.h"

#include <cmath>

namespace CheckLabels {

QString zeroPieceText() { return QStringLiteral("每支长度必须大于0"); }

QString zeroCountText() { return QStringLiteral("标签数量必须大于0"); }

QString labelNumber(double firstNumber, int i, const QString& codeLen)
{
    return vb::Format(firstNumber + i, codeLen);
}

LabelRows fixedLength(double total, double piece, double firstNumber, const QString& codeLen)
{
    LabelRows out;
    const double wholeTotal = vb::Fix(total);
    const double wholePiece = vb::Fix(piece);
    if (wholePiece <= 0) {
        // The pieces are cut from the roll by length; a zero length has no pieces at all.
        out.error = zeroPieceText();
        return out;
    }
    const long long n = wholeTotal > 0 ? static_cast<long long>(wholeTotal / wholePiece) : 0;
    for (long long i = 0; i < n; ++i)
        out.rows << LabelRow{labelNumber(firstNumber, int(i), codeLen), wholePiece};
    // The short end piece still leaves the shop as a roll of its own: it gets the next number
    // and what is really left of the quantity, so the labels add up to the inspected total.
    const double rest = total - double(n) * wholePiece;
    if (rest > 1e-9)
        out.rows << LabelRow{labelNumber(firstNumber, int(n), codeLen), std::round(rest * 1e6) / 1e6};
    return out;
}

LabelRows variableCount(double total, int count, double firstNumber, const QString& codeLen)
{
    LabelRows out;
    if (count <= 0) {
        out.error = zeroCountText();
        return out;
    }
    for (int i = 0; i < count; ++i)
        out.rows << LabelRow{labelNumber(firstNumber, i, codeLen), total};
    return out;
}

} // namespace CheckLabels
