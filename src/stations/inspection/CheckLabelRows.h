// The rows of the label tab: fixed-length pieces or a number of equal labels cut from the
// current roll, numbered on from the roll number with the mill's roll-number pattern.
#pragma once

#include <QList>
#include <QString>

namespace CheckLabels {

/// One label row: the roll number printed on it and its quantity.
struct LabelRow {
    QString number;
    double quantity = 0;
};

/// The generated rows, or the status text that explains why there are none.
struct LabelRows {
    QList<LabelRow> rows;
    QString error;
};

/// Fixed length: as many pieces of the length as typed (250.5 stays 250.5) as fit into the total;
/// what is left over becomes one more row with the next number. A piece length of 0 or less is
/// refused.
LabelRows fixedLength(double total, double piece, double firstNumber, const QString& codeLen);

/// Variable: count rows, each with the whole quantity (edited per label before saving). A count
/// of 0 or less gives no rows and an error text.
LabelRows variableCount(double total, int count, double firstNumber, const QString& codeLen);

/// Label i (0-based) numbered on from firstNumber with the roll-number pattern ("000" -> "007").
QString labelNumber(double firstNumber, int i, const QString& codeLen);

/// "每支长度必须大于0"
QString zeroPieceText();
/// "标签数量必须大于0"
QString zeroCountText();

} // namespace CheckLabels
