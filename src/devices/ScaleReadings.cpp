// Scale weights from the streams of the different scale heads in the mill.
#include "devices/ScaleReadings.h"

#include "text/Vb.h"

using namespace Qt::StringLiterals;

namespace devices {

QString textBetween(const QString& s, const QString& a, const QString& b)
{
    const qsizetype p = vb::InStr(1, s, a) + a.size();
    const qsizetype q = vb::InStr(p + 1, s, b);
    // A missing end token gives a negative length, which the old text function refused.
    if (q - p < 0)
        return QString();
    return vb::Mid(s, p, q - p);
}

namespace {

double reversedStream(const QString& s) { return vb::Val(vb::StrReverse(s)); }
double reversedBetweenEquals(const QString& s)
{
    return vb::Val(vb::StrReverse(textBetween(s, u"="_s, u"="_s)));
}
double betweenWnKg(const QString& s) { return vb::Val(textBetween(s, u"wn"_s, u"kg"_s)); }
double fromPosition8(const QString& s) { return vb::Val(vb::Mid(s, 8, 7)); }

} // namespace

double scaleWeightFromText(const QString& s, ScaleTextRules rules)
{
    double w = 0;
    switch (rules) {
    case ScaleTextRules::Inspection:
        w = reversedStream(s);
        break;
    case ScaleTextRules::Packing:
        w = vb::Val(s);
        break;
    case ScaleTextRules::MarkLabel:
        w = vb::Val(textBetween(s, u"kg"_s, u"wn"_s));
        return w != 0 ? w : fromPosition8(s);
    }
    if (w == 0)
        w = reversedBetweenEquals(s);
    if (w == 0)
        w = betweenWnKg(s);
    if (w == 0)
        w = fromPosition8(s);
    return w;
}

QByteArray completeScaleText(const QByteArray& received, QByteArray* carry)
{
    carry->clear();
    const qsizetype last = received.lastIndexOf('=');
    if (last > 0) {
        const qsizetype before = received.lastIndexOf('=', last - 1);
        // "=05.0100=05.01": the tail is shorter than the whole reading before it.
        if (before >= 0 && received.size() - last < last - before) {
            *carry = received.mid(last);
            return received.left(last);
        }
        return received;
    }
    return completeLines(received, carry);
}

QByteArray completeLines(const QByteArray& received, QByteArray* carry)
{
    carry->clear();
    const qsizetype lineEnd = qMax(received.lastIndexOf('\n'), received.lastIndexOf('\r'));
    if (lineEnd >= 0 && lineEnd + 1 < received.size()) {
        *carry = received.mid(lineEnd + 1);
        return received.left(lineEnd + 1);
    }
    return received;
}

std::optional<int> bcdValue(quint8 b)
{
    const int hi = b >> 4, lo = b & 0x0F;
    if (hi > 9 || lo > 9)
        return std::nullopt;
    return hi * 10 + lo;
}

std::optional<double> packedScaleWeight(const QByteArray& received)
{
    if (received.size() < 4)
        return std::nullopt;
    const auto whole = bcdValue(static_cast<quint8>(received.at(3)));
    const auto hundredths = bcdValue(static_cast<quint8>(received.at(2)));
    if (!whole || !hundredths)
        return std::nullopt;
    return (*whole * 100 + *hundredths) / 100.0;
}

std::optional<double> latestPackedWeight(const QByteArray& received, QByteArray* carry)
{
    const QByteArray data = *carry + received;
    const auto at = [&](qsizetype i) { return static_cast<quint8>(data.at(i)); };
    std::optional<double> weight;
    qsizetype i = 0;
    // With 00 after the start byte and 03 at the end, no window shifted into a stream of frames
    // looks like a frame, whatever the digits are.
    while (i + kPackedFrameSize <= data.size()) {
        if (at(i) == 0x02 && at(i + 1) == 0x00 && at(i + 4) == 0x03) {
            if (const auto w = packedScaleWeight(data.mid(i, kPackedFrameSize))) {
                weight = w;
                i += kPackedFrameSize;
                continue;
            }
        }
        ++i;
    }
    *carry = data.mid(i);
    return weight;
}

} // namespace devices
