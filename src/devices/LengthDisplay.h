// Turning a raw counter reading into the length shown in the quantity field.
#pragma once

#include <QString>

namespace devices {

/// Metres to yards as the counters' display does it (1 / 0.9144, rounded).
inline constexpr double kYardsPerMetre = 1.0936;

/// raw * a / b, times kYardsPerMetre when yards are shown. A ratio with b = 0 leaves the reading
/// unscaled (the settings panel can hold a half-typed value).
double correctedLength(double raw, double a, double b, bool yards);

/// How the "dispFormat" setting is read.
enum class LengthFormatRules {
    RoundUpDoubleZero, ///< "0": Str(Fix(L)); "00": Str(Fix(Val(Str(L)) + 0.99)); else Format(L, f)
    PlainPictures,     ///< "00" is a plain picture; "0" as RoundUpDoubleZero
};

/// The text of a length under "dispFormat".
QString formatLength(double length, const QString& dispFormat,
                     LengthFormatRules rules = LengthFormatRules::RoundUpDoubleZero);

/// The text of a weight: Format(w, dispFormat).
QString formatWeight(double weight, const QString& dispFormat);

} // namespace devices
