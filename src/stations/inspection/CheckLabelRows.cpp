// Label-row generation of the label tab.
#include "stations/inspection/CheckLabelRows.h"

#include "text/Vb.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace CheckLabels {

QString zeroPieceText()
{
    return u"每支长度必须大于0"_s;
}

QString zeroCountText()
{
    return u"标签数量必须大于0"_s;
}

QString labelNumber(double firstNumber, int i, const QString& codeLen)
{
    return vb::Format(firstNumber + i, codeLen);
}

LabelRows fixedLength(double total, double piece, double firstNumber, const QString& codeLen)
{
    LabelRows out;
    if (piece <= 0) {
        // The pieces are cut from the roll by length; a zero length has no pieces at all.
        out.error = zeroPieceText();
        return out;
    }
    // Pieces are cut at the length the inspector typed, fraction and all, and no more of them
    // than the roll holds: labels that add up to more than the roll would be lies on the
    // customer's delivery note. With whole lengths this is the integer division of the whole
    // metres the frame always made.
    const long long n = total > 0 ? static_cast<long long>(std::floor(total / piece + 1e-9)) : 0;
    for (long long i = 0; i < n; ++i)
        out.rows << LabelRow{labelNumber(firstNumber, int(i), codeLen), piece};
    // The short end piece still leaves the shop as a roll of its own: it gets the next number
    // and what is really left of the quantity, so the labels add up to the inspected total.
    const double rest = std::round((total - double(n) * piece) * 1e6) / 1e6;
    if (rest > 0)
        out.rows << LabelRow{labelNumber(firstNumber, int(n), codeLen), rest};
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
