// What a scale says about its own reading: stable or moving, gross or net, over or under range.
// Many indicators put it before the weight ("ST,GS,+0012.50kg"); scales speaking SICS answer
// "S S     12.50 kg" (stable), "S D …" (dynamic), "S +" / "S -" (over / under range), "S I" (busy).
#pragma once

#include <QByteArray>

#include <optional>

namespace devices {

enum class ScaleTextRules; // ScaleReadings.h

/// The scale's own word on a reading.
enum class ScaleState {
    Unflagged,  ///< the scale says nothing: the station judges the weight itself
    Stable,     ///< "ST", SICS "S S"
    Moving,     ///< "US", SICS "S D"
    OverRange,  ///< "OL", SICS "S +"
    UnderRange, ///< SICS "S -"
    Busy,       ///< SICS "S I" (or an error answer): no weight this time
};

/// One whole reading. The weight is missing when the scale sent none (over range, busy).
struct ScaleReading {
    std::optional<double> weight;
    ScaleState state = ScaleState::Unflagged;
    bool net = false; ///< "NT": the scale has a tare and sends the net weight
    bool sics = false;
};

/// Flags and weight of one whole reading (as the assembler hands it on). Readings of the flagged
/// forms take the number after the flags with its sign ("ST,GS,-0001.20kg" is −1.2); other texts
/// go through the station's rules. nullopt for answers that are no reading ("Z A", "T S …").
std::optional<ScaleReading> readScaleReading(const QByteArray& reading, ScaleTextRules rules);

/// True when the state keeps a reading from being the weight of a save.
inline bool refusesSave(ScaleState s)
{
    return s == ScaleState::Moving || s == ScaleState::OverRange || s == ScaleState::UnderRange ||
           s == ScaleState::Busy;
}

/// The zero and tare commands of a SICS scale ("Z", "T", each ended by CR LF), and the request
/// for the weight as it is now ("SI").
QByteArray sicsZeroCommand();
QByteArray sicsTareCommand();
QByteArray sicsWeightRequest();

} // namespace devices
