// Reading the platform scale: the text forms the scales send, and the packed BCD form.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace devices {

/// The text from just after the first a up to the next b (searched from one character after
/// that point), with the old text function's quirks: when a is missing the search starts at
/// Len(a); when b is missing, or lies before the start, the result is empty.
QString textBetween(const QString& s, const QString& a, const QString& b);

/// Which rules a station tries, in order, until one gives a non-zero weight.
enum class ScaleTextRules {
    /// Inspection and fiber box: the reversed stream, the reversed text between two "=", the text
    /// between "wn" and "kg", the seven characters from position 8.
    Inspection,
    /// Packing: the plain leading number first, then as Inspection without the reversed stream.
    Packing,
    /// Mark labels: the text between "kg" and "wn", then the seven characters from position 8.
    MarkLabel,
};

/// Weight in kilograms of the received text (0 when no rule finds a number).
double scaleWeightFromText(const QString& received, ScaleTextRules rules);

/// A scale that streams without pause is read in the middle of a reading now and then. This
/// holds back an obviously unfinished last reading: after the last "=" when it is shorter than the
/// reading before it, or after the last line end. Returns the complete part; the rest goes to
/// carry, to be put in front of the next bytes. A text with one reading is returned whole.
QByteArray completeScaleText(const QByteArray& received, QByteArray* carry);

/// Text up to and including its last line end; what follows goes to carry. A text without any
/// line end is returned whole (a device that does not end its readings).
QByteArray completeLines(const QByteArray& received, QByteArray* carry);

/// Weight of a packed reading: byte 3 carries the whole kilograms and byte 2 the hundredths, each
/// as two BCD digits. nullopt when a digit is not decimal or the reading is shorter than 4 bytes.
std::optional<double> packedScaleWeight(const QByteArray& received);

/// Length of a packed frame on the line: 02, 00, hundredths, whole kilograms, 03.
inline constexpr int kPackedFrameSize = 5;

/// Weight of the newest whole packed frame in carry + received. The bytes are read from the front
/// frame by frame, so a stream opened or read in the middle of a frame is taken up at the next
/// frame start and never read shifted; what is left of an unfinished frame goes back to carry.
/// nullopt when no whole frame was there.
std::optional<double> latestPackedWeight(const QByteArray& received, QByteArray* carry);

/// Value of one BCD byte (0x12 gives 12); nullopt when a nibble is above 9.
std::optional<int> bcdValue(quint8 b);

} // namespace devices
