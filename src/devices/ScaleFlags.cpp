// The flags the scale heads put on their readings, and the SICS answers.
#include "devices/ScaleFlags.h"

#include "devices/ScaleReadings.h"
#include "text/Vb.h"

namespace devices {

namespace {

// "S S", "S D", "S +", "S -", "S I": the answer to the weight commands, then the value.
std::optional<ScaleReading> sicsReading(const QByteArray& r)
{
    ScaleReading out;
    out.sics = true;
    switch (r.at(2)) {
    case 'S':
        out.state = ScaleState::Stable;
        break;
    case 'D':
        out.state = ScaleState::Moving;
        break;
    case '+':
        out.state = ScaleState::OverRange;
        return out;
    case '-':
        out.state = ScaleState::UnderRange;
        return out;
    default:
        out.state = ScaleState::Busy;
        return out;
    }
    out.weight = vb::Val(QString::fromLatin1(r.mid(3)));
    return out;
}

bool isSics(const QByteArray& r)
{
    return r.size() >= 3 && r.startsWith("S ") && QByteArray("SD+-I").contains(r.at(2)) &&
           (r.size() == 3 || r.at(3) == ' ');
}

bool isPair(const char* at, const char* a, const char* b, const char* c = "")
{
    const auto is = [&](const char* two) { return *two && at[0] == two[0] && at[1] == two[1]; };
    return is(a) || is(b) || is(c);
}

// Where "ST,GS" (or US/OL, NT) stands in the reading; -1 when it carries no flags.
qsizetype flagsAt(const QByteArray& r)
{
    const char* d = r.constData();
    for (qsizetype i = 0; i + 5 <= r.size(); ++i) {
        if (d[i + 2] == ',' && isPair(d + i, "ST", "US", "OL") && isPair(d + i + 3, "GS", "NT"))
            return i;
    }
    return -1;
}

} // namespace

std::optional<ScaleReading> readScaleReading(const QByteArray& reading, ScaleTextRules rules)
{
    if (isSics(reading))
        return sicsReading(reading);
    // Error answers of a SICS scale ("ES", "ET", "EL") and the answers to zero and tare: no
    // reading of the weight.
    if (reading == "ES" || reading == "ET" || reading == "EL" || reading.startsWith("Z ") ||
        reading.startsWith("T "))
        return std::nullopt;
    ScaleReading out;
    const QString text = QString::fromLatin1(reading);
    const qsizetype at = flagsAt(reading);
    if (at >= 0) {
        const QByteArray state = reading.mid(at, 2);
        out.state = state == "ST"   ? ScaleState::Stable
                    : state == "US" ? ScaleState::Moving
                                    : ScaleState::OverRange;
        out.net = reading.mid(at + 3, 2) == "NT";
        if (out.state == ScaleState::OverRange)
            return out;
        // The number right after the flags keeps its sign, which the seven characters from
        // position 8 would cut off.
        if (at == 0 && reading.size() > 6) {
            const double w = vb::Val(text.mid(6));
            if (w != 0) {
                out.weight = w;
                return out;
            }
        }
    }
    out.weight = scaleWeightFromText(text, rules);
    return out;
}

// A line end first: what half line lies in the scale's buffer (an ESC "p" sent before the scale
// was known to speak SICS) ends as a command of its own, which the scale refuses with "ES".
QByteArray sicsZeroCommand()
{
    return QByteArrayLiteral("\r\nZ\r\n");
}
QByteArray sicsTareCommand()
{
    return QByteArrayLiteral("\r\nT\r\n");
}
QByteArray sicsWeightRequest()
{
    return QByteArrayLiteral("SI\r\n");
}

} // namespace devices
